// Ondrel.exe itself, started as a user would, in a folder of its own.
#include "gui/support/desktop.hpp"
#include "platform/files.hpp"
#include "platform/win32/wide.hpp"
#include "support/temporary_folder.hpp"
#include "support/windows_process.hpp"

#include <fstream>
#include <gtest/gtest.h>

namespace ondrel::testing {
namespace {

// A copy of the program, with the chosen libmpv double variant (or none) beside it.
struct Installation {
    TemporaryFolder root{"blackbox"};
    std::filesystem::path folder = root.path / L"Programmes é";
    std::filesystem::path app_data = root.path / L"AppData";

    explicit Installation(const wchar_t* double_variant) {
        std::filesystem::create_directories(folder);
        std::filesystem::create_directories(app_data);
        std::filesystem::copy_file(build_folder() / L"Ondrel.exe", folder / L"Ondrel.exe");
        // English unless a test says otherwise, whatever the machine's display language.
        write_settings("language=en\n");
        if (double_variant != nullptr) {
            std::filesystem::copy_file(build_folder() / L"tests" / double_variant / L"libmpv-2.dll",
                                       folder / L"libmpv-2.dll");
        }
    }

    StartedProgram start(std::vector<std::wstring> arguments = {},
                         std::vector<std::pair<std::wstring, std::wstring>> environment = {}) {
        environment.emplace_back(L"APPDATA", app_data.wstring());
        return start_program(folder / L"Ondrel.exe", arguments, environment);
    }

    std::filesystem::path settings() const { return app_data / L"Ondrel" / L"settings.ini"; }
    std::wstring cannot_load_text() const {
        return L"Cannot load " + (folder / L"libmpv-2.dll").wstring();
    }

