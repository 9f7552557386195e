// Reading a built menu back, acting while a popup menu or message box holds its own modal
// loop, and a recorder in place of the open dialog.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>
#include <windows.h>

#include <commdlg.h> // after windows.h, which it needs

namespace ondrel::testing {

// One line of a menu as Windows holds it.
struct MenuLine {
    bool separator = false;
    std::wstring text;
    UINT id = 0;
    bool grayed = false;
    bool checked = false;
    HMENU submenu = nullptr;
};
std::vector<MenuLine> read_menu(HMENU menu);

// Runs `action` once a window of the class appears (a popup menu is "#32768", a message box
// "#32770"), from a timer that the modal loop started by `open` keeps running. False when
// no such window appeared.
bool act_on_modal_window(const wchar_t* window_class, const std::function<void(HWND)>& action,
                         const std::function<void()>& open);

// The open dialog as the program asked for it: the structure (its pointers only good for
// comparing with null), the filter list up to its closing double NUL, and whether the file
// buffer came zeroed.
struct DialogRequest {
    OPENFILENAMEW dialog{};
    std::wstring filter;
    bool buffer_zeroed = false;
};
// Stands in for GetOpenFileNameW while it lives: records each request and answers with
// `answer` (nothing cancels).
struct ScopedDialogRecorder {
    std::vector<DialogRequest> requests;
    std::optional<std::wstring> answer;

    ScopedDialogRecorder();
    ScopedDialogRecorder(const ScopedDialogRecorder&) = delete;
    ScopedDialogRecorder& operator=(const ScopedDialogRecorder&) = delete;
    ~ScopedDialogRecorder();
};

} // namespace ondrel::testing
