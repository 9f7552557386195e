// Ondrel.exe started as a user would, in a folder of its own beside the libmpv bridge's
// libmpv-2.dll, with the bridge's record of calls; and what its video area shows on screen.
#pragma once

#include "gui/support/desktop.hpp"
#include "support/temporary_folder.hpp"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>
#include <windows.h>

namespace ondrel::testing {

// A clip made by the build for these tests (see CMakeLists.txt).
std::filesystem::path bridge_clip(const wchar_t* name);

// The native helper the bridge starts, where the native build puts it.
bool bridge_helper_built();

// What the screen shows of a window's client area.
Picture capture_client(HWND window);

enum class Colour { black, red, blue, grey, other };
Colour classify(std::uint32_t pixel);
// The colour shared by a few points around the middle of the picture, or other.
Colour middle_colour(const Picture& picture);
// How many pixels differ by more than a little between two captures of one size.
std::size_t changed_pixels(const Picture& before, const Picture& after);

struct BridgeSession {
    TemporaryFolder root{"bridge"};
    std::filesystem::path folder = root.path / L"Ondrel";
    std::filesystem::path app_data = root.path / L"AppData";
    std::filesystem::path record_file = root.path / L"record.jsonl";
    StartedProgram program;
    HWND main = nullptr;
    HWND video = nullptr;

    BridgeSession();
    BridgeSession(const BridgeSession&) = delete;
    BridgeSession& operator=(const BridgeSession&) = delete;
    ~BridgeSession();

    // Starts Ondrel.exe with a file and waits for its main and video windows.
    bool start(const std::filesystem::path& file);
    // Closes the main window as a user would and waits for the program to end.
    bool close();

    // Every call the bridge has recorded, oldest first (across starts).
    std::vector<nlohmann::json> record() const;
    // The on-screen texts the program asked for, in order.
    std::vector<std::string> shown_texts() const;
    // Waits until a shown text starts with `prefix`.
    bool wait_for_text(const std::string& prefix,
                       std::chrono::milliseconds timeout = std::chrono::milliseconds(20000)) const;
    // Waits until the middle of the video area shows the colour.
    bool
    wait_for_colour(Colour colour,
                    std::chrono::milliseconds timeout = std::chrono::milliseconds(20000)) const;

    void press_key(WPARAM key) const;
    // Kills the native helper of this session's libmpv, as a crash in it would end it.
    bool kill_helper() const;
};

} // namespace ondrel::testing
