// A second Ondrel.exe hands its file to the window of this process.
#include "gui/support/desktop.hpp"
#include "gui/support/gui_session.hpp"

#include <gtest/gtest.h>

namespace ondrel::testing {
namespace {

std::filesystem::path built_program() {
    return program_folder().parent_path().parent_path() / L"Ondrel.exe";
}

TEST(GuiHandoff, SecondLaunchShowsNoWindowAndTheFirstOpensTheFile) {
    GuiSession session;
    ASSERT_TRUE(session.start(L"Ondrel.exe C:\\videos\\first.mkv"));
    ASSERT_TRUE(pump_until([&] { return session.state().session.playback.file_loaded; }));
    ShowWindow(session.main(), SW_MINIMIZE);

    const std::filesystem::path file = session.app_data.path / L"Ἀθῆναι 映画 é.mp4";
    StartedProgram second = start_program(built_program(), {file.wstring()},
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

    EXPECT_FALSE(IsIconic(session.main())); // restored before the file is opened
    std::vector<std::string> loads;
    for (const auto& line : recorded("mpv_command")) {
        const auto args = line.at("args").get<std::vector<std::string>>();
        if (!args.empty() && args[0] == "loadfile") {
            loads.push_back(args[1]);
        }
    }
    ASSERT_EQ(loads.size(), 2u);
    EXPECT_EQ(loads[1], path_to_utf8(file));
    // The first video's position was saved before the second was opened.
    bool saved_first = false;
    for (const auto& line : recorded("mpv_command")) {
        saved_first |= line.at("args").at(0) == "write-watch-later-config";
    }
    EXPECT_TRUE(saved_first);
}

TEST(GuiHandoff, LaunchWithoutAFileOnlyBringsTheWindowBack) {
    GuiSession session;
    ASSERT_TRUE(session.start());
    ShowWindow(session.main(), SW_MINIMIZE);
    StartedProgram second =
        start_program(built_program(), {}, {{L"APPDATA", session.app_data.path.wstring()}});
    ASSERT_TRUE(
        pump_until([&] { return WaitForSingleObject(second.process.get(), 0) == WAIT_OBJECT_0; },
                   std::chrono::milliseconds(30000)));
    EXPECT_EQ(wait_for_exit(second), 0u);
    EXPECT_FALSE(IsIconic(session.main()));
    for (const auto& line : recorded("mpv_command")) {
        EXPECT_NE(line.at("args").at(0), "loadfile");
    }
}

} // namespace
} // namespace ondrel::testing
