// The progress dialog that follows a compression once the player is closed. It cannot be
// dismissed while the job runs; it closes itself when the job ends, or when the user abandons
// the compression through its button and a confirmation.
#include "compress_ui/background_win32.hpp"

#include "compress_ui/background_texts.hpp"
#include "compress_ui/compress_window_texts.hpp"
#include "compress_ui/compress_window_win32.hpp"
#include "i18n/texts_background.hpp"
#include "i18n/texts_shell.hpp"
#include "platform/win32/wide.hpp"
#include "ui/app_state_win32.hpp"

#include <commctrl.h>
#include <string>

namespace ondrel {
namespace {

struct BackgroundDialog {
    // The content last set, so an unchanged line does not make the dialog lay itself out
    // again five times a second.
    std::wstring shown_content;
    // The confirmation is open: the end of the job must not close the dialog under it.
    bool confirming = false;
    // The user confirmed while the job still ran, and it was stopped.
    bool abandoned = false;
};

constexpr int progress_range_end = 1000;

CompressWindow* running_compression() {
    AppState* state = app();
    if (state == nullptr || !state->compression || !state->compression->job) {
        return nullptr;
    }
    return state->compression.get();
}

void show_progress(BackgroundDialog& context, HWND dialog, const CompressWindow& compression) {
    const JobProgress& progress = compression.progress;
    SendMessageW(dialog, TDM_SET_PROGRESS_BAR_POS,
                 static_cast<WPARAM>(progress_bar_position(progress.percent)), 0);
    std::wstring content = widen(background_progress_content(
        compression.output_path, progress.percent, progress.speed, progress.fps, progress.bitrate));
    if (content != context.shown_content) {
        SendMessageW(dialog, TDM_SET_ELEMENT_TEXT, TDE_CONTENT,
                     reinterpret_cast<LPARAM>(content.c_str()));
        context.shown_content = std::move(content);
    }
}

void on_timer(BackgroundDialog& context, HWND dialog) {
    if (const CompressWindow* compression = running_compression()) {
        show_progress(context, dialog, *compression);
    } else if (!context.confirming) {
        // The job has ended (or its window is gone): the same click as Escape, which the
        // callback now lets through.
        SendMessageW(dialog, TDM_CLICK_BUTTON, IDCANCEL, 0);
    }
}

HRESULT confirm_abandon(BackgroundDialog& context, HWND dialog) {
    if (context.confirming) {
        return S_FALSE;
    }
    context.confirming = true;
    const std::wstring question = widen(tr(texts::background_cancel_question));
    const std::wstring caption = widen(texts::program_name);
    const int answer = MessageBoxW(dialog, question.c_str(), caption.c_str(),
                                   MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
    context.confirming = false;
    if (answer != IDYES) {
        return S_FALSE;
    }
    // The job may have ended while the question was open; its outcome is then reported as
    // usual rather than silently dropped.
    CompressWindow* compression = running_compression();
    if (compression == nullptr) {
        return S_OK;
    }
    const Abandoning abandoning = abort_compression(*compression);
    if (!abandoning.problem.empty()) {
        const std::wstring problem = widen(abandoning.problem);
        MessageBoxW(dialog, problem.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
    }
    if (abandoning.abandoned) {
        context.abandoned = true;
        return S_OK;
    }
    // ffmpeg had already ended, so nothing was canceled: the dialog closes once the outcome is
    // in, and the completion dialog reports it like any other.
    return running_compression() != nullptr ? S_FALSE : S_OK;
}

HRESULT on_button(BackgroundDialog& context, HWND dialog, WPARAM id) {
    if (id == static_cast<WPARAM>(background_cancel_button_id)) {
        return confirm_abandon(context, dialog);
    }
    if (id == IDCANCEL) {
        // Escape, the close button and Alt+F4 cannot leave a running job without a window.
        return running_compression() != nullptr ? S_FALSE : S_OK;
    }
    return S_OK;
}

} // namespace

HRESULT CALLBACK background_dialog_callback(HWND dialog, UINT notification, WPARAM w, LPARAM,
                                            LONG_PTR data) {
    auto* context = reinterpret_cast<BackgroundDialog*>(data);
    if (context == nullptr) {
        return S_OK;
    }
    // Nothing may unwind through the dialog's frames.
    try {
        switch (notification) {
        case TDN_CREATED:
            SendMessageW(dialog, TDM_SET_PROGRESS_BAR_RANGE, 0, MAKELPARAM(0, progress_range_end));
            return S_OK;
        case TDN_TIMER:
            on_timer(*context, dialog);
            return S_OK;
        case TDN_BUTTON_CLICKED:
            return on_button(*context, dialog, w);
        default:
            return S_OK;
        }
    } catch (...) {
        return S_OK;
    }
}

bool run_background_dialog(AppState& state) {
    if (!state.compression) {
        return false;
    }
    BackgroundDialog context;
    const std::wstring title = widen(texts::program_name);
    const std::wstring instruction = widen(tr(texts::background_instruction));
    const std::wstring content = widen(background_preparing_content(state.compression->video_path));
    const std::wstring cancel = widen(tr(texts::background_cancel_button));
    const std::wstring footer = widen(tr(texts::background_footer));
    const TASKDIALOG_BUTTON button{background_cancel_button_id, cancel.c_str()};

    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_SHOW_PROGRESS_BAR | TDF_CALLBACK_TIMER;
    config.pszWindowTitle = title.c_str();
    config.pszMainIcon = TD_INFORMATION_ICON;
    config.pszMainInstruction = instruction.c_str();
    config.pszContent = content.c_str();
    config.cButtons = 1;
    config.pButtons = &button;
    config.pszFooter = footer.c_str();
    config.pfCallback = background_dialog_callback;
    config.lpCallbackData = reinterpret_cast<LONG_PTR>(&context);
    config.cxWidth = 300;
    // The dialog ends with the cancel button exactly when the job was abandoned; the outcome
    // of a job that ended while the confirmation was open is still reported.
    TaskDialogIndirect(&config, nullptr, nullptr, nullptr);
    return context.abandoned;
}

} // namespace ondrel
