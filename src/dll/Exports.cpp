// The fourteen callbacks the host calls, exported by their plain names (see
// bkQuorvel.def). Each is a thin wrapper: the work is in core/, and no
// exception ever unwinds into the host.
#include "platform/win32/WindowsApi.h"

#include <cstdint>

#include "core/Hooks.h"
#include "core/Menu.h"
#include "core/RunSetup.h"
#include "dll/PluginInstance.h"

using bk::Guarded;
using bk::dll::Instance;
using Ignored = std::intptr_t;

namespace {

void BKAPI MenuCommand(bk::WindowHandle, std::intptr_t) {
    Guarded(Instance(), 0, [](bk::Plugin& p) {
        bk::RunSetup(p, bk::SetupOf::CurrentFolder);
        return 0;
    });
}

std::uint32_t BKAPI MenuState(bk::WindowHandle, std::intptr_t) {
    return static_cast<std::uint32_t>(Guarded(
        Instance(), 0, [](bk::Plugin& p) { return static_cast<int>(bk::MenuItemState(p)); }));
}

// The fair order's rounds go to the settings file once a minute and at exit,
// never during a delivery.
int StoreRounds() {
    return Guarded(Instance(), 0, [](bk::Plugin& p) {
        p.Rounds().Store(p.Settings());
        return 0;
    });
}

}  // namespace

extern "C" {

// clang-format off
// The callbacks the plug-in has no use for: each answers 0.
int WINAPI BKC_OnStart() { return 0; }
int WINAPI BKC_OnOpenFolder(Ignored) { return 0; }
int WINAPI BKC_OnOpenMail(Ignored) { return 0; }
int WINAPI BKC_OnKeyDispatch(Ignored, Ignored, Ignored) { return 0; }
int WINAPI BKC_OnRetrieve(Ignored, Ignored) { return 0; }
int WINAPI BKC_OnSend(Ignored) { return 0; }
int WINAPI BKC_OnFinishRetrieve(Ignored) { return 0; }

int WINAPI BKC_OnExit() { return StoreRounds(); }
int WINAPI BKC_OnEveryMinute() { return StoreRounds(); }
// clang-format on

int WINAPI BKC_OnMenuInit(HWND /*window*/, HMENU menu, int menuType) {
    return Guarded(Instance(), 0, [&](bk::Plugin& p) {
        return bk::OnMenuInit(p, menu, menuType, &MenuCommand, &MenuState);
    });
}

int WINAPI BKC_OnOpenCompose(HWND window, int composeMode) {
    return Guarded(Instance(), 0,
                   [&](bk::Plugin& p) { return bk::OnOpenCompose(p, window, composeMode); });
}

int WINAPI BKC_OnOutgoing(HWND window, int deliveryMode) {
    return Guarded(Instance(), 0,
                   [&](bk::Plugin& p) { return bk::OnOutgoing(p, window, deliveryMode); });
}

// 1 whatever happens in the dialog, also when it fails.
int WINAPI BKC_OnPlugInSetup(Ignored) {
    return Guarded(Instance(), 1, [](bk::Plugin& p) {
        bk::RunSetup(p, bk::SetupOf::Default);
        return 1;
    });
}

int WINAPI BKC_OnPlugInInfo(char* record) {
    return Guarded(Instance(), 0, [&](bk::Plugin&) {
        if (record)
            bk::FillPlugInInfo(record);
        return 0;
    });
}

}  // extern "C"
