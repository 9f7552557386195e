// Reading a child's output line by line, whatever sizes the reads come in.
#include "platform/files.hpp"
#include "platform/process_output_lines.hpp"
#include "platform/text.hpp"
#include "support/temporary_folder.hpp"
#include "test_programs.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::ScopedEnvironment;

std::vector<std::string> all_lines(LineReader& reader) {
    std::vector<std::string> lines;
    while (auto line = read_line(reader)) {
        lines.push_back(std::move(*line));
    }
    return lines;
}

// The fake writes these one byte at a time; multi-byte characters therefore reach the pipe
// in pieces, and with a one-byte buffer every read returns a piece.
TEST(LineReader, SplitsOnRawBytesWhateverTheReadSize) {
    const std::vector<std::string> expected{
        "plain", "d\xc3\xa9j\xc3\xa0 vu", "\xe6\x97\xa5\xe6\x9c\xac", "\xf0\x9f\x8e\xac clap",
        "",      "last without end"};
    for (const std::size_t buffer_bytes : {std::size_t{1}, std::size_t{2}, std::size_t{3},
                                           std::size_t{5}, line_reader_buffer_bytes}) {
        ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "echo-lines");
        auto started = start_process(testing::fake_ffmpeg(), {}, ProcessPriority::Normal);
        ASSERT_TRUE(started) << started.error();
        LineReader reader(std::move(started.value().output), buffer_bytes);
        const auto lines = all_lines(reader);
        EXPECT_EQ(lines, expected) << "buffer of " << buffer_bytes;
        for (const auto& line : lines) {
            EXPECT_TRUE(is_valid_utf8(line)) << line;
        }
        EXPECT_FALSE(read_line(reader)) << "the end stays the end";
        ASSERT_TRUE(wait_for_exit(started.value().process));
    }
}

TEST(LineReader, LinesLongerThanTheBufferArriveWhole) {
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "long-lines");
    auto started = start_process(testing::fake_ffmpeg(), {}, ProcessPriority::Normal);
    ASSERT_TRUE(started) << started.error();
    LineReader reader(std::move(started.value().output));
    EXPECT_EQ(all_lines(reader),
              (std::vector<std::string>{std::string(20000, 'a'), std::string(50000, 'b'), "end"}));
    ASSERT_TRUE(wait_for_exit(started.value().process));
}

TEST(LineReader, StoppingClosesThePipe) {
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "echo-lines");
    auto started = start_process(testing::fake_ffmpeg(), {}, ProcessPriority::Normal);
    ASSERT_TRUE(started) << started.error();
    LineReader reader(std::move(started.value().output));
    ASSERT_EQ(read_line(reader), std::optional<std::string>("plain"));
    stop_reading(reader);
    EXPECT_FALSE(reader.pipe);
    EXPECT_FALSE(read_line(reader));
    // The writer copes with the closed pipe and ends normally.
    auto waited = wait_for_exit(started.value().process);
    ASSERT_TRUE(waited);
    EXPECT_EQ(waited.value(), 0);
}

} // namespace
} // namespace ondrel
