#include "settings/Schema.h"

#include <charconv>
#include <map>
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
    const std::string_view digits = key.substr(prefix);
    const char* end = digits.data() + digits.size();
    unsigned long long k = 0;  // unsigned: from_chars reads no sign then
    auto parsed = std::from_chars(digits.data(), end, k);
    if ((digits.size() > 1 && digits[0] == '0') || parsed.ec != std::errc() || parsed.ptr != end)
        return -1;
    return static_cast<long long>(k);
}

std::vector<LoadedValue> OneLineListLines(const IniSnapshot& settings, std::string_view section) {
    return settings.ReadSectionValues(OneLineListSection(section));
}

OneLineEntries::OneLineEntries(const IniSnapshot& settings, std::string_view section,
                               std::size_t count, const CodePage& codePage)
    : spans_(count) {
    std::vector<bool> found(count);
    auto take = [&](std::string_view key, std::optional<std::string_view> value) {
        const long long k = OneLineKeyIndex(key, codePage);
        if (k < 0 || static_cast<unsigned long long>(k) >= count || found[k])
            return;  // a key met again reads as it did the first time
        found[k] = true;
        spans_[k] = {text_.size(), value ? value->size() : 0};
        if (value)
            text_ += *value;
    };
    settings.ForEachKey(OneLineListSection(section), take);
}

void WriteOneLineList(IniBatch& batch, std::string_view section,
                      const std::vector<std::string>& lines, SurplusEntries surplus,
                      const CodePage& codePage, const std::vector<LoadedValue>& loaded) {
    const std::string list = OneLineListSection(section);
    const auto count = static_cast<long long>(lines.size());
    // The loaded lines not taken yet by shown text; alike ones in list order.
    std::multimap<std::string_view, const LoadedValue*> shown;
    for (const LoadedValue& value : loaded) shown.emplace(value.text, &value);
    const LoadedValue none;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const LoadedValue* from = &none;  // a line nobody loaded is written as it is
        if (auto it = shown.lower_bound(lines[i]); it != shown.end() && it->first == lines[i]) {
            from = it->second;
            shown.erase(it);
        }
        batch.WriteString(list, OneLineKey(i), '"' + lines[i] + '"', *from);
    }

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
