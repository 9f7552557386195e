#include "i18n/formatters.hpp"
#include "mpv/tracks.hpp"
#include "real_player_fixture.hpp"

#include <algorithm>
#include <fstream>

namespace ondrel {
namespace {

using namespace ondrel::testing;
using Messages = std::vector<std::pair<std::string, std::string>>;

std::size_t property_reads() {
    return static_cast<std::size_t>(
        std::count_if(spied_calls().begin(), spied_calls().end(),
                      [](const SpiedCall& call) { return call.function == "get_property"; }));
}

std::vector<std::string> labels(const std::vector<Track>& tracks) {
    std::vector<std::string> list;
    for (const Track& track : tracks) {
        list.push_back(track_label(track));
    }
    return list;
}

class RealTracks : public RealPlayerTest {
protected:
    void SetUp() override {
        RealPlayerTest::SetUp();
        start();
        open_and_wait(playback_clip("tracks.mkv"));
    }
};

TEST_F(RealTracks, ListsAndLabelsTheTracksOfEachKind) {
    spied_calls().clear();
    const std::vector<Track> audio = list_tracks(session, "audio");
    // One video, two audio and two subtitle entries: the count, five types, eight fields of
    // each audio track.
    EXPECT_EQ(property_reads(), 1u + 5u + 8u * 2u);
    ASSERT_EQ(audio.size(), 2u);
    EXPECT_EQ(audio[0].id, 1);
    EXPECT_EQ(audio[1].id, 2);
    EXPECT_TRUE(audio[0].selected);
    EXPECT_FALSE(audio[1].selected);
    EXPECT_EQ(labels(audio),
              (std::vector<std::string>{"French — Commentaires (aac, stereo) [default]",
                                        "English (aac, stereo)"}));
    {
        LanguageGuard french(Language::French);
        EXPECT_EQ(labels(audio),
                  (std::vector<std::string>{"Français — Commentaires (aac, stéréo) [défaut]",
                                            "Anglais (aac, stéréo)"}));
    }
    const std::vector<Track> subtitles = list_tracks(session, "sub");
    EXPECT_EQ(labels(subtitles), (std::vector<std::string>{"French (subrip)", "English (subrip)"}));
    EXPECT_FALSE(subtitles[0].selected || subtitles[1].selected);
    EXPECT_TRUE(list_tracks(session, "nothing").empty());
}

TEST_F(RealTracks, SubtitlesCycleOneTwoOffOne) {
    spied_calls().clear();
    const std::string expected_sid[] = {"1", "2", "no", "1"};
    for (const std::string& sid : expected_sid) {
        cycle_track(session, "sub");
        // The flag follows at once, and libmpv's own "sid" change agrees with it.
        EXPECT_EQ(session.playback.subtitles_on, sid != "no");
        EXPECT_EQ(read_text("sid"), sid);
        pump_for(session, std::chrono::milliseconds(100));
        EXPECT_EQ(session.playback.subtitles_on, sid != "no");
    }
    EXPECT_EQ(spied_messages(), (Messages{{"Subtitles: French (subrip)", "2000"},
                                          {"Subtitles: English (subrip)", "2000"},
                                          {"Subtitles: off", "2000"},
                                          {"Subtitles: French (subrip)", "2000"}}));
}

TEST_F(RealTracks, AudioCyclesBetweenItsTwoTracks) {
    spied_calls().clear();
    cycle_track(session, "audio");
    EXPECT_EQ(read_text("aid"), "2");
    cycle_track(session, "audio");
    EXPECT_EQ(read_text("aid"), "1");
    EXPECT_EQ(spied_messages(),
              (Messages{{"Audio: English (aac, stereo)", "2000"},
                        {"Audio: French — Commentaires (aac, stereo) [default]", "2000"}}));
}

TEST_F(RealTracks, ASubtitleFileWithAnUnusualNameIsAddedAndSelected) {
    TemporaryFolder folder("subtitles");
    const std::filesystem::path file = folder.path / path_from_utf8("sous-titres é ü 字.srt");
    std::ofstream(file, std::ios::binary) << "1\n00:00:00,000 --> 00:00:09,000\nSalut\n";
    spied_calls().clear();
    add_subtitle_file(session, path_to_utf8(file));
    EXPECT_EQ(spied_messages(), (Messages{{"Subtitles: sous-titres é ü 字.srt", "2000"}}));
    const std::vector<Track> subtitles = list_tracks(session, "sub");
    ASSERT_EQ(subtitles.size(), 3u);
    EXPECT_TRUE(subtitles[2].external);
    EXPECT_TRUE(subtitles[2].selected);
    EXPECT_EQ(read_text("sid"), "3");
    ASSERT_TRUE(pump_until(session, [&] { return session.playback.subtitles_on; }));

    spied_calls().clear();
    add_subtitle_file(session, path_to_utf8(folder.path / "missing.srt"));
    EXPECT_EQ(spied_messages(), (Messages{{"Cannot load this subtitle file", "2500"}}));
    EXPECT_EQ(read_text("sid"), "3");
}

TEST_F(RealTracks, NothingToCycleOnAPlainClip) {
    open_and_wait(playback_clip("plain.mkv"));
    spied_calls().clear();
    cycle_track(session, "audio");
    cycle_track(session, "sub");
    EXPECT_EQ(spied_messages(), (Messages{{"Only one audio track", "2000"},
                                          {"No subtitles (right-click to load a file)", "2000"}}));
}

} // namespace
} // namespace ondrel
