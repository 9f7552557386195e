#include "main/main_layout.hpp"

#include "platform/dpi.hpp"
#include "platform/text.hpp"
#include "ui/bar_layout.hpp"

namespace ondrel {

PixelSize minimum_track_size(std::uint32_t dpi) {
    return {scale_for_dpi(580, dpi), scale_for_dpi(300, dpi)};
}

PixelSize default_window_size(std::uint32_t system_dpi) {
    const float dpi = static_cast<float>(system_dpi);
    return {truncate_saturated(960.0f * dpi / 96.0f), truncate_saturated(590.0f * dpi / 96.0f)};
}

ChildLayout layout_main_children(std::int32_t w, std::int32_t h, std::uint32_t dpi,
                                 bool full_screen, bool bar_shown) {
    const std::int32_t b = bar_strip_height(dpi);
    ChildLayout layout;
    const std::int32_t video_height = full_screen ? h : (h - b < 0 ? 0 : h - b);
    layout.video = {0, 0, w, video_height};
    layout.bar_visible = !full_screen || bar_shown;
    layout.bar = {0, h - b, w, h};
    return layout;
}

bool is_subtitle_file(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\/");
    const std::string_view name =
        separator == std::string_view::npos ? path : path.substr(separator + 1);
    const std::size_t dot = name.rfind('.');
    // A name without a dot, or with only a leading one (".srt"), has no extension.
    if (dot == std::string_view::npos || dot == 0) {
        return false;
    }
    const std::string pattern = "*." + ascii_lower(name.substr(dot + 1));
    constexpr std::string_view patterns = "*.srt;*.ass;*.ssa;*.vtt;*.sub;*.idx;*.sup;*.smi;*.txt";
    std::size_t start = 0;
    while (start <= patterns.size()) {
        const std::size_t end = patterns.find(';', start);
        if (patterns.substr(start, end - start) == pattern) {
            return true;
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return false;
}

} // namespace ondrel
