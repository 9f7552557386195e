#include "video_compress/probe.hpp"

#include "platform/files.hpp"
#include "platform/numbers.hpp"
#include "platform/text.hpp"
#include "platform/threads.hpp"
#include "video_compress/options.hpp"
#include "video_compress/tools.hpp"

#include <nlohmann/json.hpp>

#include <cmath>
#include <utility>

namespace ondrel {
namespace {

using Json = nlohmann::json;

const Json* member(const Json& object, const char* key) {
    if (!object.is_object()) {
        return nullptr;
    }
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

std::string string_or(const Json& object, const char* key, const char* fallback) {
    const Json* value = member(object, key);
    return value != nullptr && value->is_string() ? value->get<std::string>()
                                                  : std::string(fallback);
}

// A JSON number holding a non-negative integer, kept modulo 2^32; anything else is 0.
std::uint32_t count_field(const Json& object, const char* key) {
    const Json* value = member(object, key);
    if (value == nullptr || !value->is_number_unsigned()) {
        return 0;
    }
    return static_cast<std::uint32_t>(value->get<std::uint64_t>());
}

// ffprobe writes bit rates as strings of digits; anything else is 0.
std::uint64_t bit_rate_field(const Json& object, const char* key) {
    const Json* value = member(object, key);
    if (value == nullptr || !value->is_string()) {
        return 0;
    }
    return parse_digits(value->get_ref<const std::string&>()).value_or(0);
}

double duration_field(const Json& object) {
    const Json* value = member(object, "duration");
    if (value == nullptr) {
        return 0;
    }
    if (value->is_string()) {
        if (const auto parsed = parse_double(value->get_ref<const std::string&>())) {
            return *parsed;
        }
        return 0;
    }
    return value->is_number() ? value->get<double>() : 0;
}

// "30000/1001", "25/1" or a plain number; a missing or zero denominator keeps the numerator.
double frame_rate(const Json& stream) {
    const Json* rate = member(stream, "avg_frame_rate");
    if (rate == nullptr || !rate->is_string()) {
        rate = member(stream, "r_frame_rate");
    }
    const std::string text = rate != nullptr && rate->is_string() ? rate->get<std::string>() : "";
    const std::string_view trimmed = trim_unicode_space(text);
    const std::size_t slash = trimmed.find('/');
    if (slash == std::string_view::npos) {
        return parse_double(trimmed).value_or(0);
    }
    const double numerator = parse_double(trim_unicode_space(trimmed.substr(0, slash))).value_or(0);
    const auto denominator = parse_double(trim_unicode_space(trimmed.substr(slash + 1)));
    return denominator && *denominator > 0 ? numerator / *denominator : numerator;
}

// The rotation in degrees: the display matrix's when ffprobe lists one, else the older
// "rotate" tag; 0 when neither can be read.
double display_rotation(const Json& stream) {
    if (const Json* list = member(stream, "side_data_list"); list != nullptr && list->is_array()) {
        for (const Json& entry : *list) {
            const Json* rotation = member(entry, "rotation");
            if (rotation != nullptr && rotation->is_number()) {
                return rotation->get<double>();
            }
        }
    }
    const Json* tags = member(stream, "tags");
    const Json* rotate = tags != nullptr ? member(*tags, "rotate") : nullptr;
    if (rotate == nullptr || !rotate->is_string()) {
        return 0;
    }
    return parse_double(rotate->get_ref<const std::string&>()).value_or(0);
}

// ffmpeg rounds the rotation to whole degrees and turns the frames upright while decoding;
// a quarter turn either way swaps the picture's sides.
bool quarter_turn(double degrees) {
    if (!std::isfinite(degrees)) {
        return false;
    }
    return std::fmod(std::fabs(std::round(degrees)), 180.0) == 90.0;
}

// A cover picture stored as a video stream; it is never the video to encode.
bool attached_picture(const Json& stream) {
    const Json* disposition = member(stream, "disposition");
    const Json* flag = disposition != nullptr ? member(*disposition, "attached_pic") : nullptr;
    return flag != nullptr && ((flag->is_number() && flag->get<double>() != 0) ||
                               (flag->is_boolean() && flag->get<bool>()));
}

void read_video_stream(const Json& stream, MediaInfo& info) {
    info.video_codec = string_or(stream, "codec_name", "?");
    info.width = count_field(stream, "width");
    info.height = count_field(stream, "height");
    if (quarter_turn(display_rotation(stream))) {
        std::swap(info.width, info.height);
    }
    info.pix_fmt = string_or(stream, "pix_fmt", "?");
    info.bit_rate = bit_rate_field(stream, "bit_rate");
    if (const double fps = frame_rate(stream); fps > 0) {
        info.fps = fps;
    }
}

void read_audio_stream(const Json& stream, MediaInfo& info) {
    AudioStream audio;
    audio.codec = string_or(stream, "codec_name", "?");
    if (const Json* tags = member(stream, "tags")) {
        audio.language = string_or(*tags, "language", "");
    }
    audio.channels = count_field(stream, "channels");
    audio.bit_rate = bit_rate_field(stream, "bit_rate");
    if (info.first_audio_codec.empty()) {
        info.first_audio_codec = audio.codec;
    }
    info.audio_streams.push_back(std::move(audio));
}

MediaInfo media_info_from(const Json& report, const std::filesystem::path& video) {
    MediaInfo info;
    info.path = video;
    const Json empty_object = Json::object();
    const Json* format = member(report, "format");
    const Json& format_object = format != nullptr ? *format : empty_object;
    info.format_name = string_or(format_object, "format_name", "?");
    info.duration = duration_field(format_object);
    if (const Json* streams = member(report, "streams");
        streams != nullptr && streams->is_array()) {
        std::size_t video_streams = 0;
        bool video_found = false;
        for (const Json& stream : *streams) {
            if (!stream.is_object()) {
                continue;
            }
            const Json* type = member(stream, "codec_type");
            if (type == nullptr || !type->is_string()) {
                continue;
            }
            const std::string& kind = type->get_ref<const std::string&>();
            if (kind == "video") {
                // The first stream that is not a cover picture; ffmpeg counts the pictures.
                if (!video_found && !attached_picture(stream)) {
                    read_video_stream(stream, info);
                    info.video_stream = video_streams;
                    video_found = true;
                }
                ++video_streams;
            } else if (kind == "audio") {
                read_audio_stream(stream, info);
            }
        }
    }
    if (info.bit_rate == 0) {
        info.bit_rate = bit_rate_field(format_object, "bit_rate");
    }
    std::error_code error;
    const auto size = std::filesystem::file_size(video, error);
    info.size = error ? 0 : static_cast<std::uint64_t>(size);
    return info;
}

} // namespace

Result<MediaInfo> parse_probe_json(std::string_view report, const std::filesystem::path& video) {
    Json value;
    try {
        value = Json::parse(report);
    } catch (const Json::exception& error) {
        return Failure{error.what()};
    }
    return media_info_from(value, video);
}

Result<MediaInfo> probe_media(const std::filesystem::path& ffprobe,
                              const std::filesystem::path& video, std::chrono::milliseconds limit) {
    auto captured = run_capture(ffprobe,
                                {"-v", "error", "-show_format", "-show_streams", "-print_format",
                                 "json", path_text(extended_length_path(video))},
                                limit);
    if (!captured) {
        return Failure{captured.error()};
    }
    auto info = parse_probe_json(captured.value().output, video);
    if (!info) {
        return Failure{info.error() + " (" + captured.value().errors + ")"};
    }
    if (info.value().width == 0) {
        return Failure{path_text(video)};
    }
    return info;
}

void start_probe(const std::filesystem::path& ffprobe, const std::filesystem::path& video,
                 CompressSender sender) {
    auto work = [ffprobe, video](const CompressSender& to) {
        try {
            auto info = probe_media(ffprobe, video);
            if (info) {
                send(to, CompressMessage(message::Info{std::move(info.value())}));
            } else {
                send(to, CompressMessage(message::ProbeError{info.error()}));
            }
        } catch (const std::exception& error) {
            send(to, CompressMessage(message::ProbeError{error.what()}));
        } catch (...) {
            send(to, CompressMessage(message::ProbeError{path_text(video)}));
        }
    };
    // The thread has a copy of the sender; without a thread the failure is the one message
    // this probe sends.
    start_detached_thread([work, to = sender] { work(to); },
                          [&](const std::string& reason) {
                              send(sender, CompressMessage(message::ProbeError{reason}));
                          });
}

} // namespace ondrel
