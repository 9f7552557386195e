// Redrawing the compression window after its record changed: where the controls are, and
// what they say.
#include "compress_ui/compress_window_win32.hpp"

#include "compress_ui/compress_window_texts.hpp"
#include "i18n/formatters.hpp"
#include "i18n/texts_compress_window.hpp"
#include "platform/win32/wide.hpp"
#include "video_compress/estimate.hpp"
#include "video_compress/ffmpeg_args.hpp"
#include "video_compress/progress_text.hpp"
#include "video_compress/summary_text.hpp"

#include <cmath>
#include <commctrl.h>

namespace ondrel {
namespace {

// Enabled exactly when the options can be edited: the analysis is in and no job runs.
constexpr Control option_controls[] = {
    Control::H264,      Control::H265,          Control::EncoderCombo,   Control::ResolutionCombo,
    Control::WidthBox,  Control::QualitySlider, Control::AacSlider,      Control::AudioStreamCombo,
    Control::Mp4,       Control::Mkv,           Control::HardwareDecode, Control::AllowUpscale,
    Control::Browse,    Control::Reset,         Control::SpeedFast,      Control::SpeedBalanced,
    Control::SpeedSlow, Control::SpeedMax,      Control::AudioCopy,      Control::AudioAac,
    Control::AudioNone,
};
static_assert(std::size(option_controls) == 21);

bool is_label(const CompressWindow& record, HWND control) {
    for (const auto& [label, row] : record.label_rows) {
        if (label == control) {
            return true;
        }
    }
    return false;
}

void apply(HWND control, const Placement& placement) {
    MoveWindow(control, placement.x, placement.y, placement.width, placement.height, FALSE);
    ShowWindow(control, placement.shown ? SW_SHOW : SW_HIDE);
}

// Setting a text repaints the control, so an unchanged text is left alone.
void set_text(HWND control, std::string_view text) {
    const std::wstring wide = widen(text);
    const int length = GetWindowTextLengthW(control);
    std::wstring current(static_cast<std::size_t>(length) + 1, L'\0');
    current.resize(static_cast<std::size_t>(GetWindowTextW(control, current.data(), length + 1)));
    if (current != wide) {
        SetWindowTextW(control, wide.c_str());
    }
}

bool job_succeeded(const CompressWindow& record) {
    return record.last_result && record.last_result->success;
}

void refresh_analysis_lines(const CompressWindow& record) {
    const HWND info = record.control(Control::InfoLine);
    if (record.probe_error) {
        set_text(info, fill(tr(texts::cannot_analyze), {*record.probe_error}));
    } else if (!record.media_info) {
        set_text(info, tr(texts::analyzing_video));
    } else {
        set_text(info, info_line(*record.media_info));
        set_text(record.control(Control::AudioStreamsLine), audio_tracks_line(*record.media_info));
    }
}

void refresh_output_and_encoder(CompressWindow& record) {
    const MediaInfo& media = *record.media_info;
    if (!record.job && !job_succeeded(record)) {
        // The line keeps the last answer until the new one comes in on the timer.
        ask_output_name(record.output_name, media, record.options);
        take_output_name_answer(record);
    }
    // Without a name the line says why: the job would fail the same way.
    set_text(record.control(Control::OutputPath),
             record.output_path.empty() ? record.output_error : path_text(record.output_path));
    const std::string encoder =
        choose_encoder(record.options.codec, record.options.encoder, record.encoders.encoders);
    set_text(record.control(Control::EncoderLine),
             encoder_line(encoder, size_estimate(media, record.options)));
}

void refresh_status_and_buttons(const CompressWindow& record) {
    const HWND main_button = record.control(Control::MainButton);
    const HWND close_button = record.control(Control::CloseButton);
    if (!record.job) {
        if (record.last_result) {
            set_text(record.control(Control::ResultLine), record.last_result->text);
        }
        const bool succeeded = job_succeeded(record);
        set_text(main_button, tr(succeeded ? texts::open_folder_button : texts::compress_button));
        set_text(close_button, tr(texts::close_button));
        EnableWindow(main_button, succeeded || record.media_info.has_value());
        return;
    }
    const JobProgress& progress = record.progress;
    SendMessageW(record.control(Control::ProgressBar), PBM_SETPOS,
                 static_cast<WPARAM>(progress_bar_position(progress.percent)), 0);
    set_text(record.control(Control::ProgressLine),
             progress_line(progress.percent, progress.speed, progress.fps, progress.bitrate));
    set_text(main_button, tr(texts::cancel_button));
    EnableWindow(main_button, TRUE);
    set_text(close_button, tr(texts::hide_button));
}

void refresh_log_box(CompressWindow& record) {
    if (!record.log_dirty || !record.log_visible) {
        return;
    }
    record.log_dirty = false;
    const HWND box = record.control(Control::LogBox);
    const std::wstring text = widen(log_box_text(record.log_lines));
    SetWindowTextW(box, text.c_str());
    // The caret goes to the end and the box scrolls to it (a start of -1 would only drop the
    // selection and leave the caret at the top, where setting the text put it).
    SendMessageW(box, EM_SETSEL, text.size(), static_cast<LPARAM>(text.size()));
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

} // namespace

bool take_output_name_answer(CompressWindow& record) {
    if (record.job || job_succeeded(record)) {
        return false; // the line shows the job's own file
    }
    auto answer = take_output_name(record.output_name);
    if (!answer) {
        return false;
    }
    if (*answer) {
        record.output_path = answer->value();
        record.output_error.clear();
    } else {
        record.output_path.clear();
        record.output_error = answer->error();
    }
    return true;
}

void layout_compression_window(CompressWindow& record) {
    RECT client{};
    GetClientRect(record.window, &client);
    LayoutState state;
    state.dpi_scale = record.dpi_scale;
    state.client_width = client.right - client.left;
    state.analysed = record.media_info.has_value();
    state.probe_failed = record.probe_error.has_value();
    state.audio_stream_count = record.media_info ? record.media_info->audio_streams.size() : 0;
    state.custom_resolution = record.options.resolution == resolution_custom;
    state.aac_audio = record.options.audio == AudioMode::Aac;
    state.output_folder_chosen = record.options.output_dir.has_value();
    state.job_running = record.job.has_value();
    state.has_result = record.last_result.has_value();
    state.has_log_lines = !record.log_lines.empty();
    state.log_visible = record.log_visible;
    const CompressLayout layout = compress_layout(state);

    for (std::size_t i = 0; i < control_count; ++i) {
        if (!is_label(record, record.controls[i])) {
            apply(record.controls[i], layout.controls[i]);
        }
    }
    for (const auto& [label, row] : record.label_rows) {
        apply(label, layout.label_rows[row]);
    }

    const auto style = static_cast<DWORD>(GetWindowLongW(record.window, GWL_STYLE));
    const auto extended_style = static_cast<DWORD>(GetWindowLongW(record.window, GWL_EXSTYLE));
    RECT frame{0, 0, layout.client_width, layout.client_height};
    AdjustWindowRectExForDpi(&frame, style, FALSE, extended_style,
                             static_cast<UINT>(std::lround(96.0f * record.dpi_scale)));
    SetWindowPos(record.window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    // The window clips its children, so they are invalidated with it: a control moved
    // without repainting would otherwise keep showing at its old place until covered.
    RedrawWindow(record.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void refresh_compression_window(CompressWindow& record) {
    refresh_analysis_lines(record);
    set_text(record.control(Control::QualityHint), quality_hint_text(record.options.quality));
    set_text(record.control(Control::AacValue), aac_value_text(record.aac_slider_kbps));
    if (record.media_info) {
        refresh_output_and_encoder(record);
    }
    refresh_status_and_buttons(record);
    const BOOL editable = !record.job && record.media_info ? TRUE : FALSE;
    for (const Control control : option_controls) {
        EnableWindow(record.control(control), editable);
    }
    refresh_log_box(record);
    // A new output name asked for, or a job started, is taken on the timer.
    poll_while_needed(record);
}

} // namespace ondrel
