#pragma once
// The signature picker: the text that a folder's setup adds, chosen at random.
// It decides only; the hooks show its warning or hand its text to the host.

#include <optional>
#include <string>

#include "core/Random.h"
#include "core/RoundStore.h"
#include "core/Setup.h"
#include "platform/Platform.h"
#include "settings/IniFile.h"

namespace bk {

// The second line of every warning after which a delivery goes on without a
// text; the first line of the no-signature one is kNoSignatureFileMessage.
inline constexpr const char* kSentAsIsMessage = "The mail is going to be sent as is.";

struct Choice {
    enum class Kind { Nothing, Text, Warning };
    Kind kind = Kind::Nothing;
    std::string text;  // the text to add, or the warning to show
};

// What `setup` adds, from `settings` (the read the setup was resolved from)
// and the files of `directory` (its mailbox directory; none when the folder's
// name leads out of the data folder): the no-signature warning when mode 1 or
// 3 finds no file, why a chosen file could not be read, why mode 4's quote
// file gives no quote, or nothing (mode 0, an unknown mode, an empty one-line
// list). Draws from `random`; with the fair
// order the pick goes in the setup's round in `rounds` when its text was had.
Choice ChooseSignature(const EffectiveSetup& setup, const std::optional<std::string>& directory,
                       const IniSnapshot& settings, Platform& platform, Random& random,
                       RoundStore& rounds);

}  // namespace bk
