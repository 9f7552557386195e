// The About window on the real main window: opening, size and place, hover, clicks, keys,
// the saved check box, links, the language switch, leaks and screenshots.
#include "gui/support/desktop.hpp"
#include "gui/support/gui_session.hpp"
#include "gui/support/png_writer.hpp"
#include "main/language_switch.hpp"
#include "main/window_classes_win32.hpp"
#include "platform/win32/wide.hpp"
#include "ui/about_layout_win32.hpp"
#include "ui/about_texts.hpp"
#include "ui/about_win32.hpp"

#include <gtest/gtest.h>

namespace ondrel::testing {
namespace {

struct LinkCall {
    std::wstring operation;
    std::wstring address;
    int show = 0;
};
std::vector<LinkCall> link_calls;

HINSTANCE WINAPI record_link(HWND, LPCWSTR operation, LPCWSTR address, LPCWSTR parameters,
                             LPCWSTR folder, INT show) {
    EXPECT_EQ(parameters, nullptr);
    EXPECT_EQ(folder, nullptr);
    link_calls.push_back({operation, address, show});
    return reinterpret_cast<HINSTANCE>(42);
}

class AboutWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        link_calls.clear();
        set_about_link_opener(record_link);
    }
    void TearDown() override { set_about_link_opener(nullptr); }

    AboutWindow& about() const { return *session.state().about; }
    HWND window() const { return session.state().about->window.get(); }

    const HotSpot& spot(HotSpotKind kind, std::size_t nth = 0) const {
        for (const HotSpot& s : about().hot_spots) {
            if (s.kind == kind && nth-- == 0) {
                return s;
            }
        }
        ADD_FAILURE() << "no such hot spot";
        static const HotSpot none;
        return none;
    }

    static LPARAM centre(const HotSpot& s) {
        return MAKELPARAM((s.left + s.right) / 2, (s.top + s.bottom) / 2);
    }

    void click(const HotSpot& s) const {
        SendMessageW(window(), WM_LBUTTONDOWN, MK_LBUTTON, centre(s));
        SendMessageW(window(), WM_LBUTTONUP, 0, centre(s));
    }

    // Runs the messages until the main window has disposed of the About window.
    bool wait_until_disposed() const {
        return pump_until([&] { return !session.state().about; }, std::chrono::seconds(5));
    }

    void reopen() {
        if (session.state().about) {
            SendMessageW(window(), WM_KEYDOWN, VK_ESCAPE, 0);
            ASSERT_TRUE(wait_until_disposed());
        }
        open_about(session.state());
        ASSERT_TRUE(session.state().about);
    }

    // Switches the main window to another DPI the way a monitor change does.
    void change_dpi(UINT dpi) const {
        RECT rect{};
        GetWindowRect(session.main(), &rect);
        rect.right = rect.left + 960 * static_cast<LONG>(dpi) / 96;
        rect.bottom = rect.top + 590 * static_cast<LONG>(dpi) / 96;
        SendMessageW(session.main(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&rect));
    }

