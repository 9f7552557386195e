#include "compress_ui/compress_poll_win32.hpp"

#include "compress_ui/compress_window_texts.hpp"
#include "i18n/texts_compress_window.hpp"
#include "platform/win32/wide.hpp"
#include "ui/app_state_win32.hpp"
#include "ui/shell_actions_win32.hpp"
#include "video_compress/outcome_text.hpp"

#include <type_traits>

namespace ondrel {
namespace {

void fill_audio_stream_combo(const CompressWindow& record, const MediaInfo& media) {
    const HWND combo = record.control(Control::AudioStreamCombo);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : audio_stream_items(media.audio_streams)) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
    }
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

// True when anything arrived.
bool drain_analysis(CompressWindow& record) {
    bool arrived = false;
    while (record.analysis_rx) {
        Received<CompressMessage> received = try_receive(*record.analysis_rx);
        if (received.status == ReceiveStatus::Empty) {
            break;
        }
        if (received.status == ReceiveStatus::Disconnected) {
            record.analysis_rx.reset();
            break;
        }
        arrived = true;
        CompressMessage& message = *received.message;
        if (auto* encoders = std::get_if<message::Encoders>(&message)) {
            record.encoders = std::move(encoders->support);
        } else if (auto* info = std::get_if<message::Info>(&message)) {
            fill_audio_stream_combo(record, info->media);
            record.options.audio_stream.reset();
            record.media_info = std::move(info->media);
        } else if (auto* error = std::get_if<message::ProbeError>(&message)) {
            record.probe_error = std::move(error->text);
        }
    }
    return arrived;
}

struct JobNews {
    bool progress_or_log = false;
    bool first_log_line = false;
    std::optional<JobResult> ended;
};

JobNews drain_job(CompressWindow& record) {
    JobNews news;
    while (record.job && !news.ended) {
        Received<CompressMessage> received = try_receive(record.job->messages);
        if (received.status == ReceiveStatus::Empty) {
            break;
        }
        if (received.status == ReceiveStatus::Disconnected) {
            // The worker always ends with Finished; without it the job cannot be followed.
            news.ended = JobResult{false, std::string(tr(texts::job_ended_without_outcome))};
            break;
        }
        CompressMessage& message = *received.message;
        if (auto* progress = std::get_if<message::Progress>(&message)) {
            record.progress = JobProgress{progress->percent, progress->speed, progress->fps,
                                          std::move(progress->bitrate)};
            news.progress_or_log = true;
        } else if (auto* log = std::get_if<message::Log>(&message)) {
            news.first_log_line = news.first_log_line || record.log_lines.empty();
            append_log_line(record.log_lines, std::move(log->line));
            record.log_dirty = true;
            news.progress_or_log = true;
        } else if (auto* finished = std::get_if<message::Finished>(&message)) {
            // A canceled job leaves its partial output for the receiver to delete.
            news.ended = JobResult{outcome_succeeded(finished->outcome),
                                   conclude_job(finished->outcome, record.output_path)};
        }
    }
    return news;
}

void end_job(AppState& state, CompressWindow& record, JobResult result) {
    record.last_result = std::move(result);
    record.job.reset();
    // The folder has changed: the next name is looked for again.
    forget_output_name(record.output_name);
    layout_compression_window(record);
    refresh_compression_window(record);
    InvalidateRect(state.control_bar, nullptr, FALSE);
    announce_finished_job(state, record);
    layout_children(state); // the bar no longer makes room for the progress text
}

} // namespace

void poll_workers(CompressWindow& record) {
    AppState& state = *app();
    const bool analysis_news = drain_analysis(record);
    const bool output_name_news = take_output_name_answer(record);
    JobNews job_news = drain_job(record);
    if (job_news.ended) {
        end_job(state, record, std::move(*job_news.ended));
    } else if (analysis_news || job_news.first_log_line) {
        layout_compression_window(record);
        refresh_compression_window(record);
    } else if (job_news.progress_or_log || output_name_news) {
        refresh_compression_window(record);
    }
    // The bar's progress text follows the job, shown window or hidden (end_job repaints it
    // for the end).
    if (job_news.progress_or_log) {
        InvalidateRect(state.control_bar, nullptr, FALSE);
    }
    poll_while_needed(record);
}

void poll_while_needed(CompressWindow& record) {
    const bool needed = record.analysis_rx || record.job || output_name_pending(record.output_name);
    if (needed == record.polling || record.window == nullptr) {
        return;
    }
    if (needed) {
        record.polling =
            SetTimer(record.window, TIMER_COMPRESS_POLL, TIMER_COMPRESS_POLL_MS, nullptr) != 0;
    } else {
        KillTimer(record.window, TIMER_COMPRESS_POLL);
        record.polling = false;
    }
}

void start_compression(CompressWindow& record) {
    if (!record.media_info) {
        return;
    }
    record.log_lines.clear();
    record.log_dirty = true;
    record.progress = JobProgress{};
    record.last_result.reset();
    JobStart start = start_job(record.options, *record.media_info, record.encoders,
                               record.ffmpeg_path, record.ffprobe_path);
    record.output_path = start.output_path;
    forget_output_name(record.output_name);
    if (start.job) {
        record.job.emplace(std::move(start.job.value()));
        record.settings_dirty = true;
    } else {
        record.last_result = JobResult{false, start.job.error()};
    }
    layout_compression_window(record);
    refresh_compression_window(record);
}

} // namespace ondrel
