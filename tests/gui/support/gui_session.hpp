// Starts the real main window in this process, against the libmpv test double beside the
// test program, with its own settings folder; and reads what the double recorded.
#pragma once

#include "main/main_window_win32.hpp"
#include "platform/files.hpp"
#include "support/temporary_folder.hpp"
#include "ui/app_state_win32.hpp"

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace ondrel::testing {

// Every call the double has recorded in this process, oldest first.
std::vector<nlohmann::json> double_record();
void clear_double_record();

// The recorded calls of one kind ("option", "command", ...), in order.
std::vector<nlohmann::json> recorded(const std::string& call);

// The arguments of the recorded commands of one kind ("mpv_command", "mpv_command_async")
// whose first word is `name` ("loadfile"), in order.
std::vector<std::vector<std::string>> recorded_commands(const std::string& call,
                                                        const std::string& name);
// The texts that asynchronous show-text commands put on the video for `duration` ms ("1500"),
// in order.
std::vector<std::string> shown_texts(const std::string& duration);

// The double's player calls, oldest first, each as one line: commands as their words joined
// by spaces ("seek 0.000 absolute+exact"), property writes as "name=value" ("pause=true").
std::vector<std::string> player_calls();
// Those of the calls that begin with `start` ("seek ", "volume=").
std::vector<std::string> player_calls(const std::string& start);

struct GuiSession {
    TemporaryFolder app_data{"gui"};
    ScopedEnvironment app_data_variable{"APPDATA", path_to_utf8(app_data.path)};
    ScopedEnvironment scenario_variable{"ONDREL_MPV_DOUBLE_SCENARIO", std::nullopt};

    GuiSession();
    GuiSession(const GuiSession&) = delete;
    GuiSession& operator=(const GuiSession&) = delete;
    ~GuiSession();

    // Writes settings.ini before the start.
    void write_settings(const std::string& text) const;
    // Gives the double a scenario (JSON) for the next start.
    void write_scenario(const nlohmann::json& scenario);

    // Runs the start-up with a command line such as L"Ondrel.exe clip.mp4".
    bool start(const std::wstring& command_line = L"Ondrel.exe");
    AppState& state() const;
    HWND main() const;

    // WM_CLOSE, then the messages until the window is gone.
    void close();

    std::filesystem::path settings_file() const;
    Settings saved_settings() const;
};

} // namespace ondrel::testing
