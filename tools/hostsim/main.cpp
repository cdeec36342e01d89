// hostsim: a stand-in for the mail client. Loads bkQuorvel.dll into a plug-in
// folder of its own, plays the host's part, drives the plug-in's callbacks from
// command-line steps and prints what happened.
//
//   hostsim --demo
//   hostsim [--dll FILE] [--data DIR] [--ini FILE] STEP...
//
// Steps, run in order:
//   folder=ID      make ID the current folder (its first component is the mailbox)
//   open[=MODE]    open a compose window; BKC_OnOpenCompose with compose MODE (0)
//   deliver[=MODE] BKC_OnOutgoing on the last window with delivery MODE (0)
//   setup          BKC_OnPlugInSetup (the setup dialog of the default setup)
//   menu           BKC_OnMenuInit with menu type 2, then the registered command
#include "platform/win32/WindowsApi.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "HostSim.h"
#include "PluginModule.h"
#include "core/Hooks.h"
#include "support/TempDir.h"

namespace {

using hostsim::HostSim;
using hostsim::PluginModule;

struct Options {
    std::string dll = BK_BUILT_DLL;
    std::string data = BK_DEMO_DIR "\\Data\\";
    std::string ini = BK_DEMO_DIR "\\bkQuorvel.ini";
    std::vector<std::string> steps;
};

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out + "\"";
}

class Session {
public:
    Session(const Options& options, const std::string& work) : plugin_(work, options.dll) {
        host_.dataFolder = options.data;
        if (!options.ini.empty() &&
            !CopyFileA(options.ini.c_str(), plugin_.SettingsPath().c_str(), FALSE))
            throw std::runtime_error("can't copy " + options.ini);
        // The sample quote file beside the settings file, as the package puts
        // it beside the plug-in: the demonstration's quote folder names it so.
        const std::string settings = plugin_.SettingsPath();
        const std::string quotes =
            settings.substr(0, settings.rfind('\\') + 1) + "quotes-sample.txt";
        if (!CopyFileA(BK_SAMPLE_QUOTES, quotes.c_str(), FALSE))
            throw std::runtime_error("can't copy " BK_SAMPLE_QUOTES);
        SetFolder("demo\\!!!!Inbox\\");
        if (!plugin_.Load())
            throw std::runtime_error("the plug-in refused to load");
        char info[320] = {};
        Call<int(WINAPI*)(char*)>("BKC_OnPlugInInfo")(info);
        std::printf("plug-in: %s %s (%s)\n  %s\n  settings: %s\n", info, info + 160, info + 80,
                    info + 240, plugin_.SettingsPath().c_str());
    }

