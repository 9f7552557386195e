// The setup program and the portable package, used as a user would, in a fresh Wine prefix of
// their own: a silent install for the current user in English and one for all users in French,
// the installed program, an upgrade and silent uninstalls. The tests build on each other and
// run in the order written.
//   installer_test <setup.exe> <unpacked portable folder>
#include "gui/support/desktop.hpp"
#include "ondrel_version.hpp"
#include "platform/files.hpp"
#include "platform/win32/wide.hpp"
#include "support/temporary_folder.hpp"
#include "support/windows_process.hpp"
#include "ui/open_dialog_filter.hpp"

#include <fstream>
#include <gtest/gtest.h>
#include <ranges>
#include <shlobj.h>

namespace ondrel::testing {
namespace {

std::filesystem::path setup_program;
std::filesystem::path portable_folder;

const std::wstring uninstall_key =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ondrel";
const std::wstring product_key = L"Software\\Ondrel";

// What one scope of installation leaves, and where.
struct Scope {
    HKEY root;
    const wchar_t* option;
    const wchar_t* language; // the /LANGUAGE= value and the registry's Language
    std::filesystem::path folder;
    KNOWNFOLDERID programs_menu;
};

std::filesystem::path known_folder(const KNOWNFOLDERID& id) {
    PWSTR path = nullptr;
    std::filesystem::path result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) {
        result = path;
    }
    CoTaskMemFree(path);
    return result;
}

// The registry in its 64-bit view, where the program reads.
std::optional<std::wstring> read_text(HKEY root, const std::wstring& key, const wchar_t* value) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    wchar_t buffer[4096] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    DWORD type = 0;
    const LONG status =
        RegQueryValueExW(opened, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(opened);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    return std::wstring(buffer);
}

std::optional<DWORD> read_number(HKEY root, const std::wstring& key, const wchar_t* value) {
    DWORD number = 0;
    DWORD size = sizeof number;
    if (RegGetValueW(root, key.c_str(), value, RRF_RT_REG_DWORD | RRF_SUBKEY_WOW6464KEY, nullptr,
                     &number, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return number;
}

bool key_exists(HKEY root, const std::wstring& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(opened);
    return true;
}

bool value_exists(HKEY root, const std::wstring& key, const wchar_t* value) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS) {
        return false;
    }
    const bool found =
        RegQueryValueExW(opened, value, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(opened);
    return found;
}

std::vector<std::wstring> video_extensions() {
    std::vector<std::wstring> extensions;
    for (const auto part : std::views::split(video_file_pattern, ';')) {
        const std::string_view pattern(part.begin(), part.end());
        extensions.push_back(widen(pattern.substr(2))); // after "*."
    }
    return extensions;
}

const std::vector<std::wstring> shipped_files = {
    L"Ondrel.exe",
    L"ondrel-compress.exe",
    L"ffmpeg.exe",
    L"ffprobe.exe",
    L"libmpv-2.dll",
    L"uninstall.exe",
    L"licenses\\Ondrel-LICENSE.txt",
    L"licenses\\GPL-2.txt",
    L"licenses\\GPL-3.txt",
    L"licenses\\LGPL-2.1.txt",
    L"licenses\\LGPL-3.txt",
    L"licenses\\MinGW-w64-runtime-ZPL-2.1.txt",
    L"licenses\\GCC-runtime-library-exception.txt",
    L"licenses\\nlohmann-json-MIT.txt",
    L"licenses\\SOURCES.txt",
};

std::optional<DWORD> run_setup(const std::wstring& options) {
    return run_and_wait(L"\"" + setup_program.wstring() + L"\" " + options, 180000);
}

void expect_installed(const Scope& scope) {
    for (const auto& file : shipped_files) {
        EXPECT_TRUE(std::filesystem::is_regular_file(scope.folder / file)) << file;
    }
    const std::wstring exe = (scope.folder / L"Ondrel.exe").wstring();
    const std::wstring uninstaller =
        L"\"" + (scope.folder / L"uninstall.exe").wstring() + L"\" " + scope.option;
    EXPECT_EQ(read_text(scope.root, product_key, L"Language"), scope.language);
    EXPECT_EQ(read_text(scope.root, uninstall_key, L"DisplayName"), L"Ondrel");
    EXPECT_EQ(read_text(scope.root, uninstall_key, L"DisplayVersion"), widen(ONDREL_VERSION_TEXT));
    EXPECT_EQ(read_text(scope.root, uninstall_key, L"DisplayIcon"), exe + L",0");
    EXPECT_EQ(read_text(scope.root, uninstall_key, L"InstallLocation"), scope.folder.wstring());
    EXPECT_EQ(read_text(scope.root, uninstall_key, L"UninstallString"), uninstaller);
    EXPECT_EQ(read_text(scope.root, uninstall_key, L"QuietUninstallString"), uninstaller + L" /S");
    EXPECT_TRUE(read_text(scope.root, uninstall_key, L"Publisher").has_value());
    EXPECT_EQ(read_number(scope.root, uninstall_key, L"NoModify"), 1u);
    EXPECT_EQ(read_number(scope.root, uninstall_key, L"NoRepair"), 1u);
    // ffmpeg.exe and ffprobe.exe alone are well over 50 MB.
    EXPECT_GT(read_number(scope.root, uninstall_key, L"EstimatedSize").value_or(0), 50'000u);

    const std::wstring open_command = L"\"" + exe + L"\" \"%1\"";
    for (const auto& extension : video_extensions()) {
        const std::wstring progid = L"Ondrel." + extension;
        const std::wstring classes = L"Software\\Classes\\";
        EXPECT_EQ(read_text(scope.root, classes + progid + L"\\shell\\open\\command", nullptr),
                  open_command)
            << extension;
        EXPECT_EQ(read_text(scope.root, classes + progid + L"\\DefaultIcon", nullptr), exe + L",0");
        EXPECT_TRUE(value_exists(scope.root, classes + L"." + extension + L"\\OpenWithProgids",
                                 progid.c_str()));
        // The extension's own default stays whatever it was: Ondrel is offered, not imposed.
        EXPECT_FALSE(read_text(scope.root, classes + L"." + extension, nullptr).has_value());
        EXPECT_TRUE(value_exists(scope.root, classes + L"Applications\\Ondrel.exe\\SupportedTypes",
                                 (L"." + extension).c_str()));
        EXPECT_EQ(read_text(scope.root, product_key + L"\\Capabilities\\FileAssociations",
                            (L"." + extension).c_str()),
                  progid);
    }
    EXPECT_EQ(
        read_text(scope.root, L"Software\\Classes\\Applications\\Ondrel.exe", L"FriendlyAppName"),
        L"Ondrel");
    EXPECT_EQ(read_text(scope.root, product_key + L"\\Capabilities", L"ApplicationName"),
              L"Ondrel");
    EXPECT_EQ(read_text(scope.root, product_key + L"\\Capabilities", L"ApplicationIcon"),
              exe + L",0");
    EXPECT_TRUE(read_text(scope.root, product_key + L"\\Capabilities", L"ApplicationDescription"));
    EXPECT_EQ(read_text(scope.root, L"Software\\RegisteredApplications", L"Ondrel"),
              product_key + L"\\Capabilities");
    EXPECT_TRUE(std::filesystem::exists(known_folder(scope.programs_menu) / L"Ondrel.lnk"));
    // The desktop shortcut and the PATH entry are options nobody chose here.
    EXPECT_FALSE(std::filesystem::exists(known_folder(FOLDERID_PublicDesktop) / L"Ondrel.lnk"));
    EXPECT_FALSE(std::filesystem::exists(known_folder(FOLDERID_Desktop) / L"Ondrel.lnk"));
    EXPECT_FALSE(value_exists(scope.root, product_key, L"PathEntry"));
}

// The uninstaller copies itself away and returns at once; the copy does the work.
void uninstall_quietly(const Scope& scope) {
    const auto command = read_text(scope.root, uninstall_key, L"QuietUninstallString");
    ASSERT_TRUE(command.has_value());
    EXPECT_EQ(run_and_wait(*command, 60000), 0u);
    const bool finished = pump_until(
        [&] {
            return !key_exists(scope.root, uninstall_key) &&
                   !std::filesystem::exists(scope.folder / L"uninstall.exe");
        },
        std::chrono::seconds(60));
    EXPECT_TRUE(finished);
}

void expect_removed(const Scope& scope) {
    EXPECT_FALSE(std::filesystem::exists(scope.folder)) << list_folder(scope.folder);
    for (const auto& key :
         {uninstall_key, product_key, std::wstring(L"Software\\Classes\\Ondrel.mkv"),
          std::wstring(L"Software\\Classes\\Applications\\Ondrel.exe")}) {
        EXPECT_FALSE(key_exists(scope.root, key)) << key;
    }
    EXPECT_FALSE(
        value_exists(scope.root, L"Software\\Classes\\.mp4\\OpenWithProgids", L"Ondrel.mp4"));
    EXPECT_FALSE(value_exists(scope.root, L"Software\\RegisteredApplications", L"Ondrel"));
    EXPECT_FALSE(std::filesystem::exists(known_folder(scope.programs_menu) / L"Ondrel.lnk"));
}

// The user's own data, which no installer or uninstaller may touch.
std::filesystem::path user_settings() {
    return known_folder(FOLDERID_RoamingAppData) / L"Ondrel" / L"settings.ini";
}

void write_user_settings() {
    std::filesystem::create_directories(user_settings().parent_path());
    write_bytes(user_settings(), "volume=37\n");
}

const Scope current_user{HKEY_CURRENT_USER, L"/CurrentUser", L"en",
                         known_folder(FOLDERID_LocalAppData) / L"Programs" / L"Ondrel",
                         FOLDERID_Programs};
// A folder given with /D=, which wins over the default.
const Scope all_users{HKEY_LOCAL_MACHINE, L"/AllUsers", L"fr", L"C:\\OndrelTest",
                      FOLDERID_CommonPrograms};

void close_program(const StartedProgram& program) {
    for (HWND window : windows_of_process(program.id, L"Ondrel.Main")) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    EXPECT_EQ(wait_for_exit(program), 0u);
}

TEST(Installer, CurrentUserInEnglishByDefaultFolder) {
    write_user_settings();
    ASSERT_EQ(run_setup(L"/S /CurrentUser /LANGUAGE=en"), 0u);
    expect_installed(current_user);
    EXPECT_FALSE(key_exists(HKEY_LOCAL_MACHINE, uninstall_key));
}

TEST(Installer, CurrentUserUninstallKeepsTheSettings) {
    uninstall_quietly(current_user);
    expect_removed(current_user);
    EXPECT_EQ(read_file_bytes(user_settings()).value_or(""), "volume=37\n");
}

TEST(Installer, AllUsersInFrenchInTheGivenFolder) {
    ASSERT_EQ(run_setup(L"/S /AllUsers /LANGUAGE=fr /D=" + all_users.folder.wstring()), 0u);
    expect_installed(all_users);
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, uninstall_key));
}

TEST(Installer, InstalledProgramSpeaksTheInstallersLanguage) {
    TemporaryFolder app_data("installed");
    StartedProgram program = start_program(all_users.folder / L"Ondrel.exe", {},
                                           {{L"APPDATA", app_data.path.wstring()}});
    ASSERT_TRUE(program.process);
    const HWND about = wait_for_window(program.id, L"Ondrel.About");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(window_text(about), L"À propos de Ondrel");
    close_program(program);
}

TEST(Installer, FileTypeOpenCommandOpensTheFile) {
    TemporaryFolder folder("progid");
    const auto clip = folder.path / L"clip.mkv";
    write_bytes(clip, "not really a video");
    const auto record = folder.path / L"calls.txt";
    ScopedEnvironment recording("ONDREL_MPV_DOUBLE_RECORD", narrow(record.wstring()));
    ScopedEnvironment app_data("APPDATA", narrow(folder.path.wstring()));
    auto command = read_text(HKEY_LOCAL_MACHINE,
                             L"Software\\Classes\\Ondrel.mkv\\shell\\open\\command", nullptr)
                       .value_or(L"");
    const auto placeholder = command.find(L"%1");
    ASSERT_NE(placeholder, std::wstring::npos) << command;
    command.replace(placeholder, 2, clip.wstring());
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(create_process(nullptr, command, 0, started));
    StartedProgram program{UniqueHandle(started.hProcess), started.dwProcessId};
    CloseHandle(started.hThread);
    const bool loaded = pump_until(
        [&] {
            const std::string calls = read_file_bytes(record).value_or("");
            return calls.find("loadfile") != std::string::npos &&
                   calls.find("clip.mkv") != std::string::npos;
        },
        std::chrono::seconds(20));
    EXPECT_TRUE(loaded) << read_file_bytes(record).value_or("");
    close_program(program);
}

TEST(Installer, UpgradeInPlaceKeepsSettingsAndOneEntry) {
    write_user_settings();
    // An older version as the uninstall entry knows it.
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, uninstall_key.c_str(), L"DisplayVersion", REG_SZ,
                              L"1.0.0", sizeof L"1.0.0"),
              ERROR_SUCCESS);
    // Without /D= the upgrade goes where the installed version is.
    ASSERT_EQ(run_setup(L"/S /AllUsers /LANGUAGE=fr"), 0u);
    expect_installed(all_users);
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, uninstall_key));
    EXPECT_EQ(read_file_bytes(user_settings()).value_or(""), "volume=37\n");
}

