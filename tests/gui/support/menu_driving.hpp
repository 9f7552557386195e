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

// The open dialog as the program asked for it, and what the recorder answers.
struct DialogRequest {
    DWORD structure_size = 0;
    HWND owner = nullptr;
    std::wstring filter; // the whole list, NULs included, up to its closing double NUL
    DWORD filter_index = 0;
    DWORD max_file = 0;
    bool buffer_zeroed = false;
    DWORD flags = 0;
    bool has_title = false;
    bool has_initial_folder = false;
};
struct DialogRecorder {
    std::vector<DialogRequest> requests;
    std::optional<std::wstring> answer; // the chosen path; nothing cancels
};
// Puts the recorder in place of GetOpenFileNameW for its lifetime.
struct ScopedDialogRecorder {
    DialogRecorder recorder;
    ScopedDialogRecorder();
    ScopedDialogRecorder(const ScopedDialogRecorder&) = delete;
    ScopedDialogRecorder& operator=(const ScopedDialogRecorder&) = delete;
    ~ScopedDialogRecorder();
};

} // namespace ondrel::testing
