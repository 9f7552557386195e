// The compression window before any job: creation, its controls, the analysis states and
// the options as the user changes them.
#include "compress_window_session.hpp"
#include "gui/support/desktop.hpp"
#include "i18n/texts_compression_job.hpp"
#include "platform/files.hpp"
#include "platform/win32/wide.hpp"
#include "support/freed_memory_guard.hpp"
#include "video_compress/output_path.hpp"

#include <chrono>
#include <commctrl.h>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>

namespace ondrel::testing {
namespace {

LOGFONTW font_of(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return font;
}

TEST(CompressWindow, MissingToolsGiveTheirTextAndNoWindow) {
    const struct {
        Tool ffmpeg, ffprobe;
        const TextPair& text;
    } rows[] = {
        {Tool::Missing, Tool::Missing, texts::ffmpeg_missing},
        {Tool::Missing, Tool::Fake, texts::ffmpeg_missing},
        {Tool::Fake, Tool::Missing, texts::ffprobe_missing},
    };
    for (const auto& row : rows) {
        CompressSession session;
        session.use_tools(row.ffmpeg, row.ffprobe);
        const auto created = session.create(clip("video_aac.mp4"));
        ASSERT_FALSE(created);
        EXPECT_EQ(created.error(), row.text.english);
        EXPECT_EQ(FindWindowW(L"Ondrel.Compress", nullptr), nullptr);
    }
}

TEST(CompressWindow, CreatesTheControlsWithTheRememberedChoices) {
    CompressSession session;
    session.use_tools(Tool::Fake, Tool::Fake);
    const CompressWindow& window = session.open(
        clip("video_aac.mp4"),
        "codec=h265|enc=nvenc|res=7|w=1000|up=1|q=30|speed=3|audio=aac:256|cont=mkv|hw=0");
    EXPECT_EQ(window_text(window.window), L"Video compression — video_aac.mp4");
    EXPECT_EQ(GetWindow(window.window, GW_OWNER), session.player.main());
    EXPECT_EQ(GetWindowLongW(window.window, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);
    EXPECT_TRUE(GetWindowLongW(window.window, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);

    // The children in creation order, which is the tab order.
    const int ids[control_count] = {0,   184, 0,   0, 0,   101, 102, 0,   103, 0,   104, 105,
                                    0,   0,   106, 0, 0,   110, 111, 112, 113, 0,   120, 121,
                                    122, 123, 0,   0, 124, 0,   130, 131, 140, 141, 0,   150,
                                    151, 180, 181, 0, 0,   182, 183, 160, 0,   170, 171};
    HWND child = GetWindow(window.window, GW_CHILD);
    for (std::size_t i = 0; i < control_count; ++i) {
        ASSERT_EQ(child, window.controls[i]) << "control " << i;
        EXPECT_EQ(GetDlgCtrlID(child), ids[i]) << "control " << i;
        child = GetWindow(child, GW_HWNDNEXT);
    }

    // Lists, ranges, fonts and the choices of the setting.
    const HWND encoder = session.control(Control::EncoderCombo);
    const HWND quality = session.control(Control::QualitySlider);
    const HWND aac = session.control(Control::AacSlider);
    EXPECT_EQ(SendMessageW(encoder, CB_GETCOUNT, 0, 0), 6);
    EXPECT_EQ(SendMessageW(session.control(Control::ResolutionCombo), CB_GETCOUNT, 0, 0), 8);
    const std::pair<LRESULT, LRESULT> read_back[] = {
        {SendMessageW(encoder, CB_GETCURSEL, 0, 0), 2},
        {SendMessageW(session.control(Control::ResolutionCombo), CB_GETCURSEL, 0, 0), 7},
        {SendMessageW(quality, TBM_GETRANGEMAX, 0, 0), 100},
        {SendMessageW(quality, TBM_GETPAGESIZE, 0, 0), 10},
        {SendMessageW(quality, TBM_GETPOS, 0, 0), 30},
        {SendMessageW(aac, TBM_GETRANGEMIN, 0, 0), 32},
        {SendMessageW(aac, TBM_GETRANGEMAX, 0, 0), 320},
        {SendMessageW(aac, TBM_GETPAGESIZE, 0, 0), 32},
        {SendMessageW(aac, TBM_GETPOS, 0, 0), 256},
        {SendMessageW(session.control(Control::ProgressBar), PBM_GETRANGE, FALSE, 0), 1000},
        {font_of(session.control(Control::Heading)).lfHeight, -15},
        {font_of(session.control(Control::Heading)).lfWeight, 600},
        {font_of(session.control(Control::Browse)).lfHeight, -12},
        {font_of(session.control(Control::Browse)).lfWeight, 400},
    };
    for (std::size_t i = 0; i < std::size(read_back); ++i) {
        EXPECT_EQ(read_back[i].first, read_back[i].second) << "row " << i;
    }
    EXPECT_EQ(session.text(Control::WidthBox), "1000");
    for (const auto& [control, checked] : {std::pair{Control::H265, true},
                                           {Control::H264, false},
                                           {Control::SpeedMax, true},
                                           {Control::AudioAac, true},
                                           {Control::Mkv, true},
                                           {Control::HardwareDecode, false},
                                           {Control::AllowUpscale, true}}) {
        EXPECT_EQ(SendMessageW(session.control(control), BM_GETCHECK, 0, 0) == BST_CHECKED, checked)
            << index_of(control);
    }
}

TEST(CompressWindow, OpensCentredOnThePlayerButOnTheScreen) {
    const struct {
        int main_top;
        LONG expected_top;
    } rows[] = {{200, 200 + (600 - 640) / 2}, {-300, 0}};
    for (const auto& row : rows) {
        CompressSession session;
        session.use_tools(Tool::Fake, Tool::Fake);
        SetWindowPos(session.player.main(), nullptr, 100, row.main_top, 1000, 600, SWP_NOZORDER);
        const RECT frame = window_rect(session.open(clip("video_aac.mp4")).window);
        EXPECT_EQ(frame.left, 100 + (1000 - 600) / 2);
        EXPECT_EQ(frame.top, row.expected_top);
    }
}

TEST(CompressWindow, AnalysingAndAnalysisFailedInBothLanguages) {
    for (const Language language : {Language::English, Language::French}) {
        const bool english = language == Language::English;
        const std::string suffix = english ? "-en" : "-fr";
        CompressSession session;
        session.use_tools(Tool::Fake, Tool::Fake); // the fake prober has no report: it fails
        store_language(language);
        session.open(clip("video_aac.mp4"));

        // Analysing: the frame alone, the main button shown but disabled.
        EXPECT_EQ(session.text(Control::InfoLine),
                  english ? "Analyzing video..." : "Analyse de la vidéo...");
        EXPECT_EQ(session.text(Control::CloseButton), english ? "Close" : "Fermer");
        EXPECT_FALSE(session.shown(Control::CodecLabel));
        EXPECT_FALSE(session.shown(Control::EncoderLine));
        EXPECT_TRUE(session.shown(Control::MainButton));
        EXPECT_FALSE(session.enabled(Control::MainButton));
        session.screenshot("compress-analysing" + suffix);

        ASSERT_TRUE(session.wait_for_analysis());
        ASSERT_TRUE(session.window().probe_error);
        const std::string prefix = english ? "Cannot analyze: " : "Analyse impossible : ";
        EXPECT_EQ(session.text(Control::InfoLine).substr(0, prefix.size()), prefix);
        EXPECT_EQ(session.text_colour(Control::InfoLine), RGB(192, 0, 0));
        EXPECT_FALSE(session.shown(Control::MainButton));
        EXPECT_FALSE(session.shown(Control::H264));
        EXPECT_TRUE(session.shown(Control::CloseButton));
        session.screenshot("compress-analysis-failed" + suffix);
    }
}

TEST(CompressWindow, ReadyShowsTheAnalysisAndOneRowPerChoice) {
    CompressSession session;
    session.use_tools(Tool::Fake, Tool::Real);
    session.open(clip("video_aac.mp4"));
    ASSERT_TRUE(session.wait_for_analysis());
    const RECT one_stream_mp4 = session.rect(Control::Mp4);
    const SIZE one_stream_size = session.client_size();
    EXPECT_EQ(session.text(Control::InfoLine).substr(0, 33), "160x90   |   H264   |   25.00 fps");
    EXPECT_FALSE(session.shown(Control::AudioStreamCombo));
    session.player.state().compression.reset();

    session.open(clip("two_audio.mkv"));
    ASSERT_TRUE(session.wait_for_analysis());
    EXPECT_EQ(session.text(Control::AudioStreamsLine), "Audio tracks: fre aac 2ch  ·  eng aac 1ch");
    ASSERT_TRUE(session.shown(Control::AudioStreamCombo));
    EXPECT_TRUE(session.shown(Control::AudioTrackLabel));
    EXPECT_EQ(session.rect(Control::Mp4).top, one_stream_mp4.top + 32);
    EXPECT_EQ(session.client_size().cy, one_stream_size.cy + 32);
    const HWND streams = session.control(Control::AudioStreamCombo);
    ASSERT_EQ(SendMessageW(streams, CB_GETCOUNT, 0, 0), 3);
    wchar_t item[32] = {};
    SendMessageW(streams, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, L"#2 - eng");
    EXPECT_EQ(SendMessageW(streams, CB_GETCURSEL, 0, 0), 0);
    session.select(Control::AudioStreamCombo, 2);
    EXPECT_EQ(session.window().options.audio_stream, std::optional<std::size_t>(1));
    session.select(Control::AudioStreamCombo, 0);
    EXPECT_FALSE(session.window().options.audio_stream);
    EXPECT_EQ(session.text_colour(Control::EncoderLine), GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(session.text(Control::OutputPath), path_to_utf8(clip("two_audio_h264_90p.mp4")));
    session.screenshot("compress-ready-en");
}

TEST(CompressWindow, OptionsMoveTheEstimateAndSaveNothingUntilACompression) {
    CompressSession session;
    session.use_tools(Tool::Fake, Tool::Real);
    const std::string settings_before =
        read_file_bytes(session.player.settings_file()).value_or("");
    const CompressWindow& window = session.open(clip("video_aac.mp4"));
    ASSERT_TRUE(session.wait_for_analysis());
    const SIZE size = session.client_size();
    std::string estimate = session.text(Control::EncoderLine);
    EXPECT_EQ(estimate.substr(0, 38), "Encoder: libx264  -  Estimated size: ~");
    // Each of these changes the estimate on the spot.
    const auto changes_estimate = [&](const char* what) {
        const std::string now = session.text(Control::EncoderLine);
        EXPECT_NE(now, estimate) << what;
        estimate = now;
    };
    session.slide(Control::QualitySlider, 100);
    EXPECT_EQ(session.text(Control::QualityHint), "100   best <-> smallest");
    changes_estimate("quality");

    // The AAC slider only sets the bit rate while AAC is chosen.
    session.slide(Control::AacSlider, 96);
    EXPECT_EQ(window.options.aac_kbps, 192u);
    EXPECT_FALSE(session.shown(Control::AacSlider));
    session.click(Control::AudioAac);
    EXPECT_EQ(window.options.aac_kbps, 96u);
    EXPECT_TRUE(session.shown(Control::AacSlider));
    EXPECT_EQ(session.text(Control::AacValue), "96 kb/s");
    changes_estimate("AAC chosen");
    session.slide(Control::AacSlider, 320);
    changes_estimate("AAC rate");

    session.select(Control::ResolutionCombo, 7);
    EXPECT_TRUE(session.shown(Control::WidthBox));
    EXPECT_TRUE(session.shown(Control::WidthUnit));
    EXPECT_EQ(session.client_size().cy, size.cy);
    session.type(Control::WidthBox, L"+320");
    session.type(Control::WidthBox, L"12a"); // not a width: the last one stays
    EXPECT_EQ(window.options.custom_width, 320u);
    // 320 wide from 160 when upscaling is allowed: four times the pixels.
    session.click(Control::AllowUpscale);
    changes_estimate("upscaling");
    session.click(Control::H265);
    EXPECT_EQ(session.text(Control::EncoderLine).substr(0, 17), "Encoder: libx265 ");

    // A chosen folder shows Reset, and Reset puts the output beside the source again.
    shell_calls().folder_to_pick = session.outputs.path;
    session.click(Control::Browse);
    EXPECT_EQ(shell_calls().executed.back(),
              L"browse|Output folder|" +
                  std::to_wstring(BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE));
    EXPECT_TRUE(session.shown(Control::Reset));
    ASSERT_TRUE(session.wait_for_output_name());
    session.screenshot("compress-custom-aac-folder-en");
    EXPECT_EQ(window.output_path.parent_path(), session.outputs.path);
    session.click(Control::Reset);
    EXPECT_FALSE(session.shown(Control::Reset));
    ASSERT_TRUE(session.wait_for_output_name());
    EXPECT_EQ(window.output_path.parent_path(), clip("video_aac.mp4").parent_path());

    // Enter outside a push button does nothing; Escape closes a window without a job.
    SendMessageW(window.window, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(window.close_requested);
    const HWND handle = window.window;
    session.press_escape();
    ASSERT_TRUE(session.wait_until([&] { return !session.has_window(); }));
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(read_file_bytes(session.player.settings_file()).value_or(""), settings_before);
}

// A look-up of the output name that waits, like one in a folder on a lost network share,
// until the test lets it go (or gives up after ten seconds).
struct HeldLookUp {
    std::mutex lock;
    std::condition_variable changed;
    bool entered = false;
    bool released = false;
    bool gave_up = false;
};
HeldLookUp* held_look_up = nullptr;

Result<std::filesystem::path> look_up_when_released(const MediaInfo& media,
                                                    const CompressOptions& options) {
    HeldLookUp& held = *held_look_up;
    std::unique_lock<std::mutex> guard(held.lock);
    held.entered = true;
    held.changed.notify_all();
    held.gave_up =
        !held.changed.wait_for(guard, std::chrono::seconds(10), [&] { return held.released; });
    return output_path_for(media, options);
}

TEST(CompressWindow, ChoicesNeverWaitForTheOutputFolder) {
    CompressSession session;
    session.use_tools(Tool::Fake, Tool::Real);
    const CompressWindow& window = session.open(clip("video_aac.mp4"));
    ASSERT_TRUE(session.wait_for_analysis());
    HeldLookUp held;
    held_look_up = &held;
    set_output_name_finder(look_up_when_released);
    session.click(Control::H265); // the window answers while the look-up waits
    {
        std::unique_lock<std::mutex> guard(held.lock);
        EXPECT_FALSE(held.gave_up);
        held.changed.wait_for(guard, std::chrono::seconds(10), [&] { return held.entered; });
        held.released = true;
        held.changed.notify_all();
    }
    EXPECT_TRUE(session.wait_for_output_name());
    set_output_name_finder(nullptr);
    EXPECT_EQ(window.output_path.filename(), "video_aac_h265_90p.mp4");
    EXPECT_EQ(session.text(Control::OutputPath), path_to_utf8(window.output_path));
    EXPECT_FALSE(held.gave_up);
}

// KillTimer says whether the timer was set; it is set again as it was (from the start of its
// period, so a wait for the poll to stop looks only now and then).
bool poll_timer_set(const CompressWindow& window) {
    const bool set = KillTimer(window.window, TIMER_COMPRESS_POLL) != FALSE;
    if (set) {
        SetTimer(window.window, TIMER_COMPRESS_POLL, TIMER_COMPRESS_POLL_MS, nullptr);
    }
    return set;
}

// A window left open with nothing going on wakes nobody: the poll runs while the analysis
// or an output name is awaited, and stops once they are in.
TEST(CompressWindow, PollRunsOnlyWhileSomethingIsAwaited) {
    CompressSession session;
    session.use_tools(Tool::Fake, Tool::Real);
    const CompressWindow& window = session.open(clip("video_aac.mp4"));
    EXPECT_TRUE(poll_timer_set(window));
    ASSERT_TRUE(session.wait_for_analysis());
    EXPECT_TRUE(session.wait_until([&] { return !window.polling; }));
    EXPECT_FALSE(poll_timer_set(window));

    HeldLookUp held;
    held_look_up = &held;
    set_output_name_finder(look_up_when_released);
    session.click(Control::H265);
    EXPECT_TRUE(poll_timer_set(window));
    {
        const std::lock_guard<std::mutex> guard(held.lock);
        held.released = true;
        held.changed.notify_all();
    }
    EXPECT_TRUE(session.wait_until([&] { return !window.polling; }));
    EXPECT_FALSE(poll_timer_set(window));
    set_output_name_finder(nullptr);
    EXPECT_EQ(window.output_path.filename(), "video_aac_h265_90p.mp4");
}

// The folder browser disables only the compression window: closing the player meanwhile
// disposes of the window and its record, which nothing may read once the browser returns.
TEST(CompressWindow, ClosingThePlayerWhileTheFolderBrowserIsOpen) {
    CompressSession session;
    session.use_tools(Tool::Fake, Tool::Real);
    const FreedMemoryGuard guard(sizeof(CompressWindow));
    const HWND window = session.open(clip("video_aac.mp4")).window;
    ASSERT_TRUE(session.wait_for_analysis());
    const HWND main = session.player.main();
    shell_calls().during_browse = [&] { SendMessageW(main, WM_CLOSE, 0, 0); };
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(compress_id::browse, BN_CLICKED),
                 reinterpret_cast<LPARAM>(session.control(Control::Browse)));
    EXPECT_EQ(shell_calls().browses, 1);
    EXPECT_FALSE(session.has_window());
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(guard.accesses(), 0);
    MSG quit; // the closed player's, which must not end a later test's message loop
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

} // namespace
} // namespace ondrel::testing
