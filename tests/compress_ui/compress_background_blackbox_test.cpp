// Ondrel.exe itself compressing when its window is closed, and killed while it compresses.
#include "background_job.hpp"
#include "compress_window_session.hpp"
#include "gui/support/desktop.hpp"
#include "platform/files.hpp"
#include "platform/process.hpp"
#include "task_dialog_driver.hpp"

#include <commctrl.h>
#include <fstream>
#include <gtest/gtest.h>

namespace ondrel::testing {
namespace {

using namespace std::chrono_literals;

// A copy of the program with the libmpv double, compressing the clip through the gated fake
// ffmpeg and the real ffprobe.
struct CompressingProgram {
    TemporaryFolder root{"background-blackbox"};
    Gate gate;
    std::filesystem::path folder = root.path / L"Programme";
    std::filesystem::path tools = root.path / L"tools";
    std::filesystem::path outputs = root.path / L"outputs";
    std::filesystem::path source = clip("video_aac.mp4");
    StartedProgram program;
    HWND main = nullptr;

    CompressingProgram() {
        for (const auto& made : {folder, tools, outputs, root.path / L"AppData" / L"Ondrel"}) {
            std::filesystem::create_directories(made);
        }
        std::filesystem::copy_file(build_folder() / L"Ondrel.exe", folder / L"Ondrel.exe");
        std::filesystem::copy_file(build_folder() / L"tests" / L"mpv_double" / L"libmpv-2.dll",
                                   folder / L"libmpv-2.dll");
        std::filesystem::copy_file(build_folder() / L"tests" / L"fake_ffmpeg.exe",
                                   tools / L"ffmpeg.exe");
        std::ofstream(root.path / L"AppData" / L"Ondrel" / L"settings.ini", std::ios::binary)
            << "language=en\nhide_about=1\ncompress=dir=" << path_to_utf8(outputs) << "\n";
        const std::wstring search_path =
            tools.wstring() + L";" +
            (program_folder() / path_from_utf8(ONDREL_TOOLS_FROM_TESTS)).wstring();
        program = start_program(
            folder / L"Ondrel.exe", {source.wstring()},
            {{L"APPDATA", (root.path / L"AppData").wstring()}, {L"PATH", search_path}});
    }

    ~CompressingProgram() {
        if (program.process && WaitForSingleObject(program.process.get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(program.process.get(), 1);
            WaitForSingleObject(program.process.get(), 10000);
        }
    }

    // C, then Compress once the analysis is done; true once ffmpeg waits at the gate.
    bool start_compression() {
        main = wait_for_window(program.id, L"Ondrel.Main", 30s);
        if (main == nullptr) {
            return false;
        }
        // C opens the window once the double has loaded the file.
        HWND compress = nullptr;
        for (int attempt = 0; attempt < 60 && compress == nullptr; ++attempt) {
            PostMessageW(main, WM_KEYDOWN, 'C', 0);
            pump_for(250ms);
            const auto windows = windows_of_process(program.id, L"Ondrel.Compress");
            compress = windows.empty() ? nullptr : windows.front();
        }
        const HWND button = compress ? GetDlgItem(compress, 170) : nullptr;
        if (button == nullptr ||
            !pump_until([&] { return IsWindowEnabled(button) != FALSE; }, 30s)) {
            return false;
        }
        PostMessageW(compress, WM_COMMAND, MAKEWPARAM(170, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        return pump_until([&] { return gate.ffmpeg_id().has_value(); }, 30s);
    }

    bool alive() const { return WaitForSingleObject(program.process.get(), 0) == WAIT_TIMEOUT; }
};

bool is_progress_dialog(HWND dialog) {
    return read_dialog(dialog).has_progress_bar;
}

bool is_completion_dialog(HWND dialog) {
    const DialogView view = read_dialog(dialog);
    return !view.texts.empty() && view.texts[0] == L"Compression finished";
}

TEST(BackgroundBlackBox, ClosedPlayerLivesUntilTheJobEndsThenExitsZero) {
    CompressingProgram ondrel;
    ASSERT_TRUE(ondrel.start_compression());
    PostMessageW(ondrel.main, WM_CLOSE, 0, 0);
    const HWND progress = wait_for_window(ondrel.program.id, L"#32770", 30s, is_progress_dialog);
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(window_text(progress), L"Ondrel");
    EXPECT_TRUE(windows_of_process(ondrel.program.id, L"Ondrel.Main").empty()); // hidden
    pump_for(1s);
    EXPECT_TRUE(ondrel.alive());

    ondrel.gate.release("ok");
    const HWND completion =
        wait_for_window(ondrel.program.id, L"#32770", 30s, is_completion_dialog);
    ASSERT_NE(completion, nullptr);
    EXPECT_FALSE(IsWindow(progress));
    EXPECT_TRUE(ondrel.alive());
    PostMessageW(completion, TDM_CLICK_BUTTON, IDCLOSE, 0);
    EXPECT_EQ(wait_for_exit(ondrel.program, 30s), 0u);

    // The output is the whole clip, and ffprobe accepted it before the dialog said so.
    const std::string listed = list_folder(ondrel.outputs);
    ASSERT_EQ(listed.find(' '), std::string::npos) << listed; // one file
    const auto output = ondrel.outputs / path_from_utf8(listed);
    EXPECT_EQ(read_file_bytes(output), read_file_bytes(ondrel.source));
    EXPECT_TRUE(ondrel.gate.ffmpeg_ended());
}

TEST(BackgroundBlackBox, KillingThePlayerTakesFfmpegWithIt) {
    CompressingProgram ondrel;
    ASSERT_TRUE(ondrel.start_compression());
    ASSERT_FALSE(ondrel.gate.ffmpeg_ended());
    TerminateProcess(ondrel.program.process.get(), 1);
    EXPECT_EQ(wait_for_exit(ondrel.program, 30s), 1u);
    EXPECT_TRUE(pump_until([&] { return ondrel.gate.ffmpeg_ended(); }, 30s));
}

} // namespace
} // namespace ondrel::testing
