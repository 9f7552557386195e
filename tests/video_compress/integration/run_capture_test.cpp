// run_capture and find_tool against real processes and folders.
#include "platform/files.hpp"
#include "platform/process.hpp"
#include "platform/text.hpp"
#include "support/language_guard.hpp"
#include "support/temporary_folder.hpp"
#include "test_programs.hpp"
#include "video_compress/detect_encoders.hpp"
#include "video_compress/job.hpp"
#include "video_compress/probe.hpp"
#include "video_compress/tools.hpp"

#include <functional>
#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::ScopedEnvironment;
using testing::TemporaryFolder;

TEST(RunCapture, ReadsBothPipesAtOnceSoALargeErrorOutputCannotBlock) {
    TemporaryFolder folder("capture");
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "flood-stderr");
    auto captured =
        run_capture(testing::fake_ffmpeg(), {"-i", "in", path_to_utf8(folder.path / "out")});
    ASSERT_TRUE(captured) << captured.error();
    EXPECT_EQ(captured.value().errors.size(), 102400u * 103u);
    EXPECT_TRUE(captured.value().output.ends_with("progress=end\n"));
}

TEST(RunCapture, InvalidUtf8IsReplacedAndTheExitStatusIgnored) {
    TemporaryFolder folder("capture");
    {
        ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "bad-utf8-stdout");
        auto captured =
            run_capture(testing::fake_ffmpeg(), {"-i", "in", path_to_utf8(folder.path / "out")});
        ASSERT_TRUE(captured) << captured.error();
        EXPECT_TRUE(is_valid_utf8(captured.value().output));
        EXPECT_NE(captured.value().output.find("bitrate=\xEF\xBF\xBD\xEF\xBF\xBD broken\n"),
                  std::string::npos);
    }
    {
        ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "fail-partial");
        auto captured =
            run_capture(testing::fake_ffmpeg(), {"-i", "in", path_to_utf8(folder.path / "out")});
        ASSERT_TRUE(captured) << "exit code 1 is no failure here";
        EXPECT_EQ(captured.value().errors, "Error while encoding: out of cheese\n");
    }
}

TEST(RunCapture, AProgramThatCannotStartGivesTheSystemsText) {
    TemporaryFolder folder("capture");
    auto captured = run_capture(folder.path / executable_file_name("nothing"), {});
    ASSERT_FALSE(captured);
    EXPECT_TRUE(captured.error().ends_with(" (os error 2)")) << captured.error();
}

TEST(RunForExitCode, GivesTheExitCode) {
    TemporaryFolder folder("capture");
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "exit:5");
    auto code = run_for_exit_code(testing::fake_ffmpeg(), {path_to_utf8(folder.path / "out")});
    ASSERT_TRUE(code) << code.error();
    EXPECT_EQ(code.value(), 5);
}

// A tool that never ends is ended at its limit and reaped before the call returns, and each
// caller reads that as a failure: the analysis with a text that says so, a test encode as an
// encoder not available, the check of an output as failed.
TEST(RunCapture, AToolStillRunningAtItsLimitIsEndedAndTheCallFails) {
    testing::LanguageGuard english(Language::English);
    TemporaryFolder folder("limit");
    const auto video = folder.path / "clip.mp4";
    testing::write_bytes(video, "FAKEVIDEO 2.5\n");
    // Long enough for the fake to start and write its process id, even under Wine.
    const std::chrono::milliseconds limit(3000);
    const auto hung = testing::fake_ffmpeg();
    const std::function<std::string()> calls[] = {
        [&] {
            auto info = probe_media(hung, video, limit);
            return info ? std::string("analysed") : info.error();
        },
        [&] { return std::string(test_encoder(hung, "h264_nvenc", limit) ? "passed" : "failed"); },
        [&] { return std::string(output_passes_check(hung, video, limit) ? "passed" : "failed"); },
    };
    const std::string expected[] = {"fake_ffmpeg did not finish within 3 s and was stopped",
                                    "failed", "failed"};
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "idle");
    for (std::size_t i = 0; i < std::size(calls); ++i) {
        const auto pid_file = folder.path / ("pid" + std::to_string(i));
        ScopedEnvironment pid("ONDREL_FAKE_PID_FILE", path_to_utf8(pid_file));
        EXPECT_EQ(calls[i](), expected[i]) << i;
        const int process_id = testing::read_process_id(pid_file);
        ASSERT_NE(process_id, 0) << i;
        EXPECT_TRUE(testing::process_ends_within(process_id, std::chrono::seconds(0))) << i;
    }
}

TEST(FindTool, LooksBesideTheProgramFirst) {
    ScopedEnvironment path("PATH", std::nullopt);
    const auto found = find_tool("fake_ffmpeg");
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, testing::fake_ffmpeg());
}

TEST(FindTool, SearchesThePathEntriesInOrderSkippingFolders) {
    TemporaryFolder folder("find tool");
    const std::string tool = executable_file_name("ondrel-test-tool");
    std::filesystem::create_directories(folder.path / "first" / tool); // a folder: skipped
    std::filesystem::create_directories(folder.path / "second;half");
    std::filesystem::create_directories(folder.path / "third");
    testing::write_bytes(folder.path / "second;half" / tool, "");
    testing::write_bytes(folder.path / "third" / tool, "");
    const std::string first = path_to_utf8(folder.path / "first");
    const std::string third = path_to_utf8(folder.path / "third");
#ifdef _WIN32
    // Quotes keep the semicolon inside an entry, and are removed.
    const std::string second = "\"" + path_to_utf8(folder.path / "second;half") + "\"";
    const std::string list = first + ";;" + second + ";" + third;
    const auto expected = folder.path / "second;half" / tool;
#else
    const std::string list = first + "::" + third;
    const auto expected = folder.path / "third" / tool;
#endif
    ScopedEnvironment path("PATH", list);
    EXPECT_EQ(find_tool("ondrel-test-tool"), std::optional<std::filesystem::path>(expected));
    EXPECT_EQ(find_tool("ondrel-absent-tool"), std::nullopt);
}

// A tool in the current folder is neither found through an empty or relative PATH entry nor
// started by a relative name.
TEST(FindTool, TheCurrentFolderIsNeverSearchedNorStartedFrom) {
    TemporaryFolder folder("find tool");
    const std::string tool = executable_file_name("ondrel-test-tool");
    std::filesystem::create_directories(folder.path / "sub");
    std::filesystem::copy_file(testing::fake_ffmpeg(), folder.path / tool);
    std::filesystem::copy_file(testing::fake_ffmpeg(), folder.path / "sub" / tool);
    const char separator = executable_file_name("x") == "x" ? ':' : ';';
    const std::string paths[] = {"", std::string(1, separator), ".", "sub"};
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path);
    for (const std::string& list : paths) {
        ScopedEnvironment path("PATH", list);
        EXPECT_EQ(find_tool("ondrel-test-tool"), std::nullopt) << "PATH=" << list;
    }
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "exit:0");
    const bool started = static_cast<bool>(run_for_exit_code(tool, {"out"}));
    std::filesystem::current_path(previous);
    EXPECT_FALSE(started);
}

#ifndef _WIN32
TEST(FindTool, APathThatIsNotUnicodeCountsAsEmpty) {
    TemporaryFolder folder("find tool");
    const auto odd = folder.path / std::filesystem::path("bad\xff");
    std::filesystem::create_directories(odd);
    testing::write_bytes(odd / "ondrel-test-tool", "");
    ScopedEnvironment path("PATH", odd.native());
    EXPECT_EQ(find_tool("ondrel-test-tool"), std::nullopt);
}
#endif

} // namespace
} // namespace ondrel
