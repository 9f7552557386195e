// The program's six window classes.
#pragma once

#include <windows.h>

namespace ondrel {

inline constexpr const wchar_t* main_window_class = L"Ondrel.Main";
inline constexpr const wchar_t* video_window_class = L"Ondrel.Video";
inline constexpr const wchar_t* bar_window_class = L"Ondrel.Bar";
inline constexpr const wchar_t* help_window_class = L"Ondrel.Help";
inline constexpr const wchar_t* compress_window_class = L"Ondrel.Compress";
inline constexpr const wchar_t* about_window_class = L"Ondrel.About";

// Registers all six in a fixed order; a class that cannot be registered is skipped.
void register_window_classes(HINSTANCE instance);

LRESULT CALLBACK main_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);

} // namespace ondrel
