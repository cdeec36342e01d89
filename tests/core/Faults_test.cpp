// Every call the plug-in makes of the platform fails in turn, on every path a
// host callback takes: attach (with and without a legacy list file), compose
// and delivery in each mode, the setup save, the selection dialog's listing and
// preview. Each call throws what the real call would (FileError), then an
// allocation failure, then something that is no std::exception at all.
//
// After each fault: nothing reaches the host (the callbacks run through
// Guarded, as the DLL's exports do; attach is refused only when the host
// can't be bound or the module's own name can't be had), the settings and
// legacy list files are as they were or as a run without faults leaves them,
// the user saw only the plug-in's own messages, and the same work done again
// without faults gives what it gives on a fresh start.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <set>

#include "core/Hooks.h"
#include "core/Picker.h"
#include "core/RunSetup.h"
#include "settings/IniDocument.h"
#include "support/FakeHost.h"

namespace bk::test {
namespace {

constexpr const char* kInbox = "[mbox\\!!!!Inbox\\]\r\n";

class Session : public PluginFixture {
public:
    Session() { WriteSignature("$$$00001Sig.txt", "-- sig"); }
    std::string Settings() { return TempDir::Read(dir.Join("bkQuorvel.ini")); }
    std::string Legacy() { return TempDir::Read(dir.Join("quorvels.dat")); }
    // A callback as the DLL's export runs it.
    template <typename Work>
    void Callback(Work work) {
        Guarded(&plugin, 0, [&](Plugin& p) { return work(p), 0; });
    }
    // A dialog handler as the view runs it.
    template <typename Handler>
    void Handle(Handler handler) {
        RunHandler(platform, handler);
    }

