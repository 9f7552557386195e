#include "main/startup_win32.hpp"

#include "compress_ui/compress_window_win32.hpp"
#include "i18n/texts_shell.hpp"
#include "main/command_line.hpp"
#include "main/handoff.hpp"
#include "main/main_layout.hpp"
#include "main/main_window_win32.hpp"
#include "main/window_classes_win32.hpp"
#include "platform/files.hpp"
#include "platform/win32/wide.hpp"
#include "ui/about_win32.hpp"
#include "ui/app_state_win32.hpp"
#include "ui/fonts_win32.hpp"
#include "ui/tooltips_win32.hpp"

#include <commctrl.h>
#include <dwmapi.h>
#include <objbase.h>
#include <shellapi.h>

namespace ondrel {
namespace {

constexpr DWORD dark_title_bar_attribute = 20; // DWMWA_USE_IMMERSIVE_DARK_MODE

std::string absolute_path(const std::string& argument) {
    const std::wstring wide = widen(argument);
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return argument;
    }
    std::wstring full(needed, L'\0');
    const DWORD written = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (written == 0 || written >= needed) {
        return argument;
    }
    full.resize(written);
    return narrow(full);
}

void show_fatal_error(HWND owner, const std::string& message) {
    MessageBoxW(owner, widen(message).c_str(), widen(texts::program_name).c_str(), MB_ICONERROR);
}

// A saved rectangle is used only when it still touches a monitor.
void restore_saved_rectangle(HWND main, const Settings& settings) {
    if (!settings.window) {
        return;
    }
    const RECT rect{settings.window->left, settings.window->top, settings.window->right,
                    settings.window->bottom};
    if (MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) == nullptr) {
        return;
    }
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    placement.rcNormalPosition = rect;
    SetWindowPlacement(main, &placement);
}

HWND create_child(const wchar_t* window_class, DWORD extra_style, HWND parent, HINSTANCE instance) {
    return CreateWindowExW(0, window_class, nullptr,
                           WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_CLIPSIBLINGS | extra_style, 0,
                           0, 0, 0, parent, nullptr, instance, nullptr);
}

std::filesystem::path create_watch_later_folder() {
    const std::filesystem::path folder = program_data_folder() / "watch_later";
    create_folders_quietly(folder);
    return folder;
}

// The bar's tooltips show only after a pause over a button, so they are made once the window is
// on screen and the file is opening: the common controls (comctl32 is loaded here) come then.
void add_bar_tooltips(AppState& state) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    create_tooltips(state);
    RECT client{};
    GetClientRect(state.main_window, &client);
    place_tooltips(state, client.right, client.bottom, IsWindowVisible(state.control_bar) != 0);
}

} // namespace

std::optional<std::string> command_line_file(const wchar_t* command_line) {
    const std::wstring_view line(command_line == nullptr ? L"" : command_line);
    const std::optional<std::string> argument = first_argument(split_command_line(
        std::u16string_view(reinterpret_cast<const char16_t*>(line.data()), line.size())));
    if (!argument || is_url(*argument)) {
        return argument;
    }
    return absolute_path(*argument);
}

StartOutcome start_ondrel(HINSTANCE instance, const wchar_t* command_line) {
    // A DLL planted in the current folder must never be picked up; libmpv itself is loaded
    // by its full path.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);

    Settings settings = load_settings();
    choose_language_at_startup(settings.language);
    const std::optional<std::string> file = command_line_file(command_line);
    if (!settings.multi_instance && hand_off_to_running_instance(file)) {
        return StartOutcome::HandedOff;
    }

    register_window_classes(instance);

    AppState& state = create_app_state(std::move(settings));
    const PixelSize size = default_window_size(GetDpiForSystem());
    const HWND main = CreateWindowExW(
        WS_EX_ACCEPTFILES, main_window_class, L"Ondrel", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
        CW_USEDEFAULT, CW_USEDEFAULT, size.width, size.height, nullptr, nullptr, instance, nullptr);
    if (main == nullptr) {
        return StartOutcome::Ended;
    }
    const BOOL dark = TRUE;
    DwmSetWindowAttribute(main, dark_title_bar_attribute, &dark, sizeof dark);
    restore_saved_rectangle(main, state.settings);
    state.dpi = GetDpiForWindow(main);
    create_fonts(state);
    state.video_window = create_child(video_window_class, WS_CLIPCHILDREN, main, instance);
    state.control_bar = create_child(bar_window_class, 0, main, instance);
    state.main_window = main; // from here on the main window procedure handles messages
    // Raised before the tooltip window exists: Wine slots a window made topmost just under its
    // own topmost owned windows and leaves it not topmost.
    if (state.settings.always_on_top) {
        SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
        InvalidateRect(state.control_bar, nullptr, FALSE);
    }
    layout_children(state);
    ShowWindow(main, state.settings.maximized ? SW_MAXIMIZE : SW_SHOWNORMAL);
    UpdateWindow(main);
    // COM for the shell's dialogs, set for this thread before libmpv starts on it.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    Result<LoadedMpv> mpv = load_libmpv();
    if (!mpv) {
        show_fatal_error(main, mpv.error());
        return StartOutcome::Ended;
    }
    const std::filesystem::path watch_later = create_watch_later_folder();
    const PlayerWindows windows{shell_window(main), shell_window(state.video_window),
                                shell_window(state.control_bar)};
    const Status started = start_player(state.session, std::move(mpv.value()), windows,
                                        state.settings, path_to_utf8(watch_later));
    if (!started) {
        show_fatal_error(main, started.error());
        return StartOutcome::Ended;
    }
    if (file) {
        open_file(state.session, *file);
    } else {
        show_text(state.session, tr(texts::drop_hint), 3600000);
    }
    add_bar_tooltips(state);
    if (!state.settings.hide_about) {
        open_about(state);
    }
    return StartOutcome::Running;
}

void run_message_loop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The compression window gets first look for its dialog keys.
        if (const AppState* state = app();
            state != nullptr && compression_dialog_message(*state, message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

int run_ondrel(HINSTANCE instance) {
    if (start_ondrel(instance, GetCommandLineW()) == StartOutcome::Running) {
        run_message_loop();
    }
    return 0;
}

} // namespace ondrel
