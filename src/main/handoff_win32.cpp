#include "main/handoff.hpp"

#include "i18n/texts_shell.hpp"
#include "main/handoff_payload.hpp"
#include "main/window_classes_win32.hpp"

namespace ondrel {

bool hand_off_to_running_instance(const std::optional<std::string>& file) {
    const HWND running = FindWindowW(main_window_class, nullptr);
    if (running == nullptr) {
        return false;
    }
    const std::u16string payload = build_handoff_payload(file.value_or(""));
    COPYDATASTRUCT data{};
    data.dwData = handoff_tag;
    data.cbData = static_cast<DWORD>(payload.size() * sizeof(char16_t));
    data.lpData = const_cast<char16_t*>(payload.data());
    DWORD owner = 0;
    GetWindowThreadProcessId(running, &owner);
    // Lets the running window bring itself to the front.
    AllowSetForegroundWindow(owner);
    DWORD_PTR result = 0;
    const LRESULT sent = SendMessageTimeoutW(
        running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000, &result);
    return sent != 0 && result == 1;
}

LRESULT receive_handoff(AppState& state, const COPYDATASTRUCT* data) {
    if (data == nullptr || data->dwData != handoff_tag || state.closing) {
        return 0;
    }
    // The payload is another process's input: read within cbData only, and copied now,
    // before the sender's memory goes away.
    const std::optional<std::string> text = read_handoff_payload(data->lpData, data->cbData);
    if (!text) {
        return 0;
    }
    // Without a player this window is only showing its start-up error before it ends: the
    // file would be lost, so the new instance is told to open its own window.
    if (!text->empty() && !state.session.player) {
        return 0;
    }
    if (IsIconic(state.main_window)) {
        ShowWindow(state.main_window, SW_RESTORE);
    }
    SetForegroundWindow(state.main_window);
    if (!text->empty()) {
        open_file(state.session, *text);
    }
    return 1;
}

void toggle_multi_instance(AppState& state) {
    state.settings.multi_instance = !state.settings.multi_instance;
    // The choice holds for this session; a later save writes it once the file can be written.
    (void)save_settings(state.settings);
    if (state.session.player) {
        show_text(state.session,
                  tr(state.settings.multi_instance ? texts::multi_instance_on
                                                   : texts::multi_instance_off),
                  2500);
    }
    if (state.help_overlay != nullptr) {
        InvalidateRect(state.help_overlay, nullptr, FALSE);
    }
}

} // namespace ondrel
