// The compression window with a job: a real encode, cancelling, failures, and the timer's
// handling of what a job sends.
#include "compress_ui/compress_poll_win32.hpp"
#include "compress_window_session.hpp"
#include "platform/files.hpp"
#include "video_compress/compress_settings.hpp"
#include "video_compress/output_path.hpp"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace ondrel::testing {
namespace {

using std::chrono::seconds;

constexpr Control option_controls[] = {
    Control::H264,      Control::H265,          Control::EncoderCombo,   Control::ResolutionCombo,
    Control::WidthBox,  Control::QualitySlider, Control::AacSlider,      Control::AudioStreamCombo,
    Control::Mp4,       Control::Mkv,           Control::HardwareDecode, Control::AllowUpscale,
    Control::Browse,    Control::Reset,         Control::SpeedFast,      Control::SpeedBalanced,
    Control::SpeedSlow, Control::SpeedMax,      Control::AudioCopy,      Control::AudioAac,
    Control::AudioNone,
};

void expect_options_enabled(const CompressSession& session, bool enabled) {
    for (const Control control : option_controls) {
        EXPECT_EQ(session.enabled(control), enabled) << index_of(control);
    }
}

bool job_ended(const CompressSession& session) {
    return session.window().last_result.has_value();
}

TEST(CompressJobWindow, RealEncodeRunsToDoneInBothLanguages) {
    for (const Language language : {Language::English, Language::French}) {
        const bool english = language == Language::English;
        const std::string suffix = english ? "-en" : "-fr";
        CompressSession session;
        session.use_tools(Tool::Real, Tool::Real);
        store_language(language);
        const std::string setting = "dir=" + path_to_utf8(session.outputs.path);
        const CompressWindow& window = session.open(clip("two_audio.mkv"), setting);
        ASSERT_TRUE(session.wait_for_analysis());
        ASSERT_TRUE(window.media_info);
        session.select(Control::AudioStreamCombo, 2);
        if (!english) {
            session.screenshot("compress-ready-fr");
        }
        EXPECT_EQ(session.player.saved_settings().compress, "");

        session.click(Control::MainButton);
        ASSERT_TRUE(window.job);
        EXPECT_TRUE(compression_running(session.player.state()));
        expect_options_enabled(session, false);
        EXPECT_TRUE(session.enabled(Control::MainButton));
        EXPECT_EQ(session.text(Control::MainButton), english ? "Cancel" : "Annuler");
        EXPECT_EQ(session.text(Control::CloseButton), english ? "Hide" : "Masquer");
        EXPECT_TRUE(session.shown(Control::ProgressBar));
        EXPECT_EQ(session.text_colour(Control::ProgressLine), GetSysColor(COLOR_GRAYTEXT));
        // The choices reach the settings file now, without the audio-track choice.
        const std::string saved = session.player.saved_settings().compress;
        EXPECT_EQ(saved, format_compress_settings(window.options));
        EXPECT_EQ(window.options.audio_stream, std::optional<std::size_t>(1));
        EXPECT_FALSE(parse_compress_settings(saved).audio_stream);
        session.screenshot("compress-running" + suffix);

        ASSERT_TRUE(session.wait_until([&] { return job_ended(session); }, seconds(120)));
        ASSERT_TRUE(window.last_result->success) << window.last_result->text;
        const std::filesystem::path output = window.output_path;
        EXPECT_EQ(output, session.outputs.path / "two_audio_h264_90p.mp4");
        EXPECT_TRUE(std::filesystem::file_size(output) > 0);
        EXPECT_EQ(session.text(Control::ResultLine).substr(0, english ? 8 : 12),
                  english ? "Done in " : "Terminé en ");
        EXPECT_EQ(session.text_colour(Control::ResultLine), RGB(0, 128, 64));
        EXPECT_EQ(session.text(Control::MainButton), english ? "Open folder" : "Ouvrir le dossier");
        expect_options_enabled(session, true);
        session.screenshot("compress-done" + suffix);

        // Changing an option afterwards keeps the finished file and the button's role.
        session.click(Control::Mkv);
        EXPECT_EQ(window.output_path, output);
        EXPECT_EQ(session.text(Control::OutputPath), path_to_utf8(output));
        session.click(Control::MainButton);
        ASSERT_FALSE(shell_calls().executed.empty());
        EXPECT_EQ(shell_calls().executed.back(),
                  L"open|explorer.exe|/select,\"" + output.wstring() + L"\"|1");
    }
}

TEST(CompressJobWindow, HidingKeepsTheJobAndCancelRemovesThePartialFile) {
    CompressSession session;
    session.use_tools(Tool::Fake, Tool::Real);
    ScopedEnvironment hang("ONDREL_FAKE_FFMPEG", "hang");
    ASSERT_TRUE(session.start("video_aac.mp4"));
    CompressWindow& window = session.window();
    ASSERT_TRUE(window.job);
    const std::filesystem::path output = window.output_path;
    ASSERT_TRUE(session.wait_until([&] { return session.shown(Control::LogCheckBox); }));
    ASSERT_TRUE(session.wait_until([&] { return window.progress.percent > 0; }));
    EXPECT_DOUBLE_EQ(compression_percent(session.player.state()), 25.0);
    EXPECT_EQ(session.text(Control::ProgressLine).substr(0, 6), "25.0% ");

    // Close and Escape only hide the window while the job runs.
    session.click(Control::CloseButton);
    EXPECT_FALSE(IsWindowVisible(window.window));
    ShowWindow(window.window, SW_SHOWNORMAL);
    session.press_escape();
    EXPECT_FALSE(IsWindowVisible(window.window));
    SendMessageW(window.window, WM_CLOSE, 0, 0);
    session.wait_until([] { return false; }, seconds(1));
    ASSERT_TRUE(session.has_window());
    EXPECT_TRUE(compression_running(session.player.state()));
    EXPECT_NE(read_file_bytes(partial_output_path(output)).value_or(""), "");
    ShowWindow(window.window, SW_SHOWNORMAL);

    session.click(Control::MainButton); // Cancel
    ASSERT_TRUE(session.wait_until([&] { return job_ended(session); }));
    EXPECT_EQ(session.text(Control::ResultLine), "Canceled.");
    EXPECT_EQ(session.text_colour(Control::ResultLine), RGB(192, 0, 0));
    EXPECT_EQ(list_folder(session.outputs.path), "");
    EXPECT_EQ(session.text(Control::MainButton), "Compress");
    expect_options_enabled(session, true);
}

TEST(CompressJobWindow, FailuresShowRedResultsAndKeepTheWindowReady) {
    const struct {
        Tool ffmpeg;
        const char* mode;
        const char* result_start;
        bool settings_saved;
    } rows[] = {
        {Tool::Fake, "fail-partial", "Failed (code 1) after ", true},
        {Tool::Broken, "", "Could not launch ffmpeg: ", false},
    };
    for (const auto& row : rows) {
        CompressSession session;
        session.use_tools(row.ffmpeg, Tool::Real);
        ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", row.mode);
        ASSERT_TRUE(session.start("video_aac.mp4"));
        const CompressWindow& window = session.window();
        ASSERT_TRUE(session.wait_until([&] { return job_ended(session); }));
        EXPECT_FALSE(window.last_result->success);
        const std::string result = session.text(Control::ResultLine);
        EXPECT_EQ(result.substr(0, std::string(row.result_start).size()), row.result_start)
            << result;
        EXPECT_TRUE(session.shown(Control::ResultLine));
        EXPECT_EQ(session.text_colour(Control::ResultLine), RGB(192, 0, 0));
        EXPECT_EQ(session.text(Control::MainButton), "Compress");
        EXPECT_TRUE(session.enabled(Control::MainButton));
        EXPECT_EQ(list_folder(session.outputs.path), "");
        EXPECT_EQ(!session.player.saved_settings().compress.empty(), row.settings_saved);
    }
}

TEST(CompressJobWindow, TimerFollowsProgressAndKeepsTheLogShort) {
    CompressSession session;
    session.use_tools(Tool::Fake, Tool::Real);
    CompressWindow& window = session.open(clip("video_aac.mp4"));
    ASSERT_TRUE(session.wait_for_analysis());
    const Sender<CompressMessage> sender = session.attach_test_job();
    send(sender, CompressMessage{message::Progress{"1000kbits/s", 1.5, 30, 42.5f, {}, {}}});
    for (int i = 1; i <= 501; ++i) {
        send(sender, CompressMessage{message::Log{"log " + std::to_string(i)}});
    }
    ASSERT_TRUE(session.wait_until([&] { return window.log_lines.size() == 500; }));
    EXPECT_EQ(window.log_lines.front(), "log 2");
    EXPECT_EQ(SendMessageW(session.control(Control::ProgressBar), PBM_GETPOS, 0, 0), 425);
    EXPECT_EQ(session.text(Control::ProgressLine), "42.5%   -   1.5x - 30 fps - 1000kbits/s");
    ASSERT_TRUE(session.shown(Control::LogCheckBox));
    EXPECT_FALSE(session.shown(Control::LogBox));

    session.click(Control::LogCheckBox);
    ASSERT_TRUE(session.shown(Control::LogBox));
    const HWND box = session.control(Control::LogBox);
    EXPECT_EQ(SendMessageW(box, EM_GETLINECOUNT, 0, 0), 300);
    wchar_t line[32] = {};
    line[0] = 32;
    const LRESULT length = SendMessageW(box, EM_GETLINE, 0, reinterpret_cast<LPARAM>(line));
    EXPECT_EQ(std::wstring(line, static_cast<std::size_t>(length)), L"log 202");
    DWORD selection_end = 0;
    SendMessageW(box, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&selection_end));
    EXPECT_EQ(selection_end, static_cast<DWORD>(GetWindowTextLengthW(box)));
    EXPECT_GT(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), 250);

    send(sender, CompressMessage{message::Finished{outcome::Canceled{}}});
    ASSERT_TRUE(session.wait_until([&] { return job_ended(session); }));
    EXPECT_FALSE(window.job);
    EXPECT_EQ(window.last_result->text, "Canceled.");
    EXPECT_FALSE(compression_running(session.player.state()));

    // A job whose messages stop without an outcome still ends, as a failure.
    window.last_result.reset();
    { const auto dropped = session.attach_test_job(); }
    ASSERT_TRUE(session.wait_until([&] { return job_ended(session); }));
    EXPECT_FALSE(window.last_result->success);
    EXPECT_EQ(window.last_result->text, "The encode ended without a result.");
}

