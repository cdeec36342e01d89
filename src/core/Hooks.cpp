#include "core/Hooks.h"

#include <array>

#include "core/Picker.h"
#include "settings/Schema.h"

namespace bk {
namespace {

// Reads the marker into a buffer one larger than the host may fill, and
// terminates it whatever the host did.
std::string ReadMarker(TBeckyAPI& api, WindowHandle window) {
    std::array<char, kHeaderValueSize + 2> buffer{};
    api.BKA_CompGetSpecifiedHeader(window, kMarkerHeader, buffer.data(), kHeaderValueSize);
    buffer[kHeaderValueSize + 1] = '\0';
    return std::string(buffer.data());
}

int Timing(const Plugin& plugin, const std::string& section) {
    return plugin.Settings().ReadInteger(section, kTimingKey, plugin.Defaults().timing);
}

}  // namespace

bool IsOutboxFolder(std::string_view folder) {
    std::size_t at = folder.find(kOutboxFolderName);
    return at != std::string_view::npos && at + kOutboxFolderName.size() + 1 == folder.size();
}

int OnOpenCompose(Plugin& plugin, WindowHandle window, int composeMode) {
    if (composeMode == kComposeModeLeftAlone)
        return 0;
    TBeckyAPI& api = plugin.Host();
    if (!ReadMarker(api, window).empty())
        return 0;  // already marked: opened before
    // The current folder is asked for anew at each of its four uses, as the
    // host has always been called; a host that changes it in between sees the
    // calls it expects (the order is pinned by the hooks' tests).
    if (IsOutboxFolder(HostText(api.BKA_GetCurrentFolder())))
        return 0;

    api.BKA_CompSetSpecifiedHeader(window, kMarkerHeader,
                                   HostText(api.BKA_GetCurrentFolder()).c_str());
    if (Timing(plugin, HostText(api.BKA_GetCurrentFolder())) != kTimingCompose)
        return 0;

    AddSignature(plugin, window, HostText(api.BKA_GetCurrentFolder()), HideWindow::No);
    // Writing the source back makes the host take in the whole message again,
    // with or without the text just added.
    std::string source = HostText(api.BKA_CompGetSource(window));
    api.BKA_CompSetSource(window, source.c_str());
    return 0;
}

int OnOutgoing(Plugin& plugin, WindowHandle window, int deliveryMode) {
    if (deliveryMode != kDeliveryModeNow)
        return 0;
    TBeckyAPI& api = plugin.Host();
    std::string folder = ReadMarker(api, window);
    if (folder.empty())
        return 0;
    api.BKA_CompSetSpecifiedHeader(window, kMarkerHeader, nullptr);
    if (Timing(plugin, folder) == kTimingDelivery)
        AddSignature(plugin, window, folder, HideWindow::First);
    return 0;
}

}  // namespace bk
