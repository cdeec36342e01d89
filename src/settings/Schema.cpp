#include "settings/Schema.h"

#include <optional>
#include <set>

#include "settings/IniFile.h"

namespace bk {
namespace {

constexpr std::string_view kOneLineListSuffix = "Oneliner";
constexpr std::string_view kOneLineKeyPrefix = "sig";
// Ten digits hold every index a count of type int can reach.
constexpr std::size_t kMaxIndexDigits = 10;

}  // namespace

std::string OneLineListSection(std::string_view section) {
    return std::string(section).append(kOneLineListSuffix);
}

std::string OneLineKey(std::size_t index) {
    return std::string(kOneLineKeyPrefix) + std::to_string(index);
}

long long OneLineKeyIndex(std::string_view key, const CodePage& codePage) {
    const std::size_t prefix = kOneLineKeyPrefix.size();
    if (key.size() <= prefix || key.size() > prefix + kMaxIndexDigits ||
        !codePage.EqualNoCase(key.substr(0, prefix), kOneLineKeyPrefix))
        return -1;
    std::string_view digits = key.substr(prefix);
    if (digits.size() > 1 && digits[0] == '0')
        return -1;
    long long k = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return -1;
        k = k * 10 + (c - '0');
    }
    return k;
}

std::vector<std::string> OneLineListLines(const IniBatch& batch, std::string_view section) {
    return batch.ReadSectionValues(OneLineListSection(section));
}

OneLineEntries::OneLineEntries(const IniSnapshot& settings, std::string_view section, std::size_t count,
                               const CodePage& codePage)
    : spans_(count) {
    std::vector<bool> found(count);
    auto take = [&](std::string_view key, std::optional<std::string_view> value) {
        const long long k = OneLineKeyIndex(key, codePage);
        if (k < 0 || static_cast<unsigned long long>(k) >= count || found[k])
            return;  // the first line of a name is what a read finds
        found[k] = true;
        spans_[k] = {text_.size(), value ? value->size() : 0};
        if (value)
            text_ += *value;
    };
    settings.ForEachKey(OneLineListSection(section), take);
}

void WriteOneLineList(IniBatch& batch, std::string_view section,
                      const std::vector<std::string>& lines, SurplusEntries surplus,
                      const CodePage& codePage) {
    const std::string list = OneLineListSection(section);
    const auto count = static_cast<long long>(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        batch.WriteString(list, OneLineKey(i), '"' + lines[i] + '"');

    if (surplus == SurplusEntries::Remove) {
        const int oldCount = batch.ReadInteger(section, kOneLineCountKey, 0);
        std::set<long long> extra;
        for (const IniEntry& entry : batch.ReadSection(list)) {
            long long k = OneLineKeyIndex(entry.key, codePage);
            if (k >= count && k < oldCount)
                extra.insert(k);
        }
        for (long long k : extra) batch.DeleteKey(list, OneLineKey(static_cast<std::size_t>(k)));
    }
    batch.WriteInteger(section, kOneLineCountKey, static_cast<int>(count));
}

}  // namespace bk
