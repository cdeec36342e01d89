// Fuzz target: comma text, the form of a restricted list of titles.
//
// Input: a byte choosing the system code page (FuzzInput.h), then the titles,
// separated by NUL bytes.
//
// Properties, for any list of titles:
//   - splitting the full form (JoinCommaText) gives the titles back;
//   - stored in a settings value and read back as a string read gives it (the
//     reader's form: the full form without its first and last double quote),
//     enclosed in double quotes again and split as the picker does, it gives
//     the titles back too; the empty list then reads as one empty title.
// And splitting any text at all stays within the text.
//
// Which titles: a title is the middle of a signature file's name. A file name
// holds no NUL, and a settings value no CR or LF, so those bytes are taken
// out. A file name is whole characters of the code page, so a title never ends
// in the lead byte of a double-byte character; such a byte would take the
// closing quote for its second byte, so it is cut off. Everything else stays,
// including what a file name can't hold but the comma text must carry anyway
// (double quotes, commas, blanks and other control characters at either end).

#include <vector>

#include "FuzzInput.h"
#include "settings/CommaText.h"
#include "settings/IniDocument.h"
#include "settings/IniText.h"
#include "settings/Schema.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace bk;
    using namespace bk::fuzz;
    FuzzInput in(data, size);
    const CodePage& codePage = SystemCodePage(in.Byte());
    const std::string rest = in.Rest();

    for (const std::string& item : SplitCommaText(rest, codePage))
        Require(item.size() <= rest.size(), "an item is never longer than the text");

    std::vector<std::string> titles;
    if (!rest.empty()) {
        std::string title;
        for (std::size_t i = 0; i <= rest.size(); ++i) {
            if (i < rest.size() && rest[i] != '\0') {
                if (rest[i] != '\r' && rest[i] != '\n')
                    title += rest[i];
                continue;
            }
            if (EndsInHalfCharacter(title, codePage))
                title.pop_back();
            titles.push_back(std::move(title));
            title.clear();
        }
    }

    const std::string full = JoinCommaText(titles, codePage);
    Require(SplitCommaText(full, codePage) == titles, "the full form splits into the titles");

    IniDocument settings(codePage);
    try {
        settings.WriteString(kDefaultSection, kSelectedSigsKey, full);
    } catch (const SettingsError&) {
        Fail("the full form of titles can be stored");
    }
    const std::string reader(
        Unquote(settings.FindValue(kDefaultSection, kSelectedSigsKey).value_or("")));
    Require(titles.empty() ? reader.empty() : reader == full.substr(1, full.size() - 2),
            "a string read gives the reader's form");
    const std::vector<std::string> read = SplitCommaText('"' + reader + '"', codePage);
    Require(titles.empty() ? read == std::vector<std::string>{""} : read == titles,
            "the reader's form, enclosed again, splits into the titles");
    return 0;
}
