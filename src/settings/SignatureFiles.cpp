#include "settings/SignatureFiles.h"

#include <algorithm>
#include <cstdio>

namespace bk {
namespace {

constexpr std::string_view kPrefix = "$$$";
constexpr std::string_view kSuffix = ".txt";
constexpr std::size_t kNumberLength = 5;  // hexadecimal digits

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string SignatureSearchPattern(std::string_view directory) {
    std::string pattern(directory);
    pattern.append(kPrefix).append("*").append(kSuffix);
    return pattern;
}

std::string SignatureTitlePattern(std::string_view directory, std::string_view title) {
    std::string pattern(directory);
    pattern.append(kPrefix).append(kNumberLength, '?').append(title).append(kSuffix);
    return pattern;
}

std::string SignatureFileName(unsigned number, std::string_view title) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%05X", number);
    std::string name(kPrefix);
    name.append(digits).append(title).append(kSuffix);
    return name;
}

SignatureName ParseSignatureFileName(std::string_view name) {
    std::string_view digits = name.substr(std::min(name.size(), kPrefix.size()), kNumberLength);
    SignatureName result;
    bool valid = digits.size() == kNumberLength;
    for (char c : digits) {
        int d = HexDigit(c);
        if (d < 0) valid = false;
        result.number = result.number * 16 + (d < 0 ? 0 : d);
    }
    if (!valid)
        throw SignatureNumberError("'$" + std::string(digits) + "' is not a valid integer value");
    constexpr std::size_t kFixed = kPrefix.size() + kNumberLength + kSuffix.size();
    if (name.size() > kFixed)
        result.title = name.substr(kPrefix.size() + kNumberLength, name.size() - kFixed);
    return result;
}

}  // namespace bk
