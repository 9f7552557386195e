// Child processes: arguments, exit codes, termination, inheritance, lifetime, priority.
#include "platform/files.hpp"
#include "platform/process.hpp"
#include "support/temporary_folder.hpp"
#include "test_programs.hpp"
#include "video_compress/tools.hpp"

#include <future>
#include <gtest/gtest.h>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace ondrel {
namespace {

using testing::fake_ffmpeg;
using testing::fake_ffprobe;
using testing::read_process_id;
using testing::ScopedEnvironment;
using testing::TemporaryFolder;

std::string read_to_end(PipeReader& pipe) {
    std::string text;
    char buffer[4096];
    for (;;) {
        auto n = read_pipe(pipe, buffer, sizeof buffer);
        if (!n || n.value() == 0) {
            return text;
        }
        text.append(buffer, n.value());
    }
}

std::int32_t query_until_ended(ChildProcess& child) {
    for (;;) {
        auto state = query_exit(child);
        if (!state) {
            ADD_FAILURE() << state.error();
            return -999;
        }
        if (state.value()) {
            return *state.value();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// The fake ffmpeg told to idle until it is killed; it writes its process id to `pid_file`.
Result<StartedProcess> start_idle(const std::filesystem::path& pid_file,
                                  ProcessPriority priority = ProcessPriority::Normal) {
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "idle");
    ScopedEnvironment pid("ONDREL_FAKE_PID_FILE", path_to_utf8(pid_file));
    return start_process(fake_ffmpeg(), {}, priority);
}

TEST(Process, ArgumentsArriveExactlyAndInOrder) {
    const std::vector<std::string> arguments{
        "plain",       "",     "two words", "quote\"inside", "back\\slash",
        "trailing\\",  "\\\"", "tab\there", "a\\\\b\"c",     "end with space ",
        "déjà 日本 🎬", "-",    "%PATH%"};
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "echo-args");
    auto captured = run_capture(fake_ffmpeg(), arguments);
    ASSERT_TRUE(captured) << captured.error();
    std::string expected;
    for (const auto& argument : arguments) {
        expected += argument + "\n";
    }
    EXPECT_EQ(captured.value().output, expected);
}

TEST(Process, StandardInputIsTheNullDevice) {
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "stdin");
    auto captured = run_capture(fake_ffmpeg(), {});
    ASSERT_TRUE(captured) << captured.error();
    EXPECT_EQ(captured.value().output, "0\n");
}

TEST(Process, AMissingProgramFailsWithTheSystemsTextAndCodeTwo) {
    TemporaryFolder folder("process");
    auto started = start_process(folder.path / executable_file_name("missing"), {"-version"},
                                 ProcessPriority::Normal);
    ASSERT_FALSE(started);
    EXPECT_TRUE(started.error().ends_with(" (os error 2)")) << started.error();
    EXPECT_GT(started.error().size(), std::string(" (os error 2)").size());
}

TEST(Process, ExitCodeIsQueriedWithoutWaiting) {
    TemporaryFolder folder("process");
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "exit:7");
    auto started = start_process(fake_ffmpeg(), {"-i", "in", path_to_utf8(folder.path / "out")},
                                 ProcessPriority::Normal);
    ASSERT_TRUE(started) << started.error();
    read_to_end(started.value().output);
    EXPECT_EQ(query_until_ended(started.value().process), 7);
    auto waited = wait_for_exit(started.value().process);
    ASSERT_TRUE(waited);
    EXPECT_EQ(waited.value(), 7);
}

#ifdef _WIN32
TEST(Process, WindowsExitCodesReadAsSigned) {
    TemporaryFolder folder("process");
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "exit:3221225477"); // 0xC0000005
    auto started = start_process(fake_ffmpeg(), {"-i", "in", path_to_utf8(folder.path / "out")},
                                 ProcessPriority::Normal);
    ASSERT_TRUE(started) << started.error();
    auto waited = wait_for_exit(started.value().process);
    ASSERT_TRUE(waited);
    EXPECT_EQ(waited.value(), -1073741819);
}
#endif

