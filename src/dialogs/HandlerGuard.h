#pragma once
// Runs one of a form's handlers on behalf of whoever plays the user (the Win32
// view, or a scripted user in tests). A handler may throw: the failure is shown
// in an error box and the dialog carries on, so nothing unwinds through a
// window procedure.

#include <exception>
#include <string>

#include "platform/Platform.h"

namespace bk {

// Shows `text` in an error box; never throws.
void ShowHandlerFailure(Platform& platform, const std::string& text) noexcept;

// Runs `handler`. False when it threw (the user has been told).
template <typename Handler>
bool RunHandler(Platform& platform, Handler&& handler) noexcept {
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        ShowHandlerFailure(platform, e.what());
    } catch (...) {
        ShowHandlerFailure(platform, "An unexpected error occurred.");
    }
    return false;
}

}  // namespace bk
