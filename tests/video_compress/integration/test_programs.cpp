#include "test_programs.hpp"

#include "platform/files.hpp"
#include "platform/process.hpp"

#include <fstream>
#include <thread>
#include <type_traits>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <fstream>
#endif

namespace ondrel::testing {

std::filesystem::path test_programs_folder() {
    return running_executable_path().value_or(std::filesystem::path()).parent_path();
}

std::filesystem::path fake_ffmpeg() {
    return test_programs_folder() / executable_file_name("fake_ffmpeg");
}

std::filesystem::path fake_ffprobe() {
    return test_programs_folder() / executable_file_name("fake_ffprobe");
}

std::filesystem::path clips_folder() {
    return test_programs_folder() / "clips";
}

JobRecord collect_job(CompressJob& job, std::chrono::seconds limit) {
    JobRecord record;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!record.outcome && std::chrono::steady_clock::now() < deadline) {
        auto received = receive_for(job.messages, std::chrono::milliseconds(200));
        if (received.status == ReceiveStatus::Disconnected) {
            return record; // ended without Finished
        }
        if (received.status != ReceiveStatus::Received) {
            continue;
        }
        std::visit(
            [&](auto& message) {
                using Kind = std::decay_t<decltype(message)>;
                if constexpr (std::is_same_v<Kind, message::Progress>) {
                    record.progress.push_back(message);
                } else if constexpr (std::is_same_v<Kind, message::Log>) {
                    record.log.push_back(message.line);
                } else if constexpr (std::is_same_v<Kind, message::Finished>) {
                    record.outcome = message.outcome;
                } else {
                    record.other_messages = true;
                }
            },
            *received.message);
    }
    if (record.outcome) {
        // The worker drops its sender right after Finished.
        auto after = receive_for(job.messages, std::chrono::seconds(30));
        record.disconnected_after_finish = after.status == ReceiveStatus::Disconnected;
    }
    return record;
}

SourceFolder::SourceFolder() {
    write_bytes(folder.path / "source.mp4", "the user's video");
    write_bytes(folder.path / "notes.txt", "keep me");
    write_bytes(folder.path / "source_h264_45p.mp4", "an older encode");
    media.path = folder.path / "source.mp4";
    media.width = 160;
    media.height = 90;
    media.duration = 2.0;
    before = folder_contents(folder.path);
}

JobStart start_fake_job(const SourceFolder& source, const CompressOptions& options) {
    return start_job(options, source.media, EncoderSupport{}, fake_ffmpeg(), fake_ffprobe());
}

std::map<std::string, std::string> folder_contents(const std::filesystem::path& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        contents[path_to_utf8(entry.path().filename())] =
            read_file_bytes(entry.path()).value_or("<unreadable>");
    }
    return contents;
}

bool wait_for_file(const std::filesystem::path& file, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!std::filesystem::exists(file)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

int read_process_id(const std::filesystem::path& file) {
    if (!wait_for_file(file, std::chrono::seconds(30))) {
        return 0;
    }
    // The id is written in one go, but the file may appear before its bytes do.
    for (int attempt = 0; attempt < 500; ++attempt) {
        if (const auto text = read_file_bytes(file).value_or(""); !text.empty()) {
            return std::stoi(text);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}

ChildProcess process_that_cannot_be_stopped(int process_id) {
    ChildProcess process;
#ifdef _WIN32
    process.process.reset(reinterpret_cast<std::intptr_t>(::OpenProcess(
        SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process_id))));
#else
    process.process.reset(process_id);
#endif
    return process;
}

bool process_ends_within(int process_id, std::chrono::seconds limit) {
#ifdef _WIN32
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(process_id));
    if (process == nullptr) {
        return true;
    }
    const DWORD waited = ::WaitForSingleObject(
        process, static_cast<DWORD>(std::chrono::milliseconds(limit).count()));
    ::CloseHandle(process);
    return waited == WAIT_OBJECT_0;
#else
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (::kill(process_id, 0) != 0) {
            return true;
        }
        // Reparented to an init that does not reap: a zombie has ended all the same.
        std::ifstream stat("/proc/" + std::to_string(process_id) + "/stat");
        std::string pid, name, state;
        stat >> pid >> name >> state;
        if (state == "Z") {
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
#endif
}

} // namespace ondrel::testing
