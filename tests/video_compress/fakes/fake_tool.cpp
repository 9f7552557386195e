// A stand-in for ffmpeg or ffprobe (built as fake_ffmpeg and fake_ffprobe) that misbehaves
// on request, so the tests can prove how the compression engine copes. Only this program
// reads the ONDREL_FAKE_* environment variables; the engine never does.
//
// fake_ffmpeg, by ONDREL_FAKE_FFMPEG:
//   ok (default)      progress, a few log lines, a readable output, exit 0
//   fail-partial      part of the output, an error line, exit 1
//   exit:N            part of the output, exit N
//   refuse            an error line and exit 1 without writing anything
//   invalid           an output no prober can read, exit 0
//   hang              part of the output and one progress block, then waits to be killed
//   gate:DIR          writes its process id to DIR/ffmpeg.pid, part of the output and one
//                     progress block, then waits for the file DIR/release (made whole, by a
//                     rename): when it says "ok" the input is copied to the output (a real video
//                     for a real prober) and it ends with exit 0, otherwise with exit 1 and the
//                     partial output
//   garbage-progress  N/A and malformed progress values between good ones
//   bad-utf8-stdout   a progress line that is not UTF-8, then more progress
//   bad-utf8-stderr   a log line that is not UTF-8, then more log lines
//   flood-stderr      10 MiB of numbered log lines
//   no-progress-end   progress that never says progress=end
//   echo-args         each argument on its own line on standard output, then exit 0
//   echo-lines        UTF-8 lines written one byte at a time
//   long-lines        lines of 20 000 and 50 000 bytes, then a short one
//   stdin             reads standard input to its end and prints how many bytes came
//   idle              writes its process id to ONDREL_FAKE_PID_FILE, then waits to be killed
//   orphan:PROGRAM    starts PROGRAM (this fake, told to idle) as its own child, then hangs
// Listings: ONDREL_FAKE_ENCODERS and ONDREL_FAKE_HWACCELS ("|" separates lines).
// Test encodes: ONDREL_FAKE_WORKING_ENCODERS (comma-separated) pass; with
// ONDREL_FAKE_RECORD_DIR each writes its arguments to <encoder>.args there and, with
// ONDREL_FAKE_BARRIER=N, waits until N test encodes have started (exit 3 after 30 s).
//
// fake_ffprobe: the result check prints the duration of a "FAKEVIDEO <duration>" file and
// fails on anything else; with ONDREL_FAKE_FFPROBE=slow-check:DIR it first creates
// DIR/checking and waits for DIR/release. The analysis prints the file named by
// ONDREL_FAKE_PROBE_REPORT and the text of ONDREL_FAKE_PROBE_STDERR.

#include "platform/process.hpp"
#include "platform/text.hpp"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include "platform/win32/wide.hpp"
#include <fcntl.h>
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

