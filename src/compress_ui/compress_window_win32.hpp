// The compression window: its state record, and what the main window and the message loop
// call. The window only calls the compression engine and drains its two channels; it never
// waits for ffmpeg or ffprobe except while a cancelled ffmpeg ends, or while the result of
// one that had ended is checked when its job is abandoned or disposed of.
#pragma once

#include "compress_ui/compress_layout.hpp"
#include "compress_ui/output_name_search.hpp"
#include "platform/win32/handles.hpp"
#include "ui/compression_link_win32.hpp"
#include "video_compress/compress_message.hpp"
#include "video_compress/encoder_support.hpp"
#include "video_compress/job.hpp"
#include "video_compress/media_info.hpp"
#include "video_compress/options.hpp"

#include <array>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

#include <shlobj.h>

namespace ondrel {

inline constexpr UINT_PTR TIMER_COMPRESS_POLL = 1;
inline constexpr UINT TIMER_COMPRESS_POLL_MS = 200;

// The control ids that commands and colours are told apart by.
namespace compress_id {
inline constexpr int h264 = 101;
inline constexpr int h265 = 102;
inline constexpr int encoder = 103;
inline constexpr int resolution = 104;
inline constexpr int width = 105;
inline constexpr int quality = 106;
inline constexpr int speed_fast = 110;
inline constexpr int speed_balanced = 111;
inline constexpr int speed_slow = 112;
inline constexpr int speed_max = 113;
inline constexpr int audio_copy = 120;
inline constexpr int audio_aac = 121;
inline constexpr int audio_none = 122;
inline constexpr int aac_kbps = 123;
inline constexpr int audio_stream = 124;
inline constexpr int mp4 = 130;
inline constexpr int mkv = 131;
inline constexpr int hw_decode = 140;
inline constexpr int allow_upscale = 141;
inline constexpr int browse = 150;
inline constexpr int reset = 151;
inline constexpr int log = 160;
inline constexpr int main_button = 170;
inline constexpr int close = 171;
inline constexpr int output_path = 180;
inline constexpr int encoder_line = 181;
inline constexpr int progress_line = 182;
inline constexpr int result_line = 183;
inline constexpr int info_line = 184;
} // namespace compress_id

// The last job's figures, as its Progress messages gave them.
struct JobProgress {
    float percent = 0;
    double speed = 0;
    double fps = 0;
    std::string bitrate;
};

struct JobResult {
    bool success = false;
    std::string text;
};

struct CompressWindow {
    // The choices being edited; the audio stream always starts as "all".
    CompressOptions options;
    std::filesystem::path video_path;
    std::filesystem::path ffmpeg_path;
    std::filesystem::path ffprobe_path;
    // The probe's and the detection's channel; absent once both workers are done.
    std::optional<CompressReceiver> analysis_rx;
    // Present exactly while a compression runs.
    std::optional<CompressJob> job;
    EncoderSupport encoders;
    // The next job's output, or the finished one's after a success.
    std::filesystem::path output_path;
    // Why there is no next output name, when the look-up found none.
    std::string output_error;
    // Finds the next job's output name off the GUI thread; the timer takes the answer.
    OutputNameSearch output_name;
    JobProgress progress;
    std::deque<std::string> log_lines;
    std::vector<std::pair<HWND, std::size_t>> label_rows;
    std::array<HWND, control_count> controls{};
    // At most one of the two: the probe sends either.
    std::optional<MediaInfo> media_info;
    std::optional<std::string> probe_error;
    // Never present together with a job.
    std::optional<JobResult> last_result;
    HWND window = nullptr;
    HWND main_window = nullptr;
    UniqueFont normal_font;
    UniqueFont bold_font;
    std::uint32_t aac_slider_kbps = default_aac_kbps;
    float dpi_scale = 1;
    bool log_dirty = false;
    bool log_visible = false;
    bool close_requested = false;
    bool settings_dirty = false;
    // TIMER_COMPRESS_POLL is set.
    bool polling = false;

    HWND control(Control which) const { return controls[index_of(which)]; }
};

// True while the record is the one the state holds (a modal loop can dispose of it).
bool is_open(const CompressWindow& window);

// Ends a running job (one cut short leaves no file; one whose ffmpeg had ended is let
// finish), kills the timer, destroys the window and deletes both fonts. What could not be
// deleted is shown in a message box. Only the main window calls this, never the window itself.
void dispose_compression_window(CompressWindow& window);

// The procedure of the window class Ondrel.Compress.
LRESULT CALLBACK compress_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);

// Places, shows and hides the controls and fits the window around them.
void layout_compression_window(CompressWindow& window);

// Rewrites every text, caption and enabled state that follows the record, and the log box.
void refresh_compression_window(CompressWindow& window);

// Sets TIMER_COMPRESS_POLL while there is something to wait for (the probe or the detection, a
// job, an output name being looked for) and kills it otherwise: a window left open with
// nothing going on wakes nobody.
void poll_while_needed(CompressWindow& window);

// Takes the output name looked for since the last change of choices, if it is in; true when
// the record changed.
bool take_output_name_answer(CompressWindow& window);

// Lets the user pick the output folder.
void browse_output_folder(CompressWindow& window);

// Shows the output file selected in Explorer.
void open_output_folder(const CompressWindow& window);

// The message loop's first step: the compression window's keyboard input (Tab, arrows in
// radio groups, Escape) goes through IsDialogMessageW. True when the message was used.
bool compression_dialog_message(const AppState& state, MSG& message);

// What happens around a finished job outside the window (the player's on-screen message).
void announce_finished_job(AppState& state, const CompressWindow& window);

// The two shell calls the window makes, replaceable so tests can record them instead of
// opening a modal folder browser or Explorer.
struct CompressShellCalls {
    PIDLIST_ABSOLUTE(WINAPI* browse_for_folder)(LPBROWSEINFOW info);
    HINSTANCE(WINAPI* shell_execute)
    (HWND owner, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, INT show);
};
CompressShellCalls& compress_shell_calls();

} // namespace ondrel
