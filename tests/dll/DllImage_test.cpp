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

TEST(DllImage, CarriesItsVersionResource) {
    PeImage dll = BuiltDll();
    EXPECT_EQ(dll.versionStrings["FileVersion"], BK_PLUGIN_VERSION);
    EXPECT_EQ(dll.versionStrings["ProductVersion"], BK_PLUGIN_VERSION);
    EXPECT_EQ(dll.versionStrings["FileDescription"],
              "Enables Becky! to add a signature at random.");
    EXPECT_EQ(dll.versionStrings["OriginalFilename"], "bkQuorvel.dll");
    // The numeric form says the same: major.minor, and the revision as the letter's place.
    const unsigned revision = dll.fileVersionLS >> 16;
    std::string numeric = std::to_string(dll.fileVersionMS >> 16) + "." +
                          std::to_string(dll.fileVersionMS & 0xFFFF) +
                          (revision ? std::string(1, static_cast<char>('a' + revision - 1)) : "");
    EXPECT_EQ(numeric, BK_PLUGIN_VERSION);
    EXPECT_EQ(dll.fileVersionLS & 0xFFFF, 0u);
}

}  // namespace
}  // namespace bk::test
