#pragma once
// The host's call signatures: the entry points the plug-in calls, the two menu
// callbacks it hands to the host, and the calling convention of both.
//
// Every call across the host boundary passes 32-bit arguments on the stack,
// removed by the callee (stdcall on 32-bit Windows). Texts are NUL-terminated
// 8-bit strings; a text the host returns belongs to the host: it is copied or
// used at once and never freed by the plug-in.

#include <cstdint>

#include "platform/Platform.h"

#if defined(_WIN32)
#define BKAPI __stdcall
#else
#define BKAPI
#endif

namespace bk {

// Menu command callback: two arguments, both ignored; no result.
using CommandCallback = void(BKAPI*)(WindowHandle, std::intptr_t);
// Menu state callback: two arguments, both ignored; answers 1 or 0.
using UICallback = std::uint32_t(BKAPI*)(WindowHandle, std::intptr_t);

namespace hostcall {
// Results of the setting calls are ignored by the plug-in.
using GetDataFolder = char*(BKAPI*)();
using GetCurrentMailBox = char*(BKAPI*)();
using GetCurrentFolder = char*(BKAPI*)();
using GetFolderDisplayName = char*(BKAPI*)(const char* folderId);
using RegisterCommand = int(BKAPI*)(const char* text, int menuType, CommandCallback callback);
using RegisterUICallback = int(BKAPI*)(int commandId, UICallback callback);
// Fills `buffer` (of at least size + 1 bytes) with the header's value, empty when absent.
using CompGetSpecifiedHeader = int(BKAPI*)(WindowHandle window, const char* header, char* buffer,
                                           int size);
// A null value removes the header.
using CompSetSpecifiedHeader = int(BKAPI*)(WindowHandle window, const char* header,
                                           const char* value);
using CompSetText = int(BKAPI*)(WindowHandle window, int mode, const char* text);
using CompGetSource = char*(BKAPI*)(WindowHandle window);
using CompSetSource = int(BKAPI*)(WindowHandle window, const char* source);
// The 43 entry points the plug-in binds but never calls.
using Untyped = ProcAddress;
}  // namespace hostcall

// The 54 entry points in load order, which is also the order of the slots:
// X(name, slot type).
#define BK_HOST_ENTRY_POINTS(X)                                \
    X(BKA_GetVersion, hostcall::Untyped)                       \
    X(BKA_Command, hostcall::Untyped)                          \
    X(BKA_GetWindowHandles, hostcall::Untyped)                 \
    X(BKA_RegisterCommand, hostcall::RegisterCommand)          \
    X(BKA_RegisterUICallback, hostcall::RegisterUICallback)    \
    X(BKA_GetDataFolder, hostcall::GetDataFolder)              \
    X(BKA_GetTempFolder, hostcall::Untyped)                    \
    X(BKA_GetTempFileName, hostcall::Untyped)                  \
    X(BKA_GetCurrentMailBox, hostcall::GetCurrentMailBox)      \
    X(BKA_SetCurrentMailBox, hostcall::Untyped)                \
    X(BKA_GetCurrentFolder, hostcall::GetCurrentFolder)        \
    X(BKA_SetCurrentFolder, hostcall::Untyped)                 \
    X(BKA_GetFolderDisplayName, hostcall::GetFolderDisplayName) \
    X(BKA_SetMessageText, hostcall::Untyped)                   \
    X(BKA_GetCurrentMail, hostcall::Untyped)                   \
    X(BKA_SetCurrentMail, hostcall::Untyped)                   \
    X(BKA_GetNextMail, hostcall::Untyped)                      \
    X(BKA_SetSel, hostcall::Untyped)                           \
    X(BKA_AppendMessage, hostcall::Untyped)                    \
    X(BKA_MoveSelectedMessages, hostcall::Untyped)             \
    X(BKA_GetStatus, hostcall::Untyped)                        \
    X(BKA_ComposeMail, hostcall::Untyped)                      \
    X(BKA_GetCharSet, hostcall::Untyped)                       \
    X(BKA_GetSource, hostcall::Untyped)                        \
    X(BKA_SetSource, hostcall::Untyped)                        \
    X(BKA_GetHeader, hostcall::Untyped)                        \
    X(BKA_GetText, hostcall::Untyped)                          \
    X(BKA_SetText, hostcall::Untyped)                          \
    X(BKA_GetSpecifiedHeader, hostcall::Untyped)               \
    X(BKA_SetSpecifiedHeader, hostcall::Untyped)               \
    X(BKA_CompGetCharSet, hostcall::Untyped)                   \
    X(BKA_CompGetSource, hostcall::CompGetSource)              \
    X(BKA_CompSetSource, hostcall::CompSetSource)              \
    X(BKA_CompGetHeader, hostcall::Untyped)                    \
    X(BKA_CompGetSpecifiedHeader, hostcall::CompGetSpecifiedHeader) \
    X(BKA_CompSetSpecifiedHeader, hostcall::CompSetSpecifiedHeader) \
    X(BKA_CompGetText, hostcall::Untyped)                      \
    X(BKA_CompSetText, hostcall::CompSetText)                  \
    X(BKA_CompAttachFile, hostcall::Untyped)                   \
    X(BKA_Alloc, hostcall::Untyped)                            \
    X(BKA_ReAlloc, hostcall::Untyped)                          \
    X(BKA_Free, hostcall::Untyped)                             \
    X(BKA_ISO_2022_JP, hostcall::Untyped)                      \
    X(BKA_ISO_2022_KR, hostcall::Untyped)                      \
    X(BKA_HZ_GB2312, hostcall::Untyped)                        \
    X(BKA_ISO_8859_2, hostcall::Untyped)                       \
    X(BKA_EUC_JP, hostcall::Untyped)                           \
    X(BKA_UTF_7, hostcall::Untyped)                            \
    X(BKA_UTF_8, hostcall::Untyped)                            \
    X(BKA_B64Convert, hostcall::Untyped)                       \
    X(BKA_QPConvert, hostcall::Untyped)                        \
    X(BKA_MIMEHeader, hostcall::Untyped)                       \
    X(BKA_SerializeRcpts, hostcall::Untyped)                   \
    X(BKA_Connect, hostcall::Untyped)

inline constexpr int kHostEntryPointCount = 54;

}  // namespace bk
