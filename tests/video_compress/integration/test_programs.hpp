// What the process and job tests share: where the fake and real tools are, collecting a
// job's messages, and looking at folders and processes.
#pragma once

#include "support/temporary_folder.hpp"
#include "video_compress/compress_message.hpp"
#include "video_compress/job.hpp"

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ondrel::testing {

// The folder of the running test program; the fakes and the clips are beside it.
std::filesystem::path test_programs_folder();
std::filesystem::path fake_ffmpeg();
std::filesystem::path fake_ffprobe();
std::filesystem::path clips_folder();

// Everything a job sent, in order, up to and including Finished.
struct JobRecord {
    std::vector<message::Progress> progress;
    std::vector<std::string> log;
    std::optional<JobOutcome> outcome;
    bool disconnected_after_finish = false; // nothing came after Finished, and no sender is left
    bool other_messages = false;            // anything that is no job message
};

// Receives until Finished; gives up (outcome absent) after `limit`, which only a hung job
// reaches.
JobRecord collect_job(CompressJob& job, std::chrono::seconds limit = std::chrono::seconds(120));

// A source beside two files of the user's that no job may touch, and the folder as it was.
struct SourceFolder {
    TemporaryFolder folder{"job"};
    MediaInfo media;
    std::map<std::string, std::string> before;

    SourceFolder();
    std::filesystem::path output() const { return folder.path / "source_h264_90p.mp4"; }
};

// A job on the source with the fake ffmpeg and ffprobe.
JobStart start_fake_job(const SourceFolder& source, const CompressOptions& options = {});

// Every file of a folder (not recursive) with its bytes.
std::map<std::string, std::string> folder_contents(const std::filesystem::path& folder);

// Waits up to `limit` for the file to exist.
bool wait_for_file(const std::filesystem::path& file, std::chrono::seconds limit);

// The process id a fake in "idle" mode wrote to the file; 0 when none came within 30 s.
int read_process_id(const std::filesystem::path& file);

// A process that a cancel cannot stop: on Windows a handle without the right to end it,
// elsewhere a process that is not this program's child, so its end cannot be waited for.
ChildProcess process_that_cannot_be_stopped(int process_id);

// Whether a process with this id still runs (a zombie counts as ended); waits up to `limit`
// for it to end.
bool process_ends_within(int process_id, std::chrono::seconds limit);

} // namespace ondrel::testing
