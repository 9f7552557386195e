#include "compress_ui/compress_layout.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ondrel {
namespace {

// The grid rows in their order from the top; the audio-track row only takes space when the
// file has more than one audio stream.
enum GridRow : std::size_t {
    row_codec = 0,
    row_encoder = 1,
    row_resolution = 2,
    row_quality = 3,
    row_speed = 4,
    row_audio = 5,
    row_audio_track = 6,
    row_container = 7,
    row_output = 8,
};

struct Grid {
    float scale;

    std::int32_t operator()(float units) const { return scaled_units(units, scale); }
};

// A width or height below 2 would vanish or be negative; such a control keeps one pixel.
std::int32_t at_least_one(std::int32_t length) {
    return length < 2 ? 1 : length;
}

struct Placer {
    CompressLayout& layout;

    void place(Control control, std::int32_t x, std::int32_t y, std::int32_t width,
               std::int32_t height, bool shown) {
        layout.controls[index_of(control)] =
            Placement{x, y, at_least_one(width), at_least_one(height), shown};
    }
    void label(std::size_t row, Control control, std::int32_t x, std::int32_t y, std::int32_t width,
               std::int32_t height, bool shown) {
        place(control, x, y, width, height, shown);
        layout.label_rows[row] = layout.controls[index_of(control)];
    }
};

} // namespace

std::int32_t scaled_units(float units, float dpi_scale) {
    const float value = std::round(units * dpi_scale);
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483647.0f) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value <= -2147483648.0f) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

