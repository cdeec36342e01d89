// The host's 54 BKA_ entry points, exported from the program that plays the
// host (names listed in the generated .def file). The eleven that the plug-in
// calls work on HostSim::Current(); the other 43 only exist, as they must for
// the plug-in to bind, and answer 0.
#include <windows.h>

#include "HostSim.h"

using hostsim::HostSim;

namespace {
HostSim& Sim() { return *HostSim::Current(); }
}  // namespace

extern "C" {

char* WINAPI BKA_GetDataFolder() { return Sim().GetDataFolder(); }
char* WINAPI BKA_GetCurrentMailBox() { return Sim().GetCurrentMailBox(); }
char* WINAPI BKA_GetCurrentFolder() { return Sim().GetCurrentFolder(); }
char* WINAPI BKA_GetFolderDisplayName(const char* folder) {
    return Sim().GetFolderDisplayName(folder);
}
int WINAPI BKA_RegisterCommand(const char* text, int menuType, hostsim::CommandCallback cb) {
    return Sim().RegisterCommand(text, menuType, cb);
}
int WINAPI BKA_RegisterUICallback(int id, hostsim::UICallback cb) {
    return Sim().RegisterUICallback(id, cb);
}
int WINAPI BKA_CompGetSpecifiedHeader(HWND w, const char* header, char* buffer, int size) {
    return Sim().CompGetSpecifiedHeader(w, header, buffer, size);
}
int WINAPI BKA_CompSetSpecifiedHeader(HWND w, const char* header, const char* value) {
    return Sim().CompSetSpecifiedHeader(w, header, value);
}
int WINAPI BKA_CompSetText(HWND w, int mode, const char* text) {
    return Sim().CompSetText(w, mode, text);
}
char* WINAPI BKA_CompGetSource(HWND w) { return Sim().CompGetSource(w); }
int WINAPI BKA_CompSetSource(HWND w, const char* source) { return Sim().CompSetSource(w, source); }

#define BK_UNUSED_ENTRY(name) \
    int WINAPI name() { return 0; }
BK_UNUSED_ENTRY(BKA_GetVersion)
BK_UNUSED_ENTRY(BKA_Command)
BK_UNUSED_ENTRY(BKA_GetWindowHandles)
BK_UNUSED_ENTRY(BKA_GetTempFolder)
BK_UNUSED_ENTRY(BKA_GetTempFileName)
BK_UNUSED_ENTRY(BKA_SetCurrentMailBox)
BK_UNUSED_ENTRY(BKA_SetCurrentFolder)
BK_UNUSED_ENTRY(BKA_SetMessageText)
BK_UNUSED_ENTRY(BKA_GetCurrentMail)
BK_UNUSED_ENTRY(BKA_SetCurrentMail)
BK_UNUSED_ENTRY(BKA_GetNextMail)
BK_UNUSED_ENTRY(BKA_SetSel)
BK_UNUSED_ENTRY(BKA_AppendMessage)
BK_UNUSED_ENTRY(BKA_MoveSelectedMessages)
BK_UNUSED_ENTRY(BKA_GetStatus)
BK_UNUSED_ENTRY(BKA_ComposeMail)
BK_UNUSED_ENTRY(BKA_GetCharSet)
BK_UNUSED_ENTRY(BKA_GetSource)
BK_UNUSED_ENTRY(BKA_SetSource)
BK_UNUSED_ENTRY(BKA_GetHeader)
BK_UNUSED_ENTRY(BKA_GetText)
BK_UNUSED_ENTRY(BKA_SetText)
BK_UNUSED_ENTRY(BKA_GetSpecifiedHeader)
BK_UNUSED_ENTRY(BKA_SetSpecifiedHeader)
BK_UNUSED_ENTRY(BKA_CompGetCharSet)
BK_UNUSED_ENTRY(BKA_CompGetHeader)
BK_UNUSED_ENTRY(BKA_CompGetText)
BK_UNUSED_ENTRY(BKA_CompAttachFile)
BK_UNUSED_ENTRY(BKA_Alloc)
BK_UNUSED_ENTRY(BKA_ReAlloc)
BK_UNUSED_ENTRY(BKA_Free)
BK_UNUSED_ENTRY(BKA_ISO_2022_JP)
BK_UNUSED_ENTRY(BKA_ISO_2022_KR)
BK_UNUSED_ENTRY(BKA_HZ_GB2312)
BK_UNUSED_ENTRY(BKA_ISO_8859_2)
BK_UNUSED_ENTRY(BKA_EUC_JP)
BK_UNUSED_ENTRY(BKA_UTF_7)
BK_UNUSED_ENTRY(BKA_UTF_8)
BK_UNUSED_ENTRY(BKA_B64Convert)
BK_UNUSED_ENTRY(BKA_QPConvert)
BK_UNUSED_ENTRY(BKA_MIMEHeader)
BK_UNUSED_ENTRY(BKA_SerializeRcpts)
BK_UNUSED_ENTRY(BKA_Connect)
#undef BK_UNUSED_ENTRY

}  // extern "C"
