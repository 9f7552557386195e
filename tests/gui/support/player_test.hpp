// The fixture of the GUI tests: the real main window started in this process against the
// libmpv test double, with its own settings folder.
#pragma once

#include "gui/support/desktop.hpp"
#include "gui/support/gui_session.hpp"

#include <gtest/gtest.h>

namespace ondrel::testing {

// Not on disk: the double plays it all the same.
inline constexpr wchar_t film[] = L"C:\\videos\\film.mkv";

// The double's scenario of a two-minute film with two audio tracks and one subtitle track,
// the first of each titled "Q&A", the second audio track in French.
nlohmann::json tracks_scenario();

class PlayerTest : public ::testing::Test {
protected:
    GuiSession session;

    AppState& state() const { return session.state(); }
    HWND main() const { return session.main(); }

    // Starts with the file (and the double's scenario, when there is one), and waits until the
    // file is loaded.
    bool play(const nlohmann::json& scenario = nullptr, const std::wstring& file = film);

    // What a move to a screen of another DPI does: the window keeps its place and gets the
    // default size at that DPI.
    void change_dpi(UINT dpi) const;
};

// A popup with a border and no caption, a tool window owned by `owner`.
void expect_owned_tool_popup(HWND window, HWND owner);

} // namespace ondrel::testing
