// Helpers for driving real windows under Wine: starting programs, finding their windows,
// waiting with the message queue running, and taking screenshots.
#pragma once

#include "platform/win32/handles.hpp"

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

namespace ondrel::testing {

// Runs the calling thread's messages until the condition holds or the time is up.
bool pump_until(const std::function<bool()>& condition,
                std::chrono::milliseconds timeout = std::chrono::milliseconds(10000));

// Runs the calling thread's messages for a while.
void pump_for(std::chrono::milliseconds duration);

struct StartedProgram {
    UniqueHandle process;
    DWORD id = 0;
};

// Starts a program with arguments (quoted here) and extra environment variables.
StartedProgram
start_program(const std::filesystem::path& program, const std::vector<std::wstring>& arguments,
              const std::vector<std::pair<std::wstring, std::wstring>>& environment = {});

// Waits for the program to end; its exit code, or nothing on time-out.
std::optional<DWORD>
wait_for_exit(const StartedProgram& program,
              std::chrono::milliseconds timeout = std::chrono::milliseconds(20000));

// Visible top-level windows of a process, optionally of one class.
std::vector<HWND> windows_of_process(DWORD process_id, const wchar_t* class_name = nullptr);

// The first visible window of the class in the process that `accept` takes, waited for with
// the messages running; null on time-out.
HWND wait_for_window(
    DWORD process_id, const wchar_t* class_name,
    std::chrono::milliseconds timeout = std::chrono::milliseconds(20000),
    const std::function<bool(HWND)>& accept = [](HWND) { return true; });

// A window's place on the screen, and its class name.
RECT window_rect(HWND window);
std::wstring class_name(HWND window);

// The text of a window (title or control text).
std::wstring window_text(HWND window);

// The message text of a message box (its static text control).
std::wstring message_box_text(HWND box);

// What was drawn into a 32-bit bitmap: 0x00RRGGBB pixels, row by row from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const;
    bool save(const std::filesystem::path& file) const; // as a PNG
};
// Lets `paint` draw into a fresh bitmap of the size; empty when it cannot be made.
Picture paint_picture(int width, int height, const std::function<void(HDC)>& paint);

// Saves what the screen shows of the window as a PNG.
bool save_window_screenshot(HWND window, const std::filesystem::path& file);

// A rectangle as {left, top, right, bottom}, which checks can compare and print.
inline std::array<LONG, 4> sides(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}
// A rectangle's width and height.
inline std::pair<LONG, LONG> extent(const RECT& rect) {
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// The colour on screen at a point of a window's client area, as 0xRRGGBB.
std::uint32_t screen_pixel(HWND window, int x, int y);

// The GDI objects this process holds (GetGuiResources). Wine answers 0 there, so under Wine
// the live entries of the process's GDI handle table are counted instead.
std::size_t gdi_object_count();

// The folder for screenshots: build/<preset>/screenshots.
std::filesystem::path screenshot_folder();

// The folder this test program lives in.
std::filesystem::path program_folder();

// The build tree (build/<preset>), where Ondrel.exe is: two folders above the test program.
std::filesystem::path build_folder();

} // namespace ondrel::testing
