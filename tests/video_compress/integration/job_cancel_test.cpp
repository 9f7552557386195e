// Canceling a job, and a job whose ffmpeg is killed by someone else.
#include "i18n/language.hpp"
#include "platform/files.hpp"
#include "platform/process.hpp"
#include "support/temporary_folder.hpp"
#include "test_programs.hpp"
#include "video_compress/job.hpp"
#include "video_compress/outcome_text.hpp"
#include "video_compress/output_path.hpp"

#include <future>
#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::folder_contents;
using testing::ScopedEnvironment;
using testing::TemporaryFolder;

// A job of the fake ffmpeg, started; a failure to start fails the test.
struct RunningJob {
    testing::SourceFolder source;
    std::filesystem::path output;
    std::optional<CompressJob> job;

    RunningJob() {
        auto started = testing::start_fake_job(source);
        output = started.output_path;
        if (started.job) {
            job.emplace(std::move(started.job.value()));
        } else {
            ADD_FAILURE() << started.job.error();
        }
    }
};

// Waits for the first progress report: ffmpeg is running and has written part of its output.
bool wait_for_progress(CompressJob& job) {
    for (;;) {
        auto received = receive_for(job.messages, std::chrono::seconds(30));
        if (received.status != ReceiveStatus::Received) {
            return false;
        }
        if (std::holds_alternative<message::Progress>(*received.message)) {
            return true;
        }
    }
}

// cancel_job in another thread, so that a cancel that never returns fails the test instead
// of hanging it. Nothing when it failed or did not return.
std::optional<CancelResult> cancel_returns(CompressJob& job) {
    auto canceled = std::async(std::launch::async, [&] { return cancel_job(job); });
    if (canceled.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
        return std::nullopt;
    }
    const Result<CancelResult> result = canceled.get();
    return result ? std::optional<CancelResult>(result.value()) : std::nullopt;
}

TEST(JobCancel, EndsTheProcessAndTheReceiverDeletesThePartialOutput) {
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "hang");
    RunningJob running;
    ASSERT_TRUE(running.job);
    CompressJob& job = *running.job;
    ASSERT_TRUE(wait_for_progress(job));
    // While ffmpeg writes, only the empty reservation bears the output's name.
    const std::filesystem::path partial = partial_output_path(running.output);
    EXPECT_EQ(read_file_bytes(running.output), std::optional<std::string>(""));
    EXPECT_NE(read_file_bytes(partial).value_or(""), "");

    ASSERT_EQ(cancel_returns(job), CancelResult::Stopped) << "cancel_job did not stop ffmpeg";
    {
        std::lock_guard<std::mutex> guard(job.child->lock);
        EXPECT_TRUE(job.child->process.exit_code.has_value()) << "the process was not reaped";
    }
    const auto record = testing::collect_job(job);
    ASSERT_TRUE(record.outcome);
    EXPECT_TRUE(record.disconnected_after_finish);
    ASSERT_TRUE(std::holds_alternative<outcome::Canceled>(*record.outcome));
    // The job deletes nothing on cancel; the receiver does.
    EXPECT_TRUE(std::filesystem::exists(partial));
    store_language(Language::French);
    EXPECT_EQ(conclude_job(*record.outcome, running.output), "Annulé.");
    store_language(Language::English);
    EXPECT_EQ(folder_contents(running.source.folder.path), running.source.before);
}

TEST(JobCancel, FfmpegKilledFromOutsideIsAFailureWithoutItsPartialFile) {
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "hang");
    RunningJob running;
    ASSERT_TRUE(running.job);
    CompressJob& job = *running.job;
    ASSERT_TRUE(wait_for_progress(job));
    {
        std::lock_guard<std::mutex> guard(job.child->lock);
        ASSERT_TRUE(terminate_process(job.child->process));
        ASSERT_TRUE(wait_for_exit(job.child->process));
    }
    const auto record = testing::collect_job(job);
    ASSERT_TRUE(record.outcome);
    ASSERT_TRUE(std::holds_alternative<outcome::Failed>(*record.outcome));
    const auto failed = std::get<outcome::Failed>(*record.outcome);
    EXPECT_NE(failed.exit_code, 0);
    EXPECT_TRUE(failed.partial_file_removed);
    EXPECT_EQ(folder_contents(running.source.folder.path), running.source.before);
}

