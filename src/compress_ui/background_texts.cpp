#include "compress_ui/background_texts.hpp"

#include "i18n/formatters.hpp"
#include "i18n/texts_background.hpp"
#include "i18n/texts_messages.hpp"
#include "video_compress/options.hpp"
#include "video_compress/progress_text.hpp"

#include <system_error>

namespace ondrel {
namespace {

std::string name_of(const std::filesystem::path& file) {
    return path_text(file.filename());
}

// "clip_h264_720p.mp4 (12.3 MB)", with empty parentheses when the file cannot be read.
std::string name_and_size(const std::filesystem::path& file) {
    return name_of(file) + " (" + current_size_text(file) + ")";
}

} // namespace

std::string current_size_text(const std::filesystem::path& file) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    return error ? std::string() : format_size(size);
}

std::string finished_job_message(bool success, std::string_view result,
                                 const std::filesystem::path& output) {
    if (success) {
        return fill(tr(texts::compression_finished_message),
                    {name_of(output), current_size_text(output)});
    }
    return fill(tr(texts::compression_ended_message), {result});
}

std::string background_preparing_content(const std::filesystem::path& video) {
    return name_of(video) + "\n" + std::string(tr(texts::background_preparing));
}

std::string background_progress_content(const std::filesystem::path& output, float percent,
                                        double speed, double fps, std::string_view bitrate) {
    return name_of(output) + "\n" + progress_line(percent, speed, fps, bitrate);
}

std::string completion_content(bool success, std::string_view result,
                               const std::filesystem::path& output,
                               const std::filesystem::path& video) {
    if (!success) {
        return name_of(video) + "\n" + std::string(result);
    }
    const std::string folder = output.has_parent_path() ? path_text(output.parent_path()) : "";
    return name_and_size(output) + "\n" + std::string(result) + "\n\n" +
           fill(tr(texts::completion_folder), {folder});
}

} // namespace ondrel
