// The real Ondrel.exe under Wine playing through the libmpv bridge: what these tests see is
// decoded and drawn by libmpv, which the libmpv test double cannot fake.
#include "bridge_session.hpp"

#include <gtest/gtest.h>

namespace ondrel::testing {
namespace {

class Bridge : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bridge_helper_built())
            << "the bridge's helper is built by the native preset: build it first";
    }
    BridgeSession session;
};

// The last value the program read of a property, or null.
nlohmann::json last_read(const std::vector<nlohmann::json>& record, const std::string& name) {
    nlohmann::json value;
    for (const nlohmann::json& call : record) {
        if (call["call"] == "mpv_get_property" && call["name"] == name && call.contains("value")) {
            value = call["value"];
        }
    }
    return value;
}

// The selected flag of the track with `id` of a kind, as last read from libmpv's track list.
std::string selected_state(const std::vector<nlohmann::json>& record, const std::string& kind,
                           std::int64_t id) {
    for (int index = 0; index < 16; ++index) {
        const std::string prefix = "track-list/" + std::to_string(index) + "/";
        if (last_read(record, prefix + "type") == kind && last_read(record, prefix + "id") == id) {
            const nlohmann::json selected = last_read(record, prefix + "selected");
            return selected.is_string() ? selected.get<std::string>() : "";
        }
    }
    return "<no such track>";
}

TEST_F(Bridge, TheVideoAreaShowsTheFirstColourThenTheSecondAsPlaybackGoesOn) {
    ASSERT_TRUE(session.start(bridge_clip(L"red then blue.mkv")));
    EXPECT_TRUE(session.wait_for_colour(Colour::red)) << "the clip's first seconds are red";
    EXPECT_TRUE(session.wait_for_colour(Colour::blue)) << "from 3 s on the clip is blue";
    save_window_screenshot(session.main, screenshot_folder() / L"bridge-colours.png");
    EXPECT_TRUE(session.close());
}

