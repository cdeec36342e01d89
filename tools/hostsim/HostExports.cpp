// The host's 54 BKA_ entry points, with the very signatures the plug-in calls
// them by. The eleven that the plug-in calls work on HostModel::Current(); the
// other 43 only exist, as they must for the plug-in to bind, and answer 0.
// The stand-in host program exports them (the build makes its .def file from
// the same list, with plain names); the native tests hand their addresses to
// the portable platform (kHostEntryPoints).
#include <type_traits>

#include "HostModel.h"

using bk::WindowHandle;
using hostsim::HostModel;

namespace {
HostModel& Sim() {
    return *HostModel::Current();
}
}  // namespace

extern "C" {

char* BKAPI BKA_GetDataFolder() {
    return Sim().GetDataFolder();
}
char* BKAPI BKA_GetCurrentMailBox() {
    return Sim().GetCurrentMailBox();
}
char* BKAPI BKA_GetCurrentFolder() {
    return Sim().GetCurrentFolder();
}
char* BKAPI BKA_GetFolderDisplayName(const char* folder) {
    return Sim().GetFolderDisplayName(folder);
}
int BKAPI BKA_RegisterCommand(const char* text, int menuType, bk::CommandCallback cb) {
    return Sim().RegisterCommand(text, menuType, cb);
}
int BKAPI BKA_RegisterUICallback(int id, bk::UICallback cb) {
    return Sim().RegisterUICallback(id, cb);
}
int BKAPI BKA_CompGetSpecifiedHeader(WindowHandle w, const char* header, char* buffer, int size) {
    return Sim().CompGetSpecifiedHeader(w, header, buffer, size);
}
int BKAPI BKA_CompSetSpecifiedHeader(WindowHandle w, const char* header, const char* value) {
    return Sim().CompSetSpecifiedHeader(w, header, value);
}
int BKAPI BKA_CompSetText(WindowHandle w, int mode, const char* text) {
    return Sim().CompSetText(w, mode, text);
}
char* BKAPI BKA_CompGetSource(WindowHandle w) {
    return Sim().CompGetSource(w);
}
int BKAPI BKA_CompSetSource(WindowHandle w, const char* source) {
    return Sim().CompSetSource(w, source);
}

#define BK_CALLED(name, type) \
    static_assert(std::is_same_v<decltype(&name), bk::hostcall::type>, #name " as called");
#define BK_BOUND(name) \
    int BKAPI name() { \
        return 0;      \
    }
#include "host/HostEntryPoints.inc"
#undef BK_CALLED
#undef BK_BOUND

}  // extern "C"

namespace hostsim {

const HostEntryPoint kHostEntryPoints[bk::kHostEntryPointCount] = {
#define BK_BOUND(name) {#name, reinterpret_cast<bk::ProcAddress>(&name)},
#define BK_CALLED(name, type) BK_BOUND(name)
#include "host/HostEntryPoints.inc"
#undef BK_CALLED
#undef BK_BOUND
};

}  // namespace hostsim
