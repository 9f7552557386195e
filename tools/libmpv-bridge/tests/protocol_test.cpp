// The message format between the DLL and the helper: values come back exactly, and a damaged
// message is refused rather than read past its end.
#include "protocol.hpp"

#include <bit>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace bridge {
namespace {

// The body of a written message, as the other side receives it (without the length).
std::vector<std::uint8_t> body_of(Writer& writer) {
    const std::vector<std::uint8_t>& frame = writer.frame();
    EXPECT_EQ(frame_length(frame.data()), frame.size() - 4);
    return {frame.begin() + 4, frame.end()};
}

TEST(Protocol, EveryValueFormatComesBackExactly) {
    const double nan_with_payload = std::bit_cast<double>(0x7FF8'0000'0000'1234ull);
    const std::vector<Value> values = {
        {Format::none, "", 0, 0},
        {Format::string, "", 0, 0},
        {Format::string, std::string("C:\\Vidéos\\été \xF0\x9F\x8E\xAC.mkv"), 0, 0},
        {Format::string, std::string("inner\0nul", 9), 0, 0},
        {Format::osd_string, "00:01:15", 0, 0},
        {Format::flag, "", 1, 0},
        {Format::flag, "", 0, 0},
        {Format::int64, "", std::numeric_limits<std::int64_t>::min(), 0},
        {Format::int64, "", std::numeric_limits<std::int64_t>::max(), 0},
        {Format::double_, "", 0, 0.1},
        {Format::double_, "", 0, -0.0},
        {Format::double_, "", 0, std::numeric_limits<double>::denorm_min()},
        {Format::double_, "", 0, std::numeric_limits<double>::infinity()},
        {Format::double_, "", 0, nan_with_payload},
    };
    for (const Value& value : values) {
        Writer writer(Kind::reply);
        writer.i32(-3).value(value);
        const std::vector<std::uint8_t> body = body_of(writer);
        Reader reader(body.data(), body.size());
        EXPECT_EQ(reader.kind(), Kind::reply);
        EXPECT_EQ(reader.i32(), -3);
        const Value back = reader.value();
        EXPECT_FALSE(reader.failed());
        EXPECT_EQ(reader.remaining(), 0u);
        EXPECT_EQ(back.format, value.format);
        EXPECT_EQ(back.text, value.text);
        EXPECT_EQ(back.integer, value.integer);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(back.number),
                  std::bit_cast<std::uint64_t>(value.number));
    }
}

TEST(Protocol, AnEventComesBackWhole) {
    Event event;
    event.id = 7;
    event.error = -13;
    event.reply_userdata = 0xFFFF'FFFF'FFFF'FFFEull;
    event.name = "track-list/2/external-filename";
    event.value = {Format::string, "/tmp/a.srt", 0, 0};
    event.end_reason = 4;
    event.end_error = -13;
    event.playlist_entry_id = 42;
    event.texts = {"error", "Failed to open /tmp/x.\n", ""};
    event.log_level = 20;
    Writer writer(Kind::event);
    writer.event(event);
    const std::vector<std::uint8_t> body = body_of(writer);
    Reader reader(body.data(), body.size());
    const Event back = reader.event();
    EXPECT_FALSE(reader.failed());
    EXPECT_EQ(back.id, event.id);
    EXPECT_EQ(back.error, event.error);
    EXPECT_EQ(back.reply_userdata, event.reply_userdata);
    EXPECT_EQ(back.name, event.name);
    EXPECT_EQ(back.value.text, event.value.text);
    EXPECT_EQ(back.end_reason, event.end_reason);
    EXPECT_EQ(back.end_error, event.end_error);
    EXPECT_EQ(back.playlist_entry_id, event.playlist_entry_id);
    EXPECT_EQ(back.texts, event.texts);
    EXPECT_EQ(back.log_level, event.log_level);
}

TEST(Protocol, CutOrForgedMessagesFailInsteadOfReadingOn) {
    Writer writer(Kind::command);
    writer.texts({"loadfile", "/tmp/clip.mkv"});
    const std::vector<std::uint8_t> body = body_of(writer);
    // Every shortened copy fails; none reads beyond what it was given.
    for (std::size_t size = 1; size < body.size(); ++size) {
        const std::vector<std::uint8_t> cut(body.begin(), body.begin() + size);
        Reader reader(cut.data(), cut.size());
        reader.texts();
        EXPECT_TRUE(reader.failed()) << "cut to " << size << " bytes";
    }
    // A list claiming four billion texts in a few bytes.
    const std::uint8_t forged_count[] = {4, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0};
    Reader count_reader(forged_count, sizeof forged_count);
    EXPECT_TRUE(count_reader.texts().empty());
    EXPECT_TRUE(count_reader.failed());
    // An unknown value format.
    const std::uint8_t unknown_format[] = {40, 0, 0, 0, 0, 9};
    Reader format_reader(unknown_format, sizeof unknown_format);
    format_reader.i32();
    format_reader.value();
    EXPECT_TRUE(format_reader.failed());
}

TEST(Protocol, FrameLengthsOutsideTheLimitAreRefused) {
    const std::uint8_t empty[] = {0, 0, 0, 0};
    const std::uint8_t largest[] = {0, 0, 0, 4}; // 64 MiB
    const std::uint8_t too_large[] = {1, 0, 0, 4};
    EXPECT_FALSE(frame_length(empty));
    EXPECT_EQ(frame_length(largest), max_message_size);
    EXPECT_FALSE(frame_length(too_large));
}

TEST(Protocol, APictureTooLargeForAFrameIsRenderedSmallerInTheSameShape) {
    struct Case {
        int width, height;
    };
    // An 8K window, a wall of screens, and a window one pixel wide.
    for (const Case asked : {Case{7680, 4320}, Case{30000, 20000}, Case{1, 40000000}}) {
        const PictureSize size = sendable_picture_size(asked.width, asked.height);
        const std::uint64_t body = 9 + std::uint64_t{4} * size.width * size.height;
        EXPECT_LE(body, max_message_size) << asked.width << "x" << asked.height;
        EXPECT_GT(size.width, 0);
        EXPECT_NEAR(double(size.width) / size.height, double(asked.width) / asked.height,
                    double(asked.width) / asked.height / 100 + 1.0 / size.height);
    }
    const PictureSize full_hd = sendable_picture_size(1920, 1080);
    EXPECT_EQ(full_hd.width * 10000 + full_hd.height, 1920 * 10000 + 1080);
}

} // namespace
} // namespace bridge
