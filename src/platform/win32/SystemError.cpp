#include "platform/win32/SystemError.h"

namespace bk {

std::string SystemErrorText(DWORD code) {
    char buffer[512];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, n);
    text.erase(text.find_last_not_of("\r\n .") + 1);  // npos + 1: all of it
    return text.empty() ? "error " + std::to_string(code) : text;
}

}  // namespace bk
