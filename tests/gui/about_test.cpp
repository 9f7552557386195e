// The About window on the real main window: opening, size and place, hover, clicks, keys,
// the saved check box, links, the language switch, leaks and screenshots.
#include "gui/support/player_test.hpp"
#include "main/language_switch.hpp"
#include "main/window_classes_win32.hpp"
#include "platform/win32/wide.hpp"
#include "ui/about_layout_win32.hpp"
#include "ui/about_texts.hpp"
#include "ui/about_win32.hpp"

namespace ondrel::testing {
namespace {

constexpr std::uint32_t accent = 0x3B8EF0;
constexpr std::uint32_t background = 0x242427;
constexpr std::uint32_t highlight = 0x3A3A3E;

// The ShellExecuteW calls of the links: operation, address, show command.
std::vector<std::tuple<std::wstring, std::wstring, int>> link_calls;

HINSTANCE WINAPI record_link(HWND, LPCWSTR operation, LPCWSTR address, LPCWSTR parameters,
                             LPCWSTR folder, INT show) {
    EXPECT_EQ(parameters, nullptr);
    EXPECT_EQ(folder, nullptr);
    link_calls.emplace_back(operation, address, show);
    return reinterpret_cast<HINSTANCE>(42);
}

class GuiAbout : public PlayerTest {
protected:
    void SetUp() override {
        link_calls.clear();
        set_about_link_opener(record_link);
        ASSERT_TRUE(session.start());
    }
    void TearDown() override { set_about_link_opener(nullptr); }

    AboutWindow& about() const { return *state().about; }
    HWND window() const { return about().window.get(); }

    HotSpot spot(HotSpotKind kind, std::size_t nth = 0) const {
        for (const HotSpot& s : about().hot_spots) {
            if (s.kind == kind && nth-- == 0) {
                return s;
            }
        }
        ADD_FAILURE() << "no such hot spot";
        return {};
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
        return pump_until([&] { return !state().about; }, std::chrono::seconds(5));
    }

    void reopen() {
        if (state().about) {
            SendMessageW(window(), WM_KEYDOWN, VK_ESCAPE, 0);
            ASSERT_TRUE(wait_until_disposed());
        }
        open_about(state());
        ASSERT_TRUE(state().about);
    }

