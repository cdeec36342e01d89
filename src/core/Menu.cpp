#include "core/Menu.h"

namespace bk {

int OnMenuInit(Plugin& plugin, MenuHandle menu, int menuType, CommandCallback command,
               UICallback state) {
    if (menuType != kMenuTypeForEntry)
        return 0;
    TBeckyAPI& api = plugin.Host();
    plugin.GetPlatform().AppendMenuSeparator(menu);
    int id = api.BKA_RegisterCommand("Select Signature", menuType, command);
    plugin.GetPlatform().AppendMenuItem(menu, static_cast<unsigned>(id), "Setup for Quorvel...");
    api.BKA_RegisterUICallback(id, state);
    return 0;
}

std::uint32_t MenuItemState(Plugin& plugin) {
    TBeckyAPI& api = plugin.Host();
    std::string folder = HostText(api.BKA_GetCurrentFolder());
    std::size_t slash = plugin.GetPlatform().AnsiCodePage().Find(folder, '\\');
    std::size_t after = slash == std::string::npos ? 0 : slash + 1;
    // The position found in one answer is looked at in a second one, as the
    // host has always been asked twice (the hooks' tests pin the calls).
    folder = HostText(api.BKA_GetCurrentFolder());
    return after < folder.size() && folder[after] == '!' ? 1 : 0;
}

}  // namespace bk
