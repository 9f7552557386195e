#include "bridge_session.hpp"

#include "platform/files.hpp"
#include "platform/win32/handles.hpp"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace ondrel::testing {
namespace {

std::filesystem::path windows_form(const char* unix_path) {
    std::wstring path = L"Z:";
    for (const char* c = unix_path; *c != '\0'; ++c) {
        path.push_back(*c == '/' ? L'\\' : static_cast<wchar_t>(*c));
    }
    return path;
}

int channel_distance(std::uint32_t a, std::uint32_t b) {
    int largest = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int difference =
            std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
        largest = difference > largest ? difference : largest;
    }
    return largest;
}

} // namespace

std::filesystem::path bridge_clip(const wchar_t* name) {
    return windows_form(ONDREL_BRIDGE_CLIPS) / name;
}

bool bridge_helper_built() {
    return std::filesystem::exists(windows_form(ONDREL_BRIDGE_HELPER));
}

Picture capture_client(HWND window) {
    RECT area{};
    GetClientRect(window, &area);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return paint_picture(area.right, area.bottom, [&](HDC memory) {
        const WindowDc screen(nullptr);
        BitBlt(memory, 0, 0, area.right, area.bottom, screen.get(), origin.x, origin.y, SRCCOPY);
    });
}

Colour classify(std::uint32_t pixel) {
    const int red = static_cast<int>((pixel >> 16) & 0xFF);
    const int green = static_cast<int>((pixel >> 8) & 0xFF);
    const int blue = static_cast<int>(pixel & 0xFF);
    if (red < 24 && green < 24 && blue < 24) {
        return Colour::black;
    }
    if (red > 150 && green < 80 && blue < 80) {
        return Colour::red;
    }
    if (blue > 150 && red < 80 && green < 80) {
        return Colour::blue;
    }
    if (std::abs(red - green) < 16 && std::abs(green - blue) < 16 && red > 80 && red < 180) {
        return Colour::grey;
    }
    return Colour::other;
}

Colour middle_colour(const Picture& picture) {
    if (picture.pixels.empty()) {
        return Colour::other;
    }
    const int x = picture.width / 2;
    const int y = picture.height / 2;
    const int step_x = picture.width / 8;
    const int step_y = picture.height / 8;
    const Colour colour = classify(picture.at(x, y));
    for (const auto& [dx, dy] : {std::pair{-1, -1}, {1, -1}, {-1, 1}, {1, 1}}) {
        if (classify(picture.at(x + dx * step_x, y + dy * step_y)) != colour) {
            return Colour::other;
        }
    }
    return colour;
}

std::size_t changed_pixels(const Picture& before, const Picture& after) {
    if (before.width != after.width || before.height != after.height) {
        return before.pixels.size();
    }
    std::size_t changed = 0;
    for (std::size_t index = 0; index < before.pixels.size(); ++index) {
        changed += channel_distance(before.pixels[index], after.pixels[index]) > 48 ? 1 : 0;
    }
    return changed;
}

BridgeSession::BridgeSession() {
    std::filesystem::create_directories(folder);
    std::filesystem::create_directories(app_data / L"Ondrel");
    const std::filesystem::path build = program_folder().parent_path().parent_path();
    std::filesystem::copy_file(build / L"Ondrel.exe", folder / L"Ondrel.exe");
    std::filesystem::copy_file(build / L"tools" / L"libmpv-bridge" / L"libmpv-2.dll",
                               folder / L"libmpv-2.dll");
    // English whatever the machine's language; no About window in front of the video.
    std::ofstream(app_data / L"Ondrel" / L"settings.ini", std::ios::binary)
        << "language=en\nhide_about=1\n";
}

BridgeSession::~BridgeSession() {
    if (program.process && !wait_for_exit(program, std::chrono::milliseconds(0))) {
        TerminateProcess(program.process.get(), 1);
        wait_for_exit(program);
    }
}

bool BridgeSession::start(const std::filesystem::path& file) {
    program = start_program(folder / L"Ondrel.exe", {file.wstring()},
                            {{L"APPDATA", app_data.wstring()},
                             {L"ONDREL_LIBMPV_BRIDGE_RECORD", record_file.wstring()}});
    if (!program.process) {
        return false;
    }
    pump_until(
        [&] {
            const auto windows = windows_of_process(program.id, L"Ondrel.Main");
            main = windows.empty() ? nullptr : windows.front();
            video =
                main != nullptr ? FindWindowExW(main, nullptr, L"Ondrel.Video", nullptr) : nullptr;
            return video != nullptr;
        },
        std::chrono::milliseconds(30000));
    return video != nullptr;
}

bool BridgeSession::close() {
    PostMessageW(main, WM_CLOSE, 0, 0);
    const bool ended = wait_for_exit(program, std::chrono::milliseconds(30000)).has_value();
    main = nullptr;
    video = nullptr;
    return ended;
}

std::vector<nlohmann::json> BridgeSession::record() const {
    std::vector<nlohmann::json> calls;
    std::ifstream file(record_file, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        // A line being written as we read is whole on the next read.
        nlohmann::json call = nlohmann::json::parse(line, nullptr, false);
        if (!call.is_discarded()) {
            calls.push_back(std::move(call));
        }
    }
    return calls;
}

std::vector<std::string> BridgeSession::shown_texts() const {
    std::vector<std::string> texts;
    for (const nlohmann::json& call : record()) {
        const nlohmann::json& arguments = call.value("args", nlohmann::json::array());
        if (arguments.size() >= 2 && arguments[0] == "show-text") {
            texts.push_back(arguments[1].get<std::string>());
        }
    }
    return texts;
}

bool BridgeSession::wait_for_text(const std::string& prefix,
                                  std::chrono::milliseconds timeout) const {
    return pump_until(
        [&] {
            for (const std::string& text : shown_texts()) {
                if (text.starts_with(prefix)) {
                    return true;
                }
            }
            return false;
        },
        timeout);
}

bool BridgeSession::wait_for_colour(Colour colour, std::chrono::milliseconds timeout) const {
    return pump_until([&] { return middle_colour(capture_client(video)) == colour; }, timeout);
}

void BridgeSession::press_key(WPARAM key) const {
    PostMessageW(main, WM_KEYDOWN, key, 1);
    PostMessageW(main, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

bool BridgeSession::kill_helper() const {
    // The helper is a native process that inherited the program's environment, and with it
    // this session's own record file.
    const std::string marker = "ONDREL_LIBMPV_BRIDGE_RECORD=" + path_to_utf8(record_file);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(L"Z:\\proc", error)) {
        std::stringstream command_line;
        std::stringstream environment;
        command_line << std::ifstream(entry.path() / L"cmdline", std::ios::binary).rdbuf();
        environment << std::ifstream(entry.path() / L"environ", std::ios::binary).rdbuf();
        if (command_line.str().find("ondrel-libmpv-bridge") == std::string::npos ||
            environment.str().find(marker + '\0') == std::string::npos) {
            continue;
        }
        std::wstring kill = L"\"/bin/kill\" -KILL " + entry.path().filename().wstring();
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (!CreateProcessW(nullptr, kill.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                            nullptr, nullptr, &startup, &started)) {
            return false;
        }
        const UniqueHandle thread(started.hThread);
        const UniqueHandle process(started.hProcess);
        return true;
    }
    return false;
}

} // namespace ondrel::testing