    // What WM_PAINT puts into the client area, as 0x00RRGGBB pixels.
    std::vector<std::uint32_t> painted(SIZE& size) const {
        RECT client{};
        GetClientRect(window(), &client);
        size = SIZE{client.right, client.bottom};
        WindowDc screen(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = size.cx;
        info.bmiHeader.biHeight = -size.cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        UniqueBitmap bitmap(
            CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        CompatibleDc memory(CreateCompatibleDC(screen.get()));
        {
            SelectedObject selected(memory.get(), bitmap.get());
            paint_about(about(), memory.get(), client);
            GdiFlush();
        }
        const auto* source = static_cast<const std::uint32_t*>(bits);
        std::vector<std::uint32_t> pixels(source, source + size.cx * size.cy);
        for (auto& p : pixels) {
            p &= 0x00FFFFFFu;
        }
        return pixels;
    }

    GuiSession session;
};

constexpr std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return (r << 16) | (g << 8) | b;
}

std::vector<HWND> about_windows() {
    return windows_of_process(GetCurrentProcessId(), about_window_class);
}

TEST_F(AboutWindowTest, OpensAtStartupAsAnOwnedToolWindow) {
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.state().about);
    EXPECT_EQ(about_windows(), std::vector<HWND>{window()});
    EXPECT_EQ(window_text(window()), L"About Ondrel");
    EXPECT_EQ(GetWindow(window(), GW_OWNER), session.main());
    const LONG_PTR style = GetWindowLongPtrW(window(), GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_BORDER | WS_CAPTION), WS_POPUP | WS_BORDER);
    EXPECT_TRUE(GetWindowLongPtrW(window(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetFocus(), window());
    EXPECT_TRUE(about().picture) << "bitmap resource 2";
    EXPECT_FALSE(about().hide_at_startup);

    // Opening it again only brings it to the front.
    const HWND first = window();
    SetForegroundWindow(session.main());
    ASSERT_EQ(GetForegroundWindow(), session.main());
    open_about(session.state());
    EXPECT_EQ(window(), first);
    EXPECT_EQ(GetForegroundWindow(), first);
    EXPECT_EQ(about_windows().size(), 1u);
}

TEST_F(AboutWindowTest, HiddenAtStartupByTheSettingAndTitledInFrench) {
    session.write_settings("language=fr\nhide_about=1\n");
    ASSERT_TRUE(session.start());
    EXPECT_FALSE(session.state().about);
    EXPECT_TRUE(about_windows().empty());
    // Opened from the menu it starts with the box ticked, in French.
    open_about(session.state());
    ASSERT_TRUE(session.state().about);
    EXPECT_TRUE(about().hide_at_startup);
    EXPECT_EQ(window_text(window()), L"À propos de Ondrel");
}

TEST_F(AboutWindowTest, WidthFollowsTheScaleAndTheTopNeverGoesAboveTheScreen) {
    ASSERT_TRUE(session.start());
    SetWindowPos(session.main(), nullptr, 100, 0, 800, 400, SWP_NOZORDER);
    for (const UINT dpi : {96u, 144u}) {
        SCOPED_TRACE(dpi);
        change_dpi(dpi);
        SetWindowPos(session.main(), nullptr, 100, 0, 800, 400, SWP_NOZORDER);
        reopen();
        RECT main{};
        GetWindowRect(session.main(), &main);
        ASSERT_EQ(main.top, 0);
        RECT rect{};
        GetWindowRect(window(), &rect);
        EXPECT_EQ(rect.right - rect.left, dpi == 96 ? 560 : 840);
        EXPECT_EQ(rect.left, main.left + (main.right - main.left - (rect.right - rect.left)) / 2);
        // Taller than the main window at the top of the screen: its top is 0, not negative.
        EXPECT_GT(rect.bottom - rect.top, main.bottom - main.top);
        EXPECT_EQ(rect.top, 0);
        // The window is exactly as tall as its layout.
        RECT client{};
        GetClientRect(window(), &client);
        WindowDc screen(nullptr);
        EXPECT_EQ(layout_about(about(), screen.get(), client.right, false), client.bottom);
        LOGFONTW name{};
        GetObjectW(about().fonts[static_cast<std::size_t>(AboutFont::Name)].get(), sizeof name,
                   &name);
        EXPECT_EQ(name.lfHeight, dpi == 96 ? -22 : -33);
    }
    // Centred vertically on a main window that is tall enough.
    change_dpi(96);
    SetWindowPos(session.main(), nullptr, 40, 30, 900, 1400, SWP_NOZORDER);
    reopen();
    RECT main{};
    GetWindowRect(session.main(), &main);
    RECT rect{};
    GetWindowRect(window(), &rect);
    ASSERT_GT(main.bottom - main.top, rect.bottom - rect.top);
    EXPECT_EQ(rect.top, main.top + (main.bottom - main.top - (rect.bottom - rect.top)) / 2);
}

TEST_F(AboutWindowTest, HoverGivesTheHandAndHighlightsBothCloseControls) {
    ASSERT_TRUE(session.start());
    const auto cursor_now = [&] {
        SendMessageW(window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    SIZE size{};
    const HotSpot button = spot(HotSpotKind::Close, 1);
    const auto button_pixel = [&](const std::vector<std::uint32_t>& pixels, LONG x) {
        return pixels[static_cast<std::size_t>((button.top + button.bottom) / 2) * size.cx + x];
    };

    std::vector<std::uint32_t> pixels = painted(size);
    // The fill takes in the right edge too.
    EXPECT_EQ(button_pixel(pixels, button.left), rgb(59, 142, 240));
    EXPECT_EQ(button_pixel(pixels, button.right), rgb(59, 142, 240));
    EXPECT_EQ(button_pixel(pixels, button.right + 1), rgb(36, 36, 39));
    EXPECT_EQ(button_pixel(pixels, button.left - 1), rgb(36, 36, 39));

    SendMessageW(window(), WM_MOUSEMOVE, 0, centre(spot(HotSpotKind::Link)));
    EXPECT_EQ(about().hover.kind, HotSpotKind::Link);
    EXPECT_EQ(about().hover.address, texts::about::site_address);
    EXPECT_EQ(cursor_now(), hand);

    // The close glyph lights up the Close button too.
    SendMessageW(window(), WM_MOUSEMOVE, 0, centre(spot(HotSpotKind::Close)));
    EXPECT_EQ(about().hover.kind, HotSpotKind::Close);
    pixels = painted(size);
    EXPECT_EQ(button_pixel(pixels, button.left + 1), rgb(90, 162, 245));
    const HotSpot glyph = spot(HotSpotKind::Close);
    EXPECT_EQ(
        pixels[static_cast<std::size_t>(glyph.top + 1) * size.cx + (glyph.left + glyph.right) / 2],
        rgb(58, 58, 62));

    SendMessageW(window(), WM_MOUSEMOVE, 0, MAKELPARAM(5, button.top - 10));
    EXPECT_EQ(about().hover.kind, HotSpotKind::None);
    EXPECT_EQ(cursor_now(), arrow);
}

TEST_F(AboutWindowTest, HeaderDragsTheWindowExceptOverTheCloseGlyph) {
    ASSERT_TRUE(session.start());
    const auto hit = [&](LONG x, LONG y) {
        POINT point{x, y};
        ClientToScreen(window(), &point);
        return SendMessageW(window(), WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    };
    const HotSpot glyph = spot(HotSpotKind::Close);
    EXPECT_EQ(hit(200, 20), HTCAPTION);
    EXPECT_EQ(hit(5, 43), HTCAPTION);
    EXPECT_EQ(hit((glyph.left + glyph.right) / 2, (glyph.top + glyph.bottom) / 2), HTCLIENT);
    EXPECT_EQ(hit(200, 44), HTCLIENT);
    EXPECT_EQ(hit(200, 300), HTCLIENT);
}

TEST_F(AboutWindowTest, CloseGlyphClosesOnlyWhenReleasedOnIt) {
    ASSERT_TRUE(session.start());
    const HotSpot glyph = spot(HotSpotKind::Close);
    SendMessageW(window(), WM_LBUTTONDOWN, MK_LBUTTON, centre(glyph));
    SendMessageW(window(), WM_LBUTTONUP, 0, MAKELPARAM(glyph.left - 40, glyph.bottom + 200));
    pump_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(session.state().about);
    EXPECT_FALSE(about().closed);

    const HWND closing = window();
    click(glyph);
    ASSERT_TRUE(wait_until_disposed());
    EXPECT_FALSE(IsWindow(closing));
    EXPECT_EQ(GetFocus(), session.main());
}

TEST_F(AboutWindowTest, CloseButtonEnterEscapeAndWmCloseEachCloseIt) {
    ASSERT_TRUE(session.start());
    const std::function<void(HWND)> ways[] = {
        [&](HWND) { click(spot(HotSpotKind::Close, 1)); },
        [](HWND w) { SendMessageW(w, WM_KEYDOWN, VK_RETURN, 0); },
        [](HWND w) { SendMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0); },
        [](HWND w) { SendMessageW(w, WM_CLOSE, 0, 0); },
    };
    for (std::size_t i = 0; i < std::size(ways); ++i) {
        SCOPED_TRACE(i);
        reopen();
        const HWND open = window();
        // Another key does nothing.
        SendMessageW(open, WM_KEYDOWN, 'A', 0);
        EXPECT_FALSE(about().closed);
        ways[i](open);
        // WM_CLOSE leaves the window to the main window, which destroys it later.
        EXPECT_TRUE(IsWindow(open));
        ASSERT_TRUE(wait_until_disposed());
        EXPECT_FALSE(IsWindow(open));
        EXPECT_TRUE(about_windows().empty());
    }
}

TEST_F(AboutWindowTest, CheckBoxIsSavedAtOnceBothWays) {
    ASSERT_TRUE(session.start());
    SIZE size{};
    const HotSpot box = spot(HotSpotKind::CheckBox);
    const auto box_pixel = [&] {
        const std::vector<std::uint32_t> pixels = painted(size);
        return pixels[static_cast<std::size_t>(box.top + 10) * size.cx + box.left + 1];
    };
    EXPECT_EQ(box_pixel(), rgb(58, 58, 62));
    click(box);
    EXPECT_TRUE(session.saved_settings().hide_about);
    EXPECT_TRUE(session.state().settings.hide_about);
    EXPECT_EQ(box_pixel(), rgb(59, 142, 240));
    click(box);
    EXPECT_FALSE(session.saved_settings().hide_about);
    EXPECT_EQ(box_pixel(), rgb(58, 58, 62));
    click(box);
    session.close();
    EXPECT_TRUE(session.saved_settings().hide_about);
}

TEST_F(AboutWindowTest, LinksGoToTheShellAndOtherClicksDoNot) {
    ASSERT_TRUE(session.start());
    click(spot(HotSpotKind::Link, 0));
    click(spot(HotSpotKind::Link, 1));
    SendMessageW(window(), WM_LBUTTONUP, 0, MAKELPARAM(3, 300));
    ASSERT_EQ(link_calls.size(), 2u);
    EXPECT_EQ(link_calls[0].operation, L"open");
    EXPECT_EQ(link_calls[0].address, widen(texts::about::site_address));
    EXPECT_EQ(link_calls[0].show, SW_SHOWNORMAL);
    EXPECT_EQ(link_calls[1].address, widen(texts::about::companion_address));
    EXPECT_TRUE(session.state().about);
}

TEST_F(AboutWindowTest, LanguageSwitchRepaintsButKeepsTheWindowText) {
    ASSERT_TRUE(session.start());
    pump_for(std::chrono::milliseconds(100));
    ValidateRect(window(), nullptr);
    set_language(session.state().settings, Language::French);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(window(), &update, FALSE));
    EXPECT_EQ(window_text(window()), L"About Ondrel");
}

TEST_F(AboutWindowTest, NoGdiObjectLeftAfterFiftyOpenings) {
    ASSERT_TRUE(session.start());
    reopen(); // the first opening may allocate what GDI keeps for the process
    SendMessageW(window(), WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(wait_until_disposed());
    const std::size_t gdi_before = gdi_object_count();
    {
        // The count sees a single object come and go.
        const UniqueBrush probe(CreateSolidBrush(RGB(1, 2, 3)));
        ASSERT_EQ(gdi_object_count(), gdi_before + 1);
    }
    ASSERT_EQ(gdi_object_count(), gdi_before);
    for (int i = 0; i < 50; ++i) {
        open_about(session.state());
        ASSERT_TRUE(session.state().about);
        UpdateWindow(window()); // a real paint with every font and the picture
        SendMessageW(window(), WM_MOUSEMOVE, 0, centre(spot(HotSpotKind::Close, 1)));
        UpdateWindow(window());
        SendMessageW(window(), WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_TRUE(wait_until_disposed());
    }
    EXPECT_EQ(gdi_object_count(), gdi_before);
}

TEST_F(AboutWindowTest, RowsFitAndScreenshotsInBothLanguages) {
    ASSERT_TRUE(session.start());
    for (const char* language : {"en", "fr"}) {
        for (const UINT dpi : {96u, 144u}) {
            SCOPED_TRACE(std::string(language) + " " + std::to_string(dpi));
            set_language(session.state().settings,
                         language == std::string("fr") ? Language::French : Language::English);
            change_dpi(dpi);
            reopen();

            // Each licence row's two texts side by side leave a gap between them.
            RECT client{};
            GetClientRect(window(), &client);
            const LONG padding = about_size(24, about().scale);
            WindowDc screen(nullptr);
            SelectedObject font(screen.get(),
                                about().fonts[static_cast<std::size_t>(AboutFont::Small)].get());
            const auto width_of = [&](const std::string& text) {
                SIZE extent{};
                const std::wstring wide = widen(text);
                GetTextExtentPoint32W(screen.get(), wide.c_str(), static_cast<int>(wide.size()),
                                      &extent);
                return extent.cx;
            };
            for (const auto& row : texts::about::licence_rows()) {
                EXPECT_LT(width_of(row.left) + width_of(row.right) + about_size(12, about().scale),
                          client.right - 2 * padding)
                    << row.left;
            }

            SIZE size{};
            const std::vector<std::uint32_t> pixels = painted(size);
            const std::wstring name =
                L"about-" + widen(language) + L"-" + std::to_wstring(dpi) + L"dpi.png";
            EXPECT_TRUE(write_png(screenshot_folder() / name, static_cast<std::uint32_t>(size.cx),
                                  static_cast<std::uint32_t>(size.cy), pixels));
        }
    }
}

} // namespace
} // namespace ondrel::testing
