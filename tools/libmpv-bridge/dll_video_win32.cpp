#include "dll_handle_win32.hpp"

namespace bridge {
namespace {

constexpr UINT frame_arrived = WM_APP + 1;
constexpr UINT notice_changed = WM_APP + 2; // wparam: how long it stays, in ms
constexpr UINT_PTR size_timer = 1;
constexpr UINT_PTR notice_timer = 2;
constexpr UINT size_check_ms = 50;
constexpr wchar_t window_class[] = L"OndrelLibmpvBridge.Video";

// The message body of a frame: kind, width, height, then the pixels.
constexpr std::size_t frame_header = 1 + 4 + 4;

// White text at the top left, as libmpv places its own.
void paint_notice(HDC dc, const std::wstring& text, const RECT& area) {
    const int height = area.bottom / 20 > 16 ? area.bottom / 20 : 16;
    const ondrel::UniqueFont font(CreateFontW(
        -height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial"));
    const HGDIOBJ previous = SelectObject(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT place{height / 2, height / 2, area.right - height / 2, area.bottom - height / 2};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &place,
              DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, previous);
}

void paint(HDC dc, mpv_handle* handle, const RECT& area) {
    Video& video = handle->video;
    const std::lock_guard lock(video.lock);
    if (video.frame.empty()) {
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        if (!video.notice.empty()) {
            paint_notice(dc, video.notice, area);
        }
        return;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = video.frame_width;
    info.bmiHeader.biHeight = -video.frame_height; // rows top to bottom, as libmpv gives them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(dc, 0, 0, area.right, area.bottom, 0, 0, video.frame_width, video.frame_height,
                  video.frame.data() + frame_header, &info, DIB_RGB_COLORS, SRCCOPY);
}

// Follows the size of the program's video window, and tells the helper to render at it.
void follow_parent(mpv_handle* handle, HWND window) {
    Video& video = handle->video;
    if (!IsWindow(video.parent)) {
        DestroyWindow(window);
        return;
    }
    RECT area{};
    GetClientRect(video.parent, &area);
    if (area.right == video.reported_width && area.bottom == video.reported_height) {
        return;
    }
    video.reported_width = area.right;
    video.reported_height = area.bottom;
    SetWindowPos(window, HWND_TOP, 0, 0, area.right, area.bottom, SWP_NOACTIVATE | SWP_NOZORDER);
    Writer resize(Kind::resize);
    resize.u32(static_cast<std::uint32_t>(area.right)).u32(static_cast<std::uint32_t>(area.bottom));
    notify(handle, resize);
}

LRESULT CALLBACK video_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* handle = reinterpret_cast<mpv_handle*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT painting;
        const HDC dc = BeginPaint(window, &painting);
        RECT area{};
        GetClientRect(window, &area);
        if (handle != nullptr) {
            paint(dc, handle, area);
        }
        EndPaint(window, &painting);
        return 0;
    }
    case frame_arrived: {
        RECT area{};
        GetClientRect(window, &area);
        if (const HDC dc = GetDC(window)) {
            paint(dc, handle, area);
            ReleaseDC(window, dc);
            ++handle->video.frames_shown;
        }
        Writer done(Kind::frame_done);
        notify(handle, done);
        return 0;
    }
    case notice_changed:
        KillTimer(window, notice_timer);
        if (wparam > 0) {
            SetTimer(window, notice_timer, static_cast<UINT>(wparam), nullptr);
        }
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_TIMER:
        if (wparam == notice_timer) {
            KillTimer(window, notice_timer);
            show_notice(handle, "", 0);
        } else {
            follow_parent(handle, window);
        }
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

HINSTANCE this_module() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&video_procedure), &module);
    return module;
}

void run_video_window(mpv_handle* handle) {
    WNDCLASSEXW window{};
    window.cbSize = sizeof window;
    window.lpfnWndProc = video_procedure;
    window.hInstance = this_module();
    window.lpszClassName = window_class;
    RegisterClassExW(&window); // fails harmlessly when a second handle registers it again
    Video& video = handle->video;
    RECT area{};
    GetClientRect(video.parent, &area);
    // Disabled, like the program's own video window: mouse input goes through to the program.
    // No WM_PARENTNOTIFY: the program's thread may be waiting inside a libmpv call while this
    // window comes and goes, and would never answer it.
    const HWND child = CreateWindowExW(WS_EX_NOPARENTNOTIFY, window_class, L"",
                                       WS_CHILD | WS_VISIBLE | WS_DISABLED, 0, 0, area.right,
                                       area.bottom, video.parent, nullptr, this_module(), nullptr);
    video.window = child;
    SetEvent(video.created.get());
    if (child == nullptr) {
        return;
    }
    SetWindowLongPtrW(child, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(handle));
    follow_parent(handle, child);
    SetTimer(child, size_timer, size_check_ms, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
}

// Waits for an event while answering the messages other threads send to this one: a child
// window's start and end send messages to its parent's thread, most likely the waiting one.
void wait_answering(HANDLE event, DWORD timeout_ms) {
    while (MsgWaitForMultipleObjects(1, &event, FALSE, timeout_ms, QS_SENDMESSAGE) ==
           WAIT_OBJECT_0 + 1) {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

} // namespace

void start_video(mpv_handle* handle, HWND parent) {
    Video& video = handle->video;
    if (video.thread.joinable() || !IsWindow(parent)) {
        return;
    }
    video.parent = parent;
    video.created.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    video.ended.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!video.created || !video.ended) {
        return;
    }
    video.thread = std::thread([handle] {
        run_video_window(handle);
        SetEvent(handle->video.ended.get());
    });
    // The window exists before mpv_initialize returns, as libmpv's own would.
    wait_answering(video.created.get(), 5000);
}

void receive_frame(mpv_handle* handle, std::vector<std::uint8_t> message) {
    Video& video = handle->video;
    Reader reader(message.data(), message.size());
    const std::uint32_t width = reader.u32();
    const std::uint32_t height = reader.u32();
    const bool whole = !reader.failed() && width > 0 && height > 0 &&
                       reader.remaining() == std::size_t{width} * height * 4;
    if (whole) {
        const std::lock_guard lock(video.lock);
        video.frame = std::move(message);
        video.frame_width = static_cast<int>(width);
        video.frame_height = static_cast<int>(height);
    }
    if (!whole || video.window == nullptr || !PostMessageW(video.window, frame_arrived, 0, 0)) {
        Writer done(Kind::frame_done);
        notify(handle, done);
    }
}

void drop_picture(mpv_handle* handle) {
    Video& video = handle->video;
    {
        const std::lock_guard lock(video.lock);
        video.frame.clear();
    }
    if (video.window != nullptr) {
        InvalidateRect(video.window, nullptr, FALSE);
    }
}

void show_notice(mpv_handle* handle, std::string_view text, unsigned milliseconds) {
    Video& video = handle->video;
    {
        const std::lock_guard lock(video.lock);
        video.notice = ondrel::widen(text);
    }
    if (video.window != nullptr) {
        PostMessageW(video.window, notice_changed, text.empty() ? 0 : milliseconds, 0);
    }
}

void stop_video(mpv_handle* handle) {
    Video& video = handle->video;
    if (!video.thread.joinable()) {
        return;
    }
    if (video.window != nullptr) {
        PostMessageW(video.window, WM_CLOSE, 0, 0);
    }
    wait_answering(video.ended.get(), INFINITE);
    video.thread.join();
}

} // namespace bridge
