// ffmpeg's progress report turned into Progress messages: every key, the thinning, the end.
#include "video_compress/progress_reader.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

struct Feed {
    ProgressState state;
    std::vector<message::Progress> sent;

    explicit Feed(double duration) { state.duration = duration; }
    void lines(std::initializer_list<std::string_view> lines) {
        for (const auto line : lines) {
            if (auto progress = read_progress_line(state, line)) {
                sent.push_back(*progress);
            }
        }
    }
    std::vector<float> percents() const {
        std::vector<float> values;
        for (const auto& progress : sent) {
            values.push_back(progress.percent);
        }
        return values;
    }
};

TEST(ProgressReader, ValuesAreKeptUntilAPercentageIsSent) {
    Feed feed(600);
    feed.lines({"fps=29.97", "bitrate= 1500.3kbits/s ", "speed=1.25x", "frame=100"});
    EXPECT_TRUE(feed.sent.empty());
    feed.lines({"out_time_us=300000000"});
    ASSERT_EQ(feed.sent.size(), 1u);
    EXPECT_EQ(feed.sent[0].percent, 50);
    EXPECT_EQ(feed.sent[0].fps, 29.97);
    EXPECT_EQ(feed.sent[0].speed, 1.25);
    EXPECT_EQ(feed.sent[0].bitrate, "1500.3kbits/s");
}

TEST(ProgressReader, OutTimeAndSizeTravelWithThePercentage) {
    Feed feed(10);
    feed.lines({"total_size=N/A", "out_time_us=0", "total_size=48", "total_size=N/A",
                "out_time_us=5000000", "out_time_us=5000001", "total_size=1234", "progress=end"});
    ASSERT_EQ(feed.sent.size(), 3u);
    EXPECT_EQ(feed.sent[0].out_time_us, 0);
    EXPECT_EQ(feed.sent[0].size_bytes, std::nullopt);
    EXPECT_EQ(feed.sent[1].out_time_us, 5000000);
    EXPECT_EQ(feed.sent[1].size_bytes, 48u);
    EXPECT_EQ(feed.sent[2].out_time_us, 5000001);
    EXPECT_EQ(feed.sent[2].size_bytes, 1234u);
}

TEST(ProgressReader, SpeedAndFpsKeepTheirLastGoodValue) {
    const std::pair<std::string_view, double> speeds[] = {
        {"speed=2x", 2},       {"speed=N/A", 2},     {"speed=3xxx", 3}, {"speed=x", 3},
        {"speed= 0.5x ", 0.5}, {"speed=1.5 x", 0.5}, {"speed=", 0.5},   {"speed=nanx", 0.5},
        {"speed=inf", 0.5},    {"speed=1e999x", 0.5}};
    Feed feed(0);
    for (const auto& [line, expected] : speeds) {
        feed.lines({line});
        EXPECT_EQ(feed.state.speed, expected) << line;
    }
    const std::pair<std::string_view, double> rates[] = {
        {"fps=25", 25}, {"fps=N/A", 25},  {"fps=abc", 25},   {"fps=0.5", 0.5},
        {"fps=", 0.5},  {"fps=nan", 0.5}, {"fps=-inf", 0.5}, {"fps=1e400", 0.5}};
    for (const auto& [line, expected] : rates) {
        feed.lines({line});
        EXPECT_EQ(feed.state.fps, expected) << line;
    }
    feed.lines({"bitrate=N/A"});
    EXPECT_EQ(feed.state.bitrate, "N/A");
}

TEST(ProgressReader, KeysAreExactAndLinesWithoutEqualsIgnored) {
    Feed feed(10);
    feed.lines({"FPS=30", " fps=30", "fps =30", "speed:2x", "out_time_us", "=5", "Speed=2x"});
    EXPECT_EQ(feed.state.fps, 0);
    EXPECT_EQ(feed.state.speed, 0);
    EXPECT_TRUE(feed.sent.empty());
    feed.lines({"bitrate=a=b"});
    EXPECT_EQ(feed.state.bitrate, "a=b");
}

TEST(ProgressReader, OnlyPlainUnsignedMicrosecondsCount) {
    Feed feed(1);
    feed.lines({"out_time_us=N/A", "out_time_us=-1", "out_time_us=1.5", "out_time_us=",
                "out_time_us=+", "out_time_us=18446744073709551616", "out_time_us=0x10"});
    EXPECT_TRUE(feed.sent.empty());
    feed.lines({"out_time_us=+100000"});
    EXPECT_EQ(feed.percents(), (std::vector<float>{10}));
}

TEST(ProgressReader, StepsOfAQuarterPointThenEverythingFrom99Point9) {
    Feed feed(600);
    feed.lines({"out_time_us=0",         // 0: first report
                "out_time_us=1000000",   // 0.1666: too close
                "out_time_us=300000000", // 50
                "out_time_us=301000000", // 50.1666: too close
                "out_time_us=301500000", // 50.25: sent
                "out_time_us=300000000", // back to 50: 0.25 away, sent
                "out_time_us=599300000", // 99.88
                "out_time_us=599400000", // 99.9: sent although close
                "out_time_us=599400000", // the same again: still sent
                "out_time_us=700000000", // beyond the end: capped
                "out_time_us=700000000"});
    EXPECT_EQ(feed.percents(), (std::vector<float>{0, 50, 50.25f, 50, static_cast<float>(599.3 / 6),
                                                   static_cast<float>(599.4 / 6),
                                                   static_cast<float>(599.4 / 6), 100, 100}));
    // The uncapped value is remembered.
    EXPECT_FLOAT_EQ(feed.state.last_sent_percent, static_cast<float>(700.0 / 6));
}

TEST(ProgressReader, UnknownDurationStaysAtZeroUntilTheEnd) {
    Feed feed(0);
    feed.lines({"out_time_us=5000000", "out_time_us=9000000", "progress=continue", "progress=end"});
    EXPECT_EQ(feed.percents(), (std::vector<float>{0, 100}));
}

TEST(ProgressReader, EndSendsAHundredWithoutChangingTheLastSent) {
    Feed feed(10);
    feed.lines(
        {"fps=12", "out_time_us=2000000", "progress= end ", "progress=End", "progress=continue"});
    ASSERT_EQ(feed.percents(), (std::vector<float>{20, 100}));
    EXPECT_EQ(feed.sent[1].fps, 12);
    EXPECT_EQ(feed.state.last_sent_percent, 20);
}

} // namespace
} // namespace ondrel
