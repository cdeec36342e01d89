// What the built bkQuorvel.dll looks like from outside: a 32-bit DLL of at most
// 400 KB, stripped, its debug information in the file its debug link names;
// it exports exactly the host's fourteen callbacks by their plain names,
// imports Windows system DLLs only (the C and C++ runtimes are inside it), and
// carries its version resource. The package is refused when one of these fails:
// it runs this program on the DLL it is about to pack, named by BK_CHECKED_DLL
// (a Windows path; without it, the DLL of this build tree).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "PeImage.h"
#include "core/PluginInfo.h"

namespace bk::test {
namespace {

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string DllPath() {
    const char* checked = std::getenv("BK_CHECKED_DLL");
    return checked && *checked ? checked : BK_BUILT_DLL;
}

PeImage BuiltDll() {
    return ReadPeImage(Bytes(DllPath()));
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

TEST(DllImage, IsA32BitDll) {
    PeImage dll = BuiltDll();
    EXPECT_EQ(dll.machine, 0x14C);              // i386
    EXPECT_TRUE(dll.characteristics & 0x2000);  // IMAGE_FILE_DLL
}

TEST(DllImage, ShipsStrippedWithinTheSizeLimit) {
    EXPECT_LE(Bytes(DllPath()).size(), 400u * 1024u);
    PeImage dll = BuiltDll();
    EXPECT_EQ(dll.symbolCount, 0u);
    for (const auto& name : dll.sectionNames)
        EXPECT_NE(name.rfind(".debug", 0), 0u) << "debug section " << name << " left in the DLL";
    EXPECT_EQ(dll.debugLink, "bkQuorvel.dll.debug");
    EXPECT_GT(Bytes(DllPath() + ".debug").size(), 0u) << "no debug file beside it";
}

TEST(DllImage, ExportsExactlyTheFourteenCallbacksByPlainName) {
    const std::set<std::string> expected = {
        "BKC_OnStart",       "BKC_OnExit",        "BKC_OnMenuInit",    "BKC_OnOpenFolder",
        "BKC_OnOpenMail",    "BKC_OnEveryMinute", "BKC_OnOpenCompose", "BKC_OnOutgoing",
        "BKC_OnKeyDispatch", "BKC_OnRetrieve",    "BKC_OnSend",        "BKC_OnFinishRetrieve",
        "BKC_OnPlugInSetup", "BKC_OnPlugInInfo"};
    PeImage dll = BuiltDll();
    EXPECT_EQ(dll.exports.size(), expected.size());
    EXPECT_EQ(std::set<std::string>(dll.exports.begin(), dll.exports.end()), expected);
}

TEST(DllImage, ImportsWindowsSystemDllsOnly) {
    const std::set<std::string> system = {"kernel32.dll", "user32.dll",   "gdi32.dll",
                                          "comctl32.dll", "msvcrt.dll",   "advapi32.dll",
                                          "shell32.dll",  "comdlg32.dll", "ole32.dll"};
    PeImage dll = BuiltDll();
    EXPECT_FALSE(dll.imports.empty());
    for (const auto& name : dll.imports)
        EXPECT_TRUE(system.count(Lower(name))) << "unexpected import " << name;
}

// Everything the DLL takes from kernel32, named: what the plug-in calls, and what
// its static runtime calls. An import outside the list fails with its name (a
// thread-control import such as SuspendThread or OpenProcess is what made
// scanners flag the DLL), and so does a name listed but no longer imported, so
// that the list stays the DLL's true one.
TEST(DllImage, ImportsFromKernel32ExactlyWhatItCalls) {
    const std::set<std::string> listed = {
        // The plug-in: files, module and export lookup, code-page tables and
        // conversions, time, error texts, DllMain, the activation context of
        // its windows (ThemeContext).
        "ActivateActCtx", "CloseHandle", "CreateActCtxA", "CreateFileA", "DeactivateActCtx",
        "DeleteFileA", "DisableThreadLibraryCalls", "FindClose", "FindFirstFileA", "FindNextFileA",
        "FlushFileBuffers", "FormatMessageA", "GetACP", "GetFileAttributesA", "GetFileSizeEx",
        "GetFileType", "GetLastError", "GetModuleFileNameA", "GetModuleHandleA", "GetProcAddress",
        "GetStringTypeW", "GetSystemTime", "GetTempFileNameA", "InitOnceExecuteOnce",
        "IsDBCSLeadByteEx", "LCMapStringW", "MoveFileExA", "MultiByteToWideChar", "ReadFile",
        "ReleaseActCtx", "ReplaceFileA", "SetFileAttributesA", "WideCharToMultiByte", "WriteFile",
        // The C and C++ runtimes: locks (static initialisation, exit handlers, the
        // unwinder), thread-local storage, pseudo-relocations at start-up, and the
        // unwinder's look for a shared runtime DLL when it registers its tables.
        "CreateSemaphoreW", "DeleteCriticalSection", "EnterCriticalSection", "FreeLibrary",
        "GetCurrentThreadId", "GetModuleHandleW", "InitializeCriticalSection",
        "LeaveCriticalSection", "LoadLibraryA", "LoadLibraryW", "ReleaseSemaphore", "SetLastError",
        "Sleep", "TlsAlloc", "TlsFree", "TlsGetValue", "TlsSetValue", "VirtualProtect",
        "VirtualQuery", "WaitForSingleObject"};
    std::set<std::string> imported;
    for (const auto& [dll, functions] : BuiltDll().importedFunctions)
        if (Lower(dll) == "kernel32.dll")
            imported.insert(functions.begin(), functions.end());
    for (const auto& name : imported)
        EXPECT_TRUE(listed.count(name)) << "unlisted kernel32 import " << name;
    for (const auto& name : listed)
        EXPECT_TRUE(imported.count(name)) << "listed but not imported: " << name;
}

TEST(DllImage, CarriesItsVersionResource) {
    PeImage dll = BuiltDll();
    EXPECT_EQ(dll.versionStrings["FileVersion"], BK_PLUGIN_VERSION);
    EXPECT_EQ(dll.versionStrings["ProductVersion"], BK_PLUGIN_VERSION);
    EXPECT_EQ(dll.versionStrings["FileDescription"], BK_PLUGIN_DESCRIPTION);
    EXPECT_EQ(dll.versionStrings["OriginalFilename"], "bkQuorvel.dll");
    // The numeric form: major, minor, revision and 0, as the build set them.
    const unsigned numbers[] = {BK_PLUGIN_VERSION_NUMBERS};
    EXPECT_EQ(dll.fileVersionMS >> 16, numbers[0]);
    EXPECT_EQ(dll.fileVersionMS & 0xFFFF, numbers[1]);
    EXPECT_EQ(dll.fileVersionLS >> 16, numbers[2]);
    EXPECT_EQ(dll.fileVersionLS & 0xFFFF, numbers[3]);
}

}  // namespace
}  // namespace bk::test
