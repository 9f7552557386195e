#include "platform/new_file.hpp"

#include "platform/files.hpp"
#include "platform/win32/handles.hpp"

#include <windows.h>

namespace ondrel {

Result<NewFile> create_new_file(const std::filesystem::path& wanted) {
    const std::filesystem::path path = extended_length_path(wanted);
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
        return NewFile::Created;
    }
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
        return NewFile::AlreadyExists;
    }
    // A folder of that name refuses with ERROR_ACCESS_DENIED; the name is taken all the same.
    if (error == ERROR_ACCESS_DENIED &&
        ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return NewFile::AlreadyExists;
    }
    return Failure{os_error_text(static_cast<int>(error))};
}

} // namespace ondrel
