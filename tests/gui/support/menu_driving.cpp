#include "gui/support/menu_driving.hpp"

#include "ui/open_dialog_win32.hpp"

#include <algorithm>
#include <utility>

namespace ondrel::testing {
namespace {

const wchar_t* awaited_class = nullptr;
std::function<void(HWND)> awaited_action;
int ticks_left = 0;

void CALLBACK on_modal_timer(HWND, UINT, UINT_PTR, DWORD) {
    if (!awaited_action) {
        return;
    }
    HWND found = nullptr; // the last visible one: Wine keeps hidden menus around
    for (HWND window = FindWindowExW(nullptr, nullptr, awaited_class, nullptr); window != nullptr;
         window = FindWindowExW(nullptr, window, awaited_class, nullptr)) {
        found = IsWindowVisible(window) ? window : found;
    }
    if (found != nullptr) {
        std::exchange(awaited_action, nullptr)(found);
    } else if (--ticks_left < 0) {
        awaited_action = nullptr; // give up and close whatever holds the loop
        EndMenu();
    }
}

ScopedDialogRecorder* dialog_recorder = nullptr;

BOOL WINAPI record_dialog(OPENFILENAMEW* dialog) {
    DialogRequest request;
    request.dialog = *dialog;
    const wchar_t* filter = dialog->lpstrFilter;
    std::size_t length = 0;
    while (filter != nullptr && !(filter[length] == L'\0' && filter[length + 1] == L'\0')) {
        ++length;
    }
    request.filter.assign(filter, filter == nullptr ? 0 : length + 2);
    request.buffer_zeroed = std::all_of(dialog->lpstrFile, dialog->lpstrFile + dialog->nMaxFile,
                                        [](wchar_t c) { return c == L'\0'; });
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
    for (UINT position = 0; position < static_cast<UINT>(GetMenuItemCount(menu)); ++position) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
        GetMenuItemInfoW(menu, position, TRUE, &info);
        wchar_t text[512] = {};
        GetMenuStringW(menu, position, text, static_cast<int>(std::size(text)), MF_BYPOSITION);
        // Both ways of reading the state must agree.
        const UINT state = GetMenuState(menu, position, MF_BYPOSITION);
        lines.push_back({(info.fType & MFT_SEPARATOR) != 0, text, info.wID,
                         (state & MF_GRAYED) != 0 && (info.fState & MFS_GRAYED) != 0,
                         (state & MF_CHECKED) != 0 && (info.fState & MFS_CHECKED) != 0,
                         info.hSubMenu});
    }
    return lines;
}

bool act_on_modal_window(const wchar_t* window_class, const std::function<void(HWND)>& action,
                         const std::function<void()>& open) {
    bool acted = false;
    awaited_class = window_class;
    awaited_action = [&](HWND window) {
        acted = true;
        action(window);
    };
    ticks_left = 100; // ten seconds
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, on_modal_timer);
    open();
    KillTimer(nullptr, timer);
    awaited_action = nullptr;
    return acted;
}

ScopedDialogRecorder::ScopedDialogRecorder() {
    dialog_recorder = this;
    set_open_file_name_call(record_dialog);
}

ScopedDialogRecorder::~ScopedDialogRecorder() {
    set_open_file_name_call(nullptr);
    dialog_recorder = nullptr;
}

} // namespace ondrel::testing
