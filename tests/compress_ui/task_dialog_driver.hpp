// Driving the dialogs that run their own modal loop: a script of steps run from a timer that
// those loops keep dispatching, and what a task dialog or message box shows, read from its
// controls (under Wine a task dialog is an ordinary dialog box of child windows).
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

namespace ondrel::testing {

struct DialogButton {
    int id = 0;
    std::wstring text;
};

// What a dialog box shows.
struct DialogView {
    std::wstring title;
    // The texts of its static controls, in creation order: for a task dialog the main
    // instruction, the content and the footer; for a message box its message.
    std::vector<std::wstring> texts;
    std::vector<DialogButton> buttons;
    int default_button = 0; // the push button drawn as the default
    HICON icon = nullptr;
    bool has_progress_bar = false;
    int progress_high = 0;
    int progress_position = 0;
};
DialogView read_dialog(HWND dialog);

// The visible dialog box of this thread that no other window owns (a task dialog has no
// owner here), or null.
HWND find_task_dialog();
// The visible dialog box owned by `owner` (its message box), or null.
HWND find_owned_dialog(HWND owner);

// One step of a script: called again on every tick until it returns true.
using ModalStep = std::function<bool()>;

// A step that waits this long.
ModalStep wait_for(std::chrono::milliseconds duration);

// A step that waits for a task dialog (after `previous`, when given, has gone), keeps it and
// what it shows, and presses the button.
ModalStep press_on_task_dialog(HWND& dialog, DialogView& view, int button,
                               const HWND* previous = nullptr);
// A step that waits for the message box `owner` shows, reads it and answers it.
ModalStep answer_owned_box(const HWND& owner, DialogView& view, int answer);

struct ScriptResult {
    bool finished = false;          // every step was done in time
    std::vector<DialogView> strays; // task dialogs seen (and closed) after the last step
};

// Runs `open` (which enters the modal loops) with the steps run from a 20 ms timer, and then
// the steps still left. When the time is up, `rescue` is called once so that the loops can
// end. Once the steps are done, any task dialog that appears is read, closed and reported as
// a stray.
ScriptResult run_modal_script(std::vector<ModalStep> steps, const std::function<void()>& open,
                              const std::function<void()>& rescue,
                              std::chrono::seconds limit = std::chrono::seconds(60));

} // namespace ondrel::testing
