#include "platform/new_file.hpp"

#include "platform/files.hpp"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace ondrel {

Result<NewFile> create_new_file(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (errno == EEXIST) {
            return NewFile::AlreadyExists;
        }
        return Failure{last_os_error_text()};
    }
    ::close(fd);
    return NewFile::Created;
}

} // namespace ondrel
