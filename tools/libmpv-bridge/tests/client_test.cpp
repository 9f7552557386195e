// The bridge's libmpv-2.dll loaded into this process, as Ondrel loads it, against the real
// libmpv in the native helper: what crosses the connection, the event queue's waiting, the
// wake-up thread, paths, and a helper that dies.
#include "bridge_session.hpp"
#include "platform/files.hpp"

#include <mpv/client.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

namespace ondrel::testing {
namespace {

struct Api {
    decltype(&::mpv_create) create;
    decltype(&::mpv_initialize) initialize;
    decltype(&::mpv_set_option_string) set_option_string;
    decltype(&::mpv_command) command;
    decltype(&::mpv_command_async) command_async;
    decltype(&::mpv_set_property_async) set_property_async;
    decltype(&::mpv_get_property) get_property;
    decltype(&::mpv_wait_event) wait_event;
    decltype(&::mpv_set_wakeup_callback) set_wakeup_callback;
    decltype(&::mpv_terminate_destroy) terminate_destroy;
    decltype(&::mpv_free) free;
};

template <class Function> Function find(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const Api& bridge_api() {
    static const Api api = [] {
        const std::filesystem::path dll = program_folder().parent_path().parent_path() / L"tools" /
                                          L"libmpv-bridge" / L"libmpv-2.dll";
        const HMODULE module = LoadLibraryW(dll.c_str());
        return Api{find<decltype(&::mpv_create)>(module, "mpv_create"),
                   find<decltype(&::mpv_initialize)>(module, "mpv_initialize"),
                   find<decltype(&::mpv_set_option_string)>(module, "mpv_set_option_string"),
                   find<decltype(&::mpv_command)>(module, "mpv_command"),
                   find<decltype(&::mpv_command_async)>(module, "mpv_command_async"),
                   find<decltype(&::mpv_set_property_async)>(module, "mpv_set_property_async"),
                   find<decltype(&::mpv_get_property)>(module, "mpv_get_property"),
                   find<decltype(&::mpv_wait_event)>(module, "mpv_wait_event"),
                   find<decltype(&::mpv_set_wakeup_callback)>(module, "mpv_set_wakeup_callback"),
                   find<decltype(&::mpv_terminate_destroy)>(module, "mpv_terminate_destroy"),
                   find<decltype(&::mpv_free)>(module, "mpv_free")};
    }();
    return api;
}

class BridgeClient : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bridge_helper_built()) << "build the native preset first";
        ASSERT_NE(mpv.create, nullptr);
        handle = mpv.create();
        ASSERT_NE(handle, nullptr);
        ASSERT_EQ(mpv.initialize(handle), 0);
    }
    void TearDown() override {
        if (handle != nullptr) {
            mpv.terminate_destroy(handle);
        }
    }

    // The next event with this id, waiting up to ten seconds; NONE when none came.
    mpv_event wait_for(mpv_event_id id, std::uint64_t reply = 0) {
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < give_up) {
            const mpv_event* event = mpv.wait_event(handle, 0.5);
            if (event->event_id == id && (reply == 0 || event->reply_userdata == reply)) {
                return *event;
            }
        }
        return mpv_event{};
    }

    const Api& mpv = bridge_api();
    mpv_handle* handle = nullptr;
};

TEST_F(BridgeClient, PropertiesOfEveryFormatComeBackExactly) {
    double speed = 1.2345678901234567;
    ASSERT_EQ(mpv.set_property_async(handle, 11, "speed", MPV_FORMAT_DOUBLE, &speed), 0);
    int pause = 1;
    ASSERT_EQ(mpv.set_property_async(handle, 12, "pause", MPV_FORMAT_FLAG, &pause), 0);
    std::int64_t duration = 1234;
    ASSERT_EQ(mpv.set_property_async(handle, 13, "osd-duration", MPV_FORMAT_INT64, &duration), 0);
    const char* title = "Ondrel — été \xF0\x9F\x8E\xAC";
    ASSERT_EQ(mpv.set_property_async(handle, 14, "title", MPV_FORMAT_STRING, &title), 0);
    EXPECT_EQ(wait_for(MPV_EVENT_SET_PROPERTY_REPLY, 14).error, 0);

    double speed_back = 0;
    EXPECT_EQ(mpv.get_property(handle, "speed", MPV_FORMAT_DOUBLE, &speed_back), 0);
    EXPECT_EQ(speed_back, speed);
    int pause_back = 0;
    EXPECT_EQ(mpv.get_property(handle, "pause", MPV_FORMAT_FLAG, &pause_back), 0);
    EXPECT_EQ(pause_back, 1);
    std::int64_t duration_back = 0;
    EXPECT_EQ(mpv.get_property(handle, "osd-duration", MPV_FORMAT_INT64, &duration_back), 0);
    EXPECT_EQ(duration_back, 1234);
    char* title_back = nullptr;
    ASSERT_EQ(mpv.get_property(handle, "title", MPV_FORMAT_STRING, &title_back), 0);
    EXPECT_STREQ(title_back, title);
    mpv.free(title_back);
    // libmpv's own errors come back as they are.
    double missing = 0;
    EXPECT_EQ(mpv.get_property(handle, "no-such-property", MPV_FORMAT_DOUBLE, &missing),
              MPV_ERROR_PROPERTY_NOT_FOUND);
}

