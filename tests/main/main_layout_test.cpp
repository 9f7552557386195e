#include "main/main_layout.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

TEST(MainLayout, SizesForDpi) {
    EXPECT_EQ(minimum_track_size(96), (PixelSize{580, 300}));
    EXPECT_EQ(minimum_track_size(144), (PixelSize{870, 450}));
    EXPECT_EQ(default_window_size(96), (PixelSize{960, 590}));
    EXPECT_EQ(default_window_size(144), (PixelSize{1440, 885}));
    EXPECT_EQ(default_window_size(120), (PixelSize{1200, 737})); // 737.5 truncated
}

TEST(MainLayout, ChildrenWindowedAndFullScreen) {
    struct Case {
        const char* name;
        std::int32_t w, h;
        std::uint32_t dpi;
        bool full_screen, bar_shown;
        PixelRect video;
        bool bar_visible;
        PixelRect bar;
    };
    const Case cases[] = {
        {"window", 944, 551, 96, false, true, {0, 0, 944, 507}, true, {0, 507, 944, 551}},
        {"144 dpi", 1400, 800, 144, false, true, {0, 0, 1400, 734}, true, {0, 734, 1400, 800}},
        {"below the bar", 300, 20, 96, false, true, {0, 0, 300, 0}, true, {0, -24, 300, 20}},
        // Full screen: the bar is shown over the video, or hidden.
        {"bar shown", 1920, 1080, 96, true, true, {0, 0, 1920, 1080}, true, {0, 1036, 1920, 1080}},
        {"bar hidden", 1920, 1080, 96, true, false, {0, 0, 1920, 1080}, false, {}},
        // A window ignores the hidden flag.
        {"not hidden", 800, 500, 96, false, false, {0, 0, 800, 456}, true, {0, 456, 800, 500}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ChildLayout layout =
            layout_main_children(c.w, c.h, c.dpi, c.full_screen, c.bar_shown);
        EXPECT_EQ(layout.video, c.video);
        EXPECT_EQ(layout.bar_visible, c.bar_visible);
        if (c.bar_visible) {
            EXPECT_EQ(layout.bar, c.bar);
        }
    }
}

TEST(SubtitleFile, ExtensionPatterns) {
    const std::pair<const char*, bool> cases[] = {
        {"C:\\v\\MOVIE.SRT", true},
        {"/v/a.ass", true},
        {"x.ssa", true},
        {"x.vtt", true},
        {"x.sub", true},
        {"x.idx", true},
        {"x.sup", true},
        {"x.smi", true},
        {"notes.txt", true},
        {"clip.mp4", false},
        {"clip.srt.mkv", false},
        {".srt", false},
        {"C:\\dir.srt\\clip", false},
        {"noext", false},
        {"x.", false},
        {"x.sr", false},
        {"x.srtx", false},
        {"C:\\a.b\\film.Sub", true},
    };
    for (const auto& [path, subtitle] : cases) {
        EXPECT_EQ(is_subtitle_file(path), subtitle) << path;
    }
}

} // namespace
} // namespace ondrel