TEST(Installer, RefusesWhileTheProgramRuns) {
    TemporaryFolder app_data("running");
    StartedProgram program =
        start_program(portable_folder / L"Ondrel.exe", {}, {{L"APPDATA", app_data.path.wstring()}});
    ASSERT_NE(wait_for_window(program.id, L"Ondrel.Main"), nullptr);
    EXPECT_EQ(run_setup(L"/S /AllUsers /LANGUAGE=fr"), 5u);
    close_program(program);
}

TEST(Installer, AllUsersUninstallRemovesEverythingButTheSettings) {
    uninstall_quietly(all_users);
    expect_removed(all_users);
    EXPECT_EQ(read_file_bytes(user_settings()).value_or(""), "volume=37\n");
}

TEST(Installer, PortablePackageRunsWhereItWasUnpacked) {
    TemporaryFolder app_data("portable");
    StartedProgram program =
        start_program(portable_folder / L"Ondrel.exe", {}, {{L"APPDATA", app_data.path.wstring()}});
    ASSERT_TRUE(program.process);
    EXPECT_NE(wait_for_window(program.id, L"Ondrel.Main"), nullptr);
    close_program(program);
    // Nothing of the portable package reaches the registry.
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, product_key));
    EXPECT_FALSE(key_exists(HKEY_LOCAL_MACHINE, product_key));
}

} // namespace
} // namespace ondrel::testing

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: installer_test <setup.exe> <portable folder>\n");
        return 2;
    }
    ondrel::testing::setup_program = argv[1];
    ondrel::testing::portable_folder = argv[2];
    return RUN_ALL_TESTS();
}
