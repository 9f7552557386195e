#include "gui/support/player_test.hpp"

namespace ondrel::testing {

nlohmann::json tracks_scenario() {
    return nlohmann::json::parse(R"({"default": {"duration": 120,
        "audio": [{"title": "Q&A"}, {"title": "Commentary", "lang": "fre"}],
        "sub": [{"title": "Q&A", "codec": ""}], "aid": 1}})");
}

bool PlayerTest::play(const nlohmann::json& scenario, const std::wstring& file) {
    if (!scenario.is_null()) {
        session.write_scenario(scenario);
    }
    return session.start(L"Ondrel.exe \"" + file + L"\"") &&
           pump_until([&] { return state().session.playback.file_loaded; });
}

void PlayerTest::change_dpi(UINT dpi) const {
    RECT rect{};
    GetWindowRect(main(), &rect);
    rect.right = rect.left + 960 * static_cast<LONG>(dpi) / 96;
    rect.bottom = rect.top + 590 * static_cast<LONG>(dpi) / 96;
    SendMessageW(main(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&rect));
}

void expect_owned_tool_popup(HWND window, HWND owner) {
    EXPECT_EQ(GetWindow(window, GW_OWNER), owner);
    EXPECT_NE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & (WS_POPUP | WS_BORDER | WS_CAPTION),
              WS_POPUP | WS_BORDER);
}

} // namespace ondrel::testing
