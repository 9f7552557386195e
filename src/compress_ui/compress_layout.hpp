// Where each control of the compression window goes: a grid in 1/96-inch units, scaled for
// the window's DPI, with rows that take no space while they have nothing to show.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace ondrel {

// The window's controls in creation order, which is also the tab order.
enum class Control : std::uint8_t {
    Heading,
    InfoLine,
    AudioStreamsLine,
    UpperSeparator,
    CodecLabel,
    H264,
    H265,
    EncoderLabel,
    EncoderCombo,
    ResolutionLabel,
    ResolutionCombo,
    WidthBox,
    WidthUnit,
    QualityLabel,
    QualitySlider,
    QualityHint,
    SpeedLabel,
    SpeedFast,
    SpeedBalanced,
    SpeedSlow,
    SpeedMax,
    AudioLabel,
    AudioCopy,
    AudioAac,
    AudioNone,
    AacSlider,
    AacValue,
    AudioTrackLabel,
    AudioStreamCombo,
    ContainerLabel,
    Mp4,
    Mkv,
    HardwareDecode,
    AllowUpscale,
    OutputLabel,
    Browse,
    Reset,
    OutputPath,
    EncoderLine,
    LowerSeparator,
    ProgressBar,
    ProgressLine,
    ResultLine,
    LogCheckBox,
    LogBox,
    MainButton,
    CloseButton,
};
inline constexpr std::size_t control_count = 47;

inline constexpr std::size_t index_of(Control control) {
    return static_cast<std::size_t>(control);
}

// The option-grid rows a label can stand in; "Output" is the row below the grid.
inline constexpr std::size_t label_row_count = 9;

// round(units x scale), halves away from zero.
std::int32_t scaled_units(float units, float dpi_scale);

// What decides the layout.
struct LayoutState {
    float dpi_scale = 1;
    std::int32_t client_width = 0; // current client width in pixels
    bool analysed = false;         // the probe's result is in
    bool probe_failed = false;
    std::size_t audio_stream_count = 0;
    bool custom_resolution = false;
    bool aac_audio = false;
    bool output_folder_chosen = false;
    bool job_running = false;
    bool has_result = false;
    bool has_log_lines = false;
    bool log_visible = false;
};

struct Placement {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 1;
    std::int32_t height = 1;
    bool shown = false;

    bool operator==(const Placement&) const = default;
};

struct CompressLayout {
    // Every control except the labels, which are placed by their row.
    std::array<Placement, control_count> controls{};
    std::array<Placement, label_row_count> label_rows{};
    std::int32_t client_width = 0;
    std::int32_t client_height = 0;

    const Placement& operator[](Control control) const { return controls[index_of(control)]; }
};

CompressLayout compress_layout(const LayoutState& state);

} // namespace ondrel