CompressLayout compress_layout(const LayoutState& state) {
    const Grid S{state.dpi_scale};
    CompressLayout layout;
    Placer p{layout};

    const std::int32_t M = S(16);
    const std::int32_t L = S(100);
    const std::int32_t W = std::max(state.client_width, S(560));
    const std::int32_t R = W - M;
    const std::int32_t D = W - 2 * M;
    const std::int32_t P = S(32);
    const std::int32_t H = S(24);
    const std::int32_t T = S(18);
    const std::int32_t K = (P - H) / 2 - S(3);
    const bool analysed = state.analysed;

    p.place(Control::Heading, M, S(12), D, S(22), true);
    p.place(Control::InfoLine, M, S(12) + S(26), D, T, true);
    std::int32_t y = S(12) + S(26) + S(20);

    const bool audio_line = analysed && state.audio_stream_count > 0;
    p.place(Control::AudioStreamsLine, M, y, D, T, audio_line);
    if (audio_line) {
        y += S(20);
    }
    p.place(Control::UpperSeparator, M, y + S(6), D, 2, true);
    const std::int32_t grid_top = y + S(6) + S(12);

    // Row tops; before the analysis every row collapses onto the first grid line.
    const bool audio_track_row = analysed && state.audio_stream_count > 1;
    std::array<std::int32_t, row_container + 1> top{};
    std::int32_t next = grid_top;
    for (std::size_t row = row_codec; row <= row_container; ++row) {
        top[row] = next;
        const bool takes_space = analysed && (row != row_audio_track || audio_track_row);
        if (takes_space) {
            next += P;
        }
    }
    const std::int32_t X = M + L;
    const auto label = [&](std::size_t row, Control control, std::int32_t row_top, bool shown) {
        p.label(row, control, M, row_top + S(4), L - S(8), T, shown);
    };

    label(row_codec, Control::CodecLabel, top[row_codec], analysed);
    p.place(Control::H264, X, top[row_codec] + K, S(80), H, analysed);
    p.place(Control::H265, X + S(84), top[row_codec] + K, S(80), H, analysed);

    label(row_encoder, Control::EncoderLabel, top[row_encoder], analysed);
    p.place(Control::EncoderCombo, X, top[row_encoder] + K, S(270), S(240), analysed);

    const std::int32_t resolution_y = top[row_resolution];
    const bool custom = analysed && state.custom_resolution;
    label(row_resolution, Control::ResolutionLabel, resolution_y, analysed);
    p.place(Control::ResolutionCombo, X, resolution_y + K, S(200), S(260), analysed);
    p.place(Control::WidthBox, X + S(210), resolution_y + K + S(1), S(70), S(22), custom);
    p.place(Control::WidthUnit, X + S(286), resolution_y + K + S(4), S(30), T, custom);

    const std::int32_t quality_y = top[row_quality];
    label(row_quality, Control::QualityLabel, quality_y, analysed);
    p.place(Control::QualitySlider, X - S(4), quality_y + K, R - (S(190) + X), H + S(4), analysed);
    p.place(Control::QualityHint, R - S(186), quality_y + K + S(4), S(186), T, analysed);

    label(row_speed, Control::SpeedLabel, top[row_speed], analysed);
    constexpr Control speeds[] = {Control::SpeedFast, Control::SpeedBalanced, Control::SpeedSlow,
                                  Control::SpeedMax};
    for (std::int32_t k = 0; k < 4; ++k) {
        p.place(speeds[k], X + k * S(96), top[row_speed] + K, S(92), H, analysed);
    }

    const std::int32_t audio_y = top[row_audio];
    const bool aac = analysed && state.aac_audio;
    label(row_audio, Control::AudioLabel, audio_y, analysed);
    constexpr Control audio_modes[] = {Control::AudioCopy, Control::AudioAac, Control::AudioNone};
    for (std::int32_t k = 0; k < 3; ++k) {
        p.place(audio_modes[k], X + k * S(78), audio_y + K, S(76), H, analysed);
    }
    p.place(Control::AacSlider, X + S(240), audio_y + K, R - (S(74) + S(240) + X), H + S(4), aac);
    p.place(Control::AacValue, R - S(70), audio_y + K + S(4), S(70), T, aac);

    label(row_audio_track, Control::AudioTrackLabel, top[row_audio_track], audio_track_row);
    p.place(Control::AudioStreamCombo, X, top[row_audio_track] + K, S(220), S(200),
            audio_track_row);

    const std::int32_t Y7 = top[row_container];
    label(row_container, Control::ContainerLabel, Y7, analysed);
    p.place(Control::Mp4, X, Y7 + K, S(80), H, analysed);
    p.place(Control::Mkv, X + S(84), Y7 + K, S(80), H, analysed);

    p.place(Control::HardwareDecode, X, Y7 + P, S(300), H, analysed);
    p.place(Control::AllowUpscale, X, Y7 + P + S(28), S(300), H, analysed);
    const std::int32_t O = Y7 + P + S(28) + S(30);
    label(row_output, Control::OutputLabel, O, analysed);
    p.place(Control::Browse, X, O + K, S(120), S(26), analysed);
    p.place(Control::Reset, X + S(128), O + K, S(120), S(26),
            analysed && state.output_folder_chosen);
    p.place(Control::OutputPath, M, O + P + S(2), D, T, analysed);
    p.place(Control::EncoderLine, M, O + P + S(22), D, T, analysed);

    const std::int32_t separator_y = analysed ? O + P + S(46) : grid_top;
    p.place(Control::LowerSeparator, M, separator_y, D, 2, true);

    const std::int32_t Z = separator_y + S(10);
    p.place(Control::ProgressBar, M, Z, D, T, state.job_running);
    p.place(Control::ProgressLine, M, Z + S(22), D, T, state.job_running);
    p.place(Control::ResultLine, M, Z, D, T, !state.job_running && state.has_result);
    if (state.job_running) {
        y = Z + S(46);
    } else {
        y = state.has_result ? Z + S(26) : Z;
    }

    p.place(Control::LogCheckBox, M, y, S(200), H, state.has_log_lines);
    const bool log_box = state.has_log_lines && state.log_visible;
    if (state.has_log_lines) {
        y += S(28);
    }
    p.place(Control::LogBox, M, y, D, S(130), log_box);
    if (log_box) {
        y += S(138);
    }

    y += S(8);
    p.place(Control::CloseButton, R - S(140), y, S(140), S(30), true);
    p.place(Control::MainButton, R - S(8) - 2 * S(140), y, S(140), S(30), !state.probe_failed);

    layout.client_width = W;
    layout.client_height = y + S(30) + M;
    return layout;
}

} // namespace ondrel
