#include "settings/SignatureFiles.h"

#include <algorithm>
#include <charconv>

#include "platform/Platform.h"
#include "settings/IniEncoding.h"

namespace bk {
namespace {

constexpr std::string_view kPrefix = "$$$";
constexpr std::string_view kSuffix = ".txt";
constexpr std::size_t kNumberLength = 5;  // hexadecimal digits

}  // namespace

std::string SignatureSearchPattern(std::string_view directory) {
    return std::string(directory).append(kPrefix).append("*").append(kSuffix);
}

std::string SignatureTitlePattern(std::string_view directory, std::string_view title) {
    return std::string(directory)
        .append(kPrefix)
        .append(kNumberLength, '?')
        .append(title)
        .append(kSuffix);
}

std::string SignatureFileName(unsigned number, std::string_view title) {
    // At least five upper-case hexadecimal digits (std::to_chars, not a printf
    // that would bring a whole formatter into the DLL).
    char digits[16];
    const char* end = std::to_chars(digits, digits + sizeof digits, number, 16).ptr;
    std::string name(kPrefix);
    name.append(kNumberLength - std::min<std::size_t>(kNumberLength, end - digits), '0');
    for (const char* c = digits; c != end; ++c)
        name += static_cast<char>(*c >= 'a' ? *c - 'a' + 'A' : *c);
    return name.append(title).append(kSuffix);
}

std::string SignatureText(std::string fileBytes, Platform& platform) {
    if (!StartsWithByteOrderMark(fileBytes))
        return fileBytes;
    return platform.AnsiFromUtf8(DecodeIniFile(std::move(fileBytes)).text);
}

SignatureName ParseSignatureFileName(std::string_view name) {
    std::string_view digits = name.substr(std::min(name.size(), kPrefix.size()), kNumberLength);
    const char* end = digits.data() + digits.size();
    unsigned number = 0;  // unsigned: no sign is read, and from_chars reads no "0x"
    auto parsed = std::from_chars(digits.data(), end, number, 16);
    if (digits.size() != kNumberLength || parsed.ec != std::errc() || parsed.ptr != end)
        throw SignatureNumberError("'$" + std::string(digits) + "' is not a valid integer value");
    constexpr std::size_t kFixed = kPrefix.size() + kNumberLength + kSuffix.size();
    const std::size_t titleSize = name.size() > kFixed ? name.size() - kFixed : 0;
    return {static_cast<int>(number),
            std::string(name.substr(kPrefix.size() + kNumberLength, titleSize))};
}
}  // namespace bk
