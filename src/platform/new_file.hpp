// Creating a file only when nothing by that name exists, in one step, so that two programs
// choosing the same name cannot both believe they own it.
#pragma once

#include "platform/result.hpp"

#include <filesystem>

namespace ondrel {

enum class NewFile : unsigned char { Created, AlreadyExists };

// Creates an empty file. AlreadyExists when the name is taken (by a file, a folder or
// anything else); a failure with the system's text for every other reason.
Result<NewFile> create_new_file(const std::filesystem::path& path);

} // namespace ondrel
