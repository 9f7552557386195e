#include "video_compress/output_path.hpp"

#include "i18n/formatters.hpp"
#include "i18n/texts_compression.hpp"
#include "i18n/texts_compression_job.hpp"
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

// A partial file left by an encode that never ended (its program was killed) keeps its
// name taken too, so a later job never writes over it nor renames a result onto it.
bool output_name_taken(const std::filesystem::path& path) {
    return name_taken(path) || name_taken(partial_output_path(path));
}

// The folder as an absolute path; the current folder for an empty one. Should the system
// not tell the current folder, "./" still keeps a leading "-" from being read as an option.
std::filesystem::path absolute_folder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::path absolute = folder.empty() || folder == "."
                                         ? std::filesystem::current_path(error)
                                         : std::filesystem::absolute(folder, error);
    if (error || absolute.empty()) {
        return std::filesystem::path(".") / folder;
    }
    return absolute;
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
            return absolute_folder(*options.output_dir);
        }
    }
    const std::filesystem::path path = source.path;
    // A root (or an empty path) has no parent; a bare file name has an empty one, which
    // means the current folder.
    return absolute_folder(path.has_relative_path() ? path.parent_path() : std::filesystem::path());
}

std::filesystem::path partial_output_path(const std::filesystem::path& output) {
    const NameParts parts = split_name(path_text(output.filename()));
    std::string name = parts.stem + ".part";
    if (!parts.extension.empty()) {
        name += "." + parts.extension;
    }
    return output.parent_path() / path_from_utf8(name);
}

Status remove_output_files(const std::filesystem::path& output) {
    std::string problems;
    for (const std::filesystem::path& file : {partial_output_path(output), output}) {
        std::error_code error;
        std::filesystem::remove(file, error);
        if (error) {
            problems += (problems.empty() ? "" : " ") +
                        fill(tr(texts::could_not_delete), {path_text(file), error.message()});
        }
    }
    if (!problems.empty()) {
        return Failure{problems};
    }
    return success();
}

void release_reservation(const std::filesystem::path& output) {
    std::error_code error;
    if (std::filesystem::is_regular_file(output, error) &&
        std::filesystem::file_size(output, error) == 0 && !error) {
        std::filesystem::remove(output, error);
    }
}

Result<std::filesystem::path> output_path_for(const MediaInfo& source,
                                              const CompressOptions& options) {
    const std::filesystem::path folder = output_folder(source, options);
    const std::string name = output_file_name(source, options);
    const std::filesystem::path first = folder / path_from_utf8(name);
    if (!output_name_taken(first)) {
        return first;
    }
    const NameParts parts = split_name(name);
    for (int i = 1; i <= highest_numbered_name; ++i) {
        std::string numbered = parts.stem + " (" + std::to_string(i) + ")";
        if (!parts.extension.empty()) {
            numbered += "." + parts.extension;
        }
        std::filesystem::path candidate = folder / path_from_utf8(numbered);
        if (!output_name_taken(candidate)) {
            return candidate;
        }
    }
    return Failure{fill(tr(texts::no_free_output_name), {path_text(folder)})};
}

} // namespace ondrel
