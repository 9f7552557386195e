#include "platform/files.hpp"

#include "platform/descriptor_posix.hpp"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace ondrel {
namespace {

std::atomic<unsigned> temporary_counter{0};

} // namespace

std::filesystem::path extended_length_path(const std::filesystem::path& path) {
    return path;
}

std::optional<std::string> read_file_bytes(const std::filesystem::path& path) {
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (n == 0) {
            return bytes;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

Status replace_file_contents(const std::filesystem::path& target, std::string_view bytes) {
    std::filesystem::path temporary = target;
    temporary +=
        "." + std::to_string(::getpid()) + "-" + std::to_string(++temporary_counter) + ".tmp";
    Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (file.get() < 0) {
        return Failure{last_os_error_text()};
    }
    const bool written = write_all(file.get(), bytes) && ::fsync(file.get()) == 0;
    const int error = errno;
    const bool closed = ::close(file.release()) == 0;
    if (!written || !closed) {
        ::unlink(temporary.c_str());
        return Failure{os_error_text(written ? errno : error)};
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const std::string text = last_os_error_text();
        ::unlink(temporary.c_str());
        return Failure{text};
    }
    return success();
}

std::optional<std::string> environment_variable(std::string_view name) {
    const char* value = std::getenv(std::string(name).c_str());
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

std::filesystem::path temporary_folder() {
    std::error_code ignored;
    return std::filesystem::temp_directory_path(ignored);
}

std::string os_error_text(int code) {
    return std::string(std::strerror(code)) + " (os error " + std::to_string(code) + ")";
}

std::string last_os_error_text() {
    return os_error_text(errno);
}

} // namespace ondrel
