// Fuzz target: the move of a legacy one-line list file into the settings, as
// attach does it: the file's lines (SplitLines, NUL bytes dropped) stored as the
// default setup's one-line list (WriteOneLineList) in one batch over the
// settings file that is already there.
//
// Input: a byte choosing the system code page (FuzzInput.h), two bytes of
// settings file length (little-endian; 0 for no settings file), the settings
// file, then the legacy file.
//
// Properties:
//   - every byte of the legacy file other than NUL, CR and LF is in a line, in
//     order, and no line holds one of those;
//   - the move is never refused, and the list, read back as the picker reads
//     it (the count, then each entry), gives the lines; in a Unicode file a
//     line may read as its trip through UTF-8 and back instead (a byte that
//     the code page does not define becomes a stand-in);
//   - a save of the first half of the list, as the setup saves one, removes
//     the entries past its end.

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "FuzzInput.h"
#include "platform/portable/PortablePlatform.h"
#include "settings/IniEncoding.h"
#include "settings/IniFile.h"
#include "settings/Schema.h"
#include "settings/TextLines.h"

namespace bk::fuzz {
namespace {

// The settings file in memory; nothing else of the platform is used.
class MemoryPlatform : public PortablePlatform {
public:
    std::optional<std::string> file;

    bool FileExists(const std::string&) override { return file.has_value(); }
    std::string ReadFile(const std::string& path) override {
        if (!file)
            throw FileError(path, "missing");
        return *file;
    }
    void ReplaceFile(const std::string&, std::string_view content) override {
        file = std::string(content);
    }
};

// The one-line list of the default setup reads as `lines` (or as `shown`, line
// for line), and its entries
// from there up to `goneUpTo` are gone. Each entry as the picker reads it would
// cost a pass over the file per line; the section is read once instead (first
// entry of a name wins, as in a key read), and the picker's read is checked at
// both ends of the list.
void CheckStoredList(const IniFile& settings, const CodePage& codePage,
                     const std::vector<std::string>& lines,
                     const std::vector<std::string>& shown, std::size_t goneUpTo) {
    Require(settings.ReadInteger(kDefaultSection, kOneLineCountKey, -1) ==
                static_cast<int>(lines.size()),
            "the count reads back");
    const std::string list = OneLineListSection(kDefaultSection);
    std::unordered_map<std::string, std::string> entries;
    for (IniEntry& entry : IniBatch(settings).ReadSection(list))
        entries.try_emplace(codePage.Fold(entry.key), std::move(entry.value));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto entry = entries.find(codePage.Fold(OneLineKey(i)));
        Require(entry != entries.end() &&
                    (entry->second == lines[i] || entry->second == shown[i]),
                "each line reads back");
        if (i < 8 || i + 8 >= lines.size()) {
            std::string read = settings.ReadString(list, OneLineKey(i), "");
            Require(read == lines[i] || read == shown[i], "each line reads back");
        }
    }
    for (std::size_t i = lines.size(); i < goneUpTo; ++i)
        Require(!entries.count(codePage.Fold(OneLineKey(i))), "entries past the end are gone");
}

}  // namespace
}  // namespace bk::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace bk;
    using namespace bk::fuzz;
    static MemoryPlatform platform;
    FuzzInput in(data, size);
    const CodePage& codePage = SystemCodePage(in.Byte());
    std::size_t settingsSize = in.Byte();
    settingsSize |= static_cast<std::size_t>(in.Byte()) << 8;
    platform.SetCodePage(codePage);
    platform.file.reset();
    if (settingsSize > 0)
        platform.file = in.Bytes(settingsSize);
    const std::optional<std::string> before = platform.file;
    const std::string legacy = in.Rest();

    const std::vector<std::string> lines = SplitLines(legacy, NulByte::Dropped);
    std::string kept, joined;
    std::copy_if(legacy.begin(), legacy.end(), std::back_inserter(kept),
                 [](char c) { return c != '\0' && c != '\r' && c != '\n'; });
    for (const std::string& line : lines) {
        Require(line.find_first_of(std::string_view("\0\r\n", 3)) == std::string::npos,
                "no line holds a NUL, CR or LF");
        joined += line;
    }
    Require(joined == kept, "every other byte of the file is in a line, in order");

    const IniFile settings(platform, "C:\\plugins\\bkQuorvel.ini");
    try {
        IniBatch batch(settings);
        WriteOneLineList(batch, kDefaultSection, lines, SurplusEntries::Keep, codePage);
        batch.Commit();
    } catch (const SettingsError&) {
        Require(false, "the move is never refused");
    }
    const bool unicode = before && DecodeIniFile(*before).encoding != IniEncoding::Ansi;
    std::vector<std::string> shown;
    for (const std::string& line : lines)
        shown.push_back(unicode ? platform.AnsiFromUtf8(platform.Utf8FromAnsi(line)) : line);
    CheckStoredList(settings, codePage, lines, shown, 0);

    // A later save of the setup with the first half of the list: the entries
    // past its end go (checked when the file held nothing else, which could
    // hold a second entry of the same name).
    const std::vector<std::string> half(lines.begin(), lines.begin() + lines.size() / 2);
    const std::vector<std::string> halfShown(shown.begin(), shown.begin() + half.size());
    IniBatch save(settings);
    WriteOneLineList(save, kDefaultSection, half, SurplusEntries::Remove, codePage);
    save.Commit();
    CheckStoredList(settings, codePage, half, halfShown, before ? 0 : lines.size());
    return 0;
}
