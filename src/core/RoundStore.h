#pragma once
// The fair order's rounds picked from since they were last stored, by setup
// section (names folded as the settings file compares them): the rounds of
// those sections, whatever the file holds. Picks change rounds in memory only,
// so that no delivery waits for the disk.

#include <map>
#include <string>
#include <string_view>

#include "core/Round.h"
#include "platform/Platform.h"
#include "settings/IniFile.h"

namespace bk {

class RoundStore {
public:
    // Folds in `platform`'s code page; `platform` must outlive the store.
    explicit RoundStore(Platform& platform) : platform_(platform) {}

    // Null when none is kept; valid until the store changes.
    Round* Find(std::string_view section);
    // Keeps `round` for `section`, for which Find found none.
    void Keep(std::string_view section, Round&& round);
    void Forget(std::string_view section);

    // Writes the rounds into `settings` in one replace, once a minute and at
    // exit, and forgets them. A round that can't be written stays, and the
    // next call tries again; nobody is told.
    void Store(const IniFile& settings) noexcept;

private:
    struct Kept {
        std::string section;  // as given to Keep
        Round round;
    };
    std::string Key(std::string_view section) const;

    Platform& platform_;
    std::map<std::string, Kept> kept_;
};

}  // namespace bk
