#include "video_compress/tools.hpp"

#include "i18n/formatters.hpp"
#include "i18n/texts_compression_job.hpp"
#include "platform/files.hpp"
#include "platform/numbers.hpp"
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

// Everything the pipe gives until its end; a read error ends it as well, and so does running
// out of memory (the pipe is then closed, so the program sees its reader gone).
void read_all(PipeReader& pipe, std::string& into) noexcept {
    try {
        char buffer[8192];
        for (;;) {
            auto read = read_pipe(pipe, buffer, sizeof buffer);
            if (!read || read.value() == 0) {
                break;
            }
            into.append(buffer, read.value());
        }
    } catch (...) {
    }
    close_pipe(pipe);
}

struct FinishedRun {
    std::string output;
    std::string errors;
    Result<std::int32_t> exit_code = Failure{};
    std::optional<std::string> cut_short; // why the run was ended before its own end
};

std::string timed_out_text(const std::filesystem::path& program, std::chrono::milliseconds limit) {
    return fill(tr(texts::tool_timed_out),
                {path_to_utf8(program.stem()),
                 format_shortest(static_cast<double>(limit.count()) / 1000.0)});
}

// Runs the program to its end, both outputs read at the same time on threads of their own,
// and waits for it, at most `limit`: one still running then is ended. Either way the process
// is reaped and both pipes closed before this returns. Fails only when the program cannot be
// started.
Result<FinishedRun> run_to_end(const std::filesystem::path& program,
                               const std::vector<std::string>& arguments,
                               std::chrono::milliseconds limit) {
    auto started = start_process(program, arguments, ProcessPriority::Normal);
    if (!started) {
        return Failure{started.error()};
    }
    StartedProcess& child = started.value();
    FinishedRun run;
    std::optional<std::string> no_reader;
    const auto note_no_reader = [&](const std::string& reason) { no_reader = reason; };
    std::thread output_reader =
        start_thread([&] { read_all(child.output, run.output); }, note_no_reader);
    std::thread error_reader;
    if (!no_reader) {
        error_reader = start_thread([&] { read_all(child.errors, run.errors); }, note_no_reader);
    }
    bool timed_out = false;
    if (no_reader) {
        // A pipe nobody reads could block the program: it is ended instead.
        (void)terminate_process(child.process);
    } else {
        const auto ended = wait_for_exit_within(child.process, limit);
        if (!ended || !ended.value()) {
            timed_out = ended.ok();
            (void)terminate_process(child.process);
        }
    }
    // The process is gone once reaped, so both pipes reach their end and the readers return.
    run.exit_code = wait_for_exit(child.process);
    for (std::thread* reader : {&output_reader, &error_reader}) {
        if (reader->joinable()) {
            reader->join();
        }
    }
    if (no_reader) {
        run.cut_short = *no_reader;
    } else if (timed_out) {
        run.cut_short = timed_out_text(program, limit);
    }
    if (run.cut_short) {
        run.exit_code = Failure{*run.cut_short};
    }
    return run;
}

} // namespace

std::optional<std::filesystem::path> find_tool(const std::string& name) {
    const std::filesystem::path file_name = path_from_utf8(executable_file_name(name));
    if (const auto executable = running_executable_path();
        executable && executable->is_absolute()) {
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
        const std::filesystem::path folder = path_from_utf8(entry);
        if (!folder.is_absolute()) {
            continue; // an empty or relative entry would name the current folder
        }
        const std::filesystem::path candidate = folder / file_name;
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
                                   const std::vector<std::string>& arguments,
                                   std::chrono::milliseconds limit) {
    auto run = run_to_end(program, arguments, limit);
    if (!run) {
        return Failure{run.error()};
    }
    if (run.value().cut_short) {
        return Failure{*run.value().cut_short};
    }
    return CapturedOutput{repair_utf8(run.value().output), repair_utf8(run.value().errors)};
}

Result<std::int32_t> run_for_exit_code(const std::filesystem::path& program,
                                       const std::vector<std::string>& arguments,
                                       std::chrono::milliseconds limit) {
    auto run = run_to_end(program, arguments, limit);
    if (!run) {
        return Failure{run.error()};
    }
    return run.value().exit_code;
}

} // namespace ondrel
