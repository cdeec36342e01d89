// What the built bkQuorvel.dll looks like from outside: a 32-bit DLL that
// exports exactly the host's fourteen callbacks by their plain names, imports
// Windows system DLLs only (the C and C++ runtimes are inside it), and carries
// its version resource.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <sstream>

#include "PeImage.h"

namespace bk::test {
namespace {

PeImage BuiltDll() {
    std::ifstream in(BK_BUILT_DLL, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return ReadPeImage(bytes.str());
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
    EXPECT_EQ(dll.versionStrings["FileVersion"], "0.23e");
    EXPECT_EQ(dll.versionStrings["ProductVersion"], "0.23e");
    EXPECT_EQ(dll.versionStrings["FileDescription"],
              "Enables Becky! to add a signature at random.");
    EXPECT_EQ(dll.versionStrings["OriginalFilename"], "bkQuorvel.dll");
    EXPECT_EQ(dll.fileVersionMS, (0u << 16) | 23u);
    EXPECT_EQ(dll.fileVersionLS, (5u << 16) | 0u);
}

}  // namespace
}  // namespace bk::test
