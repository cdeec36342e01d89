// Fuzz target: the wildcard rule of a directory search (WildcardMatch).
//
// Input: a byte choosing the system code page (FuzzInput.h), then a pattern and
// a name separated by the first NUL byte (no NUL: the name is the whole text).
//
// Properties: any pattern and name are matched without a fault; "*" matches
// every name; a name matches itself, and its upper-case form (Fold), as a pattern.

#include "FuzzInput.h"
#include "platform/Wildcard.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace bk;
    using namespace bk::fuzz;
    FuzzInput in(data, size);
    const CodePage& codePage = SystemCodePage(in.Byte());
    const std::string text = in.Rest();
    const std::size_t nul = text.find('\0');
    const std::string pattern = nul == std::string::npos ? "" : text.substr(0, nul);
    const std::string name = nul == std::string::npos ? text : text.substr(nul + 1);

    WildcardMatch(pattern, name, codePage);
    Require(WildcardMatch("*", name, codePage), "\"*\" matches every name");
    Require(WildcardMatch(name, name, codePage), "a name matches itself");
    Require(WildcardMatch(codePage.Fold(name), name, codePage),
            "a name matches its upper-case form");
    return 0;
}
