#pragma once
// The host's call signatures: the entry points the plug-in calls, the two menu
// callbacks it hands to the host, and the calling convention of both.
//
// Every call across the host boundary passes 32-bit arguments on the stack,
// removed by the callee (stdcall on 32-bit Windows). Texts are NUL-terminated
// 8-bit strings; a text the host returns belongs to the host: it is copied or
// used at once and never freed by the plug-in.

#include <cstdint>
#include <string>
#include <string_view>

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
}  // namespace hostcall

// The entry points bound, in load order (HostEntryPoints.inc).
inline constexpr int kHostEntryPointCount = 54;

// ---- Values of the host protocol ----
// BKC_OnOpenCompose: compose windows opened in this mode are left alone.
inline constexpr int kComposeModeLeftAlone = 3;
// BKC_OnOutgoing: the only delivery mode the delivery hook acts on.
inline constexpr int kDeliveryModeNow = 0;
// BKC_OnMenuInit: the only menu type that gets the plug-in's entry.
inline constexpr int kMenuTypeForEntry = 2;
// BKA_CompSetText: the mode argument with which the plug-in adds its text.
inline constexpr int kCompSetTextMode = 1;
// Folder identifiers: the outbox's folder name, "\" included, that a
// folder identifier holds (followed by the folder's closing "\").
inline constexpr std::string_view kOutboxFolderName = "\\!!!!Outbox";
// BKA_CompGetSpecifiedHeader: the size the plug-in passes; the host fills at
// most this many characters of the value plus a NUL.
inline constexpr int kHeaderValueSize = 260;

// A text returned by the host, copied; null reads as empty.
inline std::string HostText(const char* text) {
    return text ? std::string(text) : std::string();
}

}  // namespace bk
