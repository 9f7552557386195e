// A second Ondrel.exe hands its file to the window of this process.
#include "gui/support/player_test.hpp"

#include <gtest/gtest.h>

namespace ondrel::testing {
namespace {

using GuiHandoff = PlayerTest;

TEST_F(GuiHandoff, SecondLaunchShowsNoWindowAndTheFirstOpensTheFile) {
    ASSERT_TRUE(play(nullptr, L"C:\\videos\\first.mkv"));
    ShowWindow(main(), SW_MINIMIZE);

    const std::filesystem::path file = session.app_data.path / L"Ἀθῆναι 映画 é.mp4";
    StartedProgram second = start_program(build_folder() / L"Ondrel.exe", {file.wstring()},
                                          {{L"APPDATA", session.app_data.path.wstring()}});
    ASSERT_TRUE(second.process);
    bool second_showed_a_window = false;
    // The hand-off is a synchronous message: this thread must keep handling messages.
    ASSERT_TRUE(pump_until(
        [&] {
            second_showed_a_window |= !windows_of_process(second.id).empty();
            return WaitForSingleObject(second.process.get(), 0) == WAIT_OBJECT_0;
        },
        std::chrono::milliseconds(30000)));
    EXPECT_EQ(wait_for_exit(second), 0u);
    EXPECT_FALSE(second_showed_a_window);

    EXPECT_FALSE(IsIconic(main())); // restored before the file is opened
    const auto loads = recorded_commands("mpv_command", "loadfile");
    ASSERT_EQ(loads.size(), 2u);
    EXPECT_EQ(loads[1].at(1), path_to_utf8(file));
    // The first video's position was saved before the second was opened.
    EXPECT_FALSE(recorded_commands("mpv_command", "write-watch-later-config").empty());
}

TEST_F(GuiHandoff, LaunchWithoutAFileOnlyBringsTheWindowBack) {
    ASSERT_TRUE(session.start());
    ShowWindow(main(), SW_MINIMIZE);
    StartedProgram second = start_program(build_folder() / L"Ondrel.exe", {},
                                          {{L"APPDATA", session.app_data.path.wstring()}});
    ASSERT_TRUE(
        pump_until([&] { return WaitForSingleObject(second.process.get(), 0) == WAIT_OBJECT_0; },
                   std::chrono::milliseconds(30000)));
    EXPECT_EQ(wait_for_exit(second), 0u);
    EXPECT_FALSE(IsIconic(main()));
    EXPECT_TRUE(recorded_commands("mpv_command", "loadfile").empty());
}

} // namespace
} // namespace ondrel::testing