TEST(Process, TerminateEndsARunningProcessAndCountsAnEndedOneAsDone) {
    TemporaryFolder folder("process");
    auto started = start_idle(folder.path / "pid");
    ASSERT_TRUE(started) << started.error();
    ChildProcess& child = started.value().process;
    auto running = query_exit(child);
    ASSERT_TRUE(running);
    EXPECT_FALSE(running.value().has_value());
    // A bounded wait gives up on a process that runs on.
    running = wait_for_exit_within(child, std::chrono::milliseconds(200));
    ASSERT_TRUE(running) << running.error();
    EXPECT_FALSE(running.value().has_value());

    ASSERT_TRUE(terminate_process(child));
    auto waited = wait_for_exit_within(child, std::chrono::seconds(30));
    ASSERT_TRUE(waited) << waited.error();
#ifdef _WIN32
    EXPECT_EQ(waited.value(), std::optional<std::int32_t>(1));
#else
    EXPECT_EQ(waited.value(), std::optional<std::int32_t>(128 + 9));
#endif
    EXPECT_TRUE(terminate_process(child));
    EXPECT_EQ(read_to_end(started.value().output), "");
}

TEST(Process, TerminatingAProcessThatEndedUnobservedSucceeds) {
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "echo-args");
    auto started = start_process(fake_ffmpeg(), {"x"}, ProcessPriority::Normal);
    ASSERT_TRUE(started) << started.error();
    // The end of its output means the program is ending; nobody has asked for its code yet.
    EXPECT_EQ(read_to_end(started.value().output), "x\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(terminate_process(started.value().process));
    auto waited = wait_for_exit(started.value().process);
    ASSERT_TRUE(waited);
    // Either it had ended with 0 or the kill arrived first; both are fine, a failure is not.
    EXPECT_TRUE(started.value().process.exit_code.has_value());
}

// A child started while another child's pipes exist must not hold them open: the first
// child's output has to end when the first child does, although the second still runs.
TEST(Process, AChildInheritsNoOtherChildsPipes) {
    TemporaryFolder folder("inherit");
    testing::write_bytes(folder.path / "video", "FAKEVIDEO 1.0\n");
    ScopedEnvironment checker("ONDREL_FAKE_FFPROBE", "slow-check:" + path_to_utf8(folder.path));
    auto first = start_process(
        fake_ffprobe(), {"-show_entries", "format=duration", path_to_utf8(folder.path / "video")},
        ProcessPriority::Normal);
    ASSERT_TRUE(first) << first.error();
    ASSERT_TRUE(testing::wait_for_file(folder.path / "checking", std::chrono::seconds(30)));

    auto second = start_idle(folder.path / "pid");
    ASSERT_TRUE(second) << second.error();

    testing::write_bytes(folder.path / "release", "");
    auto output = std::async(std::launch::async, [&] { return read_to_end(first.value().output); });
    const bool ended = output.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
    auto still_running = query_exit(second.value().process);
    // Unblock the reader in any case, so a failure does not hang the test.
    EXPECT_TRUE(terminate_process(second.value().process));
    EXPECT_TRUE(ended) << "the first child's output stayed open";
    EXPECT_EQ(output.get(), "1.0\n");
    ASSERT_TRUE(still_running);
    EXPECT_FALSE(still_running.value().has_value());
}

// A pipe the rest of the program left inheritable, as careless code or a library might.
struct InheritablePipe {
    std::intptr_t read_end = no_native_handle;
    std::intptr_t write_end = no_native_handle;

    InheritablePipe() {
#ifdef _WIN32
        SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE read_handle = nullptr;
        HANDLE write_handle = nullptr;
        EXPECT_TRUE(::CreatePipe(&read_handle, &write_handle, &inheritable, 0));
        read_end = reinterpret_cast<std::intptr_t>(read_handle);
        write_end = reinterpret_cast<std::intptr_t>(write_handle);
#else
        int ends[2];
        EXPECT_EQ(::pipe(ends), 0); // no close-on-exec
        read_end = ends[0];
        write_end = ends[1];
#endif
    }
    void close_write_end() {
#ifdef _WIN32
        ::CloseHandle(reinterpret_cast<HANDLE>(write_end));
#else
        ::close(static_cast<int>(write_end));
#endif
    }
};

