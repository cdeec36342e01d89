#include "core/RoundStore.h"

#include <vector>

#include "settings/Schema.h"

namespace bk {

std::string RoundStore::Key(std::string_view section) const {
    return platform_.AnsiCodePage().Fold(section);
}

Round* RoundStore::Find(std::string_view section) {
    auto kept = kept_.find(Key(section));
    return kept == kept_.end() ? nullptr : &kept->second.round;
}

void RoundStore::Keep(std::string_view section, Round&& round) {
    kept_.try_emplace(Key(section), Kept{std::string(section), std::move(round)});
}

void RoundStore::Forget(std::string_view section) {
    kept_.erase(Key(section));
}

void RoundStore::Store(const IniFile& settings) noexcept {
    if (kept_.empty())
        return;
    try {
        IniBatch batch(settings);
        std::vector<decltype(kept_)::iterator> written;
        for (auto it = kept_.begin(); it != kept_.end(); ++it) {
            try {
                batch.WriteString(it->second.section, kRoundKey, it->second.round.ToText());
                written.push_back(it);
            } catch (const SettingsError&) {
            }  // a section name the file can't hold keeps its round in memory
        }
        batch.Commit();
        for (auto it : written) kept_.erase(it);
    } catch (...) {
    }  // nothing stored: the rounds go on from memory, and the next call tries again
}

}  // namespace bk
