// The dialog that reports how a compression that outlived the player ended.
#include "compress_ui/background_win32.hpp"

#include "compress_ui/background_texts.hpp"
#include "compress_ui/compress_window_win32.hpp"
#include "i18n/texts_background.hpp"
#include "i18n/texts_shell.hpp"
#include "platform/win32/wide.hpp"
#include "ui/app_state_win32.hpp"

#include <commctrl.h>
#include <string>

namespace ondrel {

void show_completion_dialog(AppState& state) {
    if (!state.compression || !state.compression->last_result) {
        return;
    }
    const CompressWindow& compression = *state.compression;
    const JobResult& result = *compression.last_result;
    const std::wstring title = widen(texts::program_name);
    const std::wstring instruction =
        widen(tr(result.success ? texts::completion_finished : texts::completion_failed));
    const std::wstring content = widen(completion_content(
        result.success, result.text, compression.output_path, compression.video_path));
    const std::wstring open_folder = widen(tr(texts::completion_open_folder));
    const TASKDIALOG_BUTTON button{completion_open_folder_button_id, open_folder.c_str()};

    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION;
    config.dwCommonButtons = TDCBF_CLOSE_BUTTON;
    config.pszWindowTitle = title.c_str();
    config.pszMainIcon = result.success ? TD_INFORMATION_ICON : TD_ERROR_ICON;
    config.pszMainInstruction = instruction.c_str();
    config.pszContent = content.c_str();
    if (result.success) {
        config.cButtons = 1;
        config.pButtons = &button;
        config.nDefaultButton = completion_open_folder_button_id;
    }
    config.cxWidth = 300;
    int pressed = 0;
    if (FAILED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr))) {
        return;
    }
    // The dialog's own loop runs the window's messages: check that it is still there.
    if (pressed == completion_open_folder_button_id && is_open(compression)) {
        open_output_folder(compression);
    }
}

} // namespace ondrel
