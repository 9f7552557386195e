#include "gui/support/menu_driving.hpp"

#include "ui/open_dialog_win32.hpp"

#include <chrono>

namespace ondrel::testing {
namespace {

struct PendingAction {
    const wchar_t* window_class = nullptr;
    std::function<void(HWND)> action;
    bool done = false;
    std::chrono::steady_clock::time_point deadline;
};
PendingAction* pending = nullptr;

HWND visible_window_of_class(const wchar_t* window_class) {
    HWND found = nullptr;
    for (HWND window = FindWindowExW(nullptr, nullptr, window_class, nullptr); window != nullptr;
         window = FindWindowExW(nullptr, window, window_class, nullptr)) {
        if (IsWindowVisible(window)) {
            found = window;
        }
    }
    return found;
}

void CALLBACK on_modal_timer(HWND, UINT, UINT_PTR, DWORD) {
    if (pending == nullptr || pending->done) {
        return;
    }
    if (const HWND window = visible_window_of_class(pending->window_class)) {
        pending->done = true;
        pending->action(window);
    } else if (std::chrono::steady_clock::now() > pending->deadline) {
        pending->done = true; // give up and close whatever holds the loop
        EndMenu();
    }
}

DialogRecorder* dialog_recorder = nullptr;

BOOL WINAPI record_dialog(OPENFILENAMEW* dialog) {
    DialogRequest request;
    request.structure_size = dialog->lStructSize;
    request.owner = dialog->hwndOwner;
    const wchar_t* filter = dialog->lpstrFilter;
    std::size_t length = 0;
    while (filter != nullptr && !(filter[length] == L'\0' && filter[length + 1] == L'\0')) {
        ++length;
    }
    request.filter.assign(filter, filter == nullptr ? 0 : length + 2);
    request.filter_index = dialog->nFilterIndex;
    request.max_file = dialog->nMaxFile;
    request.buffer_zeroed = true;
    for (DWORD i = 0; i < dialog->nMaxFile; ++i) {
        request.buffer_zeroed &= dialog->lpstrFile[i] == L'\0';
    }
    request.flags = dialog->Flags;
    request.has_title = dialog->lpstrTitle != nullptr;
    request.has_initial_folder = dialog->lpstrInitialDir != nullptr;
    dialog_recorder->requests.push_back(request);
    if (!dialog_recorder->answer) {
        return FALSE;
    }
    dialog_recorder->answer->copy(dialog->lpstrFile, dialog->nMaxFile - 1);
    return TRUE;
}

} // namespace

std::vector<MenuLine> read_menu(HMENU menu) {
    std::vector<MenuLine> lines;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT position = static_cast<UINT>(i);
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
        GetMenuItemInfoW(menu, position, TRUE, &info);
        MenuLine line;
        line.separator = (info.fType & MFT_SEPARATOR) != 0;
        wchar_t text[512] = {};
        GetMenuStringW(menu, position, text, static_cast<int>(std::size(text)), MF_BYPOSITION);
        line.text = text;
        line.id = info.wID;
        const UINT state = GetMenuState(menu, position, MF_BYPOSITION);
        line.grayed = (state & MF_GRAYED) != 0 && (info.fState & MFS_GRAYED) != 0;
        line.checked = (state & MF_CHECKED) != 0 && (info.fState & MFS_CHECKED) != 0;
        line.submenu = info.hSubMenu;
        lines.push_back(line);
    }
    return lines;
}

bool act_on_modal_window(const wchar_t* window_class, const std::function<void(HWND)>& action,
                         const std::function<void()>& open) {
    bool acted = false;
    PendingAction request{window_class,
                          [&](HWND window) {
                              acted = true;
                              action(window);
                          },
                          false, std::chrono::steady_clock::now() + std::chrono::seconds(10)};
    pending = &request;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, on_modal_timer);
    open();
    KillTimer(nullptr, timer);
    pending = nullptr;
    return acted;
}

ScopedDialogRecorder::ScopedDialogRecorder() {
    dialog_recorder = &recorder;
    set_open_file_name_call(record_dialog);
}

ScopedDialogRecorder::~ScopedDialogRecorder() {
    set_open_file_name_call(nullptr);
    dialog_recorder = nullptr;
}

} // namespace ondrel::testing