    // What WM_PAINT puts into the client area.
    Picture painted() const {
        RECT client{};
        GetClientRect(window(), &client);
        return paint_picture(client.right, client.bottom,
                             [&](HDC dc) { paint_about(about(), dc, client); });
    }
};

std::vector<HWND> about_windows() {
    return windows_of_process(GetCurrentProcessId(), about_window_class);
}

TEST_F(GuiAbout, OpensAtStartupAsAnOwnedToolWindow) {
    ASSERT_TRUE(state().about);
    EXPECT_EQ(about_windows(), std::vector<HWND>{window()});
    EXPECT_EQ(window_text(window()), L"About Ondrel");
    expect_owned_tool_popup(window(), main());
    EXPECT_EQ(GetFocus(), window());
    EXPECT_TRUE(about().picture) << "bitmap resource 2";

    // Opening it again only brings it to the front.
    const HWND first = window();
    SetForegroundWindow(main());
    ASSERT_EQ(GetForegroundWindow(), main());
    open_about(state());
    EXPECT_EQ(window(), first);
    EXPECT_EQ(GetForegroundWindow(), first);
    EXPECT_EQ(about_windows().size(), 1u);
}

TEST_F(GuiAbout, HiddenAtStartupByTheSettingAndTitledInFrench) {
    session.close();
    session.write_settings("language=fr\nhide_about=1\n");
    ASSERT_TRUE(session.start());
    EXPECT_FALSE(state().about);
    EXPECT_TRUE(about_windows().empty());
    // Opened from the menu it starts with the box ticked, in French.
    open_about(state());
    ASSERT_TRUE(state().about);
    EXPECT_TRUE(about().hide_at_startup);
    EXPECT_EQ(window_text(window()), L"À propos de Ondrel");
}

TEST_F(GuiAbout, WidthFollowsTheScaleAndTheTopNeverGoesAboveTheScreen) {
    for (const UINT dpi : {96u, 144u}) {
        SCOPED_TRACE(dpi);
        change_dpi(dpi);
        SetWindowPos(main(), nullptr, 100, 0, 800, 400, SWP_NOZORDER);
        reopen();
        const RECT main_rect = window_rect(main());
        const RECT rect = window_rect(window());
        // Centred across a main window at the top of the screen, and taller than it: its top
        // is 0, not negative.
        const LONG width = dpi == 96 ? 560 : 840;
        EXPECT_EQ(rect.right - rect.left, width);
        EXPECT_EQ(rect.left, (main_rect.left + main_rect.right - width) / 2);
        EXPECT_EQ(main_rect.top, 0);
        EXPECT_EQ(rect.top, 0);
        EXPECT_GT(rect.bottom, main_rect.bottom);
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
    SetWindowPos(main(), nullptr, 40, 30, 900, 1400, SWP_NOZORDER);
    reopen();
    const RECT main_rect = window_rect(main());
    const RECT rect = window_rect(window());
    const LONG height = rect.bottom - rect.top;
    ASSERT_LT(height, main_rect.bottom - main_rect.top);
    EXPECT_EQ(rect.top, (main_rect.top + main_rect.bottom - height) / 2);
}

TEST_F(GuiAbout, HoverGivesTheHandAndHighlightsBothCloseControls) {
    const auto cursor_now = [&] {
        SendMessageW(window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    const HotSpot button = spot(HotSpotKind::Close, 1);
    const int row = (button.top + button.bottom) / 2;
    Picture picture = painted();
    // The fill takes in the right edge too.
    EXPECT_EQ(picture.at(button.left, row), accent);
    EXPECT_EQ(picture.at(button.right, row), accent);
    EXPECT_EQ(picture.at(button.right + 1, row), background);
    EXPECT_EQ(picture.at(button.left - 1, row), background);

    SendMessageW(window(), WM_MOUSEMOVE, 0, centre(spot(HotSpotKind::Link)));
    EXPECT_EQ(about().hover.kind, HotSpotKind::Link);
    EXPECT_EQ(about().hover.address, texts::about::site_address);
    EXPECT_EQ(cursor_now(), LoadCursorW(nullptr, IDC_HAND));

    // The close glyph lights up the Close button too.
    const HotSpot glyph = spot(HotSpotKind::Close);
    SendMessageW(window(), WM_MOUSEMOVE, 0, centre(glyph));
    EXPECT_EQ(about().hover.kind, HotSpotKind::Close);
    picture = painted();
    EXPECT_EQ(picture.at(button.left + 1, row), 0x5AA2F5u);
    EXPECT_EQ(picture.at((glyph.left + glyph.right) / 2, glyph.top + 1), highlight);

    SendMessageW(window(), WM_MOUSEMOVE, 0, MAKELPARAM(5, button.top - 10));
    EXPECT_EQ(about().hover.kind, HotSpotKind::None);
    EXPECT_EQ(cursor_now(), LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(GuiAbout, HeaderDragsTheWindowExceptOverTheCloseGlyph) {
    const HotSpot glyph = spot(HotSpotKind::Close);
    const std::tuple<LONG, LONG, LRESULT> cases[] = {
        {200, 20, HTCAPTION},
        {5, 43, HTCAPTION},
        {(glyph.left + glyph.right) / 2, (glyph.top + glyph.bottom) / 2, HTCLIENT},
        {200, 44, HTCLIENT},
        {200, 300, HTCLIENT},
    };
    for (const auto& [x, y, hit] : cases) {
        POINT point{x, y};
        ClientToScreen(window(), &point);
        EXPECT_EQ(SendMessageW(window(), WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)), hit)
            << x << "," << y;
    }
}

TEST_F(GuiAbout, EachWayOfClosingIt) {
    // A press on the close glyph released elsewhere does nothing.
    const HotSpot glyph = spot(HotSpotKind::Close);
    SendMessageW(window(), WM_LBUTTONDOWN, MK_LBUTTON, centre(glyph));
    SendMessageW(window(), WM_LBUTTONUP, 0, MAKELPARAM(glyph.left - 40, glyph.bottom + 200));
    SendMessageW(window(), WM_KEYDOWN, 'A', 0); // nor does another key
    pump_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(state().about);
    EXPECT_FALSE(about().closed);

    const std::function<void(HWND)> ways[] = {
        [&](HWND) { click(glyph); },
        [&](HWND) { click(spot(HotSpotKind::Close, 1)); },
        [](HWND w) { SendMessageW(w, WM_KEYDOWN, VK_RETURN, 0); },
        [](HWND w) { SendMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0); },
        [](HWND w) { SendMessageW(w, WM_CLOSE, 0, 0); },
    };
    for (std::size_t i = 0; i < std::size(ways); ++i) {
        SCOPED_TRACE(i);
        if (i > 0) {
            open_about(state());
        }
        const HWND open = window();
        ways[i](open);
        // The main window destroys it later, when it sees the close flag.
        EXPECT_TRUE(IsWindow(open));
        ASSERT_TRUE(wait_until_disposed());
        EXPECT_FALSE(IsWindow(open));
        EXPECT_TRUE(about_windows().empty());
        EXPECT_EQ(GetFocus(), main());
    }
}

TEST_F(GuiAbout, CheckBoxIsSavedAtOnceBothWays) {
    const HotSpot box = spot(HotSpotKind::CheckBox);
    const auto box_colour = [&] { return painted().at(box.left + 1, box.top + 10); };
    EXPECT_EQ(box_colour(), highlight);
    click(box);
    EXPECT_TRUE(session.saved_settings().hide_about);
    EXPECT_TRUE(state().settings.hide_about);
    EXPECT_EQ(box_colour(), accent);
    click(box);
    EXPECT_FALSE(session.saved_settings().hide_about);
    EXPECT_EQ(box_colour(), highlight);
    click(box);
    session.close();
    EXPECT_TRUE(session.saved_settings().hide_about);
}

TEST_F(GuiAbout, LinksGoToTheShellAndOtherClicksDoNot) {
    click(spot(HotSpotKind::Link, 0));
    click(spot(HotSpotKind::Link, 1));
    SendMessageW(window(), WM_LBUTTONUP, 0, MAKELPARAM(3, 300));
    EXPECT_EQ(link_calls, (decltype(link_calls){
                              {L"open", widen(texts::about::site_address), SW_SHOWNORMAL},
                              {L"open", widen(texts::about::companion_address), SW_SHOWNORMAL}}));
    EXPECT_TRUE(state().about);
}

TEST_F(GuiAbout, NoGdiObjectLeftAfterFiftyOpenings) {
    reopen(); // the first opening may allocate what GDI keeps for the process
    SendMessageW(window(), WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(wait_until_disposed());
    const std::size_t before = gdi_object_count();
    {
        // The count sees a single object come and go.
        const UniqueBrush probe(CreateSolidBrush(RGB(1, 2, 3)));
        ASSERT_EQ(gdi_object_count(), before + 1);
    }
    for (int i = 0; i < 50; ++i) {
        open_about(state());
        ASSERT_TRUE(state().about);
        UpdateWindow(window()); // a real paint with every font and the picture
        SendMessageW(window(), WM_MOUSEMOVE, 0, centre(spot(HotSpotKind::Close, 1)));
        UpdateWindow(window());
        SendMessageW(window(), WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_TRUE(wait_until_disposed());
    }
    EXPECT_EQ(gdi_object_count(), before);
}

TEST_F(GuiAbout, LanguageSwitchRowsThatFitAndScreenshots) {
    // A switch repaints the open window; its window text stays in the old language.
    pump_for(std::chrono::milliseconds(100));
    ValidateRect(window(), nullptr);
    set_language(state().settings, Language::French);
    EXPECT_TRUE(GetUpdateRect(window(), nullptr, FALSE));
    EXPECT_EQ(window_text(window()), L"About Ondrel");
    for (const Language language : {Language::French, Language::English}) {
        for (const UINT dpi : {96u, 144u}) {
            const std::wstring name = std::wstring(L"about-") +
                                      (language == Language::French ? L"fr-" : L"en-") +
                                      std::to_wstring(dpi) + L"dpi.png";
            SCOPED_TRACE(narrow(name));
            set_language(state().settings, language);
            change_dpi(dpi);
            reopen();
            // Each licence row's two texts side by side leave a gap between them.
            RECT client{};
            GetClientRect(window(), &client);
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
            const float scale = about().scale;
            for (const auto& row : texts::about::licence_rows()) {
                EXPECT_LT(width_of(row.left) + width_of(row.right) + about_size(12, scale),
                          client.right - 2 * about_size(24, scale))
                    << row.left;
            }
            EXPECT_TRUE(painted().save(screenshot_folder() / name));
        }
    }
}

} // namespace
} // namespace ondrel::testing
