// What only the Win32 backend can show: its code-page tables against the
// portable ones, module names longer than MAX_PATH, failures that only a real
// file system produces, menus and the handle owner.

#include "platform/win32/Win32Platform.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/win32/UniqueHandle.h"
#include "support/TempDir.h"

namespace bk {
namespace {

void ExpectSameTables(const CodePage& expected, const CodePage& actual) {
    for (int b = 0; b < 256; ++b) {
        auto byte = static_cast<std::uint8_t>(b);
        SCOPED_TRACE(b);
        EXPECT_EQ(expected.IsLeadByte(byte), actual.IsLeadByte(byte));
        EXPECT_EQ(expected.Upper(byte), actual.Upper(byte));
        EXPECT_EQ(expected.IsBlank(byte), actual.IsBlank(byte));
    }
}

TEST(Win32Platform, PortableCodePagesMatchTheSystemTables) {
    Win32Platform western(nullptr, 1252), japanese(nullptr, 932);
    EXPECT_EQ(western.AnsiCodePage().Number(), 1252u);
    EXPECT_EQ(japanese.AnsiCodePage().Number(), 932u);
    ExpectSameTables(CodePage::Western(), western.AnsiCodePage());
    ExpectSameTables(CodePage::Japanese(), japanese.AnsiCodePage());
    EXPECT_EQ(Win32Platform().AnsiCodePage().Number(), GetACP());
}

// Copies the test module into a directory whose path is longer than MAX_PATH,
// loads it from there and removes it all again.
class LongPathModule {
public:
    LongPathModule() {
        wchar_t exe[MAX_PATH];
        DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
        std::wstring source(exe, n);
        source = source.substr(0, source.find_last_of(L'\\') + 1) + L"platform_test_module.dll";
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        directory_ = std::wstring(L"\\\\?\\") + temp + L"bkq-long-module";
        CreateDirectoryW(directory_.c_str(), nullptr);
        middle_ = directory_ + L"\\" + std::wstring(200, L'm');
        CreateDirectoryW(middle_.c_str(), nullptr);
        inner_ = middle_ + L"\\" + std::wstring(200, L'd');
        CreateDirectoryW(inner_.c_str(), nullptr);
        file_ = inner_ + L"\\platform_test_module.dll";
        if (CopyFileW(source.c_str(), file_.c_str(), FALSE))
            module_ = LoadLibraryW(file_.c_str());
    }
    ~LongPathModule() {
        if (module_)
            FreeLibrary(module_);
        DeleteFileW(file_.c_str());
        RemoveDirectoryW(inner_.c_str());
        RemoveDirectoryW(middle_.c_str());
        RemoveDirectoryW(directory_.c_str());
    }
    HMODULE Module() const { return module_; }

private:
    std::wstring directory_, middle_, inner_, file_;
    HMODULE module_ = nullptr;
};

TEST(Win32Platform, ModuleFileNameComesBackWholeBeyondMaxPath) {
    LongPathModule loaded;
    ASSERT_NE(loaded.Module(), nullptr);
    std::string name = Win32Platform(loaded.Module()).ModuleFileName();
    EXPECT_GT(name.size(), std::size_t{400});
    const std::string tail =
        std::string(200, 'm') + "\\" + std::string(200, 'd') + "\\platform_test_module.dll";
    ASSERT_GE(name.size(), tail.size());
    EXPECT_EQ(name.substr(name.size() - tail.size()), tail);
}

TEST(Win32Platform, FindsExportsOfAModule) {
    LongPathModule loaded;
    ASSERT_NE(loaded.Module(), nullptr);
    Win32Platform platform;
    auto module = reinterpret_cast<ModuleHandle>(loaded.Module());
    auto answer = reinterpret_cast<int (*)()>(platform.FindExport(module, "TestModuleAnswer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(platform.FindExport(module, "testmoduleanswer"), nullptr);
    EXPECT_EQ(platform.HostModule(), reinterpret_cast<ModuleHandle>(GetModuleHandleA(nullptr)));
}

TEST(Win32Platform, ReplaceFileLeavesAFileThatIsInUse) {
    test::TempDir dir;
    std::string path = dir.Write("settings.ini", "in use");
    UniqueFileHandle holder(
        CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    Win32Platform platform;
    try {
        platform.ReplaceFile(path, "new");
        ADD_FAILURE() << "no FileError";
    } catch (const FileError& e) {
        std::string message = e.what();
        EXPECT_EQ(message.find_first_of("\r\n"), std::string::npos) << message;
    }
    holder.Reset();
    EXPECT_EQ(test::TempDir::Read(path), "in use");
    WIN32_FIND_DATAA data;
    UniqueFindHandle search(FindFirstFileA((dir.Path() + "\\*.tmp").c_str(), &data));
    EXPECT_FALSE(search) << "left behind: " << data.cFileName;
}

// Another program may delete the old file while the new content is written:
// the new file then takes the free name by a rename. A helper deletes the old
// file as soon as the temporary file appears; writing 32 MB takes far longer.
TEST(Win32Platform, ReplaceFileLandsWhenTheOldFileVanishesMeanwhile) {
    test::TempDir dir;
    std::string path = dir.Write("settings.ini", "old");
    HANDLE change =
        FindFirstChangeNotificationA(dir.Path().c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    ASSERT_NE(change, INVALID_HANDLE_VALUE);
    bool deleted = false;
    std::thread remover([&] {
        if (WaitForSingleObject(change, 10000) == WAIT_OBJECT_0)
            deleted = DeleteFileA(path.c_str()) != 0;
    });
    const std::string content(32 << 20, 'n');
    Win32Platform platform;
    EXPECT_NO_THROW(platform.ReplaceFile(path, content));
    remover.join();
    FindCloseChangeNotification(change);
    EXPECT_TRUE(deleted);
    EXPECT_TRUE(test::TempDir::Read(path) == content) << "the new content did not land";
    WIN32_FIND_DATAA data;
    UniqueFindHandle search(FindFirstFileA((dir.Path() + "\\*.tmp").c_str(), &data));
    EXPECT_FALSE(search) << "left behind: " << data.cFileName;
}

// Wine keeps no access control lists, so only the attributes can be seen here.
TEST(Win32Platform, ReplaceFileKeepsTheAttributesOfTheOldFile) {
    const DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
    const struct {
        const char* name;
        DWORD attributes;  // 0: no file before the replace
    } cases[] = {
        {"hidden.ini", FILE_ATTRIBUTE_HIDDEN},
        {"system.ini", FILE_ATTRIBUTE_SYSTEM},
        {"both.ini", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
        {"archive.ini", FILE_ATTRIBUTE_ARCHIVE},
        {"new.ini", 0},
    };
    test::TempDir dir;
    Win32Platform platform;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = dir.Join(c.name);
        DWORD before = FILE_ATTRIBUTE_ARCHIVE;  // what a new file gets
        if (c.attributes) {
            dir.Write(c.name, "old content");
            ASSERT_TRUE(SetFileAttributesA(path.c_str(), c.attributes));
            before = GetFileAttributesA(path.c_str()) & kKept;  // Wine adds ARCHIVE
            ASSERT_EQ(before & c.attributes, c.attributes);
        }
        platform.ReplaceFile(path, "new");
        EXPECT_EQ(test::TempDir::Read(path), "new");
        EXPECT_EQ(GetFileAttributesA(path.c_str()) & kKept, before);
    }
    WIN32_FIND_DATAA data;
    UniqueFindHandle search(FindFirstFileA((dir.Path() + "\\*.tmp").c_str(), &data));
    EXPECT_FALSE(search) << "left behind: " << data.cFileName;
}

TEST(Win32Platform, AppendsMenuEntries) {
    UniqueHandle<HMENU, &::DestroyMenu> menu(CreatePopupMenu());
    ASSERT_TRUE(menu);
    Win32Platform platform;
    platform.AppendMenuSeparator(menu.Get());
    platform.AppendMenuItem(menu.Get(), 4711, "&Quorvel...");
    ASSERT_EQ(GetMenuItemCount(menu.Get()), 2);
    EXPECT_TRUE(GetMenuState(menu.Get(), 0, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(menu.Get(), 1), 4711u);
    char caption[64] = {};
    GetMenuStringA(menu.Get(), 1, caption, sizeof caption, MF_BYPOSITION);
    EXPECT_STREQ(caption, "&Quorvel...");
}

TEST(UniqueHandle, OwnsExactlyOneHandleAtATime) {
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    UniqueHandle<HANDLE, &::CloseHandle> first(event);
    UniqueHandle<HANDLE, &::CloseHandle> second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.Get(), event);
    second = UniqueHandle<HANDLE, &::CloseHandle>();
    DWORD flags;
    EXPECT_FALSE(GetHandleInformation(event, &flags));  // closed by the assignment

    EXPECT_EQ(UniqueFileHandle().Get(), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(UniqueFindHandle(INVALID_HANDLE_VALUE));
}

}  // namespace
}  // namespace bk
