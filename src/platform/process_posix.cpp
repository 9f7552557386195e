#include "platform/descriptor_posix.hpp"
#include "platform/files.hpp"
#include "platform/process.hpp"
#include "platform/threads.hpp"

#include <cerrno>
#include <climits>
#include <condition_variable>
#include <csignal>
#include <deque>
#include <fcntl.h>
#include <functional>
#include <mutex>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#ifdef __linux__
#include <linux/close_range.h>
#include <sys/prctl.h>
#endif

namespace ondrel {
namespace {

// Children are niced this much when asked to run below normal priority.
constexpr int below_normal_nice_increment = 10;

std::int32_t exit_code_from_status(int status) {
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return -1;
}

// The parent-death signal is tied to the thread that created the child, not to the process:
// a child started from a short-lived thread would be killed when that thread ends. So every
// child is started from one thread that lives as long as the program.
struct Launcher {
    std::mutex lock;
    std::condition_variable wake;
    std::deque<std::function<void()>*> tasks;
    std::condition_variable finished;
    std::uint64_t completed = 0;
    std::uint64_t submitted = 0;
};

void serve_launcher(Launcher* launcher) {
    std::unique_lock<std::mutex> guard(launcher->lock);
    for (;;) {
        launcher->wake.wait(guard, [&] { return !launcher->tasks.empty(); });
        std::function<void()>* task = launcher->tasks.front();
        launcher->tasks.pop_front();
        guard.unlock();
        (*task)();
        guard.lock();
        ++launcher->completed;
        launcher->finished.notify_all();
    }
}

// Never destroyed: the thread waits on it until the process ends.
Launcher* start_launcher() {
    auto* launcher = new Launcher;
    bool started = true;
    start_detached_thread([launcher] { serve_launcher(launcher); },
                          [&](const std::string&) { started = false; });
    if (!started) {
        delete launcher;
        return nullptr;
    }
    return launcher;
}

void run_on_launcher(std::function<void()> task) {
    static Launcher* const launcher = start_launcher();
    if (launcher == nullptr) {
        task();
        return;
    }
    std::unique_lock<std::mutex> guard(launcher->lock);
    const std::uint64_t ticket = ++launcher->submitted;
    launcher->tasks.push_back(&task);
    launcher->wake.notify_one();
    launcher->finished.wait(guard, [&] { return launcher->completed >= ticket; });
}

struct ChildSetup {
    const char* program;
    char* const* argv;
    int input;
    int output;
    int errors;
    int report; // the exec failure's errno is written here
    bool below_normal;
    pid_t parent;
};

// Runs in the forked child: only async-signal-safe calls from here on.
[[noreturn]] void become_child(const ChildSetup& setup) {
#ifdef __linux__
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != setup.parent) {
        ::_exit(127);
    }
#endif
    if (setup.below_normal) {
        errno = 0;
        const int current = ::getpriority(PRIO_PROCESS, 0);
        if (errno == 0) {
            ::setpriority(PRIO_PROCESS, 0, current + below_normal_nice_increment);
        }
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction default_action {};
    default_action.sa_handler = SIG_DFL;
    ::sigaction(SIGPIPE, &default_action, nullptr);

    // Lift every source above 2 first, so that placing one cannot overwrite another.
    int sources[3] = {setup.input, setup.output, setup.errors};
    for (int& fd : sources) {
        if (fd < 3) {
            fd = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
        }
    }
    for (int target = 0; target < 3; ++target) {
        if (sources[target] < 0 || ::dup2(sources[target], target) < 0) {
            const int error = errno;
            (void)!::write(setup.report, &error, sizeof error);
            ::_exit(127);
        }
    }
#ifdef CLOSE_RANGE_CLOEXEC
    // Whatever another part of the program opened without close-on-exec stays behind too.
    ::close_range(3, UINT_MAX, CLOSE_RANGE_CLOEXEC);
#endif
    ::execv(setup.program, setup.argv);
    const int error = errno;
    (void)!::write(setup.report, &error, sizeof error);
    ::_exit(127);
}

Result<std::pair<int, int>> make_pipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return Failure{last_os_error_text()};
    }
    return std::pair<int, int>(ends[0], ends[1]);
}

} // namespace

void PipeTraits::close(std::intptr_t pipe) noexcept {
    ::close(static_cast<int>(pipe));
}

