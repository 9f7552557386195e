#include "background_job.hpp"

#include "platform/files.hpp"
#include "platform/numbers.hpp"
#include "platform/win32/handles.hpp"

#include <fstream>

namespace ondrel::testing {

Gate::Gate() : mode("ONDREL_FAKE_FFMPEG", "gate:" + path_to_utf8(folder.path)) {}

void Gate::release(const std::string& word) const {
    // Whole or not at all: the fake reads the file as soon as it exists.
    const auto written = folder.path / "release.tmp";
    std::ofstream(written, std::ios::binary) << word;
    std::filesystem::rename(written, folder.path / "release");
}

std::optional<DWORD> Gate::ffmpeg_id() const {
    const auto text = read_file_bytes(folder.path / "ffmpeg.pid");
    if (!text) {
        return std::nullopt;
    }
    const auto id = parse_digits(*text, UINT32_MAX);
    return id ? std::optional<DWORD>(static_cast<DWORD>(*id)) : std::nullopt;
}

bool Gate::ffmpeg_ended() const {
    const auto id = ffmpeg_id();
    if (!id) {
        return false;
    }
    const UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, *id));
    return !process || WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
}

} // namespace ondrel::testing
