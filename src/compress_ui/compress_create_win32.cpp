// Making the compression window: tools, analysis workers, fonts, the window and its 47
// controls, and the remembered choices shown in them.
#include "compress_ui/compress_window_win32.hpp"

#include "compress_ui/compress_window_texts.hpp"
#include "i18n/texts_compress_window.hpp"
#include "i18n/texts_compression.hpp"
#include "platform/files.hpp"
#include "platform/win32/wide.hpp"
#include "video_compress/compress_settings.hpp"
#include "video_compress/detect_encoders.hpp"
#include "video_compress/probe.hpp"
#include "video_compress/tools.hpp"

#include <algorithm>
#include <commctrl.h>
#include <optional>

namespace ondrel {
namespace {

// Registered at start-up with compress_window_procedure.
constexpr const wchar_t* compress_window_class = L"Ondrel.Compress";

constexpr DWORD label_style = SS_NOPREFIX;
constexpr DWORD line_style = SS_NOPREFIX | SS_ENDELLIPSIS;
constexpr DWORD first_radio = WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON;
constexpr DWORD next_radio = WS_TABSTOP | BS_AUTORADIOBUTTON;
constexpr DWORD check_box = WS_GROUP | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD combo_style = WS_VSCROLL | WS_GROUP | WS_TABSTOP | CBS_DROPDOWNLIST;
constexpr DWORD slider_style = WS_GROUP | WS_TABSTOP | TBS_NOTICKS;
constexpr std::size_t no_row = label_row_count;

struct ControlRow {
    const wchar_t* window_class;
    int id;
    TextPair text;
    DWORD style;
    std::size_t label_row;
};

constexpr TextPair no_text{"", ""};

// In creation order, which is the tab order; indexed by Control.
const std::array<ControlRow, control_count> control_rows{{
    {WC_STATICW, 0, no_text, line_style, no_row}, // heading: the file name
    {WC_STATICW, compress_id::info_line, texts::analyzing_video, line_style, no_row},
    {WC_STATICW, 0, no_text, line_style, no_row},
    {WC_STATICW, 0, no_text, SS_ETCHEDHORZ, no_row},
    {WC_STATICW, 0, texts::label_codec, label_style, 0},
    {WC_BUTTONW, compress_id::h264, texts::codec_labels[0], first_radio, no_row},
    {WC_BUTTONW, compress_id::h265, texts::codec_labels[1], next_radio, no_row},
    {WC_STATICW, 0, texts::label_encoder, label_style, 1},
    {WC_COMBOBOXW, compress_id::encoder, no_text, combo_style, no_row},
    {WC_STATICW, 0, texts::label_resolution, label_style, 2},
    {WC_COMBOBOXW, compress_id::resolution, no_text, combo_style, no_row},
    {WC_EDITW, compress_id::width, no_text, WS_BORDER | WS_GROUP | WS_TABSTOP | ES_NUMBER, no_row},
    {WC_STATICW, 0, texts::pixels_unit, label_style, no_row},
    {WC_STATICW, 0, texts::label_quality, label_style, 3},
    {TRACKBAR_CLASSW, compress_id::quality, no_text, slider_style, no_row},
    {WC_STATICW, 0, no_text, label_style, no_row},
    {WC_STATICW, 0, texts::label_speed, label_style, 4},
    {WC_BUTTONW, compress_id::speed_fast, texts::speed_labels[0], first_radio, no_row},
    {WC_BUTTONW, compress_id::speed_balanced, texts::speed_labels[1], next_radio, no_row},
    {WC_BUTTONW, compress_id::speed_slow, texts::speed_labels[2], next_radio, no_row},
    {WC_BUTTONW, compress_id::speed_max, texts::speed_labels[3], next_radio, no_row},
    {WC_STATICW, 0, texts::label_audio, label_style, 5},
    {WC_BUTTONW, compress_id::audio_copy, texts::audio_mode_labels[0], first_radio, no_row},
    {WC_BUTTONW, compress_id::audio_aac, texts::audio_mode_labels[1], next_radio, no_row},
    {WC_BUTTONW, compress_id::audio_none, texts::audio_mode_labels[2], next_radio, no_row},
    {TRACKBAR_CLASSW, compress_id::aac_kbps, no_text, slider_style, no_row},
    {WC_STATICW, 0, no_text, label_style, no_row},
    {WC_STATICW, 0, texts::label_audio_track, label_style, 6},
    {WC_COMBOBOXW, compress_id::audio_stream, no_text, combo_style, no_row},
    {WC_STATICW, 0, texts::label_container, label_style, 7},
    {WC_BUTTONW, compress_id::mp4, texts::container_labels[0], first_radio, no_row},
    {WC_BUTTONW, compress_id::mkv, texts::container_labels[1], next_radio, no_row},
    {WC_BUTTONW, compress_id::hw_decode, texts::hardware_decode, check_box, no_row},
    {WC_BUTTONW, compress_id::allow_upscale, texts::allow_upscaling, check_box, no_row},
    {WC_STATICW, 0, texts::label_output, label_style, 8},
    {WC_BUTTONW, compress_id::browse, texts::browse_button, WS_GROUP | WS_TABSTOP, no_row},
    {WC_BUTTONW, compress_id::reset, texts::reset_button, WS_TABSTOP, no_row},
    {WC_STATICW, compress_id::output_path, no_text, SS_NOPREFIX | SS_PATHELLIPSIS, no_row},
    {WC_STATICW, compress_id::encoder_line, no_text, line_style, no_row},
    {WC_STATICW, 0, no_text, SS_ETCHEDHORZ, no_row},
    {PROGRESS_CLASSW, 0, no_text, PBS_SMOOTH, no_row},
    {WC_STATICW, compress_id::progress_line, no_text, label_style, no_row},
    {WC_STATICW, compress_id::result_line, no_text, line_style, no_row},
    {WC_BUTTONW, compress_id::log, texts::ffmpeg_log, check_box, no_row},
    {WC_EDITW, 0, no_text, WS_BORDER | WS_VSCROLL | ES_READONLY | ES_AUTOVSCROLL | ES_MULTILINE,
     no_row},
    {WC_BUTTONW, compress_id::main_button, texts::compress_button,
     WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, no_row},
    {WC_BUTTONW, compress_id::close, texts::close_button, WS_TABSTOP, no_row},
}};

UniqueFont make_font(float dpi_scale, float size, int weight) {
    return UniqueFont(CreateFontW(-scaled_units(size, dpi_scale), 0, 0, 0, weight, FALSE, FALSE,
                                  FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI"));
}

// The window's rectangle, centred on the main window's but kept inside the work area of its
// monitor: a main window near the top of the screen would otherwise push the title bar, and
// with it the only way to move the window, off the screen.
RECT centred_on(HWND main_window, int width, int height) {
    RECT main{};
    GetWindowRect(main_window, &main);
    int left = main.left + ((main.right - main.left) - width) / 2;
    int top = main.top + ((main.bottom - main.top) - height) / 2;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(main_window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        left = std::max(static_cast<int>(work.left),
                        std::min(left, static_cast<int>(work.right) - width));
        top = std::max(static_cast<int>(work.top),
                       std::min(top, static_cast<int>(work.bottom) - height));
    }
    return RECT{left, top, left + width, top + height};
}

void create_controls(CompressWindow& record, HINSTANCE instance) {
    const std::string heading = path_text(
        record.video_path.has_filename() ? record.video_path.filename() : record.video_path);
    for (std::size_t i = 0; i < control_count; ++i) {
        const ControlRow& row = control_rows[i];
        std::string text(tr(row.text));
        if (i == index_of(Control::Heading)) {
            text = heading;
        } else if (i == index_of(Control::WidthBox)) {
            text = std::to_string(record.options.custom_width);
        }
        const HWND control = CreateWindowExW(
            0, row.window_class, widen(text).c_str(), WS_CHILD | WS_VISIBLE | row.style, 0, 0, 10,
            10, record.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance,
            nullptr);
        record.controls[i] = control;
        const HFONT font =
            i == index_of(Control::Heading) ? record.bold_font.get() : record.normal_font.get();
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (row.label_row != no_row) {
            record.label_rows.emplace_back(control, row.label_row);
        }
    }
}

void add_items(HWND combo, std::size_t count, std::string_view (*label)(std::int64_t)) {
    for (std::size_t i = 0; i < count; ++i) {
        SendMessageW(combo, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(widen(label(static_cast<std::int64_t>(i))).c_str()));
    }
}

void fill_lists_and_ranges(const CompressWindow& record) {
    add_items(record.control(Control::EncoderCombo), encoder_family_count,
              [](std::int64_t i) { return encoder_family_label(encoder_family_from_index(i)); });
    add_items(record.control(Control::ResolutionCombo), resolution_count,
              [](std::int64_t i) { return resolution_label(resolution_from_index(i)); });
    const HWND quality = record.control(Control::QualitySlider);
    SendMessageW(quality, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
    SendMessageW(quality, TBM_SETPAGESIZE, 0, 10);
    const HWND aac = record.control(Control::AacSlider);
    SendMessageW(aac, TBM_SETRANGE, FALSE, MAKELPARAM(32, 320));
    SendMessageW(aac, TBM_SETPAGESIZE, 0, 32);
    SendMessageW(record.control(Control::ProgressBar), PBM_SETRANGE32, 0, 1000);
}

void check(HWND button, bool on) {
    SendMessageW(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

// The remembered choices, as the controls show them.
void show_options(const CompressWindow& record) {
    const CompressOptions& o = record.options;
    check(record.control(o.codec == VideoCodec::H265 ? Control::H265 : Control::H264), true);
    SendMessageW(record.control(Control::EncoderCombo), CB_SETCURSEL,
                 static_cast<WPARAM>(o.encoder), 0);
    SendMessageW(record.control(Control::ResolutionCombo), CB_SETCURSEL, o.resolution, 0);
    SendMessageW(record.control(Control::QualitySlider), TBM_SETPOS, TRUE, o.quality);
    constexpr Control speeds[] = {Control::SpeedFast, Control::SpeedBalanced, Control::SpeedSlow,
                                  Control::SpeedMax};
    check(record.control(speeds[static_cast<std::size_t>(o.speed)]), true);
    constexpr Control audio_modes[] = {Control::AudioCopy, Control::AudioAac, Control::AudioNone};
    check(record.control(audio_modes[static_cast<std::size_t>(o.audio)]), true);
    SendMessageW(record.control(Control::AacSlider), TBM_SETPOS, TRUE, record.aac_slider_kbps);
    check(record.control(o.container == Container::Mkv ? Control::Mkv : Control::Mp4), true);
    check(record.control(Control::HardwareDecode), o.hw_decode);
    check(record.control(Control::AllowUpscale), o.allow_upscale);
}

// Finds the tools, starts the analysis and builds the window; everything made so far is
// disposed of again when a step fails.
Result<CompressWindowPtr> build_window(HWND main_window, const std::string& video_path,
                                       const std::string& compress_setting) {
    const auto ffmpeg = find_tool("ffmpeg");
    if (!ffmpeg) {
        return Failure{std::string(missing_tool_text("ffmpeg"))};
    }
    const auto ffprobe = find_tool("ffprobe");
    if (!ffprobe) {
        return Failure{std::string(missing_tool_text("ffprobe"))};
    }

    CompressWindowPtr record(new CompressWindow);
    CompressWindow& r = *record;
    r.video_path = path_from_utf8(video_path);
    r.ffmpeg_path = *ffmpeg;
    r.ffprobe_path = *ffprobe;
    r.main_window = main_window;
    r.options = parse_compress_settings(compress_setting);
    r.options.audio_stream.reset();
    r.aac_slider_kbps = r.options.audio == AudioMode::Aac ? r.options.aac_kbps : default_aac_kbps;

    auto [sender, receiver] = make_channel<CompressMessage>();
    r.analysis_rx.emplace(std::move(receiver));
    start_probe(r.ffprobe_path, r.video_path, sender);
    start_encoder_detection(r.ffmpeg_path, std::move(sender));

    const UINT dpi = GetDpiForWindow(main_window);
    r.dpi_scale = static_cast<float>(dpi < 97 ? 96 : dpi) / 96.0f;
    r.normal_font = make_font(r.dpi_scale, 12, FW_NORMAL);
    r.bold_font = make_font(r.dpi_scale, 15, FW_SEMIBOLD);

    // The trackbars and the progress bar.
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                 ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    const auto instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(main_window, GWLP_HINSTANCE));
    const RECT frame =
        centred_on(main_window, scaled_units(600, r.dpi_scale), scaled_units(640, r.dpi_scale));
    r.window = CreateWindowExW(WS_EX_CONTROLPARENT, compress_window_class,
                               widen(compress_window_title(r.video_path)).c_str(),
                               WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                               frame.left, frame.top, frame.right - frame.left,
                               frame.bottom - frame.top, main_window, nullptr, instance, nullptr);
    if (r.window == nullptr) {
        return Failure{last_os_error_text()};
    }
    create_controls(r, instance);
    fill_lists_and_ranges(r);
    show_options(r);

    layout_compression_window(r);
    refresh_compression_window(r);
    ShowWindow(r.window, SW_SHOWNORMAL);
    return record;
}

} // namespace

Result<CompressWindowPtr> create_compression_window(HWND main_window, const std::string& video_path,
                                                    const std::string& compress_setting) {
    try {
        return build_window(main_window, video_path, compress_setting);
    } catch (const std::exception& error) {
        // A worker thread that could not start, or memory that ran out.
        return Failure{error.what()};
    }
}

} // namespace ondrel
