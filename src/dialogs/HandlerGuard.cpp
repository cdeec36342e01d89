#include "dialogs/HandlerGuard.h"

namespace bk {

void ShowHandlerFailure(Platform& platform, const std::string& text) noexcept {
    try {
        platform.ShowError(text);
    } catch (...) {
        // Nothing is left to tell the user with; the dialog carries on.
    }
}

}  // namespace bk