namespace {

using Arguments = std::vector<std::string>;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

void write_out(std::FILE* stream, const std::string& text) {
    // Errors are ignored on purpose: a reader that went away must not stop the fake.
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

void pause_ms(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

int process_id() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}

void set_environment(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value);
#else
    setenv(name, value, 1);
#endif
}

[[noreturn]] void hang_forever() {
    for (;;) {
        pause_ms(1000);
    }
}

bool has(const Arguments& arguments, const std::string& value) {
    return std::find(arguments.begin(), arguments.end(), value) != arguments.end();
}

std::string after(const Arguments& arguments, const std::string& flag) {
    const auto found = std::find(arguments.begin(), arguments.end(), flag);
    return found != arguments.end() && found + 1 != arguments.end() ? *(found + 1) : "";
}

std::filesystem::path from_utf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

void write_file(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string lines_from_bars(std::string text) {
    std::replace(text.begin(), text.end(), '|', '\n');
    return text.empty() ? text : text + "\n";
}

void progress_block(double seconds, const std::string& ending = "continue") {
    std::ostringstream block;
    block << "frame=" << static_cast<int>(seconds * 25) << "\n"
          << "fps=25.0\n"
          << "bitrate=1234.5kbits/s\n"
          << "out_time_us=" << static_cast<long long>(seconds * 1000000) << "\n"
          << "speed=2.5x\n"
          << "progress=" << ending << "\n";
    write_out(stdout, block.str());
}

// The readable output: the fake prober reports the number after the marker as its duration.
void write_good_output(const std::string& output) {
    write_file(from_utf8(output), "FAKEVIDEO 2.5\n");
}
void write_partial_output(const std::string& output) {
    write_file(from_utf8(output), "FAKEVIDEO partial data");
}

int test_encode(const Arguments& arguments) {
    const std::string encoder = after(arguments, "-c:v");
    const std::string record_dir = environment("ONDREL_FAKE_RECORD_DIR");
    if (!record_dir.empty()) {
        std::string text;
        for (const std::string& argument : arguments) {
            text += argument + "\n";
        }
        write_file(from_utf8(record_dir) / (encoder + ".args"), text);
        write_file(from_utf8(record_dir) / (encoder + ".started"), "");
        const int barrier = std::atoi(environment("ONDREL_FAKE_BARRIER").c_str());
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        for (;;) {
            int started = 0;
            for (const auto& entry : std::filesystem::directory_iterator(from_utf8(record_dir))) {
                started += entry.path().extension() == ".started" ? 1 : 0;
            }
            if (started >= barrier) {
                break;
            }
            if (std::chrono::steady_clock::now() > deadline) {
                return 3;
            }
            pause_ms(20);
        }
    }
    const std::string working = "," + environment("ONDREL_FAKE_WORKING_ENCODERS") + ",";
    if (working.find("," + encoder + ",") != std::string::npos) {
        return 0;
    }
    write_out(stderr, "Cannot load the encoder's library\n");
    return 1;
}

int gated_encode(const Arguments& arguments, const std::filesystem::path& gate) {
    const std::string output = arguments.empty() ? "" : arguments.back();
    write_file(gate / "ffmpeg.pid", std::to_string(process_id()));
    write_partial_output(output);
    progress_block(0.5);
    write_out(stderr, "waiting at the gate\n");
    while (!std::filesystem::exists(gate / "release")) {
        pause_ms(20);
    }
    if (read_file(gate / "release") != "ok") {
        return 1;
    }
    std::error_code error;
    std::filesystem::copy_file(from_utf8(after(arguments, "-i")), from_utf8(output),
                               std::filesystem::copy_options::overwrite_existing, error);
    progress_block(2.0, "end");
    return error ? 2 : 0;
}

int encode(const Arguments& arguments, const std::string& mode) {
    const std::string output = arguments.empty() ? "" : arguments.back();
    if (mode == "fail-partial" || mode.rfind("exit:", 0) == 0) {
        write_partial_output(output);
        progress_block(0.5);
        write_out(stderr, "Error while encoding: out of cheese\n");
        return mode == "fail-partial" ? 1 : static_cast<int>(std::stoll(mode.substr(5)));
    }
    if (mode == "refuse") {
        write_out(stderr, "Unknown encoder\n");
        return 1;
    }
    if (mode == "hang") {
        write_partial_output(output);
        progress_block(0.5);
        write_out(stderr, "encoding...\n");
        hang_forever();
    }
    if (mode.rfind("gate:", 0) == 0) {
        return gated_encode(arguments, from_utf8(mode.substr(5)));
    }
    if (mode == "invalid") {
        write_file(from_utf8(output), "not a video at all");
        progress_block(2.0, "end");
        return 0;
    }
    if (mode == "garbage-progress") {
        write_out(stdout, "fps=N/A\nspeed=N/A\nbitrate=N/A\nout_time_us=N/A\nprogress=continue\n"
                          "out_time_us=500000\n"
                          "fps=abc\nspeed=fastx\nout_time_us=-5\nout_time_us=12.5\n"
                          "out_time_us=+\nno equals sign here\n=orphan value\n"
                          "Out_time_us=1500000\nout_time_us =1500000\n"
                          "fps= 30 \nspeed= 1.25xx \nbitrate= 99kbits/s \n"
                          "out_time_us=+1000000\nprogress=continue\n");
        write_good_output(output);
        write_out(stdout, "progress=end\n");
        return 0;
    }
    if (mode == "bad-utf8-stdout") {
        progress_block(0.5);
        write_out(stdout, "bitrate=\xff\xfe broken\n");
        progress_block(1.5);
        progress_block(2.0, "end");
        write_good_output(output);
        return 0;
    }
    if (mode == "bad-utf8-stderr") {
        write_out(stderr, "before 1\nbefore 2\nbroken \xc3\x28 line\nafter 1\nafter 2\n");
        progress_block(2.0, "end");
        write_good_output(output);
        return 0;
    }
    if (mode == "flood-stderr") {
        // Over 10 MiB: 102 400 numbered lines of 103 bytes with the line feed.
        std::string chunk;
        for (int line = 1; line <= 102400; ++line) {
            char number[16];
            std::snprintf(number, sizeof number, "%06d", line);
            chunk += std::string("log ") + number + " " + std::string(91, 'x') + "\n";
            if (line % 1024 == 0) {
                write_out(stderr, chunk);
                chunk.clear();
                progress_block(2.0 * line / 102400);
            }
        }
        write_good_output(output);
        progress_block(2.0, "end");
        return 0;
    }
    if (mode == "no-progress-end") {
        progress_block(0.5);
        progress_block(0.8);
        write_good_output(output);
        return 0;
    }
    // ok
    write_out(stderr, "Input #0, lavfi\n   \n\n  Stream #0:0: Video: h264\r\n");
    for (int step = 1; step <= 4; ++step) {
        progress_block(0.5 * step);
    }
    write_good_output(output);
    progress_block(2.0, "end");
    return 0;
}

int fake_ffmpeg(const Arguments& arguments) {
    const std::string mode = environment("ONDREL_FAKE_FFMPEG");
    if (has(arguments, "-encoders")) {
        write_out(stdout, "Encoders:\n" + lines_from_bars(environment("ONDREL_FAKE_ENCODERS")));
        return 0;
    }
    if (has(arguments, "-hwaccels")) {
        write_out(stdout, "Hardware acceleration methods:\n" +
                              lines_from_bars(environment("ONDREL_FAKE_HWACCELS")));
        return 0;
    }
    if (mode == "echo-args") {
        std::string text;
        for (const std::string& argument : arguments) {
            text += argument + "\n";
        }
        write_out(stdout, text);
        return 0;
    }
    if (mode == "echo-lines") {
        const std::string text = "plain\nd\xc3\xa9j\xc3\xa0 vu\r\n\xe6\x97\xa5\xe6\x9c\xac\n"
                                 "\xf0\x9f\x8e\xac clap\n\nlast without end";
        for (const char c : text) {
            write_out(stdout, std::string(1, c));
        }
        write_out(stderr, "the other pipe\n");
        return 0;
    }
    if (mode == "long-lines") {
        write_out(stdout, std::string(20000, 'a') + "\n" + std::string(50000, 'b') + "\r\nend\n");
        return 0;
    }
    if (mode == "stdin") {
        std::size_t count = 0;
        char buffer[256];
        while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, stdin)) {
            count += n;
        }
        write_out(stdout, std::to_string(count) + "\n");
        return 0;
    }
    if (mode == "idle") {
        write_file(from_utf8(environment("ONDREL_FAKE_PID_FILE")), std::to_string(process_id()));
        hang_forever();
    }
    if (mode.rfind("orphan:", 0) == 0) {
        set_environment("ONDREL_FAKE_FFMPEG", "idle");
        auto child = ondrel::start_process(from_utf8(mode.substr(7)), {"-i", "x", "out"},
                                           ondrel::ProcessPriority::Normal);
        if (!child) {
            write_out(stderr, child.error() + "\n");
            return 4;
        }
        write_out(stdout, "child started\n");
        hang_forever();
    }
    if (has(arguments, "lavfi") && has(arguments, "null")) {
        return test_encode(arguments);
    }
    return encode(arguments, mode);
}

