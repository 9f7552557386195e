#include "compress_window_session.hpp"

#include "gui/support/desktop.hpp"
#include "platform/files.hpp"
#include "platform/process.hpp"
#include "platform/win32/wide.hpp"

#include <commctrl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <stdexcept>

namespace ondrel::testing {
namespace {

// Beside this program's folder: the fakes, the clips and the way to the real tools.
std::filesystem::path tests_folder() {
    return program_folder().parent_path();
}

std::filesystem::path real_tools_folder() {
    return program_folder() / path_from_utf8(ONDREL_TOOLS_FROM_TESTS);
}

PIDLIST_ABSOLUTE WINAPI record_browse(LPBROWSEINFOW info) {
    ShellCallRecord& record = shell_calls();
    ++record.browses;
    record.executed.push_back(L"browse|" + std::wstring(info->lpszTitle) + L"|" +
                              std::to_wstring(info->ulFlags));
    if (record.during_browse) {
        record.during_browse();
    }
    if (!record.folder_to_pick) {
        return nullptr;
    }
    return ILCreateFromPathW(record.folder_to_pick->c_str());
}

HINSTANCE WINAPI record_execute(HWND, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters, LPCWSTR,
                                INT show) {
    shell_calls().executed.push_back(std::wstring(operation) + L"|" + file + L"|" + parameters +
                                     L"|" + std::to_wstring(show));
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}

} // namespace

std::filesystem::path clip(const std::string& name) {
    return tests_folder() / "clips" / name;
}

ShellCallRecord& shell_calls() {
    static ShellCallRecord record;
    return record;
}

CompressSession::CompressSession() {
    shell_calls() = ShellCallRecord{};
    compress_shell_calls() = CompressShellCalls{record_browse, record_execute};
    store_language(Language::English);
    if (!player.start()) {
        ADD_FAILURE() << "the player did not start";
        return;
    }
    // Room above and below the main window, so the centred compression window is on screen.
    SetWindowPos(player.main(), nullptr, 100, 200, 1000, 600, SWP_NOZORDER);
}

CompressSession::~CompressSession() {
    if (AppState* state = app(); state != nullptr) {
        state->compression.reset();
    }
    store_language(Language::English);
}

void CompressSession::use_tools(Tool ffmpeg, Tool ffprobe) {
    const auto place = [&](Tool tool, const std::string& name) {
        const std::filesystem::path target =
            tools.path / path_from_utf8(executable_file_name(name));
        if (tool == Tool::Fake) {
            std::filesystem::copy_file(
                tests_folder() / path_from_utf8(executable_file_name("fake_" + name)), target);
        } else if (tool == Tool::Broken) {
            // Not a program at all: Windows refuses to start it.
            std::ofstream(target, std::ios::binary) << "not a program";
        }
    };
    place(ffmpeg, "ffmpeg");
    place(ffprobe, "ffprobe");
    std::string search_path = path_to_utf8(tools.path);
    if (ffmpeg == Tool::Real || ffprobe == Tool::Real) {
        search_path += ";" + path_to_utf8(real_tools_folder());
    }
    path.reset();
    path.emplace("PATH", search_path);
}

Result<CompressWindowPtr> CompressSession::create(const std::filesystem::path& video,
                                                  const std::string& setting) {
    return create_compression_window(player.main(), path_to_utf8(video), setting);
}

CompressWindow& CompressSession::open(const std::filesystem::path& video,
                                      const std::string& setting) {
    auto created = create(video, setting);
    if (!created) {
        throw std::runtime_error("no compression window: " + created.error());
    }
    player.state().compression = std::move(created.value());
    return window();
}

CompressWindow& CompressSession::window() const {
    return *app()->compression;
}

bool CompressSession::has_window() const {
    return app()->compression != nullptr;
}

bool CompressSession::wait_until(const std::function<bool()>& condition,
                                 std::chrono::seconds limit) {
    return pump_until(condition, limit);
}

bool CompressSession::start(const std::string& clip_name) {
    open(clip(clip_name), "dir=" + path_to_utf8(outputs.path));
    if (!wait_for_analysis()) {
        return false;
    }
    click(Control::MainButton);
    return true;
}

Sender<CompressMessage> CompressSession::attach_test_job() {
    auto [sender, receiver] = make_channel<CompressMessage>();
    window().job.emplace(CompressJob{std::move(receiver), nullptr, nullptr});
    poll_while_needed(window()); // as starting a real job does
    return std::move(sender);
}

bool CompressSession::wait_for_analysis() {
    return wait_until([&] { return window().media_info || window().probe_error; }) &&
           wait_for_output_name();
}

bool CompressSession::wait_for_output_name() {
    return wait_until([&] { return !output_name_pending(window().output_name); });
}

HWND CompressSession::control(Control which) const {
    return window().control(which);
}

std::string CompressSession::text(Control which) const {
    return narrow(window_text(control(which)));
}

bool CompressSession::shown(Control which) const {
    return IsWindowVisible(control(which)) != FALSE;
}

bool CompressSession::enabled(Control which) const {
    return IsWindowEnabled(control(which)) != FALSE;
}

RECT CompressSession::rect(Control which) const {
    RECT rect{};
    GetWindowRect(control(which), &rect);
    MapWindowPoints(nullptr, window().window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE CompressSession::client_size() const {
    RECT client{};
    GetClientRect(window().window, &client);
    return SIZE{client.right, client.bottom};
}

COLORREF CompressSession::text_colour(Control which) const {
    CompatibleDc dc(CreateCompatibleDC(nullptr));
    SendMessageW(window().window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                 reinterpret_cast<LPARAM>(control(which)));
    return GetTextColor(dc.get());
}

void CompressSession::click(Control button) const {
    SendMessageW(control(button), BM_CLICK, 0, 0);
}

void CompressSession::select(Control combo, int index) const {
    const HWND box = control(combo);
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(window().window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
}

void CompressSession::slide(Control slider, int position) const {
    const HWND bar = control(slider);
    SendMessageW(bar, TBM_SETPOS, TRUE, position);
    SendMessageW(window().window, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position),
                 reinterpret_cast<LPARAM>(bar));
}

void CompressSession::type(Control box, const std::wstring& text) const {
    SendMessageW(control(box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void CompressSession::press_escape() const {
    SetFocus(control(Control::CloseButton));
    MSG message{control(Control::CloseButton), WM_KEYDOWN, VK_ESCAPE, 0x00010001, 0, {}};
    if (!compression_dialog_message(*app(), message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void screenshot_now(HWND window, const std::string& name) {
    // Painted here and now, without running the timer that would change the state.
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    save_window_screenshot(window, screenshot_folder() / path_from_utf8(name + ".png"));
}

void CompressSession::screenshot(const std::string& name) const {
    screenshot_now(window().window, name);
}

} // namespace ondrel::testing
