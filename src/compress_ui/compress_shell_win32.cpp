// The two trips out to the Windows shell: choosing the output folder, and showing the
// finished file in Explorer.
#include "compress_ui/compress_window_win32.hpp"

#include "i18n/texts_compress_window.hpp"
#include "platform/win32/wide.hpp"

#include <shellapi.h>

namespace ondrel {

CompressShellCalls& compress_shell_calls() {
    static CompressShellCalls calls{SHBrowseForFolderW, ShellExecuteW};
    return calls;
}

void browse_output_folder(CompressWindow& record) {
    wchar_t display_name[MAX_PATH] = {};
    const std::wstring title = widen(tr(texts::output_folder_title));
    BROWSEINFOW info{};
    info.hwndOwner = record.window;
    info.pszDisplayName = display_name;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    const PIDLIST_ABSOLUTE chosen = compress_shell_calls().browse_for_folder(&info);
    if (chosen == nullptr) {
        return; // canceled
    }
    // Folders deeper than MAX_PATH characters are named too.
    std::wstring path(32768, L'\0');
    const bool named = SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()),
                                             GPFIDL_DEFAULT) != FALSE;
    CoTaskMemFree(chosen);
    // The dialog is modal: the main window may have closed and disposed of the window.
    if (!is_open(record)) {
        return;
    }
    if (named) {
        path.resize(path.find(L'\0'));
        record.options.output_dir = std::filesystem::path(path);
    }
    layout_compression_window(record);
}

void open_output_folder(const CompressWindow& record) {
    const std::wstring parameters = L"/select,\"" + record.output_path.wstring() + L"\"";
    compress_shell_calls().shell_execute(record.window, L"open", L"explorer.exe",
                                         parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

} // namespace ondrel
