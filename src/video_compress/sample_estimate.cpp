#include "video_compress/sample_estimate.hpp"

#include "platform/numbers.hpp"
#include "video_compress/ffmpeg_args.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ondrel {
namespace {

// AAC carries 1024 samples a packet, at 48 kHz about 47 packets a second; other audio codecs
// are close enough for an index of a few bytes a packet.
constexpr double audio_packets_per_stream_second = 47;
// A video whose frame rate ffprobe does not give is counted at this rate.
constexpr double assumed_fps = 30;

std::uint64_t to_bytes(double value) {
    if (!(value > 0)) {
        return 0;
    }
    if (value >= static_cast<double>(std::numeric_limits<std::uint64_t>::max())) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return static_cast<std::uint64_t>(std::llround(value));
}

// "192k" from the audio arguments as bits a second; 0 for anything else.
double kilobits(const std::string& value) {
    if (value.size() < 2 || value.back() != 'k') {
        return 0;
    }
    const auto digits = parse_digits(value.substr(0, value.size() - 1));
    return digits ? static_cast<double>(*digits) * 1000.0 : 0;
}

} // namespace

SamplePlan plan_samples(double duration) {
    SamplePlan plan;
    if (!(duration > 0)) {
        return plan;
    }
    const auto wanted = static_cast<std::size_t>(std::llround(duration / seconds_per_sample));
    const std::size_t count = std::clamp(wanted, fewest_samples, most_samples);
    const double covered = static_cast<double>(count) * sample_seconds;
    if (covered > whole_file_share * duration) {
        plan.whole_file = true;
        plan.samples.push_back({0, duration});
        return plan;
    }
    // Each piece sits in the middle of its own equal share of the video.
    for (std::size_t i = 0; i < count; ++i) {
        const double middle =
            (static_cast<double>(i) + 0.5) * duration / static_cast<double>(count);
        const double start =
            std::clamp(middle - sample_seconds / 2, 0.0, duration - sample_seconds);
        plan.samples.push_back({start, sample_seconds});
    }
    return plan;
}

AddedBytes added_bytes(const CompressOptions& options, const MediaInfo& source) {
    AddedBytes added;
    added.video_frames_per_second = source.fps > 0 ? source.fps : assumed_fps;
    if (options.audio == AudioMode::None) {
        return added;
    }
    // The streams the encode maps: the chosen one, else every one.
    std::vector<AudioStream> streams = source.audio_streams;
    if (options.audio_stream && *options.audio_stream < source.audio_streams.size()) {
        streams = {source.audio_streams[*options.audio_stream]};
    }
    // The same rule as the encode's own arguments: a copy may become AAC for MP4.
    const std::vector<std::string> arguments = audio_arguments(options, source);
    const auto rate = std::find(arguments.begin(), arguments.end(), "-b:a");
    const double aac_bits =
        rate != arguments.end() && rate + 1 != arguments.end() ? kilobits(*(rate + 1)) : 0;
    for (const AudioStream& stream : streams) {
        const double bits = aac_bits > 0 ? aac_bits : static_cast<double>(stream.bit_rate);
        added.audio_bytes_per_second += bits / 8.0;
        added.audio_packets_per_second += audio_packets_per_stream_second;
    }
    return added;
}

double container_bytes(double packets_per_second, double seconds) {
    return container_header_bytes + container_bytes_per_packet * packets_per_second * seconds;
}

std::optional<SizeRange> extrapolate_size(const std::vector<SampleResult>& samples, double duration,
                                          const AddedBytes& added) {
    if (!(duration > 0)) {
        return std::nullopt;
    }
    // Each piece's video bytes a second, its own container bytes taken off.
    std::vector<double> rates;
    double video_bytes = 0;
    double seconds = 0;
    for (const SampleResult& sample : samples) {
        if (!(sample.seconds > 0)) {
            continue;
        }
        const double own = container_bytes(added.video_frames_per_second, sample.seconds);
        const double bytes = std::max(0.0, static_cast<double>(sample.bytes) - own);
        rates.push_back(bytes / sample.seconds);
        video_bytes += bytes;
        seconds += sample.seconds;
    }
    if (rates.empty()) {
        return std::nullopt;
    }
    const double rate = video_bytes / seconds;
    // The standard error of the pieces' mean rate, smaller as they cover more of the video.
    double standard_error = 0;
    if (rates.size() > 1) {
        double squares = 0;
        for (const double r : rates) {
            squares += (r - rate) * (r - rate);
        }
        const auto n = static_cast<double>(rates.size());
        const double unsampled = std::max(0.0, 1.0 - seconds / duration);
        standard_error = std::sqrt(squares / (n - 1) / n * unsampled);
    }
    const double packets = added.video_frames_per_second + added.audio_packets_per_second;
    const double middle = rate * duration + added.audio_bytes_per_second * duration +
                          container_bytes(packets, duration);
    const double half =
        std::max(spread_standard_errors * standard_error * duration, range_floor_share * middle);
    return SizeRange{to_bytes(middle - half), to_bytes(middle + half)};
}

} // namespace ondrel
