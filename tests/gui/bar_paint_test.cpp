// The control bar's painting, read back from its pixels, its fonts and its GDI objects.
#include "gui/support/bar_driver.hpp"
#include "gui/support/desktop.hpp"

#include <gtest/gtest.h>

namespace ondrel::testing {
namespace {

constexpr wchar_t film[] = L"Ondrel.exe C:\\videos\\film.mkv";

// A bar with a file at a quarter of its minute, half volume, nothing hovered.
void show_quarter_played(AppState& state) {
    state.session.playback.time_position = 15;
    state.session.playback.duration = 60;
    state.session.playback.volume = 50;
    state.session.playback.muted = false;
    state.hovered_item = no_hovered_item;
}

int along(const BarRect& rect, double fraction) {
    return rect.left + static_cast<int>(fraction * rect.width());
}

TEST(GuiBarPaint, FillsFollowTheState) {
    GuiSession session;
    ASSERT_TRUE(session.start(film));
    ASSERT_TRUE(wait_for_file(session));
    AppState& state = session.state();
    show_quarter_played(state);
    const BarLayout layout = bar_geometry(state).layout;
    const int mid = 22;

    BarPicture plain = paint_bar_picture(state);
    ASSERT_EQ(plain.height, 44);
    EXPECT_EQ(plain.at(2, 0), bar_separator);
    EXPECT_EQ(plain.at(2, 1), bar_background);
    EXPECT_EQ(plain.at(2, 20), bar_background);
    EXPECT_EQ(plain.at(12, 10), bar_background); // a button's corner, not hovered
    EXPECT_EQ(plain.at(along(layout.seek, 0.1), mid), bar_accent);
    EXPECT_EQ(plain.at(along(layout.seek, 0.75), mid), slider_track);
    EXPECT_EQ(plain.at(along(layout.seek, 0.75), mid - 2), slider_track);
    EXPECT_EQ(plain.at(along(layout.seek, 0.75), mid - 3), bar_background); // thin while idle
    EXPECT_EQ(plain.at(along(layout.seek, 0.25), mid - 5), bar_background); // no knob
    EXPECT_EQ(plain.at(along(layout.volume, 0.2), mid), bar_accent);
    EXPECT_EQ(plain.at(along(layout.volume, 0.8), mid), slider_track);
    plain.save(screenshot_folder() / L"bar-playing.png");
    // The window paints the same through its own WM_PAINT, and never erases first.
    RedrawWindow(state.control_bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    {
        WindowDc bar(state.control_bar);
        EXPECT_EQ(GetPixel(bar.get(), 2, 0), RGB(48, 48, 51));
        EXPECT_EQ(GetPixel(bar.get(), along(layout.seek, 0.1), mid), RGB(59, 142, 240));
        EXPECT_EQ(
            SendMessageW(state.control_bar, WM_ERASEBKGND, reinterpret_cast<WPARAM>(bar.get()), 0),
            1);
    }

    state.hovered_item = item_back; // its button spans x 86..125
    const BarPicture hovered = paint_bar_picture(state);
    EXPECT_EQ(hovered.at(92, 10), bar_highlight);
    EXPECT_EQ(hovered.at(87, 10), bar_background); // inset 2 px
    EXPECT_EQ(hovered.at(92, 5), bar_background);  // inset 6 px
    hovered.save(screenshot_folder() / L"bar-hovered-button.png");

    state.hovered_item = item_seek; // active: thicker, with its knob
    const BarPicture seeking = paint_bar_picture(state);
    EXPECT_EQ(seeking.at(along(layout.seek, 0.75), mid - 3), slider_track);
    EXPECT_EQ(seeking.at(along(layout.seek, 0.25), mid - 5), bar_foreground);

    state.hovered_item = no_hovered_item;
    state.session.playback.muted = true;
    const BarPicture muted = paint_bar_picture(state);
    EXPECT_EQ(muted.at(along(layout.volume, 0.2), mid), bar_disabled);
    muted.save(screenshot_folder() / L"bar-muted.png");
}

TEST(GuiBarPaint, ScreenshotsWithoutAFileAndAtHalfSpeed) {
    GuiSession session;
    ASSERT_TRUE(session.start());
    const BarPicture empty = paint_bar_picture(session.state());
    const BarLayout layout = bar_geometry(session.state()).layout;
    // Nothing open: the seek bar is an empty track.
    EXPECT_EQ(empty.at(along(layout.seek, 0.02), 22), slider_track);
    empty.save(screenshot_folder() / L"bar-no-file.png");
    save_window_screenshot(session.main(), screenshot_folder() / L"bar-window-no-file.png");
    session.close();

    GuiSession playing;
    playing.write_scenario({{"default", {{"duration", 5000}, {"playing", true}}}});
    ASSERT_TRUE(playing.start(film));
    ASSERT_TRUE(wait_for_file(playing));
    step_speed(playing.state().session, -1);
    step_speed(playing.state().session, -1);
    pump_for(std::chrono::milliseconds(1500));
    EXPECT_LT(playing.state().session.playback.speed, 1.0);
    paint_bar_picture(playing.state()).save(screenshot_folder() / L"bar-slower.png");
    save_window_screenshot(playing.main(), screenshot_folder() / L"bar-window-slower.png");
}

LOGFONTW font_description(const UniqueFont& font) {
    LOGFONTW description{};
    GetObjectW(font.get(), sizeof description, &description);
    return description;
}

TEST(GuiBarPaint, FontsAndSizesFollowTheDpi) {
    GuiSession session;
    ASSERT_TRUE(session.start());
    const auto expect_fonts = [&](std::initializer_list<LONG> heights) {
        const InterfaceFonts& fonts = session.state().fonts;
        const UniqueFont* all[] = {&fonts.icon, &fonts.text, &fonts.title, &fonts.body,
                                   &fonts.large_icon};
        const LONG weights[] = {400, 400, 600, 400, 400};
        const wchar_t* faces[] = {L"Segoe MDL2 Assets", L"Segoe UI", L"Segoe UI", L"Segoe UI",
                                  L"Segoe MDL2 Assets"};
        auto height = heights.begin();
        for (std::size_t i = 0; i < 5; ++i, ++height) {
            const LOGFONTW description = font_description(*all[i]);
            EXPECT_EQ(description.lfHeight, *height) << i;
            EXPECT_EQ(description.lfWeight, weights[i]) << i;
            EXPECT_STREQ(description.lfFaceName, faces[i]) << i;
            EXPECT_EQ(description.lfQuality, CLEARTYPE_QUALITY) << i;
        }
    };
    expect_fonts({-16, -13, -20, -14, -18});

    RECT suggested{40, 30, 40 + 1440, 30 + 885};
    SendMessageW(session.main(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    expect_fonts({-24, -20, -30, -21, -27});
    const BarPicture picture = paint_bar_picture(session.state());
    ASSERT_EQ(picture.height, 66);
    EXPECT_EQ(picture.at(3, 1), bar_separator); // two rows at 150 %
    EXPECT_EQ(picture.at(3, 2), bar_background);
    const BarLayout layout = bar_geometry(session.state()).layout;
    EXPECT_EQ(layout.buttons[1].rect.width(), 60);
}

// GDI objects of this process: Windows counts them; Wine does not, so there the test watches
// the highest handle slot new objects get, which climbs when objects are never given back.
struct GdiUsage {
    DWORD counted = 0;
    std::uintptr_t highest_new_slot = 0;
};

GdiUsage gdi_usage() {
    GdiUsage usage;
    usage.counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    std::vector<UniqueBrush> probes;
    for (int i = 0; i < 64; ++i) {
        probes.emplace_back(CreateSolidBrush(RGB(i, 0, 0)));
        const auto slot = reinterpret_cast<std::uintptr_t>(probes.back().get()) & 0xFFFF;
        usage.highest_new_slot = std::max(usage.highest_new_slot, slot);
    }
    return usage;
}

TEST(GuiBarPaint, NoGdiObjectLeaksAcrossRepaintsAndDpiChanges) {
    GuiSession session;
    ASSERT_TRUE(session.start(film));
    ASSERT_TRUE(wait_for_file(session));
    AppState& state = session.state();
    const auto repaint = [&] {
        RedrawWindow(state.control_bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    };
    repaint();
    const GdiUsage before = gdi_usage();
    for (int i = 0; i < 1000; ++i) {
        state.hovered_item = static_cast<std::uint8_t>(i % 14);
        state.drag = i % 3 == 0 ? DragKind::SeekBar : DragKind::None;
        repaint();
    }
    state.drag = DragKind::None;
    for (int i = 0; i < 20; ++i) {
        const UINT dpi = i % 2 == 0 ? 144 : 96;
        RECT suggested{40, 30, 40 + 960 * static_cast<LONG>(dpi) / 96,
                       30 + 590 * static_cast<LONG>(dpi) / 96};
        SendMessageW(session.main(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        repaint();
    }
    const GdiUsage after = gdi_usage();
    if (before.counted != 0) {
        EXPECT_EQ(after.counted, before.counted);
    }
    // One object left behind per repaint would take more than a thousand new slots.
    EXPECT_LT(after.highest_new_slot, before.highest_new_slot + 100)
        << "GetGuiResources: " << before.counted << " -> " << after.counted;
}

} // namespace
} // namespace ondrel::testing
