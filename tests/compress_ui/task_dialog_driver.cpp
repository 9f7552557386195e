#include "task_dialog_driver.hpp"

#include "gui/support/desktop.hpp"

#include <commctrl.h>

namespace ondrel::testing {
namespace {

bool is_dialog_box(HWND window) {
    return IsWindowVisible(window) && class_name(window) == L"#32770";
}

std::vector<HWND> thread_dialogs(DWORD thread) {
    std::vector<HWND> found;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM list) {
            if (is_dialog_box(window)) {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

struct RunningScript {
    std::vector<ModalStep> steps;
    std::size_t next = 0;
    std::chrono::steady_clock::time_point deadline;
    std::function<void()> rescue;
    bool rescued = false;
    ScriptResult result;
};
RunningScript* running = nullptr;

void close_strays(RunningScript& script) {
    if (const HWND dialog = find_task_dialog()) {
        script.result.strays.push_back(read_dialog(dialog));
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
}

void CALLBACK on_script_timer(HWND, UINT, UINT_PTR, DWORD) {
    RunningScript* script = running;
    if (script == nullptr) {
        return;
    }
    if (script->next < script->steps.size()) {
        if (std::chrono::steady_clock::now() > script->deadline) {
            if (!script->rescued) {
                script->rescued = true;
                script->rescue();
            }
            close_strays(*script);
            return;
        }
        // A step may open a nested modal loop, which runs this timer again: it waits.
        running = nullptr;
        const bool done = script->steps[script->next]();
        running = script;
        if (done && ++script->next == script->steps.size()) {
            script->result.finished = true;
        }
        return;
    }
    close_strays(*script);
}

} // namespace

DialogView read_dialog(HWND dialog) {
    DialogView view;
    view.title = window_text(dialog);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring name = class_name(child);
        if (name == L"Static") {
            if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                if (view.icon == nullptr) {
                    view.icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
                }
            } else if (IsWindowVisible(child)) {
                view.texts.push_back(window_text(child));
            }
        } else if (name == L"Button" && IsWindowVisible(child)) {
            view.buttons.push_back(DialogButton{GetDlgCtrlID(child), window_text(child)});
            // A message box marks its default button by style alone.
            if ((GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
                view.default_button = GetDlgCtrlID(child);
            }
        } else if (name == PROGRESS_CLASSW) {
            view.has_progress_bar = true;
            // No structure to fill: the dialog may belong to another process.
            view.progress_high = static_cast<int>(SendMessageW(child, PBM_GETRANGE, FALSE, 0));
            view.progress_position = static_cast<int>(SendMessageW(child, PBM_GETPOS, 0, 0));
        }
    }
    return view;
}

HWND find_task_dialog() {
    for (const HWND dialog : thread_dialogs(GetCurrentThreadId())) {
        if (GetWindow(dialog, GW_OWNER) == nullptr) {
            return dialog;
        }
    }
    return nullptr;
}

HWND find_owned_dialog(HWND owner) {
    for (const HWND dialog : thread_dialogs(GetWindowThreadProcessId(owner, nullptr))) {
        if (GetWindow(dialog, GW_OWNER) == owner) {
            return dialog;
        }
    }
    return nullptr;
}

ModalStep press_on_task_dialog(HWND& dialog, DialogView& view, int button, const HWND* previous) {
    return [&dialog, &view, button, previous] {
        if (previous != nullptr && IsWindow(*previous)) {
            return false;
        }
        dialog = find_task_dialog();
        if (dialog == nullptr) {
            return false;
        }
        view = read_dialog(dialog);
        PostMessageW(dialog, TDM_CLICK_BUTTON, button, 0);
        return true;
    };
}

ModalStep answer_owned_box(const HWND& owner, DialogView& view, int answer) {
    return [&owner, &view, answer] {
        const HWND box = find_owned_dialog(owner);
        if (box == nullptr) {
            return false;
        }
        view = read_dialog(box);
        PostMessageW(box, WM_COMMAND, answer, 0);
        return true;
    };
}

ModalStep wait_for(std::chrono::milliseconds duration) {
    auto until = std::make_shared<std::chrono::steady_clock::time_point>();
    return [until, duration] {
        const auto now = std::chrono::steady_clock::now();
        if (*until == std::chrono::steady_clock::time_point{}) {
            *until = now + duration;
        }
        return now >= *until;
    };
}

ScriptResult run_modal_script(std::vector<ModalStep> steps, const std::function<void()>& open,
                              const std::function<void()>& rescue, std::chrono::seconds limit) {
    RunningScript script{std::move(steps), 0,     std::chrono::steady_clock::now() + limit,
                         rescue,           false, {}};
    script.result.finished = script.steps.empty();
    running = &script;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, on_script_timer);
    open();
    // Steps left when the loops have ended (waiting for a dialog to go) run now.
    pump_until([&] { return script.result.finished || script.rescued; },
               std::chrono::duration_cast<std::chrono::milliseconds>(
                   script.deadline - std::chrono::steady_clock::now()));
    KillTimer(nullptr, timer);
    running = nullptr;
    return script.result;
}

} // namespace ondrel::testing
