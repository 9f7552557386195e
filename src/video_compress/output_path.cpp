#include "video_compress/output_path.hpp"

#include "i18n/formatters.hpp"
#include "i18n/texts_compression.hpp"
#include "platform/files.hpp"
#include "video_compress/ffmpeg_args.hpp"

#include <system_error>

namespace ondrel {
namespace {

// Anything already there under that name, even a dangling link, makes the name taken; a
// failing query counts as free.
bool name_taken(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(path, error);
    return !error && std::filesystem::exists(status);
}

struct NameParts {
    std::string stem;
    std::string extension; // without the dot; empty when there is none
};

// The file name without its last dot and what follows; a name without a dot, or whose only
// dot is its first character, is all stem.
NameParts split_name(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) {
        return {name, {}};
    }
    return {name.substr(0, dot), name.substr(dot + 1)};
}

} // namespace

std::string output_file_name(const MediaInfo& source, const CompressOptions& options) {
    const std::filesystem::path path = source.path;
    const std::string stem =
        path.has_filename() ? split_name(path_text(path.filename())).stem : std::string("video");
    std::string name = stem + "_" + std::string(codec_tag(options.codec));
    if (source.height != 0) {
        name += "_" + std::to_string(output_height(options, source.width, source.height)) + "p";
    }
    return name + "." + std::string(container_extension(options.container));
}

std::filesystem::path output_folder(const MediaInfo& source, const CompressOptions& options) {
    if (options.output_dir && !options.output_dir->empty()) {
        std::error_code error;
        if (std::filesystem::is_directory(*options.output_dir, error)) {
            return *options.output_dir;
        }
    }
    const std::filesystem::path path = source.path;
    // A root (or an empty path) has no parent; a bare file name has an empty one, which
    // means the current folder.
    return path.has_relative_path() ? path.parent_path() : std::filesystem::path(".");
}

Result<std::filesystem::path> output_path_for(const MediaInfo& source,
                                              const CompressOptions& options) {
    const std::filesystem::path folder = output_folder(source, options);
    const std::string name = output_file_name(source, options);
    const std::filesystem::path first = folder / path_from_utf8(name);
    if (!name_taken(first)) {
        return first;
    }
    const NameParts parts = split_name(name);
    for (int i = 1; i <= highest_numbered_name; ++i) {
        std::string numbered = parts.stem + " (" + std::to_string(i) + ")";
        if (!parts.extension.empty()) {
            numbered += "." + parts.extension;
        }
        std::filesystem::path candidate = folder / path_from_utf8(numbered);
        if (!name_taken(candidate)) {
            return candidate;
        }
    }
    const std::string folder_text = folder.empty() ? std::string(".") : path_text(folder);
    return Failure{fill(tr(texts::no_free_output_name), {folder_text})};
}

} // namespace ondrel
