#include "platform/DeviceName.h"

namespace bk {
namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

}  // namespace

bool IsDeviceName(std::string_view path, const CodePage& codePage) {
    if (path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) && path[2] == '.' &&
        IsSeparator(path[3]))
        return true;
    std::string_view name = path.substr(codePage.FindLastSeparator(path) + 1);  // npos + 1 is 0
    if (name.size() >= 2 && name[1] == ':' && name.data() == path.data())
        name.remove_prefix(2);  // "C:con", relative to the drive's current folder
    name = name.substr(0, name.find_first_of(".:"));
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    const std::string upper = codePage.Fold(name);
    if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL" || upper == "CONIN$" ||
        upper == "CONOUT$")
        return true;
    return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
           upper[3] >= '1' && upper[3] <= '9';
}

}  // namespace bk
