#include "compress_cli/cli_run.hpp"

#include "compress_cli/cli_arguments.hpp"
#include "compress_cli/console.hpp"
#include "compress_cli/estimate_run.hpp"
#include "compress_cli/json_lines.hpp"
#include "compress_cli/progress_display.hpp"
#include "compress_cli/summary_table.hpp"
#include "i18n/formatters.hpp"
#include "i18n/texts_compression.hpp"
#include "video_compress/detect_encoders.hpp"
#include "video_compress/estimate.hpp"
#include "video_compress/ffmpeg_args.hpp"
#include "video_compress/job.hpp"
#include "video_compress/outcome_text.hpp"
#include "video_compress/output_path.hpp"
#include "video_compress/probe.hpp"
#include "video_compress/summary_text.hpp"
#include "video_compress/tools.hpp"

#include <chrono>
#include <deque>
#include <system_error>

namespace ondrel {
namespace {

using namespace std::chrono_literals;

// How often a wait looks at the Ctrl+C flag.
constexpr auto interrupt_poll = 100ms;
// The command line has nothing else to do while ffmpeg ends: it looks every 10 ms, so that a
// short encode does not wait up to a tenth of a second for its result.
constexpr auto job_poll = 10ms;
// ffmpeg's last lines, shown when an encode fails.
constexpr std::size_t kept_log_lines = 20;
const std::string indent = "  ";

// Where the run's text goes. With --progress ndjson, standard output carries only the JSON
// lines and every text for people goes to standard error.
struct Report {
    bool ndjson = false;
    // The last failure shown, which the file's JSON error line repeats.
    std::string failure;
};

// Text for people that is not a failure.
void show(const Report& report, std::string_view text) {
    if (report.ndjson) {
        write_standard_error(text);
    } else {
        write_standard_output(text);
    }
}
void say(const Report& report, std::string_view text) {
    show(report, std::string(text) + "\n");
}
void complain(std::string_view text) {
    write_standard_error(std::string(text) + "\n");
}
// A failure of the current file, shown indented and kept for its JSON error line.
void fail(Report& report, std::string_view text) {
    report.failure = std::string(text);
    complain(indent + report.failure);
}
// A JSON line, written at once so that a reader sees each event as it happens.
void emit(const Report& report, std::string_view line) {
    if (report.ndjson) {
        write_standard_output(line);
    }
}

struct Tools {
    std::filesystem::path ffmpeg;
    std::filesystem::path ffprobe;
};

// Encoder detection, started once and shared by every file: the test encodes and the
// hardware-decoding listing run side by side, each in a worker of its own, and report on one
// channel.
struct Detection {
    std::optional<CompressReceiver> receiver;
    int pending = 0; // workers that have not reported yet
    EncoderSupport result;
};

// Only what the command line depends on is found out: the working hardware encoders for
// the automatic choice, "-hwaccel auto" for hardware decoding. Everything for --encoders.
DetectionScope detection_scope(const CliRequest& request) {
    return DetectionScope{request.list_encoders ||
                              request.options.encoder == EncoderFamily::Automatic,
                          request.list_encoders || request.options.hw_decode};
}

// Waits for the next message, looking at the Ctrl+C flag in between. Nothing when
// interrupted or when every sender is gone.
std::optional<CompressMessage> next_message(CompressReceiver& receiver) {
    while (!interrupt_requested()) {
        Received<CompressMessage> received = receive_for(receiver, interrupt_poll);
        if (received.status == ReceiveStatus::Received) {
            return std::move(received.message);
        }
        if (received.status == ReceiveStatus::Disconnected) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// The detection result; nothing when interrupted.
std::optional<EncoderSupport> wait_for_detection(Detection& detection) {
    while (detection.pending > 0 && detection.receiver) {
        std::optional<CompressMessage> message = next_message(*detection.receiver);
        if (!message) {
            if (interrupt_requested()) {
                return std::nullopt;
            }
            break; // the workers ended without a word: nothing more is found
        }
        if (auto* encoders = std::get_if<message::Encoders>(&*message)) {
            // Each worker finds out only its part; the other part stays "not found".
            EncoderSupport& found = encoders->support;
            detection.result.encoders.insert(detection.result.encoders.end(),
                                             found.encoders.begin(), found.encoders.end());
            detection.result.hwaccel_auto = detection.result.hwaccel_auto || found.hwaccel_auto;
            --detection.pending;
        }
    }
    detection.pending = 0;
    detection.receiver.reset();
    return detection.result;
}

enum class FileResult { Done, Failed, Interrupted };

// Probes one file; the failure text is already shown when it fails.
std::optional<MediaInfo> analyse(Report& report, const Tools& tools,
                                 const std::filesystem::path& file, bool& interrupted) {
    auto [sender, receiver] = make_channel<CompressMessage>();
    start_probe(tools.ffprobe, file, std::move(sender));
    for (;;) {
        std::optional<CompressMessage> message = next_message(receiver);
        if (!message) {
            interrupted = interrupt_requested();
            if (!interrupted) {
                report.failure = fill(tr(texts::cli_cannot_analyze), {path_text(file)});
                complain(report.failure);
            }
            return std::nullopt;
        }
        if (auto* info = std::get_if<message::Info>(&*message)) {
            return std::move(info->media);
        }
        if (auto* error = std::get_if<message::ProbeError>(&*message)) {
            complain(path_text(file));
            fail(report, fill(tr(texts::cli_cannot_analyze), {error->text}));
            return std::nullopt;
        }
    }
}

// One argument per line; the lists of two files are parted by an empty line.
FileResult print_arguments(Report& report, const CliRequest& request, const MediaInfo& media,
                           const EncoderSupport& encoders, bool& printed_before) {
    const Result<std::filesystem::path> output = output_path_for(media, request.options);
    if (!output) {
        complain(path_text(media.path));
        fail(report, output.error());
        return FileResult::Failed;
    }
    std::string lines = printed_before ? "\n" : "";
    printed_before = true;
    for (const std::string& argument : build_ffmpeg_args(request.options, media, encoders.encoders,
                                                         encoders.hwaccel_auto, output.value())) {
        lines += argument + "\n";
    }
    show(report, lines);
    return FileResult::Done;
}

void print_analysis(const Report& report, const CliRequest& request, const MediaInfo& media,
                    const EncoderSupport& encoders) {
    say(report, path_text(media.path));
    say(report, indent + info_line(media));
    if (const std::string audio = audio_tracks_line(media); !audio.empty()) {
        say(report, indent + audio);
    }
    const std::string encoder =
        choose_encoder(request.options.codec, request.options.encoder, encoders.encoders);
    say(report, indent + encoder_line(encoder, size_estimate(media, request.options)));
}

// The end of a job that the user (or the system) interrupted. An encode that had ended by
// itself and passed its check keeps its file; anything else leaves neither the output nor
// its partial file (ffmpeg may have seen the interrupt too and ended early on its own).
FileResult conclude_interrupted(const Report& report, const JobOutcome& outcome,
                                const std::filesystem::path& output_path) {
    if (outcome_succeeded(outcome)) {
        say(report, indent + outcome_text(outcome));
        return FileResult::Interrupted;
    }
    const Status removed = remove_output_files(output_path);
    if (std::holds_alternative<outcome::Error>(outcome)) {
        complain(indent + outcome_text(outcome)); // ffmpeg could not be stopped
    } else {
        say(report, indent + outcome_text(outcome::Canceled{}));
    }
    if (!removed) {
        complain(indent + removed.error());
    }
    return FileResult::Interrupted;
}

// Follows a started job to its end and shows how it ended.
FileResult follow_job(Report& report, CompressJob& job, const std::filesystem::path& output_path,
                      double duration) {
    const auto started = std::chrono::steady_clock::now();
    ProgressDisplay display;
    display.live = report.ndjson ? standard_error_is_terminal() : standard_output_is_terminal();
    std::deque<std::string> last_lines;
    bool cancel_sent = false;
    for (;;) {
        if (interrupt_requested() && !cancel_sent) {
            // A cancel that fails comes back as the job's Error outcome, shown below; one that
            // finds ffmpeg ended already lets the job's own outcome come.
            (void)cancel_job(job);
            cancel_sent = true;
        }
        Received<CompressMessage> received = receive_for(job.messages, interrupt_poll);
        if (received.status == ReceiveStatus::Empty) {
            continue;
        }
        if (received.status == ReceiveStatus::Disconnected) {
            show(report, progress_finish(display));
            fail(report, tr(texts::cli_ended_without_outcome));
            if (interrupt_requested()) {
                (void)remove_output_files(output_path);
                return FileResult::Interrupted;
            }
            return FileResult::Failed;
        }
        CompressMessage& message = *received.message;
        if (const auto* progress = std::get_if<message::Progress>(&message)) {
            const std::chrono::duration<double> elapsed =
                std::chrono::steady_clock::now() - started;
            show(report, progress_update(display, *progress, elapsed.count(), indent));
            emit(report, json_progress_line(*progress, duration));
        } else if (auto* log = std::get_if<message::Log>(&message)) {
            if (last_lines.size() == kept_log_lines) {
                last_lines.pop_front();
            }
            last_lines.push_back(std::move(log->line));
        } else if (const auto* finished = std::get_if<message::Finished>(&message)) {
            show(report, progress_finish(display));
            if (interrupt_requested()) {
                return conclude_interrupted(report, finished->outcome, output_path);
            }
            const std::string text = conclude_job(finished->outcome, output_path);
            if (outcome_succeeded(finished->outcome)) {
                say(report, indent + text);
                return FileResult::Done;
            }
            std::string details;
            for (const std::string& line : last_lines) {
                details += indent + indent + line + "\n";
            }
            write_standard_error(details);
            fail(report, text);
            return FileResult::Failed;
        }
    }
}

FileResult compress_file(Report& report, const CliRequest& request, const Tools& tools,
                         const MediaInfo& media, const EncoderSupport& encoders,
                         FileSummary& summary) {
    const auto started = std::chrono::steady_clock::now();
    print_analysis(report, request, media, encoders);
    JobStart start =
        start_job(request.options, media, encoders, tools.ffmpeg, tools.ffprobe, job_poll);
    if (!start.job) {
        fail(report, start.job.error());
        return FileResult::Failed;
    }
    say(report, indent + fill(tr(texts::cli_output_line), {path_text(start.output_path)}));
    emit(report, json_start_line(media.path, start.output_path, media.duration));
    const FileResult result =
        follow_job(report, start.job.value(), start.output_path, media.duration);
    if (result == FileResult::Done) {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(start.output_path, error);
        summary.output = start.output_path;
        summary.size_after = error ? std::nullopt : std::optional<std::uint64_t>(size);
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - started;
        emit(report, json_done_line(start.output_path, summary.size_after, seconds.count()));
    }
    return result;
}

FileResult estimate(Report& report, const CliRequest& request, const Tools& tools,
                    const std::filesystem::path& given, const MediaInfo& media,
                    const EncoderSupport& encoders) {
    const EstimateRun run =
        estimate_file(request, tools.ffmpeg, tools.ffprobe, given, media, encoders);
    report.failure = run.failure;
    return run.status == EstimateStatus::Done     ? FileResult::Done
           : run.status == EstimateStatus::Failed ? FileResult::Failed
                                                  : FileResult::Interrupted;
}

void print_encoders(const Report& report, const EncoderSupport& support) {
    say(report, tr(texts::cli_encoders_heading));
    if (support.encoders.empty()) {
        say(report, tr(texts::cli_no_hardware_encoder));
    }
    for (const std::string& name : support.encoders) {
        say(report, indent + name);
    }
    say(report,
        tr(support.hwaccel_auto ? texts::cli_hwaccel_available : texts::cli_hwaccel_unavailable));
}

std::filesystem::path absolute_or_as_given(const std::filesystem::path& file) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(file, error);
    return error ? file : absolute;
}

} // namespace

int run_cli(const std::vector<std::filesystem::path>& arguments) {
    const std::optional<Language> language = requested_language(arguments);
    if (language) {
        store_language(*language);
    } else {
        choose_language_at_startup("");
    }
    Result<CliRequest> parsed = parse_cli_arguments(arguments);
    if (!parsed) {
        write_standard_error(parsed.error() + "\n\n" + std::string(tr(texts::cli_usage)));
        if (json_progress_requested(arguments)) {
            write_standard_output(json_error_line(parsed.error(), exit_usage, std::nullopt));
        }
        return exit_usage;
    }
    CliRequest& request = parsed.value();
    if (request.help) {
        write_standard_output(tr(texts::cli_usage));
        return exit_all_done;
    }
    Report report;
    report.ndjson = request.progress == ProgressFormat::Ndjson;
    // A failure that ends the whole run: its JSON line carries the exit status to come.
    const auto end_run = [&report](std::string_view text, int status) {
        emit(report, json_error_line(text, status, std::nullopt));
        return status;
    };
    const auto interrupted_run = [&end_run] {
        return end_run(tr(texts::cli_interrupted), exit_interrupted);
    };
    if (request.output_dir) {
        std::error_code error;
        if (!std::filesystem::is_directory(*request.output_dir, error)) {
            const std::string text =
                fill(tr(texts::cli_output_dir_missing), {path_text(*request.output_dir)});
            write_standard_error(text + "\n\n" + std::string(tr(texts::cli_usage)));
            return end_run(text, exit_usage);
        }
    }

    Tools tools;
    for (const auto& [name, path] :
         {std::pair<std::string, std::filesystem::path*>{"ffmpeg", &tools.ffmpeg},
          {"ffprobe", &tools.ffprobe}}) {
        const std::optional<std::filesystem::path> found = find_tool(name);
        if (!found) {
            complain(missing_tool_text(name));
            return end_run(missing_tool_text(name), exit_some_failed);
        }
        *path = *found;
    }

    watch_for_interrupt();
    // The detection runs while the first file is probed.
    Detection detection;
    const DetectionScope scope = detection_scope(request);
    if (scope.test_encodes || scope.hwaccel_listing) {
        auto [sender, receiver] = make_channel<CompressMessage>();
        if (scope.test_encodes) {
            start_encoder_detection(tools.ffmpeg, sender, DetectionScope{true, false});
            ++detection.pending;
        }
        if (scope.hwaccel_listing) {
            start_encoder_detection(tools.ffmpeg, sender, DetectionScope{false, true});
            ++detection.pending;
        }
        detection.receiver = std::move(receiver);
    }
    if (request.list_encoders) {
        const std::optional<EncoderSupport> support = wait_for_detection(detection);
        if (!support) {
            return interrupted_run();
        }
        print_encoders(report, *support);
        return exit_all_done;
    }

    std::size_t done = 0;
    bool printed_arguments = false;
    std::vector<FileSummary> summaries;
    for (const std::filesystem::path& given : request.files) {
        const auto started = std::chrono::steady_clock::now();
        FileSummary& summary = summaries.emplace_back();
        summary.input = given;
        report.failure.clear();
        bool interrupted = false;
        const std::optional<MediaInfo> media =
            analyse(report, tools, absolute_or_as_given(given), interrupted);
        if (interrupted) {
            return interrupted_run();
        }
        if (!media) {
            summary.outcome = FileOutcome::NotAnalysed;
            emit(report, json_error_line(report.failure, exit_some_failed, given));
            continue;
        }
        if (media->size > 0) {
            summary.size_before = media->size;
        }
        const std::optional<EncoderSupport> encoders = wait_for_detection(detection);
        if (!encoders) {
            return interrupted_run();
        }
        const FileResult result =
            request.dry_run ? print_arguments(report, request, *media, *encoders, printed_arguments)
            : request.estimate ? estimate(report, request, tools, given, *media, *encoders)
                               : compress_file(report, request, tools, *media, *encoders, summary);
        if (result == FileResult::Interrupted) {
            return interrupted_run();
        }
        if (result == FileResult::Failed) {
            emit(report, json_error_line(report.failure, exit_some_failed, given));
        }
        done += result == FileResult::Done ? 1 : 0;
        summary.outcome = result == FileResult::Done ? FileOutcome::Done : FileOutcome::Failed;
        summary.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    }
    // Detection may still run when no file could be analysed; let it end before leaving.
    if (!wait_for_detection(detection)) {
        return interrupted_run();
    }
    if (!request.dry_run && !request.estimate && request.files.size() > 1) {
        say(report, fill(tr(texts::cli_summary),
                         {std::to_string(done), std::to_string(request.files.size())}));
        write_standard_error("\n" + summary_table(summaries));
    }
    return done == request.files.size() ? exit_all_done : exit_some_failed;
}

} // namespace ondrel
