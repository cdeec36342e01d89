// Fuzz target: the index of a quote file (QuoteIndex): its split into quotes
// and the conversion of each quote as it is added.
//
// Input: a byte choosing the system code page (FuzzInput.h), then the file.
//
// Properties:
//   - every quote (Raw) is a run of the file's bytes, not empty and not only
//     line ends, whole UTF-16 code units in a UTF-16 file;
//   - quotes come in the order of the file and never overlap;
//   - every quote the index counts gives a text (Text), and that text ends
//     with CR LF and holds no CR or LF that is not part of a CR LF.

#include "FuzzInput.h"
#include "platform/portable/PortablePlatform.h"
#include "settings/QuoteFile.h"

namespace bk::fuzz {
namespace {

void CheckText(std::string_view text) {
    Require(text.ends_with("\r\n"), "a text ends with CR LF");
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '\r')
            Require(k + 1 < text.size() && text[k + 1] == '\n', "no lone CR");
        if (text[k] == '\n')
            Require(k > 0 && text[k - 1] == '\r', "no lone LF");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const CodePage& codePage = SystemCodePage(in.Byte());
    const std::string file = in.Rest();
    static PortablePlatform platform;
    platform.SetCodePage(codePage);

    const QuoteIndex index(file, codePage);
    const bool utf16 =
        index.Encoding() == QuoteEncoding::Utf16Le || index.Encoding() == QuoteEncoding::Utf16Be;
    // Offsets are taken from the first quote: the index keeps its own copy of the bytes.
    const char* first = index.empty() ? nullptr : index.Raw(0).data();
    std::size_t previousEnd = 0;
    for (std::size_t i = 0; i < index.size(); ++i) {
        const std::string_view raw = index.Raw(i);
        const auto offset = static_cast<std::size_t>(raw.data() - first);
        Require(file.find(raw) != std::string::npos, "a quote is a run of the file's bytes");
        bool onlyLineEnds = true;  // checked unit by unit (a UTF-16 unit 0x0A0A is no LF)
        for (std::size_t k = 0; k < raw.size(); k += utf16 ? 2 : 1) {
            const bool bigEndian = index.Encoding() == QuoteEncoding::Utf16Be;
            const char low = !utf16 ? raw[k] : raw[k + (bigEndian ? 1 : 0)];
            const char high = !utf16 || k + 1 >= raw.size() ? 0 : raw[k + (bigEndian ? 0 : 1)];
            onlyLineEnds = onlyLineEnds && high == 0 && (low == '\r' || low == '\n');
        }
        Require(!raw.empty() && !onlyLineEnds, "a quote is not empty nor only line ends");
        Require(!utf16 || (offset % 2 == 0 && raw.size() % 2 == 0),
                "a UTF-16 quote is whole code units");
        Require(i == 0 || offset >= previousEnd, "quotes in order, not overlapping");
        previousEnd = offset + raw.size();
        CheckText(index.Text(i, platform));
    }
    return 0;
}

}  // namespace bk::fuzz