void ProcessTraits::close(std::intptr_t process) noexcept {
    // Only a child that was never reaped is still held here: it is ended and reaped.
    const auto pid = static_cast<pid_t>(process);
    ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

void ProcessJobTraits::close(std::intptr_t) noexcept {}

Result<std::size_t> read_pipe(PipeReader& pipe, char* buffer, std::size_t size) {
    if (!pipe) {
        return std::size_t{0};
    }
    for (;;) {
        const ssize_t n = ::read(static_cast<int>(pipe.get()), buffer, size);
        if (n >= 0) {
            return static_cast<std::size_t>(n);
        }
        if (errno != EINTR) {
            return Failure{last_os_error_text()};
        }
    }
}

Result<StartedProcess> start_process(const std::filesystem::path& program,
                                     const std::vector<std::string>& arguments,
                                     ProcessPriority priority) {
    if (!program.is_absolute()) {
        return Failure{os_error_text(EINVAL)};
    }
    Descriptor input(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    if (!input) {
        return Failure{last_os_error_text()};
    }
    auto output = make_pipe();
    if (!output) {
        return Failure{output.error()};
    }
    Descriptor output_read(output.value().first);
    Descriptor output_write(output.value().second);
    auto errors = make_pipe();
    if (!errors) {
        return Failure{errors.error()};
    }
    Descriptor errors_read(errors.value().first);
    Descriptor errors_write(errors.value().second);
    auto report = make_pipe();
    if (!report) {
        return Failure{report.error()};
    }
    Descriptor report_read(report.value().first);
    Descriptor report_write(report.value().second);

    // Everything the child needs is built before fork: it must not allocate.
    const std::string program_text = program.native();
    std::vector<std::string> texts;
    texts.reserve(arguments.size() + 1);
    texts.push_back(program_text);
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    const ChildSetup setup{program_text.c_str(),
                           argv.data(),
                           input.get(),
                           output_write.get(),
                           errors_write.get(),
                           report_write.get(),
                           priority == ProcessPriority::BelowNormal,
                           ::getpid()};

    pid_t pid = -1;
    int fork_error = 0;
    run_on_launcher([&] {
        pid = ::fork();
        if (pid == 0) {
            become_child(setup);
        }
        fork_error = errno;
    });
    if (pid < 0) {
        return Failure{os_error_text(fork_error)};
    }
    ChildProcess child;
    child.process.reset(pid);
    // The child's ends must be closed here, or reading would never see the end of the output.
    input.reset();
    output_write.reset();
    errors_write.reset();
    report_write.reset();

    int exec_error = 0;
    ssize_t n = 0;
    do {
        n = ::read(report_read.get(), &exec_error, sizeof exec_error);
    } while (n < 0 && errno == EINTR);
    if (n == static_cast<ssize_t>(sizeof exec_error)) {
        (void)wait_for_exit(child);
        return Failure{os_error_text(exec_error)};
    }
    return StartedProcess{std::move(child), PipeReader(output_read.release()),
                          PipeReader(errors_read.release())};
}

namespace {

// Once reaped, the pid may soon name another process: it is let go of, never signalled again.
std::int32_t reaped(ChildProcess& child, int status) {
    child.exit_code = exit_code_from_status(status);
    (void)child.process.release();
    return *child.exit_code;
}

} // namespace

Result<std::optional<std::int32_t>> query_exit(ChildProcess& child) {
    if (child.exit_code) {
        return std::optional<std::int32_t>(child.exit_code);
    }
    if (!child.process) {
        return Failure{os_error_text(ECHILD)}; // waitpid(-1) would take any child
    }
    for (;;) {
        int status = 0;
        const pid_t result = ::waitpid(static_cast<pid_t>(child.process.get()), &status, WNOHANG);
        if (result == 0) {
            return std::optional<std::int32_t>();
        }
        if (result > 0) {
            return std::optional<std::int32_t>(reaped(child, status));
        }
        if (errno != EINTR) {
            return Failure{last_os_error_text()};
        }
    }
}

Status terminate_process(ChildProcess& child) {
    if (child.exit_code || !child.process) {
        return success();
    }
    // A process that ended but was not reaped yet still accepts the signal.
    if (::kill(static_cast<pid_t>(child.process.get()), SIGKILL) == 0 || errno == ESRCH) {
        return success();
    }
    return Failure{last_os_error_text()};
}

Result<std::int32_t> wait_for_exit(ChildProcess& child) {
    if (child.exit_code) {
        return *child.exit_code;
    }
    if (!child.process) {
        return Failure{os_error_text(ECHILD)};
    }
    for (;;) {
        int status = 0;
        if (::waitpid(static_cast<pid_t>(child.process.get()), &status, 0) > 0) {
            return reaped(child, status);
        }
        if (errno != EINTR) {
            return Failure{last_os_error_text()};
        }
    }
}

std::optional<std::filesystem::path> running_executable_path() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || path.empty()) {
        return std::nullopt;
    }
    return path;
}

} // namespace ondrel

namespace ondrel {

std::string executable_file_name(const std::string& name) {
    return name;
}

std::vector<std::string> split_search_path(const std::string& text) {
    return split_posix_search_path(text);
}

} // namespace ondrel
