// The program's entry point.
#include "i18n/language.hpp"
#include "main/settings.hpp"

#include <windows.h>

namespace {

LRESULT CALLBACK main_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, w, l);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // A DLL planted in the current folder must never be picked up; libmpv is loaded by its
    // full path anyway.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);

    const ondrel::Settings settings = ondrel::load_settings();
    ondrel::choose_language_at_startup(settings.language);

    WNDCLASSEXW main_class{};
    main_class.cbSize = sizeof main_class;
    main_class.style = CS_DBLCLKS;
    main_class.lpfnWndProc = main_window_procedure;
    main_class.hInstance = instance;
    main_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    main_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    main_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    main_class.lpszClassName = L"Ondrel.Main";
    RegisterClassExW(&main_class);

    const HWND main = CreateWindowExW(0, L"Ondrel.Main", L"Ondrel",
                                      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                                      CW_USEDEFAULT, 960, 590, nullptr, nullptr, instance, nullptr);
    if (main == nullptr) {
        return 0;
    }
    ShowWindow(main, SW_SHOWNORMAL);
    UpdateWindow(main);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