TEST_F(Bridge, AnOnScreenMessageIsDrawnIntoThePicture) {
    ASSERT_TRUE(session.start(bridge_clip(L"tracks.mkv")));
    ASSERT_TRUE(session.wait_for_colour(Colour::grey));
    // Let the start-up messages fade, then compare a flat picture with one carrying a message.
    pump_for(std::chrono::milliseconds(2500));
    const Picture before = capture_client(session.video);
    PostMessageW(session.main, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    ASSERT_TRUE(session.wait_for_text("Volume: 75%"));
    bool drawn = false;
    pump_until(
        [&] {
            drawn = changed_pixels(before, capture_client(session.video)) > 100;
            return drawn;
        },
        std::chrono::milliseconds(3000));
    save_window_screenshot(session.main, screenshot_folder() / L"bridge-message.png");
    EXPECT_TRUE(drawn) << "libmpv drew the volume message over the picture";
    EXPECT_EQ(last_read(session.record(), "volume"), nullptr)
        << "the volume is set, not read, so the message alone changed the picture";
    EXPECT_TRUE(session.close());
}

TEST_F(Bridge, ReopeningTheClipResumesWhereItWasLeft) {
    ASSERT_TRUE(session.start(bridge_clip(L"tracks.mkv")));
    ASSERT_TRUE(session.wait_for_colour(Colour::grey));
    pump_for(std::chrono::milliseconds(4000));
    ASSERT_TRUE(session.close());
    bool saved = false;
    for (const nlohmann::json& call : session.record()) {
        const nlohmann::json& arguments = call.value("args", nlohmann::json::array());
        saved = saved || (!arguments.empty() && arguments[0] == "write-watch-later-config" &&
                          call["result"] == 0);
    }
    EXPECT_TRUE(saved) << "libmpv wrote the position on closing";

    ASSERT_TRUE(session.start(bridge_clip(L"tracks.mkv")));
    EXPECT_TRUE(session.wait_for_text("Resuming at 0:0"));
    const nlohmann::json position = last_read(session.record(), "time-pos");
    ASSERT_TRUE(position.is_number());
    EXPECT_GT(position.get<double>(), 1.0);
    EXPECT_TRUE(session.close());
}

TEST_F(Bridge, AMissingFileShowsTheCannotPlayMessageInThePicture) {
    const std::filesystem::path missing = session.root.path / L"missing clip.mkv";
    ASSERT_TRUE(session.start(missing));
    EXPECT_TRUE(session.wait_for_text("Cannot play \"missing clip.mkv\""));
    bool drawn = false;
    pump_until(
        [&] {
            const Picture picture = capture_client(session.video);
            drawn = std::count_if(picture.pixels.begin(), picture.pixels.end(),
                                  [](auto p) { return classify(p) != Colour::black; }) > 100;
            return drawn;
        },
        std::chrono::milliseconds(5000));
    save_window_screenshot(session.main, screenshot_folder() / L"bridge-missing.png");
    EXPECT_TRUE(drawn) << "the message is drawn over the black video area";
    EXPECT_TRUE(session.close());
}

TEST_F(Bridge, AClipWithADisplayRotationIsShownUpright) {
    ASSERT_TRUE(session.start(bridge_clip(L"turned.mp4")));
    // Upright, the picture is narrower than the video area: blue above red, black beside.
    const auto upright = [&] {
        const Picture picture = capture_client(session.video);
        const int width = picture.width;
        const int height = picture.height;
        return !picture.pixels.empty() &&
               classify(picture.at(width / 2, height / 4)) == Colour::blue &&
               classify(picture.at(width / 2, height * 3 / 4)) == Colour::red &&
               classify(picture.at(width / 20, height / 2)) == Colour::black &&
               classify(picture.at(width * 19 / 20, height / 2)) == Colour::black;
    };
    EXPECT_TRUE(pump_until(upright, std::chrono::milliseconds(20000)));
    save_window_screenshot(session.main, screenshot_folder() / L"bridge-turned.png");
    EXPECT_TRUE(session.close());
}

TEST_F(Bridge, AHelperLostDuringPlaybackShowsTheCannotPlayMessage) {
    ASSERT_TRUE(session.start(bridge_clip(L"red then blue late.mkv")));
    ASSERT_TRUE(session.wait_for_colour(Colour::red));
    ASSERT_TRUE(session.kill_helper());
    EXPECT_TRUE(session.wait_for_text("Cannot play \"red then blue late.mkv\""));
    // The last frame gives way to the message over a black video area.
    bool shown = false;
    pump_until(
        [&] {
            const Picture picture = capture_client(session.video);
            const auto count = [&](Colour colour) {
                return std::count_if(picture.pixels.begin(), picture.pixels.end(),
                                     [&](auto p) { return classify(p) == colour; });
            };
            shown = count(Colour::red) == 0 && count(Colour::other) > 100;
            return shown;
        },
        std::chrono::milliseconds(5000));
    save_window_screenshot(session.main, screenshot_folder() / L"bridge-lost.png");
    EXPECT_TRUE(shown);
    EXPECT_TRUE(session.close());
}

// These need the player's keyboard shortcuts (Right, A, S).
TEST_F(Bridge, KeysRightSeeksToTheSecondColour) {
    ASSERT_TRUE(session.start(bridge_clip(L"red then blue late.mkv")));
    ASSERT_TRUE(session.wait_for_colour(Colour::red));
    // Four steps of 5 s reach the blue part at 20 s long before playback would.
    for (int step = 0; step < 4; ++step) {
        session.press_key(VK_RIGHT);
    }
    EXPECT_TRUE(session.wait_for_colour(Colour::blue, std::chrono::milliseconds(8000)));
    EXPECT_TRUE(session.close());
}

TEST_F(Bridge, KeysAAndSSwitchRealTracks) {
    ASSERT_TRUE(session.start(bridge_clip(L"tracks.mkv")));
    ASSERT_TRUE(session.wait_for_colour(Colour::grey));
    session.press_key('A');
    EXPECT_TRUE(session.wait_for_text("Audio: "));
    auto record = session.record();
    EXPECT_EQ(selected_state(record, "audio", 2), "yes");
    EXPECT_EQ(selected_state(record, "audio", 1), "no");

    session.press_key('S');
    EXPECT_TRUE(session.wait_for_text("Subtitles: "));
    record = session.record();
    EXPECT_EQ(selected_state(record, "sub", 1), "yes") << "the clip starts with subtitles off";
    EXPECT_EQ(session.shown_texts().back().find("Subtitles: off"), std::string::npos);
    EXPECT_TRUE(session.close());
}

} // namespace
} // namespace ondrel::testing