    void Run(const std::string& step) {
        std::string name = step.substr(0, step.find('='));
        std::string arg =
            step.find('=') == std::string::npos ? "" : step.substr(step.find('=') + 1);
        int mode = arg.empty() ? 0 : std::atoi(arg.c_str());
        if (name == "folder") {
            SetFolder(arg);
            std::printf("\n> current folder %s\n", Quote(arg).c_str());
        } else if (name == "open") {
            last_ = host_.OpenCompose({{"To", "friend@example.org"}, {"Subject", "Hello"}},
                                      "Hi,\r\nsee you tomorrow.\r\n");
            std::printf("\n> compose window opened (compose mode %d)\n", mode);
            Call<int(WINAPI*)(HWND, int)>("BKC_OnOpenCompose")(last_, mode);
            Report();
        } else if (name == "deliver") {
            if (!last_)
                throw std::runtime_error("deliver: no compose window is open");
            std::printf("\n> message delivered (delivery mode %d)\n", mode);
            Call<int(WINAPI*)(HWND, int)>("BKC_OnOutgoing")(last_, mode);
            Report();
            std::printf("  the message as delivered:\n");
            std::string source = host_.Source(last_);
            for (std::size_t pos = 0; pos < source.size();) {
                std::size_t eol = source.find("\r\n", pos);
                if (eol == std::string::npos)
                    eol = source.size();
                std::printf("    | %s\n", source.substr(pos, eol - pos).c_str());
                pos = eol + 2;
            }
            host_.CloseCompose(last_);
            last_ = nullptr;
        } else if (name == "setup") {
            std::printf("\n> plug-in setup: BKC_OnPlugInSetup answered %d\n",
                        Call<int(WINAPI*)(HWND)>("BKC_OnPlugInSetup")(nullptr));
        } else if (name == "menu") {
            HMENU menu = CreatePopupMenu();
            Call<int(WINAPI*)(HWND, HMENU, int)>("BKC_OnMenuInit")(nullptr, menu, 2);
            std::printf("\n> menu: %d items after BKC_OnMenuInit\n", GetMenuItemCount(menu));
            for (auto& c : host_.commands) {
                std::printf("  command %d %s, state %u\n", c.id, Quote(c.text).c_str(),
                            c.uiCallback ? c.uiCallback(nullptr, 0) : 0u);
                if (c.callback)
                    c.callback(nullptr, 0);
            }
            DestroyMenu(menu);
        } else {
            throw std::runtime_error("unknown step " + Quote(step));
        }
    }

private:
    template <typename Fn>
    Fn Call(const char* name) {
        Fn fn = plugin_.Export<Fn>(name);
        if (!fn)
            throw std::runtime_error(std::string("the plug-in does not export ") + name);
        return fn;
    }

    void SetFolder(const std::string& folder) {
        host_.currentFolder = folder;
        host_.currentMailbox = folder.substr(0, folder.find('\\') + 1);
    }

    void Report() {
        hostsim::ComposeWindow* w = host_.Find(last_);
        const char* marker = bk::kMarkerHeader;
        std::string header = host_.HasHeader(last_, marker)
                                 ? std::string(marker) + ": " + host_.Header(last_, marker)
                                 : "(none)";
        std::printf("  marker header: %s\n", header.c_str());
        std::printf("  window: %s\n", host_.IsVisible(last_) ? "visible" : "hidden");
        if (w->addedTexts.empty())
            std::printf("  text added: (none)\n");
        for (auto& text : w->addedTexts) std::printf("  text added: %s\n", Quote(text).c_str());
        w->addedTexts.clear();
    }

    HostSim host_;
    PluginModule plugin_;
    HWND last_ = nullptr;
};

const std::vector<std::string> kDemo = {
    // Default setup: a signature file at random, added at delivery.
    "folder=demo\\!!!!Inbox\\",
    "open",
    "deliver",
    // A folder with its own setup: a line at random, added when composing starts.
    "folder=demo\\Lists\\",
    "open",
    "deliver",
    // A folder that adds a quote of the sample quote file at delivery.
    "folder=demo\\Quotes\\",
    "open",
    "deliver",
    // The outbox is never signed.
    "folder=demo\\!!!!Outbox\\",
    "open",
    "deliver",
};

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--demo") {
            options.steps.insert(options.steps.end(), kDemo.begin(), kDemo.end());
        } else if ((a == "--dll" || a == "--data" || a == "--ini") && i + 1 < argc) {
            (a == "--dll" ? options.dll : a == "--data" ? options.data : options.ini) = argv[++i];
        } else if (a.rfind("--", 0) == 0) {
            std::fprintf(stderr,
                         "usage: hostsim --demo | [--dll F] [--data D] [--ini F] STEP...\n");
            return 2;
        } else {
            options.steps.push_back(a);
        }
    }
    bk::test::TempDir work;  // the plug-in folder, removed with what the plug-in wrote
    try {
        std::printf("== bkQuorvel in the stand-in host\n");
        Session session(options, work.Path());
        for (auto& step : options.steps) session.Run(step);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "hostsim: %s\n", e.what());
        return 1;
    }
    return 0;
}