int fake_ffprobe(const Arguments& arguments) {
    const std::string mode = environment("ONDREL_FAKE_FFPROBE");
    if (has(arguments, "-show_entries")) {
        if (mode.rfind("slow-check:", 0) == 0) {
            const std::filesystem::path folder = from_utf8(mode.substr(11));
            write_file(folder / "checking", "");
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            while (!std::filesystem::exists(folder / "release") &&
                   std::chrono::steady_clock::now() < deadline) {
                pause_ms(20);
            }
        }
        const std::string content = read_file(from_utf8(arguments.back()));
        if (content.rfind("FAKEVIDEO ", 0) != 0) {
            write_out(stderr, arguments.back() + ": Invalid data found when processing input\n");
            return 1;
        }
        write_out(stdout, content.substr(10, content.find('\n') - 10) + "\n");
        return 0;
    }
    write_out(stdout, read_file(from_utf8(environment("ONDREL_FAKE_PROBE_REPORT"))));
    write_out(stderr, environment("ONDREL_FAKE_PROBE_STDERR"));
    return 0;
}

int run(const Arguments& arguments) {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#else
    // ffmpeg itself ignores SIGPIPE and carries on when its reader goes away.
    std::signal(SIGPIPE, SIG_IGN);
#endif
#ifdef ONDREL_FAKE_FFPROBE
    constexpr bool prober = true;
#else
    constexpr bool prober = false;
#endif
    return prober ? fake_ffprobe(arguments) : fake_ffmpeg(arguments);
}

} // namespace

// The arguments as UTF-8, as the real tools read them.
#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    Arguments arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(ondrel::narrow(argv[i]));
    }
    return run(arguments);
}
#else
int main(int argc, char** argv) {
    return run(Arguments(argv + 1, argv + argc));
}
#endif
