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
    // One read of the file gives the timing and the pick.
    const IniSnapshot settings(plugin.Settings());
    const DefaultSetup& defaults = plugin.Defaults();
    if (ResolveSetup(settings, HostText(api.BKA_GetCurrentFolder()), defaults).timing !=
        kTimingCompose)
        return 0;

    const std::string folder = HostText(api.BKA_GetCurrentFolder());
    AddSignature(plugin, window, settings, ResolveSetup(settings, folder, defaults),
                 HideWindow::No);
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
    const IniSnapshot settings(plugin.Settings());
    const EffectiveSetup setup = ResolveSetup(settings, folder, plugin.Defaults());
    if (setup.timing == kTimingDelivery)
        AddSignature(plugin, window, settings, setup, HideWindow::First);
    return 0;
}

void AddSignature(Plugin& plugin, WindowHandle window, const IniSnapshot& settings,
                  const EffectiveSetup& setup, HideWindow hide) {
    if (setup.mode == kModeNone)
        return;
    TBeckyAPI& api = plugin.Host();
    Platform& platform = plugin.GetPlatform();
    const Choice choice =
        ChooseSignature(setup, setup.MailboxDirectory(api, platform.AnsiCodePage()), settings,
                        platform, plugin.Generator(), plugin.Rounds());
    if (choice.kind == Choice::Kind::Warning)
        platform.ShowWarning(choice.text);
    if (choice.kind != Choice::Kind::Text)
        return;
    if (hide == HideWindow::First)
        platform.HideWindow(window);
    api.BKA_CompSetText(window, kCompSetTextMode, choice.text.c_str());
}

}  // namespace bk