    std::string outcome;  // what the host saw
};

struct Path {
    const char* name;
    std::string settings;
    std::string legacy;  // "" when there is no legacy list file
    std::function<void(Session&)> act;
    // A dialog shows what could be read, so a fault may change what its Ok
    // saves; the save still lands whole or not at all.
    bool dialog = false;
};

// The setup dialog's save landed whole: all of its keys are there.
bool WholeSave(const std::string& settings) {
    IniDocument document(settings, CodePage::Western());
    for (std::string_view key : {kModeKey, kTimingKey, kSelectedSigsKey})
        if (!document.FindValue(kDefaultSection, key))
            return false;
    return true;
}

// A compose window opened and sent: the texts it got.
void ComposeAndDeliver(Session& run) {
    WindowHandle window = run.NewWindow();
    run.Callback([&](Plugin& p) { OnOpenCompose(p, window, 0); });
    run.Callback([&](Plugin& p) { OnOutgoing(p, window, 0); });
    for (const std::string& text : run.Texts(window)) run.outcome += text + "|";
}

void Attach(Session& run) {
    Plugin fresh(run.platform, run.forms);
    run.outcome = fresh.Attach() ? "attached" : "refused";
}

// The setup dialog saving a one-line list.
std::function<void(Session&)> SaveLines(std::vector<std::string> lines) {
    return [lines](Session& run) {
        run.forms.onEdit = [&](TEditForm& form) {
            form.SelectRadio(form.OnelineRadioButton);
            form.FortuneMemo.lines = lines;
            bool ok = false;
            run.Handle([&] { ok = PressOk(form); });
            return ok ? ModalResult::Ok : ModalResult::Cancel;
        };
        run.Callback([](Plugin& p) { RunSetup(p, SetupOf::Default); });
    };
}

std::vector<Path> Paths() {
    std::vector<Path> paths = {
        {"attach", "[Options]\r\nMode=2\r\n", "", Attach},
        {"attach migrating", "[Options]\r\nMode=2\r\n", "a\r\n b\r\n", Attach},
        {"setup save", "[Options]\r\nMode=1\r\n", "", SaveLines({"x", "y"}), true},
        {"selection listing and preview", "[Options]\r\nMode=3\r\n", "",
         [](Session& run) {
             run.forms.onSelect = [&](TSelectSigForm& select) {
                 select.SigCheckListBox.itemIndex = 0;
                 run.Handle([&] { select.SigCheckListBoxClick(); });
                 for (auto& item : select.SigCheckListBox.items) item.checked = true;
                 const auto& preview = select.SigPreviewMemo.lines;
                 run.outcome = preview.empty() ? "" : preview[0];
                 return ModalResult::Ok;
             };
             run.forms.onEdit = [&](TEditForm& form) {
                 run.Handle([&] { form.SelSigButtonClick(); });
                 bool ok = false;
                 run.Handle([&] { ok = PressOk(form); });
                 return ok ? ModalResult::Ok : ModalResult::Cancel;
             };
             run.Callback([](Plugin& p) { RunSetup(p, SetupOf::Default); });
         },
         true},
    };
    // Each mode of a folder (-1: the default setup's, a signature file) at
    // both timings.
    for (const char* mode : {"-1", "1", "2", "3"}) {
        for (const char* timing : {"0", "1"}) {
            paths.push_back({"compose and deliver",
                             std::string("[Options]\r\nMode=1\r\n") + kInbox + "Mode=" + mode +
                                 "\r\nSigAddTiming=" + timing +
                                 "\r\nSelectedSigs=\"Sig\"\r\nOneLineCount=1\r\n"
                                 "[mbox\\!!!!Inbox\\Oneliner]\r\nsig0=\"line\"\r\n",
                             "", ComposeAndDeliver});
        }
    }
    // A settings file in UTF-8 with a mark: values go through the conversions.
    const std::string mark = "\xef\xbb\xbf";
    paths.push_back({"attach migrating", mark + "[Options]\r\nMode=2\r\n", "caf\xe9\r\n", Attach});
    paths.push_back({"setup save",
                     mark + "[Options]\r\nOneLineCount=1\r\n[OptionsOneliner]\r\nsig0=\"\xe2\x86\x92\"\r\n",
                     "", SaveLines({"y", "?"}), true});
    paths.push_back({"compose and deliver",
                     mark + "[Options]\r\nMode=2\r\nOneLineCount=1\r\n[OptionsOneliner]\r\n"
                            "sig0=\"caf\xc3\xa9\"\r\n",
                     "", ComposeAndDeliver});
    return paths;
}

bool AllowedMessage(const PortablePlatform::Message& m) {
    static const std::set<std::string> warnings = {
        kNoSignatureFileMessage + std::string("\r\n") + kSentAsIsMessage, kNoSignatureFileMessage,
        kNoSentenceMessage};
    if (m.warning)
        return warnings.count(m.text) ||
               m.text.starts_with("The signature file could not be read.");
    // A settings file that can't be read or saved, or a dialog handler's
    // failure as the view reports it.
    return m.text.starts_with("The settings could not be read.\r\n") ||
           m.text.starts_with("The settings could not be saved; the file is unchanged.\r\n") ||
           m.text.starts_with("injected: ") || m.text == std::bad_alloc().what() ||
           m.text == "An unexpected error occurred.";
}

TEST(Faults, EveryPlatformCallFailsInTurnOnEveryPath) {
    const std::function<void()> throwers[] = {
        [] { throw FileError("x", "injected"); },
        [] { throw std::bad_alloc(); },
        [] { throw 42; },
    };
    int injected = 0;
    for (const Path& path : Paths()) {
        // A run without faults: how many calls the path makes and what it leaves.
        auto arrange = [&](Session& run) {
            run.WriteSettings(path.settings);
            if (!path.legacy.empty())
                run.dir.Write("quorvels.dat", path.legacy);
        };
        Session clean;
        arrange(clean);
        int calls = 0;
        clean.platform.fault = [&](std::string_view) { ++calls; };
        path.act(clean);
        const std::string cleanOutcome = clean.outcome, cleanSettings = clean.Settings(),
                          cleanLegacy = clean.Legacy();
        ASSERT_GT(calls, 0) << path.name;

        for (int k = 0; k < calls; ++k) {
            for (const auto& thrower : throwers) {
                Session run;
                arrange(run);
                std::string failed;
                int seen = 0;
                run.platform.fault = [&](std::string_view op) {
                    if (seen++ == k) {
                        failed = op;
                        thrower();
                    }
                };
                ++injected;
                path.act(run);  // callbacks and handlers run guarded, as the DLL runs them
                const std::string where = std::string(path.name) + " " + path.settings + ", call " +
                                          std::to_string(k) + " (" + failed + ")";
                if (std::string(path.name).starts_with("attach")) {
                    bool binding = failed == "ModuleFileName" || failed == "HostModule" ||
                                   failed == "FindExport";
                    EXPECT_EQ(run.outcome, binding ? "refused" : "attached") << where;
                }
                const std::string settings = run.Settings(), legacy = run.Legacy();
                EXPECT_TRUE(settings == path.settings || settings == cleanSettings ||
                            (path.dialog && WholeSave(settings)))
                    << where;
                if (!path.legacy.empty()) {
                    EXPECT_TRUE(legacy == path.legacy ||
                                (legacy == cleanLegacy && settings == cleanSettings))
                        << where;
                }
                for (const auto& m : run.platform.messages)
                    EXPECT_TRUE(AllowedMessage(m)) << where << ": " << m.text;

                // The same work again, no faults: as on a fresh start.
                run.platform.fault = nullptr;
                run.platform.messages.clear();
                run.outcome.clear();
                path.act(run);
                EXPECT_EQ(run.outcome, cleanOutcome) << where;
                EXPECT_EQ(run.Settings(), cleanSettings) << where;
            }
        }
    }
    std::printf("%d faults injected\n", injected);
}

}  // namespace
}  // namespace bk::test
