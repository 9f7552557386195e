// The job against a fake ffmpeg that fails in every way the engine must survive: each case
// ends with the right outcome, loses no message, leaves no partial file and touches nothing
// else in the folder.
#include "i18n/language.hpp"
#include "platform/files.hpp"
#include "support/start_gate.hpp"
#include "support/temporary_folder.hpp"
#include "test_programs.hpp"
#include "video_compress/job.hpp"
#include "video_compress/outcome_text.hpp"

#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <thread>

namespace ondrel {
namespace {

using testing::folder_contents;
using testing::JobRecord;
using testing::ScopedEnvironment;
using testing::SourceFolder;
using testing::start_fake_job;
using testing::TemporaryFolder;

std::vector<float> percents(const JobRecord& record) {
    std::vector<float> values;
    for (const auto& progress : record.progress) {
        values.push_back(progress.percent);
    }
    return values;
}

void expect_clean_end(const JobRecord& record) {
    ASSERT_TRUE(record.outcome) << "no Finished";
    EXPECT_TRUE(record.disconnected_after_finish) << "a message after Finished, or a sender left";
    EXPECT_FALSE(record.other_messages);
}

// One job against the fake ffmpeg in `mode`, to its end; it must start and end cleanly.
JobRecord run_fake_job(const SourceFolder& source, const char* mode) {
    ScopedEnvironment fake("ONDREL_FAKE_FFMPEG", mode);
    JobStart started = start_fake_job(source);
    if (!started.job) {
        ADD_FAILURE() << started.job.error();
        return {};
    }
    JobRecord record = testing::collect_job(started.job.value());
    expect_clean_end(record);
    return record;
}

// How the job ended, in words: "done", "invalid", "failed 1, partial file removed"...
std::string ending(const JobRecord& record) {
    if (!record.outcome) {
        return "not ended";
    }
    if (const auto* failed = std::get_if<outcome::Failed>(&*record.outcome)) {
        return "failed " + std::to_string(failed->exit_code) +
               (failed->partial_file_removed ? ", partial file removed" : ", nothing removed");
    }
    const char* names[] = {"done", "invalid", "failed", "error", "canceled"};
    return names[record.outcome->index()];
}

std::vector<std::string> progress_fields(const JobRecord& record) {
    std::vector<std::string> lines;
    for (const auto& p : record.progress) {
        std::ostringstream line;
        line << p.percent << " " << p.speed << " " << p.fps << " " << p.bitrate;
        lines.push_back(line.str());
    }
    return lines;
}

template <class Outcome> bool ended_as(const JobRecord& record) {
    return record.outcome && std::holds_alternative<Outcome>(*record.outcome);
}

TEST(JobFaults, ASuccessfulEncodeReportsEverythingInOrder) {
    SourceFolder source;
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "ok");
    auto started = start_fake_job(source);
    ASSERT_TRUE(started.job) << started.job.error();
    EXPECT_EQ(started.output_path, source.output());
    const JobRecord record = testing::collect_job(started.job.value());
    expect_clean_end(record);
    ASSERT_TRUE(ended_as<outcome::Done>(record));
    EXPECT_GT(std::get<outcome::Done>(*record.outcome).elapsed_seconds, 0);
    EXPECT_EQ(percents(record), (std::vector<float>{25, 50, 75, 100, 100, 100}));
    EXPECT_EQ(record.progress.back().bitrate, "1234.5kbits/s");
    EXPECT_EQ(record.progress.back().speed, 2.5);
    EXPECT_EQ(record.progress.back().fps, 25.0);
    // Blank lines are dropped, leading blanks kept, the carriage return removed.
    EXPECT_EQ(record.log,
              (std::vector<std::string>{"Input #0, lavfi", "  Stream #0:0: Video: h264"}));
    auto after = folder_contents(source.folder.path);
    EXPECT_EQ(after["source_h264_90p.mp4"], "FAKEVIDEO 2.5\n");
    after.erase("source_h264_90p.mp4");
    EXPECT_EQ(after, source.before);
}

#ifdef _WIN32
TEST(JobFaults, ACrashCodeIsReportedSigned) {
    SourceFolder source;
    const JobRecord record = run_fake_job(source, "exit:3221225477"); // 0xC0000005
    ASSERT_TRUE(ended_as<outcome::Failed>(record));
    EXPECT_EQ(std::get<outcome::Failed>(*record.outcome).exit_code, -1073741819);
    store_language(Language::English);
    EXPECT_EQ(outcome_text(*record.outcome).rfind("Failed (code -1073741819) after ", 0), 0u);
}
#endif

// Each fault ends the job as it should, with exactly the progress and log that came before or
// around it; a job that does not end as Done leaves the folder as it was.
TEST(JobFaults, EachFaultEndsAsItShould) {
    struct Case {
        const char* mode;
        const char* ending;
        std::vector<float> percents;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"fail-partial",
         "failed 1, partial file removed",
         {25},
         {"Error while encoding: out of cheese"}},
        // The empty file that reserved the name was ours, not a partial output of ffmpeg's.
        {"refuse", "failed 1, nothing removed", {}, {"Unknown encoder"}},
        {"invalid", "invalid", {100, 100}, {}},
        // A line that is not UTF-8 ends only its own stream.
        {"bad-utf8-stdout", "done", {25}, {}},
        {"bad-utf8-stderr", "done", {100, 100}, {"before 1", "before 2"}},
        {"no-progress-end", "done", {25, 40}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        SourceFolder source;
        const JobRecord record = run_fake_job(source, c.mode);
        EXPECT_EQ(ending(record), c.ending);
        EXPECT_EQ(percents(record), c.percents);
        EXPECT_EQ(record.log, c.log);
        if (!ended_as<outcome::Done>(record)) {
            EXPECT_EQ(folder_contents(source.folder.path), source.before);
        }
    }
}

TEST(JobFaults, MalformedProgressValuesAreIgnored) {
    SourceFolder source;
    const JobRecord record = run_fake_job(source, "garbage-progress");
    EXPECT_TRUE(ended_as<outcome::Done>(record));
    // percent, speed, fps and bitrate of each step
    EXPECT_EQ(progress_fields(record), (std::vector<std::string>{
                                           "25 0 0 N/A",
                                           "50 1.25 30 99kbits/s",
                                           "100 1.25 30 99kbits/s",
                                       }));
}

TEST(JobFaults, TenMebibytesOfLogNeitherBlockNorGetLost) {
    SourceFolder source;
    const JobRecord record = run_fake_job(source, "flood-stderr");
    EXPECT_TRUE(ended_as<outcome::Done>(record));
    ASSERT_EQ(record.log.size(), 102400u);
    for (std::size_t i = 0; i < record.log.size(); ++i) {
        std::string number = std::to_string(i + 1);
        number.insert(0, 6 - number.size(), '0');
        ASSERT_EQ(record.log[i].substr(0, 11), "log " + number + " ") << i;
    }
    // Steps of 1 % each, then the last block and the end.
    EXPECT_EQ(record.progress.size(), 102u);
    EXPECT_EQ(percents(record).back(), 100);
}

TEST(JobFaults, AnFfmpegThatCannotStartLeavesNothingBehind) {
    SourceFolder source;
    for (const auto& [language, prefix] :
         {std::pair{Language::English, "Could not launch ffmpeg: "},
          std::pair{Language::French, "Impossible de lancer ffmpeg : "}}) {
        store_language(language);
        auto started = start_job({}, source.media, EncoderSupport{},
                                 source.folder.path / executable_file_name("no-ffmpeg"),
                                 testing::fake_ffprobe());
        ASSERT_FALSE(started.job);
        EXPECT_EQ(started.job.error().rfind(prefix, 0), 0u) << started.job.error();
        EXPECT_TRUE(started.job.error().ends_with(" (os error 2)")) << started.job.error();
        EXPECT_EQ(started.output_path, source.output());
        EXPECT_EQ(folder_contents(source.folder.path), source.before);
    }
    store_language(Language::English);
}

TEST(JobFaults, AnOutputThatCannotBeCreatedIsReportedBeforeFfmpegStarts) {
    TemporaryFolder folder("job");
    MediaInfo media;
    media.path = folder.path / "gone" / "source.mp4";
    media.width = 160;
    media.height = 90;
    store_language(Language::English);
    auto started =
        start_job({}, media, EncoderSupport{}, testing::fake_ffmpeg(), testing::fake_ffprobe());
    ASSERT_FALSE(started.job);
    const auto expected_output = folder.path / "gone" / "source_h264_90p.mp4";
    EXPECT_EQ(started.output_path, expected_output);
    EXPECT_EQ(
        started.job.error().rfind("Could not create " + path_to_utf8(expected_output) + ": ", 0),
        0u)
        << started.job.error();
    EXPECT_TRUE(started.job.error().ends_with(")")) << started.job.error();
    EXPECT_EQ(testing::list_folder(folder.path), "");
}

TEST(JobFaults, TakenNamesAreSkippedAndNeverOverwritten) {
    SourceFolder source;
    testing::write_bytes(source.output(), "someone else's encode");
    source.before = folder_contents(source.folder.path);
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "ok");
    auto started = start_fake_job(source);
    ASSERT_TRUE(started.job) << started.job.error();
    EXPECT_EQ(started.output_path, source.folder.path / "source_h264_90p (1).mp4");
    const JobRecord record = testing::collect_job(started.job.value());
    expect_clean_end(record);
    EXPECT_TRUE(ended_as<outcome::Done>(record));
    auto after = folder_contents(source.folder.path);
    after.erase("source_h264_90p (1).mp4");
    EXPECT_EQ(after, source.before);
}

