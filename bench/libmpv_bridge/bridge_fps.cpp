// Frames per second that the libmpv bridge puts on screen: plays a clip through the bridge's
// libmpv-2.dll into a window of each size for a while and counts the frames it drew.
//
//   bridge_fps <libmpv-2.dll> <clip> [seconds per size, default 10]
#include <mpv/client.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>
#include <windows.h>

namespace {

using Clock = std::chrono::steady_clock;
using FramesShown = std::uint64_t (*)(mpv_handle*);

struct Library {
    decltype(&::mpv_create) create;
    decltype(&::mpv_initialize) initialize;
    decltype(&::mpv_set_option_string) set_option_string;
    decltype(&::mpv_command) command;
    decltype(&::mpv_get_property) get_property;
    decltype(&::mpv_wait_event) wait_event;
    decltype(&::mpv_terminate_destroy) terminate_destroy;
    FramesShown frames_shown;
};

template <class Function> Function find(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

HWND make_window(int width, int height) {
    WNDCLASSW window{};
    window.lpfnWndProc = DefWindowProcW;
    window.hInstance = GetModuleHandleW(nullptr);
    window.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    window.lpszClassName = L"BridgeFps";
    RegisterClassW(&window);
    return CreateWindowExW(0, L"BridgeFps", L"bridge fps", WS_POPUP | WS_VISIBLE, 0, 0, width,
                           height, nullptr, nullptr, window.hInstance, nullptr);
}

// Frames shown per second at one size, or a negative value when the clip did not play.
double measure(const Library& mpv, const std::string& clip, int width, int height, double seconds) {
    const HWND window = make_window(width, height);
    mpv_handle* handle = mpv.create();
    if (handle == nullptr) {
        DestroyWindow(window);
        return -1;
    }
    mpv.set_option_string(handle, "wid",
                          std::to_string(reinterpret_cast<std::intptr_t>(window)).c_str());
    mpv.set_option_string(handle, "keep-open", "yes");
    mpv.set_option_string(handle, "loop-file", "inf");
    mpv.initialize(handle);
    const char* load[] = {"loadfile", clip.c_str(), nullptr};
    mpv.command(handle, load);
    bool loaded = false;
    const auto give_up = Clock::now() + std::chrono::seconds(20);
    while (!loaded && Clock::now() < give_up) {
        pump();
        loaded = mpv.wait_event(handle, 0.05)->event_id == MPV_EVENT_FILE_LOADED;
    }
    double rate = -1;
    if (loaded) {
        const auto run_for = [&](double duration) {
            const auto end = Clock::now() + std::chrono::duration<double>(duration);
            while (Clock::now() < end) {
                pump();
                mpv.wait_event(handle, 0.02);
            }
        };
        run_for(2.0); // past the first frames and the window's first sizes
        const std::uint64_t first = mpv.frames_shown(handle);
        const auto start = Clock::now();
        run_for(seconds);
        const std::uint64_t last = mpv.frames_shown(handle);
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        rate = static_cast<double>(last - first) / elapsed;
    }
    mpv.terminate_destroy(handle);
    DestroyWindow(window);
    pump();
    return rate;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fputs("usage: bridge_fps <libmpv-2.dll> <clip> [seconds]\n", stderr);
        return 2;
    }
    const HMODULE module = LoadLibraryW(argv[1]);
    if (module == nullptr) {
        std::fputs("cannot load the bridge\n", stderr);
        return 1;
    }
    Library mpv{find<decltype(&::mpv_create)>(module, "mpv_create"),
                find<decltype(&::mpv_initialize)>(module, "mpv_initialize"),
                find<decltype(&::mpv_set_option_string)>(module, "mpv_set_option_string"),
                find<decltype(&::mpv_command)>(module, "mpv_command"),
                find<decltype(&::mpv_get_property)>(module, "mpv_get_property"),
                find<decltype(&::mpv_wait_event)>(module, "mpv_wait_event"),
                find<decltype(&::mpv_terminate_destroy)>(module, "mpv_terminate_destroy"),
                find<FramesShown>(module, "ondrel_libmpv_bridge_frames_shown")};
    if (mpv.frames_shown == nullptr) {
        std::fputs("this libmpv-2.dll is not the bridge\n", stderr);
        return 1;
    }
    std::string clip(std::wcslen(argv[2]), '\0');
    for (std::size_t index = 0; index < clip.size(); ++index) {
        clip[index] = static_cast<char>(argv[2][index]); // the clip's path is ASCII
    }
    const double seconds = argc > 3 ? std::wcstod(argv[3], nullptr) : 10.0;
    std::puts("| window | frames shown per second |");
    std::puts("|---|---|");
    for (const auto& [width, height] : {std::pair{640, 360}, {1280, 720}}) {
        const double rate = measure(mpv, clip, width, height, seconds);
        if (rate < 0) {
            std::printf("| %dx%d | the clip did not play |\n", width, height);
        } else {
            std::printf("| %dx%d | %.1f |\n", width, height, rate);
        }
        std::fflush(stdout);
    }
    return 0;
}
