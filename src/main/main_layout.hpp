// Geometry of the main window: its default and minimum sizes and where its two children go.
#pragma once

#include <cstdint>
#include <string_view>

namespace ondrel {

struct PixelRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct PixelSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// The window cannot be made smaller than 580 x 300 at 96 DPI.
PixelSize minimum_track_size(std::uint32_t dpi);

// 960 x 590 at 96 DPI, truncated toward zero at other DPIs.
PixelSize default_window_size(std::uint32_t system_dpi);

struct ChildLayout {
    PixelRect video;
    bool bar_visible = true;
    PixelRect bar;
};

// In a window the bar lies below the video; in full screen over its bottom, or hidden.
ChildLayout layout_main_children(std::int32_t client_width, std::int32_t client_height,
                                 std::uint32_t dpi, bool full_screen, bool bar_shown);

// Whether a dropped file is a subtitle file, by its extension (ASCII case-insensitive).
bool is_subtitle_file(std::string_view path);

} // namespace ondrel