// Two jobs started at the same instant for the same source and options must not share an
// output file: each reserves its name before ffmpeg starts.
TEST(JobFaults, JobsStartedTogetherGetDifferentOutputs) {
    SourceFolder source;
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "ok");
    constexpr int job_count = 4;
    testing::StartGate ready(job_count);
    std::vector<std::optional<JobStart>> starts(job_count);
    std::vector<std::thread> starters;
    for (int i = 0; i < job_count; ++i) {
        starters.emplace_back([&, i] {
            testing::arrive_and_wait(ready);
            starts[i].emplace(start_fake_job(source));
        });
    }
    for (auto& starter : starters) {
        starter.join();
    }
    std::set<std::filesystem::path> outputs;
    for (auto& start : starts) {
        ASSERT_TRUE(start->job) << start->job.error();
        outputs.insert(start->output_path);
        const JobRecord record = testing::collect_job(start->job.value());
        expect_clean_end(record);
        EXPECT_TRUE(ended_as<outcome::Done>(record));
    }
    EXPECT_EQ(outputs.size(), static_cast<std::size_t>(job_count));
    auto after = folder_contents(source.folder.path);
    for (const auto& output : outputs) {
        EXPECT_EQ(after[path_to_utf8(output.filename())], "FAKEVIDEO 2.5\n");
        after.erase(path_to_utf8(output.filename()));
    }
    EXPECT_EQ(after, source.before);
}

// Ten thousand files take Wine most of a minute; the rule is the same on both platforms.
#ifndef _WIN32
TEST(JobFaults, WhenEveryNameIsTakenTheStartFails) {
    SourceFolder source;
    testing::write_bytes(source.output(), "");
    for (int i = 1; i <= 9999; ++i) {
        testing::write_bytes(
            source.folder.path / ("source_h264_90p (" + std::to_string(i) + ").mp4"), "");
    }
    const std::string names_before = testing::list_folder(source.folder.path);
    store_language(Language::English);
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "ok");
    auto started = start_fake_job(source);
    ASSERT_FALSE(started.job);
    EXPECT_EQ(started.job.error(),
              "No free output file name in " + path_to_utf8(source.folder.path));
    EXPECT_EQ(testing::list_folder(source.folder.path), names_before);
    EXPECT_EQ(read_file_bytes(source.folder.path / "source.mp4"),
              std::optional<std::string>("the user's video"));
}
#endif

} // namespace
} // namespace ondrel
