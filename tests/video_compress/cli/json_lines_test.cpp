// The JSON lines of --progress ndjson, each kind once, to the character.
#include "compress_cli/json_lines.hpp"
#include "platform/files.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

TEST(JsonLines, EachKindToTheCharacter) {
    const message::Progress midway{"900.0kbits/s", 2.5, 50, 42.3f, 4230000, 123456};
    const message::Progress first{"", 0, 0, 0.0f, std::nullopt, std::nullopt};
    // A file name that is not valid UTF-8 still gives valid JSON.
    const std::filesystem::path odd = path_from_utf8("/v/a\xff.mp4");
    const std::pair<std::string, std::string> cases[] = {
        {json_start_line(path_from_utf8("/v/vidéo \"1\".mp4"), path_from_utf8("/v/out.mp4"), 10),
         R"({"type":"start","file":"/v/vidéo \"1\".mp4","output":"/v/out.mp4","duration_s":10.0})"},
        {json_start_line(odd, path_from_utf8("/v/o.mkv"), 0),
         R"({"type":"start","file":"/v/a�.mp4","output":"/v/o.mkv","duration_s":null})"},
        {json_progress_line(midway, 10),
         R"({"type":"progress","percent":42.3,"out_time_us":4230000,"size_bytes":123456,"speed":2.5,"eta_s":2.3})"},
        {json_progress_line(first, 0),
         R"({"type":"progress","percent":null,"out_time_us":null,"size_bytes":null,"speed":null,"eta_s":null})"},
        {json_done_line(path_from_utf8("/v/out.mp4"), 98765, 3.14159),
         R"({"type":"done","output":"/v/out.mp4","size_bytes":98765,"seconds":3.14})"},
        {json_estimate_line(path_from_utf8("/v/vidéo.mp4"), 12300000, 14100000, 5),
         R"({"type":"estimate","file":"/v/vidéo.mp4","low_bytes":12300000,"high_bytes":14100000,"samples":5})"},
        {json_error_line("Cannot analyze: x", 1, path_from_utf8("/v/x.txt")),
         R"({"type":"error","file":"/v/x.txt","message":"Cannot analyze: x","exit_code":1})"},
        {json_pass_line(1, 2), R"({"type":"pass","number":1,"of":2})"},
        {json_retry_line("over_target", 5123456, 1234),
         R"({"type":"retry","reason":"over_target","size_bytes":5123456,"bitrate_kbps":1234})"},
        {json_error_line("Unreachable.", 3, path_from_utf8("/v/a.mp4")),
         R"({"type":"error","file":"/v/a.mp4","message":"Unreachable.","exit_code":3})"},
        {json_error_line("Interrupted.", 130, std::nullopt),
         R"({"type":"error","message":"Interrupted.","exit_code":130})"},
    };
    for (const auto& [written, expected] : cases) {
        EXPECT_EQ(written, expected + "\n");
    }
}

} // namespace
} // namespace ondrel
