// A minimal PNG writer for the GUI tests' screenshots (uncompressed, RGB).
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace ondrel::testing {

// Pixels as 0x00RRGGBB, row by row from the top.
bool write_png(const std::filesystem::path& file, std::uint32_t width, std::uint32_t height,
               const std::vector<std::uint32_t>& pixels);

} // namespace ondrel::testing
