#pragma once
// Runs one of a form's handlers on behalf of whoever plays the user (the Win32
// view, or a scripted user in tests). A handler may throw: the failure is shown
// in an error box and the dialog carries on, so nothing unwinds through a
// window procedure.

#include <exception>
#include <string>

#include "platform/Platform.h"

namespace bk {

// Runs `handler`. False when it threw (the user has been told, unless even
// the error box failed).
template <typename Handler>
bool RunHandler(Platform& platform, Handler&& handler) noexcept {
    std::string failure;
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "An unexpected error occurred.";
    }
    try {
        platform.ShowError(failure);
    } catch (...) {
    }
    return false;
}

}  // namespace bk