// The poll repaints the player's bar for a job's news only: a window with nothing going on
// leaves the bar alone.
TEST(CompressJobWindow, OnlyAJobsNewsRepaintsTheBar) {
    CompressSession session;
    session.use_tools(Tool::Fake, Tool::Real);
    CompressWindow& window = session.open(clip("video_aac.mp4"));
    ASSERT_TRUE(session.wait_for_analysis());
    const HWND bar = session.player.state().control_bar;
    const auto bar_repaints = [&] { return GetUpdateRect(bar, nullptr, FALSE) != FALSE; };
    ValidateRect(bar, nullptr);
    poll_workers(window);
    EXPECT_FALSE(bar_repaints());

    const Sender<CompressMessage> sender = session.attach_test_job();
    ValidateRect(bar, nullptr);
    send(sender, CompressMessage{message::Progress{"", 1, 30, 10.0f, {}, {}}});
    poll_workers(window);
    EXPECT_TRUE(bar_repaints());
}

TEST(CompressJobWindow, DisposingOfTheWindowStopsTheJobAndRemovesItsFile) {
    // Closing the player first follows the job in a dialog (tested with the dialogs); what is
    // left running when the window's state is dropped is stopped.
    CompressSession session;
    session.use_tools(Tool::Fake, Tool::Real);
    ScopedEnvironment hang("ONDREL_FAKE_FFMPEG", "hang");
    ASSERT_TRUE(session.start("video_aac.mp4"));
    CompressWindow& window = session.window();
    ASSERT_TRUE(session.wait_until([&] { return window.progress.percent > 0; }));
    const HWND handle = window.window;
    session.player.state().compression.reset();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(list_folder(session.outputs.path), "");
}

} // namespace
} // namespace ondrel::testing
