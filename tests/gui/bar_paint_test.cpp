// The control bar's painting, read back from its pixels, its fonts and its GDI objects.
#include "gui/support/bar_driver.hpp"

#include <algorithm>

namespace ondrel::testing {
namespace {

using GuiBarPaint = PlayerTest;

// The bar's colours, written out: these names hide the program's own constants here.
constexpr Rgb bar_background{28, 28, 30};
constexpr Rgb bar_separator{48, 48, 51};
constexpr Rgb bar_highlight{58, 58, 62};
constexpr Rgb slider_track{74, 74, 78};
constexpr Rgb bar_foreground{234, 234, 234};
constexpr Rgb bar_disabled{138, 138, 142};
constexpr Rgb bar_accent{59, 142, 240};

struct Spot {
    int x;
    int y;
    Rgb colour;
};

// Paints the bar as the state stands and checks its colour at each spot.
Picture expect_painted(const AppState& state, std::initializer_list<Spot> spots) {
    Picture picture = paint_bar_picture(state);
    for (const Spot& spot : spots) {
        EXPECT_EQ(picture.at(spot.x, spot.y), packed(spot.colour)) << spot.x << "," << spot.y;
    }
    return picture;
}

TEST_F(GuiBarPaint, FillsFollowTheState) {
    ASSERT_TRUE(play());
    PlaybackState& playback = state().session.playback;
    playback.time_position = 15; // a quarter played, half volume
    playback.duration = 60;
    playback.volume = 50;
    state().hovered_item = no_hovered_item;
    const BarLayout layout = bar_geometry(state()).layout;
    const auto seek = [&](double f) { return layout.seek.left + int(f * layout.seek.width()); };
    const auto volume = [&](double f) {
        return layout.volume.left + int(f * layout.volume.width());
    };
    const int mid = 22;
    expect_painted(state(), {{2, 0, bar_separator},
                             {2, 1, bar_background},
                             {12, 10, bar_background}, // a button's corner, not hovered
                             {seek(0.1), mid, bar_accent},
                             {seek(0.75), mid, slider_track},
                             {seek(0.75), mid - 2, slider_track},
                             {seek(0.75), mid - 3, bar_background}, // thin while idle
                             {seek(0.25), mid - 5, bar_background}, // no knob
                             {volume(0.2), mid, bar_accent},
                             {volume(0.8), mid, slider_track}})
        .save(screenshot_folder() / L"bar-playing.png");
    // The window paints the same through its own WM_PAINT, and never erases first.
    RedrawWindow(state().control_bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    {
        WindowDc bar(state().control_bar);
        EXPECT_EQ(GetPixel(bar.get(), 2, 0), RGB(48, 48, 51));
        EXPECT_EQ(GetPixel(bar.get(), seek(0.1), mid), RGB(59, 142, 240));
        EXPECT_EQ(SendMessageW(state().control_bar, WM_ERASEBKGND,
                               reinterpret_cast<WPARAM>(bar.get()), 0),
                  1);
    }
    state().hovered_item = item_back; // its button spans x 86..125, inset 2 px and 6 px
    expect_painted(state(),
                   {{92, 10, bar_highlight}, {87, 10, bar_background}, {92, 5, bar_background}})
        .save(screenshot_folder() / L"bar-hovered-button.png");
    state().hovered_item = item_seek; // active: thicker, with its knob
    expect_painted(state(),
                   {{seek(0.75), mid - 3, slider_track}, {seek(0.25), mid - 5, bar_foreground}});
    state().hovered_item = no_hovered_item;
    playback.muted = true;
    expect_painted(state(), {{volume(0.2), mid, bar_disabled}})
        .save(screenshot_folder() / L"bar-muted.png");
    playback.muted = false;
    playback.speed = 0.5;
    paint_bar_picture(state()).save(screenshot_folder() / L"bar-slower.png");
    RedrawWindow(main(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    save_window_screenshot(main(), screenshot_folder() / L"bar-window-slower.png");
}

// The pixels of one button in a painted bar.
std::vector<std::uint32_t> button_pixels(const Picture& picture, const BarRect& button) {
    std::vector<std::uint32_t> pixels;
    for (int y = button.top; y < button.bottom; ++y) {
        for (int x = button.left; x < button.right; ++x) {
            pixels.push_back(picture.at(x, y));
        }
    }
    return pixels;
}

// The icon font draws each button's own glyph: the play triangle is not the pause bars, and
// neither is an empty box. (Under Wine the development prefix's stand-in font draws them.)
TEST_F(GuiBarPaint, PlayAndPauseGlyphsAreDrawn) {
    ASSERT_TRUE(play());
    state().hovered_item = no_hovered_item;
    const BarLayout layout = bar_geometry(state()).layout;
    const auto button = std::find_if(layout.buttons.begin(), layout.buttons.end(),
                                     [](const BarButton& b) { return b.item == item_play_pause; });
    ASSERT_NE(button, layout.buttons.end());
    const auto pause_bars = button_pixels(paint_bar_picture(state()), button->rect);
    state().session.playback.paused = true;
    const Picture paused = paint_bar_picture(state());
    paused.save(screenshot_folder() / L"bar-paused.png");
    const auto play_triangle = button_pixels(paused, button->rect);
    const auto glyph_pixels = [](const std::vector<std::uint32_t>& pixels) {
        return std::count_if(pixels.begin(), pixels.end(),
                             [](std::uint32_t pixel) { return pixel != packed(bar_background); });
    };
    EXPECT_GT(glyph_pixels(pause_bars), 20);
    EXPECT_GT(glyph_pixels(play_triangle), 20);
    EXPECT_NE(pause_bars, play_triangle);
}

TEST_F(GuiBarPaint, NoFileAndFontsAtEachDpi) {
    ASSERT_TRUE(session.start());
    // Nothing open: the seek bar is an empty track.
    const BarLayout layout = bar_geometry(state()).layout;
    expect_painted(state(), {{layout.seek.left + 4, 22, slider_track}})
        .save(screenshot_folder() / L"bar-no-file.png");
    save_window_screenshot(main(), screenshot_folder() / L"bar-window-no-file.png");

    struct Font {
        UniqueFont InterfaceFonts::*font;
        LONG height_96;
        LONG height_144;
        LONG weight;
        const wchar_t* face;
    };
    const Font fonts[] = {{&InterfaceFonts::icon, -16, -24, 400, L"Segoe MDL2 Assets"},
                          {&InterfaceFonts::text, -13, -20, 400, L"Segoe UI"},
                          {&InterfaceFonts::title, -20, -30, 600, L"Segoe UI"},
                          {&InterfaceFonts::body, -14, -21, 400, L"Segoe UI"},
                          {&InterfaceFonts::large_icon, -18, -27, 400, L"Segoe MDL2 Assets"}};
    for (const UINT dpi : {96u, 144u}) {
        change_dpi(dpi);
        for (const Font& font : fonts) {
            LOGFONTW made{};
            GetObjectW((state().fonts.*font.font).get(), sizeof made, &made);
            EXPECT_EQ(made.lfHeight, dpi == 96 ? font.height_96 : font.height_144) << dpi;
            EXPECT_EQ(made.lfWeight, font.weight);
            EXPECT_STREQ(made.lfFaceName, font.face);
            EXPECT_EQ(made.lfQuality, CLEARTYPE_QUALITY);
        }
    }
    // Two separator rows at 150 %.
    expect_painted(state(), {{3, 1, bar_separator}, {3, 2, bar_background}});
}

TEST_F(GuiBarPaint, NoGdiObjectLeaksAcrossRepaintsAndDpiChanges) {
    ASSERT_TRUE(play());
    const auto repaint = [&] {
        RedrawWindow(state().control_bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    };
    repaint();
    const std::size_t before = gdi_object_count();
    for (int i = 0; i < 1000; ++i) {
        state().hovered_item = static_cast<std::uint8_t>(i % 14);
        state().drag = i % 3 == 0 ? DragKind::SeekBar : DragKind::None;
        repaint();
    }
    state().drag = DragKind::None;
    for (int i = 0; i < 20; ++i) {
        change_dpi(i % 2 == 0 ? 144 : 96);
        repaint();
    }
    EXPECT_EQ(gdi_object_count(), before);
}

} // namespace
} // namespace ondrel::testing
