#include "double_handle.hpp"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>

#ifdef _WIN32
#define ONDREL_DOUBLE_EXPORT extern "C" __declspec(dllexport)
#else
#define ONDREL_DOUBLE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace mpv_double {
namespace {

struct CallRecord {
    std::mutex mutex;
    std::string lines;
    std::string snapshot; // what ondrel_mpv_double_record last handed out
};

CallRecord& call_record() {
    static CallRecord instance;
    return instance;
}

} // namespace

void record(const nlohmann::json& line) {
    // Invalid UTF-8 in an argument is written as U+FFFD rather than failing.
    const std::string text = line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    CallRecord& calls = call_record();
    std::lock_guard lock(calls.mutex);
    calls.lines += text;
    calls.lines += '\n';
    if (const std::optional<std::string> file = environment_text("ONDREL_MPV_DOUBLE_RECORD");
        file && !file->empty()) {
        std::ofstream out(std::filesystem::path(std::u8string(file->begin(), file->end())),
                          std::ios::binary | std::ios::app);
        out << text << '\n';
    }
}

} // namespace mpv_double

// Every call recorded in this process so far, one JSON object per line. The text stays valid
// until the next call of this function or of ondrel_mpv_double_clear_record.
ONDREL_DOUBLE_EXPORT const char* ondrel_mpv_double_record(void) {
    mpv_double::CallRecord& calls = mpv_double::call_record();
    std::lock_guard lock(calls.mutex);
    calls.snapshot = calls.lines;
    return calls.snapshot.c_str();
}

ONDREL_DOUBLE_EXPORT void ondrel_mpv_double_clear_record(void) {
    mpv_double::CallRecord& calls = mpv_double::call_record();
    std::lock_guard lock(calls.mutex);
    calls.lines.clear();
    calls.snapshot.clear();
}
