#include "support/DialogFixture.h"

#include <thread>

namespace bk::test {
namespace {

const char kMainClass[] = "bkQuorvelTestMain";

HWND CreateMainWindow() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kMainClass;
        wc.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
        RegisterClassA(&wc);
        registered = true;
    }
    HWND window = CreateWindowA(kMainClass, "Host main window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                0, 400, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(window);
    SetActiveWindow(window);
    return window;
}

}  // namespace

DialogTest::DialogTest() {
    // A window on this thread before the DLL loads and before any helper
    // thread touches windows (the loader lock).
    mainWindow = CreateMainWindow();
    host.dataFolder = dir.Join("data") + "\\";
    host.currentMailbox = "mbox\\";
    host.currentFolder = "mbox\\!!!!Inbox\\";
    host.displayNames["mbox\\!!!!Inbox\\"] = "Inbox";
    CreateDirectoryA(dir.Join("data").c_str(), nullptr);
    CreateDirectoryA(dir.Join("data\\mbox").c_str(), nullptr);
    plugin = std::make_unique<LoadedPlugin>(dir);
}

DialogTest::~DialogTest() {
    plugin.reset();
    DestroyWindow(mainWindow);
}

void DialogTest::WriteSettings(const std::string& ini) {
    dir.Write("bkQuorvel.ini", ini);
}

std::string DialogTest::WriteSignature(const std::string& name, const std::string& content) {
    return dir.Write("data\\mbox\\" + name, content);
}

std::string DialogTest::Profile(const char* section, const char* key) const {
    return ProfileString(SettingsPath(), section, key);
}

bool DialogTest::Load() {
    return plugin->Load();
}

void DialogTest::Play(const std::function<void()>& call,
                      const std::function<void(DialogUser&)>& script) {
    DialogUser user(GetCurrentThreadId());
    std::thread helper([&] {
        try {
            script(user);
        } catch (const std::exception& e) {
            user.Check(false, e.what());
            user.CloseEverything();
        }
    });
    call();
    helper.join();
    for (const std::string& failure : user.failures) ADD_FAILURE() << failure;
}

int DialogTest::RunDefaultSetup(const std::function<void(DialogUser&)>& user) {
    int answer = -1;
    auto setup = plugin->Export<int(WINAPI*)(LPARAM)>("BKC_OnPlugInSetup");
    Play([&] { answer = setup(0); }, user);
    return answer;
}

bool DialogTest::RunFolderSetup(const std::function<void(DialogUser&)>& user) {
    HMENU menu = CreatePopupMenu();
    auto menuInit = plugin->Export<int(WINAPI*)(HWND, HMENU, int)>("BKC_OnMenuInit");
    menuInit(mainWindow, menu, 2);
    DestroyMenu(menu);
    if (host.commands.empty() || !host.commands.back().callback)
        return false;
    auto command = host.commands.back().callback;
    Play([&] { command(mainWindow, 0); }, user);
    return true;
}

}  // namespace bk::test
