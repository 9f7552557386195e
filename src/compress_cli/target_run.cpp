#include "compress_cli/target_run.hpp"

#include "compress_cli/console.hpp"
#include "compress_cli/json_lines.hpp"
#include "compress_cli/work_folder.hpp"
#include "i18n/formatters.hpp"
#include "i18n/texts_compression.hpp"
#include "i18n/texts_compression_target.hpp"
#include "platform/files.hpp"
#include "video_compress/compress_settings.hpp"
#include "video_compress/ffmpeg_args.hpp"
#include "video_compress/job.hpp"
#include "video_compress/job_worker.hpp"
#include "video_compress/output_path.hpp"
#include "video_compress/target_size.hpp"

#include <algorithm>
#include <system_error>

namespace ondrel {
namespace {

// The encode's choices once the target is known to be reachable.
struct TargetEncode {
    CompressOptions options; // audio switched to AAC when the copy's size is unknown
    std::string encoder;
    TargetPlan plan;
};

// The user's whole choice at the suggested resolution, to be given to --options as it is. The
// output folder is left out: --output-dir or dir= stays where the user wrote it.
std::string suggested_settings(CompressOptions options, std::uint8_t resolution) {
    options.resolution = resolution;
    options.output_dir.reset();
    std::string text = format_compress_settings(options);
    const std::string_view no_folder = "|dir=";
    if (text.ends_with(no_folder)) {
        text.resize(text.size() - no_folder.size());
    }
    return text;
}

std::string refusal_text(const TargetPlan& plan, const MediaInfo& media,
                         const CompressOptions& options) {
    const std::string target = format_size(plan.target_bytes);
    switch (plan.refusal) {
    case TargetRefusal::UnknownDuration:
        return std::string(tr(texts::cli_target_unknown_duration));
    case TargetRefusal::NotSmaller:
        return fill(tr(texts::cli_target_not_smaller), {target, format_size(media.size)});
    case TargetRefusal::AudioTooLarge: {
        const double audio =
            static_cast<double>(plan_audio(options, media).bits_per_second) / 8 * media.duration;
        return fill(tr(texts::cli_target_audio_too_large),
                    {format_size(static_cast<std::uint64_t>(audio)), target});
    }
    case TargetRefusal::BelowFloor:
    case TargetRefusal::None:
        break;
    }
    std::string text = fill(tr(texts::cli_target_below_floor),
                            {target, std::to_string(plan.video_kbps),
                             std::to_string(output_height(options, media.width, media.height)),
                             std::to_string(plan.floor_kbps)});
    if (plan.suggested_resolution) {
        text += "\n" + indent +
                fill(tr(texts::cli_target_suggestion),
                     {std::to_string(plan.suggested_height),
                      suggested_settings(options, *plan.suggested_resolution)});
    }
    return text;
}

// The plan of the file's encode; nothing, with the reason shown, when the target is out of
// reach. The reason is preceded by the file's name unless that is shown already.
std::optional<TargetEncode> plan_encode(Report& report, const CliRequest& request,
                                        const MediaInfo& media, const EncoderSupport& encoders,
                                        bool name_shown) {
    TargetEncode encode{
        request.options,
        choose_encoder(request.options.codec, request.options.encoder, encoders.encoders),
        {}};
    const AudioPlan audio = plan_audio(encode.options, media);
    if (audio.aac_instead_of_copy) {
        encode.options.audio = AudioMode::Aac;
        complain(indent + fill(tr(texts::cli_copy_audio_unknown),
                               {std::to_string(std::clamp(encode.options.aac_kbps, aac_kbps_min,
                                                          aac_kbps_max))}));
    }
    encode.plan = plan_target(*request.target_size, encode.options, media, encode.encoder);
    if (encode.plan.refusal != TargetRefusal::None) {
        if (!name_shown) {
            complain(path_text(media.path));
        }
        fail(report, refusal_text(encode.plan, media, encode.options));
        return std::nullopt;
    }
    return encode;
}

struct PassRunner {
    Report& report;
    const std::filesystem::path& ffmpeg;
    const std::filesystem::path& ffprobe;
    const std::filesystem::path& output;
    double duration;
};

FileResult run_pass(const PassRunner& runner, std::vector<std::string> arguments,
                    ResultFile result_file, int number, int count) {
    if (interrupt_requested()) {
        return FileResult::Interrupted;
    }
    say(runner.report,
        indent + fill(tr(texts::cli_pass_line), {std::to_string(number), std::to_string(count)}));
    emit(runner.report, json_pass_line(number, count));
    const JobLaunch launch{runner.ffmpeg,   runner.ffprobe, std::move(arguments), runner.output,
                           runner.duration, job_poll,       result_file};
    Result<CompressJob> job = launch_job(launch);
    if (!job) {
        fail(runner.report, job.error());
        return FileResult::Failed;
    }
    return follow_job(runner.report, job.value(), runner.output, runner.duration);
}

// The passes, then the encode again at a lower rate while the result is over the target.
FileResult encode_passes(const PassRunner& runner, const TargetEncode& encode,
                         const MediaInfo& media, const EncoderSupport& encoders,
                         const std::filesystem::path& pass_log) {
    const std::filesystem::path partial = partial_output_path(runner.output);
    std::uint32_t kbps = encode.plan.video_kbps;
    const auto arguments = [&] {
        return target_size_arguments(encode.options, media, encode.encoder, encoders.hwaccel_auto,
                                     kbps, pass_log, partial);
    };
    std::vector<std::vector<std::string>> passes = arguments();
    const int count = static_cast<int>(passes.size());
    if (count == 2) {
        const FileResult first = run_pass(runner, passes.front(), ResultFile::None, 1, count);
        if (first != FileResult::Done) {
            return first;
        }
    }
    for (int retry = 0;; ++retry) {
        const FileResult last =
            run_pass(runner, passes.back(), ResultFile::CheckOnly, count, count);
        if (last != FileResult::Done) {
            return last;
        }
        std::error_code error;
        const std::uint64_t size = std::filesystem::file_size(partial, error);
        if (error) {
            fail(runner.report, error.message());
            return FileResult::Failed;
        }
        if (size <= encode.plan.target_bytes) {
            const Status named = give_final_name(partial, runner.output);
            if (!named) {
                fail(runner.report, named.error());
                return FileResult::Failed;
            }
            return FileResult::Done;
        }
        // Too large: it never takes the output's name.
        std::filesystem::remove(partial, error);
        if (retry == target_retries) {
            fail(runner.report, fill(tr(texts::cli_target_missed),
                                     {std::to_string(target_retries), format_size(size)}));
            return FileResult::Failed;
        }
        kbps = retry_kbps(kbps, size, encode.plan.target_bytes, encode.plan.fixed_bytes);
        say(runner.report,
            indent + fill(tr(texts::cli_retry_line), {format_size(size), std::to_string(kbps)}));
        emit(runner.report, json_retry_line("over_target", size, kbps));
        passes = arguments();
    }
}

} // namespace

FileResult print_target_arguments(Report& report, const CliRequest& request, const MediaInfo& media,
                                  const EncoderSupport& encoders, bool& printed_before) {
    const std::optional<TargetEncode> encode = plan_encode(report, request, media, encoders, false);
    if (!encode) {
        return FileResult::Unreachable;
    }
    const Result<std::filesystem::path> output = output_path_for(media, encode->options);
    if (!output) {
        complain(path_text(media.path));
        fail(report, output.error());
        return FileResult::Failed;
    }
    std::string lines;
    for (const auto& pass :
         target_size_arguments(encode->options, media, encode->encoder, encoders.hwaccel_auto,
                               encode->plan.video_kbps, temporary_folder() / "ondrel-compress-pass",
                               output.value())) {
        lines += printed_before ? "\n" : "";
        printed_before = true;
        for (const std::string& argument : pass) {
            lines += argument + "\n";
        }
    }
    show(report, lines);
    return FileResult::Done;
}

FileResult compress_to_target(Report& report, const CliRequest& request,
                              const std::filesystem::path& ffmpeg,
                              const std::filesystem::path& ffprobe, const MediaInfo& media,
                              const EncoderSupport& encoders, std::filesystem::path& output_path) {
    const std::optional<TargetEncode> encode = plan_encode(report, request, media, encoders, true);
    if (!encode) {
        return FileResult::Unreachable;
    }
    say(report,
        indent + fill(tr(texts::cli_target_line), {format_size(encode->plan.target_bytes),
                                                   std::to_string(encode->plan.video_kbps)}));
    const Result<std::filesystem::path> reserved =
        reserve_output(media, encode->options, output_path);
    if (!reserved) {
        fail(report, reserved.error());
        return FileResult::Failed;
    }
    // The first pass's statistics go into a folder of the job's own.
    WorkFolder pass_logs;
    if (const Status made = make_work_folder("ondrel-compress-", pass_logs); !made) {
        (void)remove_output_files(output_path);
        fail(report, made.error());
        return FileResult::Failed;
    }
    say(report, indent + fill(tr(texts::cli_output_line), {path_text(output_path)}));
    emit(report, json_start_line(media.path, output_path, media.duration));
    const PassRunner runner{report, ffmpeg, ffprobe, output_path, media.duration};
    const FileResult result =
        encode_passes(runner, *encode, media, encoders, pass_logs.path / "pass");
    if (result != FileResult::Done) {
        // Whatever way the passes ended, neither the reservation nor a partial file stays.
        if (const Status removed = remove_output_files(output_path); !removed) {
            complain(indent + removed.error());
        }
    }
    return result;
}

} // namespace ondrel
