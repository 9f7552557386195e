#include "gui/support/desktop.hpp"

#include "gui/support/png_writer.hpp"
#include "support/windows_process.hpp"

#include <cstddef>
#include <cstdint>
#include <thread>
#include <winternl.h>

namespace ondrel::testing {
namespace {

std::wstring quote_argument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes * 2, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

} // namespace

bool pump_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void pump_for(std::chrono::milliseconds duration) {
    pump_until([] { return false; }, duration);
}

StartedProgram
start_program(const std::filesystem::path& program, const std::vector<std::wstring>& arguments,
              const std::vector<std::pair<std::wstring, std::wstring>>& environment) {
    std::wstring command = quote_argument(program.wstring());
    for (const auto& argument : arguments) {
        command += L" " + quote_argument(argument);
    }
    // The child gets this process's environment plus the extra variables.
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved;
    for (const auto& [name, value] : environment) {
        wchar_t buffer[32768];
        const DWORD n = GetEnvironmentVariableW(name.c_str(), buffer, 32768);
        saved.emplace_back(name, n > 0 ? std::optional<std::wstring>(buffer) : std::nullopt);
        SetEnvironmentVariableW(name.c_str(), value.c_str());
    }
    PROCESS_INFORMATION info{};
    StartedProgram started;
    if (create_process(program.c_str(), command, 0, info)) {
        started.process.reset(info.hProcess);
        CloseHandle(info.hThread);
        started.id = info.dwProcessId;
    }
    for (const auto& [name, value] : saved) {
        SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr);
    }
    return started;
}

std::optional<DWORD> wait_for_exit(const StartedProgram& program,
                                   std::chrono::milliseconds timeout) {
    if (!program.process) {
        return std::nullopt;
    }
    if (WaitForSingleObject(program.process.get(), static_cast<DWORD>(timeout.count())) !=
        WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(program.process.get(), &code);
    return code;
}

std::vector<HWND> windows_of_process(DWORD process_id, const wchar_t* wanted_class) {
    struct Search {
        DWORD id;
        const wchar_t* wanted_class;
        std::vector<HWND> found;
    } search{process_id, wanted_class, {}};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s.id || !IsWindowVisible(window)) {
                return TRUE;
            }
            if (s.wanted_class == nullptr || class_name(window) == s.wanted_class) {
                s.found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND wait_for_window(DWORD process_id, const wchar_t* class_name, std::chrono::milliseconds timeout,
                     const std::function<bool(HWND)>& accept) {
    HWND found = nullptr;
    pump_until(
        [&] {
            for (const HWND window : windows_of_process(process_id, class_name)) {
                if (accept(window)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeout);
    return found;
}

std::wstring window_text(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied < 0 ? 0 : copied));
    return text;
}

std::wstring message_box_text(HWND box) {
    // The message is the longest text among the box's static controls (the icon is one too).
    std::wstring best;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM context) -> BOOL {
            if (_wcsicmp(class_name(child).c_str(), L"Static") == 0) {
                std::wstring text = window_text(child);
                auto& best_text = *reinterpret_cast<std::wstring*>(context);
                if (text.size() > best_text.size()) {
                    best_text = std::move(text);
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&best));
    return best;
}

RECT window_rect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

std::wstring class_name(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::uint32_t Picture::at(int x, int y) const {
    return pixels.at(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                     static_cast<std::size_t>(x));
}

bool Picture::save(const std::filesystem::path& file) const {
    std::filesystem::create_directories(file.parent_path());
    return write_png(file, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                     pixels);
}

Picture paint_picture(int width, int height, const std::function<void(HDC)>& paint) {
    Picture picture;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    WindowDc screen(nullptr);
    CompatibleDc memory(CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (width <= 0 || height <= 0 || !bitmap || bits == nullptr) {
        return picture;
    }
    {
        SelectedObject selected(memory.get(), bitmap.get());
        paint(memory.get());
        GdiFlush();
    }
    picture.width = width;
    picture.height = height;
    const auto* source = static_cast<const std::uint32_t*>(bits);
    picture.pixels.assign(source, source + static_cast<std::size_t>(width) * height);
    for (auto& p : picture.pixels) {
        p &= 0x00FFFFFFu;
    }
    return picture;
}

bool save_window_screenshot(HWND window, const std::filesystem::path& file) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const Picture shot =
        paint_picture(rect.right - rect.left, rect.bottom - rect.top, [&](HDC memory) {
            WindowDc screen(nullptr);
            BitBlt(memory, 0, 0, rect.right - rect.left, rect.bottom - rect.top, screen.get(),
                   rect.left, rect.top, SRCCOPY);
        });
    return !shot.pixels.empty() && shot.save(file);
}

std::uint32_t screen_pixel(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    const WindowDc screen(nullptr);
    const COLORREF colour = GetPixel(screen.get(), point.x, point.y);
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

std::size_t gdi_object_count() {
    if (const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); counted != 0) {
        return counted;
    }
    // One entry of the GDI handle table; a live object has a non-zero type.
    struct HandleEntry {
        std::uint64_t object;
        std::uint32_t owner;
        std::uint16_t unique;
        std::uint8_t type;
        std::uint8_t flags;
        std::uint64_t user_pointer;
    };
    static_assert(sizeof(HandleEntry) == 24);
    constexpr std::size_t table_offset_in_peb = 0xF8; // 64-bit PEB
    constexpr std::size_t entries = 0x10000;
    using QueryProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (query == nullptr ||
        query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) {
        return 0;
    }
    const auto* peb = reinterpret_cast<const std::byte*>(basic.PebBaseAddress);
    const auto* table = *reinterpret_cast<const HandleEntry* const*>(peb + table_offset_in_peb);
    if (table == nullptr) {
        return 0;
    }
    std::size_t live = 0;
    for (std::size_t i = 0; i < entries; ++i) {
        live += table[i].type != 0 ? 1 : 0;
    }
    return live;
}

std::filesystem::path program_folder() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(self).parent_path();
}

std::filesystem::path build_folder() {
    return program_folder().parent_path().parent_path();
}

std::filesystem::path screenshot_folder() {
    // Test programs live in build/<preset>/tests[/...]; screenshots go beside them.
    std::filesystem::path folder = program_folder();
    while (!folder.empty() && folder.filename() != L"tests" && folder.has_parent_path() &&
           folder.parent_path() != folder) {
        folder = folder.parent_path();
    }
    return folder.parent_path() / L"screenshots";
}

} // namespace ondrel::testing
