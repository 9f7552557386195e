#include "video_compress/tools.hpp"

#include "i18n/texts_compression_job.hpp"
#include "platform/files.hpp"
#include "platform/process.hpp"
#include "platform/text.hpp"
#include "platform/threads.hpp"

namespace ondrel {
namespace {

// An existing file that is not a folder; links are followed.
bool is_usable_file(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

// Everything the pipe gives until its end; a read error ends it as well.
void read_all(PipeReader& pipe, std::string& into) {
    char buffer[8192];
    for (;;) {
        auto read = read_pipe(pipe, buffer, sizeof buffer);
        if (!read || read.value() == 0) {
            close_pipe(pipe);
            return;
        }
        into.append(buffer, read.value());
    }
}

struct FinishedRun {
    std::string output;
    std::string errors;
    Result<std::int32_t> exit_code = Failure{};
};

// Runs the program to its end, both outputs read at the same time, and waits for it. Fails
// only when the program cannot be started.
Result<FinishedRun> run_to_end(const std::filesystem::path& program,
                               const std::vector<std::string>& arguments) {
    auto started = start_process(program, arguments, ProcessPriority::Normal);
    if (!started) {
        return Failure{started.error()};
    }
    StartedProcess& child = started.value();
    FinishedRun run;
    std::string& output = run.output;
    std::string& errors = run.errors;
    std::optional<std::string> no_reader;
    std::thread error_reader = start_thread(
        [&] {
            try {
                read_all(child.errors, errors);
            } catch (...) {
                close_pipe(child.errors);
            }
        },
        [&](const std::string& reason) { no_reader = reason; });
    if (no_reader) {
        // No second thread: the child is ended rather than risk it blocking on a full pipe.
        (void)terminate_process(child.process);
        run.exit_code = Failure{*no_reader};
        return run;
    }
    try {
        read_all(child.output, output);
    } catch (...) {
        close_pipe(child.output);
    }
    error_reader.join();
    run.exit_code = wait_for_exit(child.process);
    return run;
}

} // namespace

std::optional<std::filesystem::path> find_tool(const std::string& name) {
    const std::filesystem::path file_name = path_from_utf8(executable_file_name(name));
    if (const auto executable = running_executable_path();
        executable && executable->has_parent_path()) {
        const std::filesystem::path beside = executable->parent_path() / file_name;
        if (is_usable_file(beside)) {
            return beside;
        }
    }
    std::string search_path = environment_variable("PATH").value_or("");
    if (!is_valid_utf8(search_path)) {
        search_path.clear();
    }
    for (const std::string& entry : split_search_path(search_path)) {
        const std::filesystem::path candidate =
            entry.empty() ? file_name : path_from_utf8(entry) / file_name;
        if (is_usable_file(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::string_view missing_tool_text(std::string_view name) {
    return name == "ffprobe" ? tr(texts::ffprobe_missing) : tr(texts::ffmpeg_missing);
}

Result<CapturedOutput> run_capture(const std::filesystem::path& program,
                                   const std::vector<std::string>& arguments) {
    auto run = run_to_end(program, arguments);
    if (!run) {
        return Failure{run.error()};
    }
    return CapturedOutput{repair_utf8(run.value().output), repair_utf8(run.value().errors)};
}

Result<std::int32_t> run_for_exit_code(const std::filesystem::path& program,
                                       const std::vector<std::string>& arguments) {
    auto run = run_to_end(program, arguments);
    if (!run) {
        return Failure{run.error()};
    }
    return run.value().exit_code;
}

} // namespace ondrel
