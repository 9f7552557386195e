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
    testing::TemporaryFolder folder("lines");
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "flood-stderr");
    auto started =
        start_process(testing::fake_ffmpeg(), {"-i", "in", path_to_utf8(folder.path / "out")},
                      ProcessPriority::Normal);
    ASSERT_TRUE(started) << started.error();
    // Standard output must be drained too, or the fake would block on it.
    LineReader progress(std::move(started.value().output));
    std::thread drain([&] { all_lines(progress); });
    LineReader log(std::move(started.value().errors), 7);
    const auto lines = all_lines(log);
    drain.join();
    ASSERT_EQ(lines.size(), 102400u);
    EXPECT_EQ(lines.front(), "log 000001 " + std::string(91, 'x'));
    EXPECT_EQ(lines.back(), "log 102400 " + std::string(91, 'x'));
    ASSERT_TRUE(wait_for_exit(started.value().process));
}

TEST(LineReader, StoppingClosesThePipe) {
    ScopedEnvironment mode("ONDREL_FAKE_FFMPEG", "echo-lines");
    auto started = start_process(testing::fake_ffmpeg(), {}, ProcessPriority::Normal);
    ASSERT_TRUE(started) << started.error();
    LineReader reader(std::move(started.value().output));
    ASSERT_EQ(read_line(reader), std::optional<std::string>("plain"));
    stop_reading(reader);
    EXPECT_EQ(reader.pipe.native, no_native_handle);
    EXPECT_FALSE(read_line(reader));
    // The writer copes with the closed pipe and ends normally.
    auto waited = wait_for_exit(started.value().process);
    ASSERT_TRUE(waited);
    EXPECT_EQ(waited.value(), 0);
}

} // namespace
} // namespace ondrel