    void write_settings(const std::string& text) const {
        std::filesystem::create_directories(settings().parent_path());
        std::ofstream(settings(), std::ios::binary) << text;
    }
};

// The start-up error box: its text, then it is closed like a user pressing OK.
std::wstring read_and_close_error_box(const StartedProgram& program) {
    const HWND box = wait_for_window(program.id, L"#32770");
    if (box == nullptr) {
        return L"<no message box>";
    }
    const std::wstring text = message_box_text(box);
    EXPECT_EQ(window_text(box), L"Ondrel");
    // The main window is already on screen behind the box.
    EXPECT_FALSE(windows_of_process(program.id, L"Ondrel.Main").empty());
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return text;
}

TEST(BlackBox, WithoutLibmpvTheErrorNamesTheFullPath) {
    Installation installation(nullptr);
    StartedProgram program = installation.start();
    ASSERT_TRUE(program.process);
    // The session ending while the error is on screen writes nothing either.
    ASSERT_NE(wait_for_window(program.id, L"#32770"), nullptr);
    const auto main_windows = windows_of_process(program.id, L"Ondrel.Main");
    ASSERT_EQ(main_windows.size(), 1u);
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(main_windows.front(), WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG,
                                  5000, &answer),
              0);
    EXPECT_EQ(read_and_close_error_box(program), installation.cannot_load_text());
    EXPECT_EQ(wait_for_exit(program), 0u);
    EXPECT_EQ(read_file_bytes(installation.settings()), "language=en\n"); // nothing written
}

TEST(BlackBox, ClosingWhileTheStartUpErrorIsShownWritesNoSettings) {
    // A WM_CLOSE reaches the main window through the error box's own message loop, as one
    // from taskkill (without /F) does.
    Installation installation(nullptr);
    const std::string before = "volume=33\nlanguage=en\nwindow=1,2,3\n";
    installation.write_settings(before);
    StartedProgram program = installation.start();
    ASSERT_NE(wait_for_window(program.id, L"#32770"), nullptr);
    const auto main_windows = windows_of_process(program.id, L"Ondrel.Main");
    ASSERT_EQ(main_windows.size(), 1u);
    PostMessageW(main_windows.front(), WM_CLOSE, 0, 0);
    EXPECT_EQ(wait_for_exit(program), 0u);
    EXPECT_EQ(read_file_bytes(installation.settings()), before);
}

TEST(BlackBox, AWindowShowingItsStartUpErrorDoesNotTakeAFile) {
    Installation installation(nullptr);
    StartedProgram first = installation.start();
    ASSERT_NE(wait_for_window(first.id, L"#32770"), nullptr);
    // The second launch would hand its file to a window that is about to end; it opens its
    // own window instead, and says why it cannot play either.
    StartedProgram second = installation.start({L"C:\\b.mp4"});
    EXPECT_EQ(read_and_close_error_box(second), installation.cannot_load_text());
    EXPECT_EQ(wait_for_exit(second), 0u);
    EXPECT_EQ(read_and_close_error_box(first), installation.cannot_load_text());
    EXPECT_EQ(wait_for_exit(first), 0u);
}

// A library that fails at each step of the start-up, in each language: the box names the
// failure, the program ends with 0 and writes no settings.
TEST(BlackBox, EachLibraryFailureIsNamedAndWritesNothing) {
    const struct {
        const wchar_t* double_variant;
        const char* settings;
        const char* scenario; // the double's, when there is one
        const wchar_t* message;
    } rows[] = {
        {L"mpv_double_no_wakeup", "language=en\n", nullptr,
         L"Function missing from libmpv: mpv_set_wakeup_callback"},
        {L"mpv_double_no_wakeup", "language=fr\n", nullptr,
         L"Fonction absente de libmpv : mpv_set_wakeup_callback"},
        {L"mpv_double_initialize_fails", "language=en\n", R"({"initialize_result": -7})",
         L"mpv_initialize failed (-7)"},
        {L"mpv_double_create_fails", "language=en\n", nullptr, L"mpv_create failed"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(narrow(row.message));
        Installation installation(row.double_variant);
        installation.write_settings(row.settings);
        std::vector<std::pair<std::wstring, std::wstring>> environment;
        if (row.scenario != nullptr) {
            const auto scenario = installation.root.path / L"scenario.json";
            std::ofstream(scenario) << row.scenario;
            environment.emplace_back(L"ONDREL_MPV_DOUBLE_SCENARIO", scenario.wstring());
        }
        StartedProgram program = installation.start({}, environment);
        EXPECT_EQ(read_and_close_error_box(program), row.message);
        EXPECT_EQ(wait_for_exit(program), 0u);
        EXPECT_EQ(read_file_bytes(installation.settings()), row.settings);
    }
}

TEST(BlackBox, MultiInstanceGivesEachLaunchItsOwnWindow) {
    Installation installation(L"mpv_double");
    installation.write_settings("multi_instance=1\nhide_about=1\n");
    StartedProgram first = installation.start({L"C:\\a.mp4"});
    const HWND first_window = wait_for_window(first.id, L"Ondrel.Main");
    ASSERT_NE(first_window, nullptr);
    StartedProgram second = installation.start({L"C:\\b.mp4"});
    const HWND second_window = wait_for_window(second.id, L"Ondrel.Main");
    ASSERT_NE(second_window, nullptr);
    EXPECT_NE(first_window, second_window);
    PostMessageW(first_window, WM_CLOSE, 0, 0);
    PostMessageW(second_window, WM_CLOSE, 0, 0);
    EXPECT_EQ(wait_for_exit(first), 0u);
    EXPECT_EQ(wait_for_exit(second), 0u);
}

DWORD run_reg(const std::wstring& arguments) {
    return testing::run_and_wait(L"reg.exe " + arguments, 30000).value_or(0xFFFFFFFF);
}

// 150 % scaling for the programs started while it lives.
struct ScreenAt144Dpi {
    ScreenAt144Dpi() {
        run_reg(L"add \"HKCU\\Control Panel\\Desktop\" /v LogPixels /t REG_DWORD /d 144 /f");
    }
    ~ScreenAt144Dpi() { run_reg(L"delete \"HKCU\\Control Panel\\Desktop\" /v LogPixels /f"); }
};

TEST(BlackBox, At144DpiEverythingIsScaled) {
    Installation installation(L"mpv_double");
    installation.write_settings("hide_about=1\n");
    ScreenAt144Dpi dpi;
    StartedProgram program = installation.start();
    const HWND main = wait_for_window(program.id, L"Ondrel.Main");
    ASSERT_NE(main, nullptr);
    pump_for(std::chrono::milliseconds(500));
    EXPECT_EQ(extent(window_rect(main)), std::pair(1440L, 885L));
    const HWND bar = FindWindowExW(main, nullptr, L"Ondrel.Bar", nullptr);
    RECT bar_client{};
    GetClientRect(bar, &bar_client);
    EXPECT_EQ(bar_client.bottom, 66);
    save_window_screenshot(main, screenshot_folder() / L"main-window-144dpi.png");
    // Asking for a tiny window gives the scaled minimum.
    SetWindowPos(main, nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER);
    pump_for(std::chrono::milliseconds(200));
    EXPECT_EQ(extent(window_rect(main)), std::pair(870L, 450L));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(wait_for_exit(program), 0u);
}

} // namespace
} // namespace ondrel::testing