TEST(Process, NothingElseOfTheProgramIsInherited) {
    TemporaryFolder folder("inherit");
    InheritablePipe pipe;
    auto child = start_idle(folder.path / "pid");
    ASSERT_TRUE(child) << child.error();
    pipe.close_write_end();
    // Our reading end sees the end at once, unless the child holds a copy of the writing end.
    PipeReader reader(pipe.read_end);
    auto output = std::async(std::launch::async, [&] { return read_to_end(reader); });
    const bool ended = output.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
    auto still_running = query_exit(child.value().process);
    EXPECT_TRUE(terminate_process(child.value().process));
    EXPECT_TRUE(ended) << "the child inherited a handle that was not its own";
    ASSERT_TRUE(still_running);
    EXPECT_FALSE(still_running.value().has_value());
}

TEST(Process, DroppingARunningChildEndsIt) {
    TemporaryFolder folder("drop");
    int process_id = 0;
    {
        auto started = start_idle(folder.path / "pid");
        ASSERT_TRUE(started) << started.error();
        process_id = read_process_id(folder.path / "pid");
        ASSERT_GT(process_id, 0);
        EXPECT_FALSE(testing::process_ends_within(process_id, std::chrono::seconds(0)));
    }
    EXPECT_TRUE(testing::process_ends_within(process_id, std::chrono::seconds(20)));
}

// The fake starts a child of its own and is then killed from outside, as a crash would end
// it: the grandchild must not be left behind.
TEST(Process, AChildNeverOutlivesItsParent) {
    TemporaryFolder folder("orphan");
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "orphan:" + path_to_utf8(fake_ffmpeg()));
    ScopedEnvironment pid_file("ONDREL_FAKE_PID_FILE", path_to_utf8(folder.path / "pid"));
    auto parent = start_process(fake_ffmpeg(), {}, ProcessPriority::Normal);
    ASSERT_TRUE(parent) << parent.error();
    const int grandchild = read_process_id(folder.path / "pid");
    ASSERT_GT(grandchild, 0);
    EXPECT_FALSE(testing::process_ends_within(grandchild, std::chrono::seconds(0)));

    ASSERT_TRUE(terminate_process(parent.value().process));
    ASSERT_TRUE(wait_for_exit(parent.value().process));
    EXPECT_TRUE(testing::process_ends_within(grandchild, std::chrono::seconds(20)));
}

TEST(Process, BelowNormalPriorityIsAskedFor) {
    TemporaryFolder folder("priority");
    for (const auto priority : {ProcessPriority::Normal, ProcessPriority::BelowNormal}) {
        std::filesystem::remove(folder.path / "pid");
        auto started = start_idle(folder.path / "pid", priority);
        ASSERT_TRUE(started) << started.error();
        const int process_id = read_process_id(folder.path / "pid");
        const bool below = priority == ProcessPriority::BelowNormal;
#ifdef _WIN32
        HANDLE process =
            ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process_id));
        ASSERT_NE(process, nullptr);
        EXPECT_EQ(::GetPriorityClass(process), below
                                                   ? static_cast<DWORD>(BELOW_NORMAL_PRIORITY_CLASS)
                                                   : static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
        ::CloseHandle(process);
#else
        // Field 19 of /proc/<pid>/stat is the nice value.
        std::ifstream stat("/proc/" + std::to_string(process_id) + "/stat");
        std::string field;
        for (int i = 0; i < 19; ++i) {
            stat >> field;
        }
        const int own = ::getpriority(PRIO_PROCESS, 0);
        EXPECT_EQ(std::stoi(field), below ? std::min(own + 10, 19) : own);
#endif
        EXPECT_TRUE(terminate_process(started.value().process));
    }
}

TEST(Process, TheRunningExecutableIsFound) {
    const auto self = running_executable_path();
    ASSERT_TRUE(self);
    EXPECT_TRUE(self->is_absolute());
    EXPECT_TRUE(std::filesystem::is_regular_file(*self));
    EXPECT_EQ(self->stem(), "compress_process_test");
}

} // namespace
} // namespace ondrel
