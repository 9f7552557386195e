#include "gui/support/gui_session.hpp"

#include "gui/support/desktop.hpp"
#include "main/startup_win32.hpp"
#include "platform/files.hpp"

#include <fstream>
#include <sstream>

namespace ondrel::testing {
namespace {

using RecordFunction = const char* (*)();
using ClearFunction = void (*)();

FARPROC double_function(const char* name) {
    const HMODULE library = GetModuleHandleW(L"libmpv-2.dll");
    return library == nullptr ? nullptr : GetProcAddress(library, name);
}

} // namespace

std::vector<nlohmann::json> double_record() {
    std::vector<nlohmann::json> lines;
    const auto read = reinterpret_cast<RecordFunction>(
        reinterpret_cast<void*>(double_function("ondrel_mpv_double_record")));
    if (read == nullptr) {
        return lines;
    }
    std::istringstream text(read());
    std::string line;
    while (std::getline(text, line)) {
        if (!line.empty()) {
            lines.push_back(nlohmann::json::parse(line, nullptr, false));
        }
    }
    return lines;
}

void clear_double_record() {
    const auto clear = reinterpret_cast<ClearFunction>(
        reinterpret_cast<void*>(double_function("ondrel_mpv_double_clear_record")));
    if (clear != nullptr) {
        clear();
    }
}

std::vector<nlohmann::json> recorded(const std::string& call) {
    std::vector<nlohmann::json> found;
    for (const auto& line : double_record()) {
        if (line.is_object() && line.value("call", "") == call) {
            found.push_back(line);
        }
    }
    return found;
}

std::vector<std::vector<std::string>> recorded_commands(const std::string& call,
                                                        const std::string& name) {
    std::vector<std::vector<std::string>> found;
    for (const auto& line : recorded(call)) {
        auto args = line.at("args").get<std::vector<std::string>>();
        if (!args.empty() && args[0] == name) {
            found.push_back(std::move(args));
        }
    }
    return found;
}

std::vector<std::string> shown_texts(const std::string& duration) {
    std::vector<std::string> texts;
    for (const auto& args : recorded_commands("mpv_command_async", "show-text")) {
        if (args.size() == 3 && args[2] == duration) {
            texts.push_back(args[1]);
        }
    }
    return texts;
}

std::vector<std::string> player_calls() {
    std::vector<std::string> calls;
    for (const auto& line : double_record()) {
        const std::string call = line.is_object() ? line.value("call", "") : "";
        if (call == "mpv_command" || call == "mpv_command_async") {
            std::string words;
            for (const auto& word : line.at("args")) {
                words += (words.empty() ? "" : " ") + word.get<std::string>();
            }
            calls.push_back(words);
        } else if (call == "mpv_command_string") {
            calls.push_back(line.at("command").get<std::string>());
        } else if (call == "mpv_set_property_async") {
            calls.push_back(line.at("name").get<std::string>() + "=" + line.at("value").dump());
        }
    }
    return calls;
}

std::vector<std::string> player_calls(const std::string& start) {
    std::vector<std::string> found;
    for (std::string& call : player_calls()) {
        if (call.starts_with(start)) {
            found.push_back(std::move(call));
        }
    }
    return found;
}

GuiSession::GuiSession() {
    clear_double_record();
    // English unless a test says otherwise, whatever the machine's display language.
    write_settings("language=en\n");
}

GuiSession::~GuiSession() {
    if (AppState* s = app(); s != nullptr && IsWindow(s->main_window)) {
        close();
    }
}

void GuiSession::write_settings(const std::string& text) const {
    std::filesystem::create_directories(settings_file().parent_path());
    std::ofstream(settings_file(), std::ios::binary) << text;
}

void GuiSession::write_scenario(const nlohmann::json& scenario) {
    const auto file = app_data.path / "scenario.json";
    std::ofstream(file, std::ios::binary) << scenario.dump();
    set_environment("ONDREL_MPV_DOUBLE_SCENARIO", path_to_utf8(file));
}

bool GuiSession::start(const std::wstring& command_line) {
    return start_ondrel(GetModuleHandleW(nullptr), command_line.c_str()) == StartOutcome::Running;
}

AppState& GuiSession::state() const {
    return *app();
}

HWND GuiSession::main() const {
    return app()->main_window;
}

void GuiSession::close() {
    const HWND window = main();
    SendMessageW(window, WM_CLOSE, 0, 0);
    pump_until([&] { return !IsWindow(window); });
    // The WM_QUIT of the destroyed window must not end the next pump early.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

std::filesystem::path GuiSession::settings_file() const {
    return app_data.path / "Ondrel" / "settings.ini";
}

Settings GuiSession::saved_settings() const {
    return load_settings_from(settings_file());
}

} // namespace ondrel::testing
