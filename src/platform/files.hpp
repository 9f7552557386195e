// Files, folders and the environment, in UTF-8 terms.
#pragma once

#include "platform/result.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ondrel {

std::filesystem::path path_from_utf8(std::string_view utf8);
std::string path_to_utf8(const std::filesystem::path& path);

// The whole file, or nothing when it is missing or cannot be read.
std::optional<std::string> read_file_bytes(const std::filesystem::path& path);

// Creates the folder and its missing parents; failures are left to whoever uses the folder.
void create_folders_quietly(const std::filesystem::path& folder);

// Replaces the file's contents so that a crash, power loss or full disk can never leave a
// truncated file: the bytes go to a temporary file in the same folder, are flushed to disk,
// and the temporary file then takes the target's name in one step. On any failure the old
// file is untouched and no temporary file is left behind.
Status replace_file_contents(const std::filesystem::path& target, std::string_view bytes);

// The path in the form every Windows call accepts past MAX_PATH, also where the system's
// long-path setting is off and in programs that do not declare themselves long-path aware
// (ffmpeg builds among them): a long absolute path becomes "\\?\C:\..." or
// "\\?\UNC\server\...", made whole first since that form is taken literally. Shorter and
// relative paths, and every path on other systems, are given back as they are.
std::filesystem::path extended_length_path(const std::filesystem::path& path);

// An environment variable as UTF-8, or nothing when it is not set.
std::optional<std::string> environment_variable(std::string_view name);

// The user's folder for temporary files.
std::filesystem::path temporary_folder();

// The operating system's text for an error code: "{message} (os error {code})".
std::string os_error_text(int code);
std::string last_os_error_text();

} // namespace ondrel
