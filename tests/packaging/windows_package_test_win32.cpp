// The Windows zip and installer, tried as a player would: the game unpacked
// from the zip, the installer run silently and with its pages, installed over
// itself and over an older version, the registered uninstaller, and the
// installer on a Windows too old for the game. Runs under Wine, in a prefix
// whose C: drive the test's setup filled (prepare_windows_packages.cmake):
// TANDREL_PACKAGES names that folder, holding the unpacked zip under
// `unzipped\`, `setup.exe`, and `older-setup.exe` (version 0.9.0, with the
// extra file `older-only.txt`).
// windows.h before the headers that build on it.
// clang-format off
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

#include <gtest/gtest.h>

#include <chrono>
#include <cwctype>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/files.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const wchar_t kTitle[] = L"Corvanelle Tandrel";
const wchar_t kUninstallRoot[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\CorvanelleTandrel";

std::wstring Lower(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

fs::path Packages() {
    wchar_t value[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"TANDREL_PACKAGES", value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? fs::path(value) : fs::path();
}

fs::path KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    SHGetKnownFolderPath(id, 0, nullptr, &path);
    fs::path folder(path ? path : L"");
    CoTaskMemFree(path);
    return folder;
}

fs::path InstallFolder() { return KnownFolder(FOLDERID_ProgramFiles) / kTitle; }
fs::path Shortcut() {
    return KnownFolder(FOLDERID_CommonPrograms) / (std::wstring(kTitle) + L".lnk");
}

// Every file under `folder`, as paths relative to it.
std::set<fs::path> FilesUnder(const fs::path& folder) {
    std::set<fs::path> files;
    if (!fs::exists(folder)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), folder));
    return files;
}

std::string Bytes(const fs::path& file) { return tandrel::test::ReadBytes(file.string()); }

struct Process {
    PROCESS_INFORMATION info{};
    ~Process() {
        if (info.hProcess) CloseHandle(info.hProcess);
        if (info.hThread) CloseHandle(info.hThread);
    }
};

// Starts `command` in C:\ into `process` (no handle when it failed).
void Start(std::wstring command, Process& process) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, L"C:\\", &startup,
                   &process.info);
}

// Runs `command` to its end and returns its exit code (-1: it did not start
// or end within five minutes).
long RunToEnd(const std::wstring& command) {
    Process process;
    Start(command, process);
    DWORD code = 0;
    if (!process.info.hProcess || WaitForSingleObject(process.info.hProcess, 300000) != 0 ||
        !GetExitCodeProcess(process.info.hProcess, &code))
        return -1;
    return static_cast<long>(code);
}

std::wstring Quoted(const fs::path& path) { return L"\"" + path.wstring() + L"\""; }

// Waits up to a minute for `found` to give a value.
template <typename Find>
auto WaitFor(Find found) -> decltype(found()) {
    for (auto end = std::chrono::steady_clock::now() + 60s; std::chrono::steady_clock::now() < end;
         std::this_thread::sleep_for(100ms))
        if (auto value = found()) return value;
    return found();
}

