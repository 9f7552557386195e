// A running player with a compression window, the tools it should find, and the real
// messages a user's clicks and keys produce.
#pragma once

#include "compress_ui/compress_window_win32.hpp"
#include "gui/support/gui_session.hpp"
#include "support/temporary_folder.hpp"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ondrel::testing {

// Which ffmpeg or ffprobe the window finds on the PATH.
enum class Tool { Real, Fake, Broken, Missing };

// Where the clips made for the compression tests are.
std::filesystem::path clip(const std::string& name);

// What the two shell calls were asked to do, instead of doing it.
struct ShellCallRecord {
    std::vector<std::wstring> executed; // operation|file|parameters
    std::optional<std::filesystem::path> folder_to_pick;
    // Runs while the folder browser is "open".
    std::function<void()> during_browse;
    int browses = 0;
};
ShellCallRecord& shell_calls();

// A screenshot of the window for a person to look at, painted now.
void screenshot_now(HWND window, const std::string& name);

struct CompressSession {
    GuiSession player;
    TemporaryFolder tools{"tools"};
    TemporaryFolder outputs{"outputs"};
    std::optional<ScopedEnvironment> path;

    CompressSession();
    ~CompressSession();

    // Puts the chosen ffmpeg and ffprobe on a PATH of their own.
    void use_tools(Tool ffmpeg, Tool ffprobe);

    // create_compression_window, stored in the state as the player does.
    Result<CompressWindowPtr> create(const std::filesystem::path& video,
                                     const std::string& setting = "");
    CompressWindow& open(const std::filesystem::path& video, const std::string& setting = "");
    CompressWindow& window() const;
    bool has_window() const;

    // Opens the clip with the outputs folder chosen, waits for its analysis and starts the
    // compression; false when the analysis never came.
    bool start(const std::string& clip_name);
    // A job whose messages the test sends itself through the returned sender.
    Sender<CompressMessage> attach_test_job();

    // Runs the messages until the probe has answered, and the output name with it.
    bool wait_for_analysis();
    // Runs the messages until the output name for the choices shown is in.
    bool wait_for_output_name();
    bool wait_until(const std::function<bool()>& condition,
                    std::chrono::seconds limit = std::chrono::seconds(60));

    HWND control(Control which) const;
    std::string text(Control which) const;
    bool shown(Control which) const;
    bool enabled(Control which) const;
    RECT rect(Control which) const; // in the window's client area
    SIZE client_size() const;
    // The text colour the window gives a static control.
    COLORREF text_colour(Control which) const;

    void click(Control button) const;
    void select(Control combo, int index) const;
    void slide(Control slider, int position) const;
    void type(Control box, const std::wstring& text) const;
    // Escape as the message loop hands it over.
    void press_escape() const;

    void screenshot(const std::string& name) const;
};

} // namespace ondrel::testing
