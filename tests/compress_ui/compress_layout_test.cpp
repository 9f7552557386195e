// The compression window's grid and the texts that follow its state, without a window.
#include "compress_ui/compress_layout.hpp"
#include "compress_ui/compress_window_texts.hpp"
#include "i18n/language.hpp"
#include "support/language_guard.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

LayoutState ready(std::size_t audio_streams = 1) {
    LayoutState state;
    state.client_width = 560;
    state.analysed = true;
    state.audio_stream_count = audio_streams;
    return state;
}

TEST(CompressLayout, ReadyWindowAt96Dpi) {
    const CompressLayout layout = compress_layout(ready());
    const struct {
        Control control;
        Placement expected;
    } rows[] = {
        {Control::Heading, {16, 12, 528, 22, true}},
        {Control::AudioStreamsLine, {16, 58, 528, 18, true}},
        {Control::UpperSeparator, {16, 84, 528, 2, true}},
        {Control::CodecLabel, {16, 100, 92, 18, true}},
        {Control::EncoderCombo, {116, 129, 270, 240, true}},
        {Control::QualitySlider, {112, 193, 238, 28, true}},
        {Control::QualityHint, {358, 197, 186, 18, true}},
        {Control::AacSlider, {356, 257, 114, 28, false}},
        {Control::Mkv, {200, 289, 80, 24, true}},
        {Control::AllowUpscale, {116, 348, 300, 24, true}},
        {Control::Browse, {116, 379, 120, 26, true}},
        {Control::OutputPath, {16, 412, 528, 18, true}},
        {Control::LowerSeparator, {16, 456, 528, 2, true}},
        {Control::MainButton, {256, 474, 140, 30, true}},
        {Control::CloseButton, {404, 474, 140, 30, true}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(layout[row.control], row.expected) << "control " << index_of(row.control);
    }
    EXPECT_EQ(layout.label_rows[8], (Placement{16, 382, 92, 18, true}));
    EXPECT_EQ(layout.client_width, 560);
    EXPECT_EQ(layout.client_height, 520);
}

TEST(CompressLayout, RowsAppearOnlyWithWhatTheyShow) {
    const CompressLayout one = compress_layout(ready(1));
    LayoutState two_streams = ready(2);
    const CompressLayout two = compress_layout(two_streams);
    // The audio-track row takes one pitch; everything below it moves down by it.
    EXPECT_TRUE(two[Control::AudioStreamCombo].shown);
    EXPECT_TRUE(two.label_rows[6].shown);
    EXPECT_FALSE(one.label_rows[6].shown);
    EXPECT_EQ(two[Control::Mp4].y, one[Control::Mp4].y + 32);
    EXPECT_EQ(two[Control::CloseButton].y, one[Control::CloseButton].y + 32);
    EXPECT_EQ(two.client_height, one.client_height + 32);

    // Without audio the audio-tracks line takes no space.
    const CompressLayout silent = compress_layout(ready(0));
    EXPECT_FALSE(silent[Control::AudioStreamsLine].shown);
    EXPECT_EQ(silent[Control::UpperSeparator].y, one[Control::UpperSeparator].y - 20);

    // Custom width, AAC and a chosen folder show their controls in rows that already exist.
    LayoutState extras = ready(1);
    extras.custom_resolution = true;
    extras.aac_audio = true;
    extras.output_folder_chosen = true;
    const CompressLayout with_extras = compress_layout(extras);
    for (const Control control : {Control::WidthBox, Control::WidthUnit, Control::AacSlider,
                                  Control::AacValue, Control::Reset}) {
        EXPECT_TRUE(with_extras[control].shown) << index_of(control);
    }
    EXPECT_EQ(with_extras.client_height, one.client_height);
}

TEST(CompressLayout, BeforeTheAnalysisOnlyTheFrameShows) {
    for (const bool failed : {false, true}) {
        LayoutState state;
        state.client_width = 560;
        state.probe_failed = failed;
        state.audio_stream_count = 2; // not known yet as far as the layout is concerned
        const CompressLayout layout = compress_layout(state);
        for (std::size_t i = 0; i < control_count; ++i) {
            const auto control = static_cast<Control>(i);
            const bool frame =
                control == Control::Heading || control == Control::InfoLine ||
                control == Control::UpperSeparator || control == Control::LowerSeparator ||
                control == Control::CloseButton || (control == Control::MainButton && !failed);
            EXPECT_EQ(layout.controls[i].shown, frame) << "control " << i << " failed " << failed;
        }
        // The grid collapses onto its first line.
        EXPECT_EQ(layout[Control::LowerSeparator].y, 76);
        EXPECT_EQ(layout[Control::CloseButton].y, 94);
        EXPECT_EQ(layout.client_height, 140);
    }
}

TEST(CompressLayout, StatusAreaFollowsTheJobTheResultAndTheLog) {
    const std::int32_t Z = 466; // below the lower separator
    const struct {
        bool running, result, log_lines, log_visible;
        bool progress_shown, result_shown, log_box_shown;
        std::int32_t buttons_y;
    } rows[] = {
        {false, false, false, false, false, false, false, Z + 8},
        {false, true, false, false, false, true, false, Z + 26 + 8},
        {true, false, false, false, true, false, false, Z + 46 + 8},
        {true, false, true, false, true, false, false, Z + 46 + 28 + 8},
        {true, false, true, true, true, false, true, Z + 46 + 28 + 138 + 8},
        {false, true, true, true, false, true, true, Z + 26 + 28 + 138 + 8},
    };
    for (const auto& row : rows) {
        LayoutState state = ready();
        state.job_running = row.running;
        state.has_result = row.result;
        state.has_log_lines = row.log_lines;
        state.log_visible = row.log_visible;
        const CompressLayout layout = compress_layout(state);
        EXPECT_EQ(layout[Control::ProgressBar].shown, row.progress_shown);
        EXPECT_EQ(layout[Control::ProgressLine].shown, row.progress_shown);
        EXPECT_EQ(layout[Control::ResultLine].shown, row.result_shown);
        EXPECT_EQ(layout[Control::LogCheckBox].shown, row.log_lines);
        EXPECT_EQ(layout[Control::LogBox].shown, row.log_box_shown);
        EXPECT_EQ(layout[Control::CloseButton].y, row.buttons_y);
        EXPECT_EQ(layout.client_height, row.buttons_y + 30 + 16);
    }
}

TEST(CompressLayout, ScalesEveryLengthAndKeepsTheMinimumWidth) {
    LayoutState state;
    state.dpi_scale = 1.5f;
    state.client_width = 500;
    const CompressLayout layout = compress_layout(state);
    EXPECT_EQ(layout.client_width, 840);
    EXPECT_EQ(layout[Control::Heading], (Placement{24, 18, 792, 33, true}));
    EXPECT_EQ(layout[Control::InfoLine], (Placement{24, 57, 792, 27, true}));
    EXPECT_EQ(layout[Control::CloseButton], (Placement{606, 141, 210, 45, true}));
    EXPECT_EQ(layout.client_height, 210);
    // A wider window keeps its width.
    state.client_width = 900;
    EXPECT_EQ(compress_layout(state).client_width, 900);
    EXPECT_EQ(scaled_units(4.5f, 1.0f), 5); // halves away from zero
}

TEST(CompressWindowTexts, WidthBoxAcceptsOnlyPlainNumbers) {
    const struct {
        const char* text;
        std::optional<std::uint32_t> width;
    } rows[] = {
        {"1280", 1280u}, {"+640", 640u},     {"0", 0u},  {"4294967295", 4294967295u},
        {"", {}},        {"+", {}},          {"-5", {}}, {"12a", {}},
        {" 12", {}},     {"4294967296", {}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(parse_width_text(row.text), row.width) << row.text;
    }
}

TEST(CompressWindowTexts, LogKeepsFiveHundredLinesAndTheBoxShowsThreeHundred) {
    std::deque<std::string> log;
    for (int i = 1; i <= 501; ++i) {
        append_log_line(log, "line " + std::to_string(i));
    }
    ASSERT_EQ(log.size(), 500u);
    EXPECT_EQ(log.front(), "line 2");
    const std::string box = log_box_text(log);
    EXPECT_EQ(box.substr(0, 11), "line 202\r\nl");
    EXPECT_EQ(box.substr(box.size() - 10), "\r\nline 501");

    const std::deque<std::string> short_log{"a", "b"};
    EXPECT_EQ(log_box_text(short_log), "a\r\nb");
}

TEST(CompressWindowTexts, AudioStreamItemsAndHintsInBothLanguages) {
    const std::vector<AudioStream> streams{{"aac", "fre", 2}, {"ac3", "", 6}};
    const testing::LanguageGuard guard(Language::English);
    EXPECT_EQ(audio_stream_items(streams), (std::vector<std::string>{"All", "#1 - fre", "#2"}));
    EXPECT_EQ(quality_hint_text(60), "60   best <-> smallest");
    EXPECT_EQ(compress_window_title("C:\\films\\clip.mp4"), "Video compression — clip.mp4");
    store_language(Language::French);
    EXPECT_EQ(audio_stream_items(streams).front(), "Toutes");
    EXPECT_EQ(quality_hint_text(0), "0   meilleure <-> plus petit");
    EXPECT_EQ(aac_value_text(192), "192 kb/s");
    EXPECT_EQ(compress_window_title("C:\\films\\clip.mp4"), "Compression vidéo — clip.mp4");
}

} // namespace
} // namespace ondrel
