#include "compress_cli/cli_run.hpp"

#include "compress_cli/cli_arguments.hpp"
#include "compress_cli/cli_report.hpp"
#include "compress_cli/console.hpp"
#include "compress_cli/estimate_run.hpp"
#include "compress_cli/json_lines.hpp"
#include "compress_cli/summary_table.hpp"
#include "compress_cli/target_run.hpp"
#include "i18n/formatters.hpp"
#include "i18n/texts_compression.hpp"
#include "video_compress/detect_encoders.hpp"
#include "video_compress/estimate.hpp"
#include "video_compress/ffmpeg_args.hpp"
#include "video_compress/job.hpp"
#include "video_compress/output_path.hpp"
#include "video_compress/probe.hpp"
#include "video_compress/summary_text.hpp"
#include "video_compress/tools.hpp"

#include <chrono>
#include <system_error>

namespace ondrel {
namespace {

using namespace std::chrono_literals;

// How often a wait looks at the Ctrl+C flag.
constexpr auto interrupt_poll = 100ms;

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
    if (request.target_size) {
        return print_target_arguments(report, request, media, encoders, printed_before);
    }
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
    // With a target size the quality-based guess would contradict the target line that follows.
    const std::optional<std::uint64_t> guess =
        request.target_size ? std::nullopt : size_estimate(media, request.options);
    say(report, indent + encoder_line(encoder, guess));
}

FileResult compress_file(Report& report, const CliRequest& request, const Tools& tools,
                         const MediaInfo& media, const EncoderSupport& encoders,
                         FileSummary& summary) {
    const auto started = std::chrono::steady_clock::now();
    print_analysis(report, request, media, encoders);
    std::filesystem::path output_path;
    FileResult result = FileResult::Failed;
    if (request.target_size) {
        result = compress_to_target(report, request, tools.ffmpeg, tools.ffprobe, media, encoders,
                                    output_path);
    } else {
        JobStart start =
            start_job(request.options, media, encoders, tools.ffmpeg, tools.ffprobe, job_poll);
        if (!start.job) {
            fail(report, start.job.error());
            return FileResult::Failed;
        }
        output_path = start.output_path;
        say(report, indent + fill(tr(texts::cli_output_line), {path_text(output_path)}));
        emit(report, json_start_line(media.path, output_path, media.duration));
        result = follow_job(report, start.job.value(), output_path, media.duration);
    }
    if (result == FileResult::Done) {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(output_path, error);
        summary.output = output_path;
        summary.size_after = error ? std::nullopt : std::optional<std::uint64_t>(size);
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - started;
        emit(report, json_done_line(output_path, summary.size_after, seconds.count()));
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
    // Files that failed for another reason than an unreachable target size.
    std::size_t other_failures = 0;
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
            ++other_failures;
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
        if (result == FileResult::Failed || result == FileResult::Unreachable) {
            const bool unreachable = result == FileResult::Unreachable;
            other_failures += unreachable ? 0 : 1;
            emit(report,
                 json_error_line(report.failure,
                                 unreachable ? exit_target_unreachable : exit_some_failed, given));
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
    if (done == request.files.size()) {
        return exit_all_done;
    }
    return other_failures == 0 ? exit_target_unreachable : exit_some_failed;
}

} // namespace ondrel