// The visible top-level windows of process `pid` (any process: 0).
std::vector<HWND> Windows(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (IsWindowVisible(window) && (s.pid == 0 || owner == s.pid))
                s.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring Text(HWND window) {
    std::wstring text(static_cast<size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

// The text of the first control in process `pid`'s windows whose class
// starts with `kind` and that shows any text.
std::optional<std::wstring> ControlText(DWORD pid, const std::wstring& kind) {
    struct Search {
        const std::wstring& kind;
        std::optional<std::wstring> text;
    } search{kind, std::nullopt};
    for (HWND window : Windows(pid))
        EnumChildWindows(
            window,
            [](HWND child, LPARAM data) -> BOOL {
                auto& s = *reinterpret_cast<Search*>(data);
                wchar_t name[64];
                GetClassNameW(child, name, 64);
                if (std::wstring(name).rfind(s.kind, 0) == 0 && !Text(child).empty())
                    s.text = Text(child);
                return !s.text;
            },
            reinterpret_cast<LPARAM>(&search));
    return search.text;
}

HWND GameWindow(DWORD pid) {
    for (HWND window : Windows(pid))
        if (Text(window) == kTitle) return window;
    return nullptr;
}

std::vector<fs::path> LoadedModules(HANDLE process) {
    HMODULE modules[512];
    DWORD size = 0;
    EnumProcessModulesEx(process, modules, sizeof modules, &size, LIST_MODULES_ALL);
    std::vector<fs::path> paths;
    for (DWORD i = 0; i < size / sizeof(HMODULE) && i < 512; ++i) {
        wchar_t path[MAX_PATH];
        if (GetModuleFileNameExW(process, modules[i], path, MAX_PATH)) paths.emplace_back(path);
    }
    return paths;
}

// Starts the tandrel.exe in `folder`, checks that its window shows, that it
// loads every DLL that is not Windows' own (Qt's plugins included) from
// `folder`, and that it ends with exit code 0 when its window is closed.
void ExpectGameRunsFrom(const fs::path& folder) {
    Process game;
    Start(Quoted(folder / L"tandrel.exe"), game);
    ASSERT_TRUE(game.info.hProcess) << "tandrel.exe did not start";
    HWND window = WaitFor([&] { return GameWindow(game.info.dwProcessId); });
    ASSERT_TRUE(window) << "no window of " << (folder / L"tandrel.exe");

    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    const auto ours = Lower(folder.wstring()) + L"\\";
    std::set<std::wstring> loaded;
    for (const auto& module : LoadedModules(game.info.hProcess)) {
        const auto path = Lower(module.wstring());
        if (path.rfind(Lower(windows), 0) == 0) continue;
        EXPECT_EQ(path.rfind(ours, 0), 0u) << "loaded from elsewhere: " << module;
        loaded.insert(path);
    }
    EXPECT_TRUE(loaded.count(ours + L"platforms\\qwindows.dll"));
    EXPECT_TRUE(loaded.count(ours + L"styles\\qwindowsvistastyle.dll"));

    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD code = 1;
    EXPECT_EQ(WaitForSingleObject(game.info.hProcess, 60000), 0u);
    GetExitCodeProcess(game.info.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

std::optional<std::wstring> Registered(const wchar_t* value) {
    wchar_t data[1024];
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kUninstallKey, value, RRF_RT_REG_SZ, nullptr, data,
                     &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(data);
}

// How many uninstall entries name the game.
int UninstallEntries() {
    HKEY root = nullptr;
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallRoot, 0, KEY_READ, &root);
    int count = 0;
    wchar_t name[256];
    for (DWORD i = 0; root; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(root, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        wchar_t display[256];
        DWORD size = sizeof display;
        if (RegGetValueW(root, name, L"DisplayName", RRF_RT_REG_SZ, nullptr, display, &size) ==
                ERROR_SUCCESS &&
            std::wstring(display) == kTitle)
            ++count;
    }
    if (root) RegCloseKey(root);
    return count;
}

class WindowsPackage : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(Packages().empty()) << "TANDREL_PACKAGES is not set";
        // A folder that drive C holds: started from the build tree, which no
        // drive shows, this program would stay in the folder of the shortcut
        // it opens (Wine's shell cannot go back), and hold it.
        SetCurrentDirectoryW(L"C:\\");
        for (const auto& entry : fs::directory_iterator(Packages() / L"unzipped"))
            zip_ = entry.path();
        ASSERT_FALSE(zip_.empty()) << "no unpacked zip in " << Packages();
        const auto name = zip_.filename().wstring();  // corvanelle-tandrel-<version>-win64
        version_ = name.substr(name.find(L"tandrel-") + 8,
                               name.rfind(L"-win64") - 8 - name.find(L"tandrel-"));
        ASSERT_FALSE(Registered(L"DisplayName") || fs::exists(InstallFolder()))
            << "the game is installed already";
    }

    void TearDown() override {
        if (auto uninstaller = Registered(L"UninstallString")) Uninstall(*uninstaller);
        // The uninstaller runs on from a copy of itself for a moment: the
        // folder, with any player's file a test left, goes once it is done.
        EXPECT_TRUE(WaitFor([] {
            std::error_code ignored;
            fs::remove_all(InstallFolder(), ignored);
            return !fs::exists(InstallFolder());
        })) << "cannot remove "
            << InstallFolder();
    }

    // The silent install of `setup` succeeds.
    static void Install(const wchar_t* setup) {
        ASSERT_EQ(RunToEnd(Quoted(Packages() / setup) + L" /S"), 0) << "installing " << setup;
    }

    // Runs the registered uninstaller silently, as Windows' settings would,
    // and waits until it has removed its uninstall entry, its last step.
    static void Uninstall(const std::wstring& uninstaller) {
        ASSERT_EQ(RunToEnd(uninstaller + L" /S"), 0);
        EXPECT_TRUE(WaitFor([] { return !Registered(L"DisplayName"); }));
    }

    // The installed files are the zip's, the uninstaller and `extra`.
    void ExpectInstalledFilesAreTheZips(const std::set<fs::path>& extra = {}) const {
        auto expected = FilesUnder(zip_);
        expected.insert(L"uninstall.exe");
        expected.insert(extra.begin(), extra.end());
        EXPECT_EQ(FilesUnder(InstallFolder()), expected);
        for (const auto& file : FilesUnder(zip_))
            EXPECT_TRUE(Bytes(InstallFolder() / file) == Bytes(zip_ / file)) << file << " differs";
    }

    fs::path zip_;
    std::wstring version_;
};

TEST_F(WindowsPackage, TheUnpackedZipRunsWithEveryDllFromItsOwnFolder) { ExpectGameRunsFrom(zip_); }

TEST_F(WindowsPackage, InstallingTwiceLeavesOneInstallAndUninstallingLeavesOnlyThePlayersFiles) {
    ASSERT_NO_FATAL_FAILURE(Install(L"setup.exe"));
    ExpectInstalledFilesAreTheZips();
    EXPECT_EQ(Registered(L"DisplayVersion"), version_);
    EXPECT_EQ(Registered(L"Publisher"), L"The Tandrel team");
    const auto uninstaller = Quoted(InstallFolder() / L"uninstall.exe");
    EXPECT_EQ(Registered(L"UninstallString"), uninstaller);
    ASSERT_NO_FATAL_FAILURE(ExpectGameRunsFrom(InstallFolder()));

    // The Start-menu shortcut, opened by the Windows shell, starts the game.
    SHELLEXECUTEINFOW open{};
    open.cbSize = sizeof open;
    open.lpFile = Shortcut().c_str();
    open.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExW(&open)) << "no Start-menu shortcut " << Shortcut();
    HWND started = WaitFor([] { return GameWindow(0); });
    ASSERT_TRUE(started) << "the shortcut did not start the game";
    DWORD pid = 0;
    GetWindowThreadProcessId(started, &pid);
    HANDLE game = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, pid);
    wchar_t image[MAX_PATH];
    DWORD length = MAX_PATH;
    QueryFullProcessImageNameW(game, 0, image, &length);
    EXPECT_EQ(Lower(image), Lower((InstallFolder() / L"tandrel.exe").wstring()));
    PostMessageW(started, WM_CLOSE, 0, 0);
    WaitForSingleObject(game, 60000);
    CloseHandle(game);

    const fs::path notes = L"My notes.txt";
    tandrel::test::WriteBytes((InstallFolder() / notes).string(), "the player's own file");
    ASSERT_NO_FATAL_FAILURE(Install(L"setup.exe"));
    EXPECT_EQ(UninstallEntries(), 1);
    ExpectInstalledFilesAreTheZips({notes});

    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::vector<fs::path> logs = {fs::path(windows) / L"trl.txt",
                                        KnownFolder(FOLDERID_LocalAppData) / L"VirtualStore" /
                                            fs::path(windows).relative_path() / L"trl.txt"};
    const std::string line = "12/6/26    Ann    2 out of 3\r\n";
    for (const auto& log : logs) {
        fs::create_directories(log.parent_path());
        tandrel::test::WriteBytes(log.string(), line);
    }
    ASSERT_NO_FATAL_FAILURE(Uninstall(uninstaller));
    EXPECT_EQ(FilesUnder(InstallFolder()), std::set<fs::path>{notes});
    EXPECT_FALSE(fs::exists(Shortcut()));
    EXPECT_EQ(UninstallEntries(), 0);
    for (const auto& log : logs) EXPECT_EQ(Bytes(log), line) << log;
}

TEST_F(WindowsPackage, InstallingOverAnOlderVersionRemovesWhatOnlyTheOlderInstalled) {
    ASSERT_NO_FATAL_FAILURE(Install(L"older-setup.exe"));
    EXPECT_EQ(Registered(L"DisplayVersion"), L"0.9.0");
    EXPECT_TRUE(fs::exists(InstallFolder() / L"older-only.txt"));

    ASSERT_NO_FATAL_FAILURE(Install(L"setup.exe"));
    EXPECT_EQ(Registered(L"DisplayVersion"), version_);
    EXPECT_EQ(UninstallEntries(), 1);
    ExpectInstalledFilesAreTheZips();
}

TEST_F(WindowsPackage, TheInstallerShowsTheGamesLicenceBeforeInstalling) {
    Process setup;
    Start(Quoted(Packages() / L"setup.exe"), setup);
    ASSERT_TRUE(setup.info.hProcess);
    HWND window = WaitFor([&] {
        auto windows = Windows(setup.info.dwProcessId);
        return windows.empty() ? HWND{} : windows.front();
    });
    ASSERT_TRUE(window) << "the installer showed no window";
    PostMessageW(window, WM_COMMAND, IDOK, 0);  // the welcome page's Next
    const auto licence = WaitFor([&] { return ControlText(setup.info.dwProcessId, L"RichEdit"); });
    TerminateProcess(setup.info.hProcess, 1);
    WaitForSingleObject(setup.info.hProcess, 60000);

    ASSERT_TRUE(licence) << "no page with a licence after the welcome page";
    std::wstring expected;
    for (char c : Bytes(zip_ / L"LICENSE.txt"))
        if (c != '\n' && c != '\r') expected += static_cast<wchar_t>(c);
    std::wstring shown;
    for (wchar_t c : *licence)
        if (c != L'\n' && c != L'\r') shown += c;
    EXPECT_EQ(shown, expected);
    EXPECT_FALSE(fs::exists(InstallFolder()));
}

// In a Wine prefix that reports Windows 7 (run with this suite alone).
TEST_F(WindowsPackage, OnWindows7TheInstallerRefusesAndInstallsNothing) {
    OSVERSIONINFOW reported{};
    reported.dwOSVersionInfoSize = sizeof reported;
    using RtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    reinterpret_cast<RtlGetVersion>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")))(&reported);
    ASSERT_EQ(reported.dwMajorVersion * 10 + reported.dwMinorVersion, 61u)
        << "this prefix does not report Windows 7";

    EXPECT_NE(RunToEnd(Quoted(Packages() / L"setup.exe") + L" /S"), 0);
    EXPECT_FALSE(fs::exists(InstallFolder()));
    EXPECT_FALSE(Registered(L"DisplayName"));

    Process setup;
    Start(Quoted(Packages() / L"setup.exe"), setup);
    const auto message = WaitFor([&] { return ControlText(setup.info.dwProcessId, L"Static"); });
    TerminateProcess(setup.info.hProcess, 1);
    WaitForSingleObject(setup.info.hProcess, 60000);
    ASSERT_TRUE(message) << "the installer said nothing";
    EXPECT_NE(message->find(L"needs Windows 10 or later"), std::wstring::npos)
        << std::string(message->begin(), message->end());
}

}  // namespace
