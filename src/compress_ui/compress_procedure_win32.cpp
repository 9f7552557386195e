// The compression window's procedure: the user's commands, the sliders, the status colours
// and closing; the timer's work lives in compress_poll_win32.cpp.
#include "compress_ui/compress_poll_win32.hpp"
#include "compress_ui/compress_window_texts.hpp"
#include "compress_ui/compress_window_win32.hpp"
#include "platform/win32/wide.hpp"
#include "ui/app_state_win32.hpp"
#include "ui/shell_actions_win32.hpp"
#include "video_compress/compress_settings.hpp"

#include <commctrl.h>

namespace ondrel {
namespace {

constexpr COLORREF green = RGB(0, 128, 64);
constexpr COLORREF red = RGB(192, 0, 0);

bool is_checked(HWND button) {
    return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

LRESULT combo_selection(HWND combo) {
    return SendMessageW(combo, CB_GETCURSEL, 0, 0);
}

void read_width_box(CompressWindow& record) {
    wchar_t buffer[16] = {};
    GetWindowTextW(record.control(Control::WidthBox), buffer, 16);
    if (const auto width = parse_width_text(narrow(buffer))) {
        record.options.custom_width = *width;
    }
}

// With no job the window asks to be disposed of; with one it only hides, and the job goes on.
void close_or_hide(CompressWindow& record) {
    if (record.job) {
        ShowWindow(record.window, SW_HIDE);
    } else {
        record.close_requested = true;
    }
}

void press_main_button(CompressWindow& record) {
    if (record.job) {
        // The job then reports Canceled through the timer, or the Error of an ffmpeg that
        // could not be stopped.
        (void)cancel_job(*record.job);
    } else if (record.last_result && record.last_result->success) {
        open_output_folder(record);
    } else {
        start_compression(record);
    }
}

// True when the command was one of the window's own.
bool run_command(CompressWindow& record, int id, int notification) {
    CompressOptions& options = record.options;
    switch (id) {
    case compress_id::h264:
    case compress_id::h265:
        options.codec = id == compress_id::h265 ? VideoCodec::H265 : VideoCodec::H264;
        return true;
    case compress_id::encoder:
        if (notification != CBN_SELCHANGE) {
            return false;
        }
        options.encoder =
            encoder_family_from_index(combo_selection(record.control(Control::EncoderCombo)));
        return true;
    case compress_id::resolution:
        if (notification != CBN_SELCHANGE) {
            return false;
        }
        options.resolution =
            resolution_from_index(combo_selection(record.control(Control::ResolutionCombo)));
        layout_compression_window(record);
        return true;
    case compress_id::width:
        if (notification != EN_CHANGE) {
            return false;
        }
        read_width_box(record);
        return true;
    case compress_id::speed_fast:
    case compress_id::speed_balanced:
    case compress_id::speed_slow:
    case compress_id::speed_max:
        options.speed = speed_from_index(id - compress_id::speed_fast);
        return true;
    case compress_id::audio_copy:
    case compress_id::audio_aac:
    case compress_id::audio_none:
        options.audio = audio_mode_from_index(id - compress_id::audio_copy);
        if (options.audio == AudioMode::Aac) {
            options.aac_kbps = record.aac_slider_kbps;
        }
        layout_compression_window(record);
        return true;
    case compress_id::audio_stream: {
        if (notification != CBN_SELCHANGE) {
            return false;
        }
        const LRESULT selection = combo_selection(record.control(Control::AudioStreamCombo));
        if (selection >= 1) {
            options.audio_stream = static_cast<std::size_t>(selection - 1);
        } else {
            options.audio_stream.reset();
        }
        return true;
    }
    case compress_id::mp4:
    case compress_id::mkv:
        options.container = id == compress_id::mkv ? Container::Mkv : Container::Mp4;
        return true;
    case compress_id::hw_decode:
        options.hw_decode = is_checked(record.control(Control::HardwareDecode));
        return true;
    case compress_id::allow_upscale:
        options.allow_upscale = is_checked(record.control(Control::AllowUpscale));
        return true;
    case compress_id::browse:
        browse_output_folder(record);
        return true;
    case compress_id::reset:
        options.output_dir.reset();
        layout_compression_window(record);
        return true;
    case compress_id::log:
        record.log_visible = is_checked(record.control(Control::LogCheckBox));
        record.log_dirty = true;
        layout_compression_window(record);
        return true;
    case compress_id::main_button:
        press_main_button(record);
        return true;
    case compress_id::close:
    case IDCANCEL:
        close_or_hide(record);
        return true;
    default:
        return false; // IDOK too: Enter outside a push button does nothing
    }
}

LRESULT on_command(CompressWindow& record, HWND window, UINT message, WPARAM w, LPARAM l) {
    if (!run_command(record, LOWORD(w), HIWORD(w))) {
        return DefWindowProcW(window, message, w, l);
    }
    // The folder browser and Explorer run messages of their own: closing the player meanwhile
    // disposes of the window and its record.
    if (is_open(record)) {
        refresh_compression_window(record);
    }
    return 0;
}

LRESULT on_slider(CompressWindow& record, HWND window, UINT message, WPARAM w, LPARAM l) {
    const auto slider = reinterpret_cast<HWND>(l);
    if (slider == record.control(Control::QualitySlider)) {
        record.options.quality = static_cast<std::uint32_t>(SendMessageW(slider, TBM_GETPOS, 0, 0));
    } else if (slider == record.control(Control::AacSlider)) {
        record.aac_slider_kbps = static_cast<std::uint32_t>(SendMessageW(slider, TBM_GETPOS, 0, 0));
        if (record.options.audio == AudioMode::Aac) {
            record.options.aac_kbps = record.aac_slider_kbps;
        }
    } else {
        return DefWindowProcW(window, message, w, l);
    }
    refresh_compression_window(record);
    return 0;
}

LRESULT on_static_colour(const CompressWindow& record, HWND window, UINT message, WPARAM w,
                         LPARAM l) {
    COLORREF colour = 0;
    switch (GetDlgCtrlID(reinterpret_cast<HWND>(l))) {
    case compress_id::output_path:
    case compress_id::encoder_line:
    case compress_id::progress_line:
        colour = GetSysColor(COLOR_GRAYTEXT);
        break;
    case compress_id::result_line:
        colour = record.last_result && record.last_result->success ? green : red;
        break;
    case compress_id::info_line:
        if (!record.probe_error) {
            return DefWindowProcW(window, message, w, l);
        }
        colour = red;
        break;
    default:
        return DefWindowProcW(window, message, w, l);
    }
    const auto dc = reinterpret_cast<HDC>(w);
    SetTextColor(dc, colour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT handle(CompressWindow& record, HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_COMMAND:
        return on_command(record, window, message, w, l);
    case WM_HSCROLL:
        return on_slider(record, window, message, w, l);
    case WM_CTLCOLORSTATIC:
        return on_static_colour(record, window, message, w, l);
    case WM_CLOSE:
        close_or_hide(record);
        return 0;
    case WM_TIMER:
        if (w != TIMER_COMPRESS_POLL) {
            return DefWindowProcW(window, message, w, l);
        }
        poll_workers(record);
        return 0;
    default:
        return DefWindowProcW(window, message, w, l);
    }
}

// After every message but the timer's: the choices are saved once a job has started, and a
// window that asked to close is reported to the main window.
void after_message(AppState& state, CompressWindow& record) {
    if (record.settings_dirty) {
        record.settings_dirty = false;
        state.settings.compress = format_compress_settings(record.options);
        // The choices hold for this session; a later save writes them once the file can be written.
        (void)save_settings(state.settings);
        layout_children(state);
    }
    if (record.close_requested) {
        PostMessageW(record.main_window, WM_APP_TOOL_CLOSED, 0, 0);
    }
}

} // namespace

LRESULT CALLBACK compress_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    // Until create_compression_window's record is stored in the state (while the window and
    // its controls are made), and after it is taken out again, messages get the default.
    AppState* state = app();
    if (state == nullptr || !state->compression || state->compression->window != window) {
        return DefWindowProcW(window, message, w, l);
    }
    CompressWindow& record = *state->compression;
    // Nothing may unwind through the system's frames; a handler that fails this way (out of
    // memory) leaves the message to the default handling.
    try {
        const LRESULT result = handle(record, window, message, w, l);
        // A modal loop inside the handler (the folder browser) may have let the main window
        // dispose of the record.
        if (message != WM_TIMER && is_open(record)) {
            after_message(*state, record);
        }
        return result;
    } catch (const std::exception&) {
        return DefWindowProcW(window, message, w, l);
    }
}

} // namespace ondrel