TEST_F(BridgeClient, WaitingForEventsHonoursTheTimeout) {
    // Drain what start-up queues, until it has been quiet for a second.
    while (mpv.wait_event(handle, 1.0)->event_id != MPV_EVENT_NONE) {
    }
    EXPECT_EQ(mpv.wait_event(handle, 0)->event_id, MPV_EVENT_NONE);
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(mpv.wait_event(handle, 0.3)->event_id, MPV_EVENT_NONE);
    EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(250));
    // An event that arrives while waiting ends the wait.
    const char* ignore[] = {"ignore", nullptr};
    ASSERT_EQ(mpv.command_async(handle, 21, ignore), 0);
    const mpv_event* reply = mpv.wait_event(handle, 10);
    EXPECT_EQ(reply->event_id, MPV_EVENT_COMMAND_REPLY);
    EXPECT_EQ(reply->reply_userdata, 21u);
}

std::atomic<DWORD> wakeup_thread{0};
void remember_wakeup_thread(void*) {
    wakeup_thread = GetCurrentThreadId();
}

TEST_F(BridgeClient, TheWakeUpCallbackComesFromAnotherWindowsThread) {
    // libmpv calls it once at once, on the caller's thread; the test is about the next call.
    mpv.set_wakeup_callback(handle, remember_wakeup_thread, nullptr);
    EXPECT_EQ(wakeup_thread, GetCurrentThreadId());
    wakeup_thread = 0;
    const char* ignore[] = {"ignore", nullptr};
    ASSERT_EQ(mpv.command_async(handle, 31, ignore), 0);
    EXPECT_TRUE(pump_until([] { return wakeup_thread != 0; }));
    EXPECT_NE(wakeup_thread, GetCurrentThreadId());
    EXPECT_EQ(wait_for(MPV_EVENT_COMMAND_REPLY, 31).event_id, MPV_EVENT_COMMAND_REPLY);
    mpv.set_wakeup_callback(handle, nullptr, nullptr);
}

TEST_F(BridgeClient, WindowsPathsReachLibmpvAndComeBack) {
    const std::string clip = path_to_utf8(bridge_clip(L"red then blue.mkv"));
    const char* load[] = {"loadfile", clip.c_str(), nullptr};
    ASSERT_EQ(mpv.command(handle, load), 0);
    ASSERT_EQ(wait_for(MPV_EVENT_FILE_LOADED).event_id, MPV_EVENT_FILE_LOADED);
    char* path = nullptr;
    ASSERT_EQ(mpv.get_property(handle, "path", MPV_FORMAT_STRING, &path), 0);
    EXPECT_STREQ(path, clip.c_str());
    mpv.free(path);
}

TEST_F(BridgeClient, TrackSelectionReachesLibmpvsTrackList) {
    const std::string clip = path_to_utf8(bridge_clip(L"tracks.mkv"));
    const char* load[] = {"loadfile", clip.c_str(), nullptr};
    ASSERT_EQ(mpv.command(handle, load), 0);
    ASSERT_EQ(wait_for(MPV_EVENT_FILE_LOADED).event_id, MPV_EVENT_FILE_LOADED);
    const auto read = [&](const std::string& name) {
        char* text = nullptr;
        std::string value = "<unreadable>";
        if (mpv.get_property(handle, name.c_str(), MPV_FORMAT_STRING, &text) >= 0) {
            value = text;
            mpv.free(text);
        }
        return value;
    };
    std::int64_t count = 0;
    ASSERT_EQ(mpv.get_property(handle, "track-list/count", MPV_FORMAT_INT64, &count), 0);
    ASSERT_EQ(count, 4) << "video, two audio tracks, one subtitle track";
    EXPECT_EQ(read("track-list/1/type") + read("track-list/1/selected"), "audioyes");
    EXPECT_EQ(read("track-list/3/type") + read("track-list/3/selected"), "subno");
    const char* second_audio[] = {"set", "aid", "2", nullptr};
    const char* subtitles_on[] = {"set", "sid", "1", nullptr};
    ASSERT_EQ(mpv.command(handle, second_audio), 0);
    ASSERT_EQ(mpv.command(handle, subtitles_on), 0);
    EXPECT_EQ(read("track-list/1/selected"), "no");
    EXPECT_EQ(read("track-list/2/title") + read("track-list/2/selected"), "Highyes");
    EXPECT_EQ(read("track-list/3/type") + read("track-list/3/selected"), "subyes");
}

TEST_F(BridgeClient, AHelperThatDiesEndsEveryCallWithShutdown) {
    // libmpv's "pid" is the helper's process, which its own "run" command then kills.
    std::int64_t helper = 0;
    ASSERT_EQ(mpv.get_property(handle, "pid", MPV_FORMAT_INT64, &helper), 0);
    const std::string kill = "kill -KILL " + std::to_string(helper);
    const char* kill_helper[] = {"run", "/bin/sh", "-c", kill.c_str(), nullptr};
    // The helper may die before it replies; then this call already fails.
    mpv.command(handle, kill_helper);
    EXPECT_EQ(wait_for(MPV_EVENT_SHUTDOWN).event_id, MPV_EVENT_SHUTDOWN);
    // Later calls fail at once, and the shutdown is reported again, as libmpv does.
    const char* ignore[] = {"ignore", nullptr};
    EXPECT_LT(mpv.command(handle, ignore), 0);
    double speed = 0;
    EXPECT_LT(mpv.get_property(handle, "speed", MPV_FORMAT_DOUBLE, &speed), 0);
    EXPECT_EQ(mpv.wait_event(handle, 0)->event_id, MPV_EVENT_SHUTDOWN);
}

} // namespace
} // namespace ondrel::testing