// Once ffmpeg has ended well, the outcome is decided; a cancel during the check of the
// result says that nothing was canceled, so that nobody deletes the finished file.
TEST(JobCancel, CancelingDuringTheResultCheckKeepsTheOutcome) {
    TemporaryFolder gate("gate");
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "ok");
    ScopedEnvironment checker("ONDREL_FAKE_FFPROBE", "slow-check:" + path_to_utf8(gate.path));
    RunningJob running;
    ASSERT_TRUE(running.job);
    ASSERT_TRUE(testing::wait_for_file(gate.path / "checking", std::chrono::seconds(60)));
    EXPECT_EQ(cancel_returns(*running.job), CancelResult::AlreadyEnded);
    testing::write_bytes(gate.path / "release", "");
    const auto record = testing::collect_job(*running.job);
    ASSERT_TRUE(record.outcome);
    EXPECT_TRUE(std::holds_alternative<outcome::Done>(*record.outcome));
    (void)conclude_job(*record.outcome, running.output);
    EXPECT_EQ(read_file_bytes(running.output), std::optional<std::string>("FAKEVIDEO 2.5\n"));
    EXPECT_FALSE(std::filesystem::exists(partial_output_path(running.output)));
}

TEST(JobCancel, CancelingAFinishedJobChangesNothing) {
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "ok");
    RunningJob running;
    ASSERT_TRUE(running.job);
    const auto record = testing::collect_job(*running.job);
    ASSERT_TRUE(record.outcome);
    EXPECT_TRUE(std::holds_alternative<outcome::Done>(*record.outcome));
    EXPECT_EQ(cancel_returns(*running.job), CancelResult::AlreadyEnded);
    EXPECT_EQ(read_file_bytes(running.output), std::optional<std::string>("FAKEVIDEO 2.5\n"));
}

// The cancel meets a process it cannot stop: it returns at once with the reason, and the job
// ends in that Error rather than Canceled, so nobody deletes the output of an ffmpeg that may
// still be writing it.
TEST(JobCancel, AProcessThatCannotBeStoppedEndsTheJobInAnError) {
    TemporaryFolder processes("unstoppable");
    std::optional<StartedProcess> parent;
    int unstoppable = 0;
    {
        ScopedEnvironment mode("ONDREL_FAKE_FFMPEG",
                               "orphan:" + path_to_utf8(testing::fake_ffmpeg()));
        ScopedEnvironment pid_file("ONDREL_FAKE_PID_FILE", path_to_utf8(processes.path / "pid"));
        auto started = start_process(testing::fake_ffmpeg(), {}, ProcessPriority::Normal);
        ASSERT_TRUE(started) << started.error();
        parent.emplace(std::move(started.value()));
        unstoppable = testing::read_process_id(processes.path / "pid");
        ASSERT_GT(unstoppable, 0);
    }
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "hang");
    RunningJob running;
    ASSERT_TRUE(running.job);
    CompressJob& job = *running.job;
    ASSERT_TRUE(wait_for_progress(job));
    ChildProcess ffmpeg;
    {
        std::lock_guard<std::mutex> guard(job.child->lock);
        ffmpeg = std::move(job.child->process);
        job.child->process = testing::process_that_cannot_be_stopped(unstoppable);
    }
    const auto before = std::chrono::steady_clock::now();
    const Result<CancelResult> canceled = cancel_job(job);
    EXPECT_LT(std::chrono::steady_clock::now() - before, stop_wait_limit + std::chrono::seconds(5));
    ASSERT_FALSE(canceled);
    EXPECT_EQ(canceled.error().rfind("Could not stop ffmpeg: ", 0), 0u) << canceled.error();

    // ffmpeg ends later on its own; the job then reports why the cancel failed.
    ASSERT_TRUE(terminate_process(ffmpeg));
    ASSERT_TRUE(wait_for_exit(ffmpeg));
    const auto record = testing::collect_job(job);
    ASSERT_TRUE(record.outcome);
    ASSERT_TRUE(std::holds_alternative<outcome::Error>(*record.outcome));
    EXPECT_EQ(conclude_job(*record.outcome, running.output), canceled.error());
    EXPECT_FALSE(std::filesystem::exists(running.output));
    EXPECT_NE(read_file_bytes(partial_output_path(running.output)).value_or(""), "");

    // Ending the orphan's parent ends it too.
    ASSERT_TRUE(terminate_process(parent->process));
    ASSERT_TRUE(wait_for_exit(parent->process));
    EXPECT_TRUE(testing::process_ends_within(unstoppable, std::chrono::seconds(20)));
}

} // namespace
} // namespace ondrel
