#include "double_fixture.hpp"
#include "mpv/tracks.hpp"

#include <fstream>

namespace ondrel {
namespace {

using namespace ondrel::testing;
using nlohmann::json;
using Messages = std::vector<std::pair<std::string, std::string>>;

const json two_of_each = {
    {"duration", 100},
    {"audio",
     {{{"id", 1},
       {"title", "Commentaires"},
       {"lang", "fre"},
       {"codec", "aac"},
       {"channels", 2},
       {"default", true}},
      {{"id", 2}, {"lang", "eng"}, {"codec", "ac3"}, {"channels", 6}}}},
    {"sub", {{{"id", 3}, {"lang", "eng"}, {"codec", "subrip"}}, {{"id", 5}, {"lang", "ger"}}}},
    {"sid", 0},
};

std::vector<std::vector<std::string>> set_commands(const std::vector<json>& calls) {
    std::vector<std::vector<std::string>> commands;
    for (const json& call : calls_of(calls, "mpv_command")) {
        commands.push_back(call.at("args").get<std::vector<std::string>>());
    }
    return commands;
}

// Every field of each track, in one line: id, title, language, codec, channels and flags.
std::vector<std::string> fields(const std::vector<Track>& tracks) {
    std::vector<std::string> lines;
    for (const Track& t : tracks) {
        lines.push_back(std::to_string(t.id) + " " + t.title + " " + t.lang + " " + t.codec + " " +
                        std::to_string(t.channel_count) +
                        (t.selected ? " selected" : " unselected") +
                        (t.external ? " external" : " internal") +
                        (t.is_default ? " default" : " not-default"));
    }
    return lines;
}

class DoubleTracks : public DoublePlayerTest {
protected:
    void SetUp() override {
        DoublePlayerTest::SetUp();
        use_scenario({{"files",
                       {{"two.mkv", two_of_each},
                        {"one.mkv", {{"audio", {{{"lang", "eng"}}}}}},
                        {"odd.mkv",
                         {{"audio",
                           {{{"id", 1}, {"lang", "fre"}},
                            {{"id", 2}, {"lang", "eng"}, {"type_unreadable", true}},
                            {{"id", 3}, {"lang", "ger"}}}}}},
                        {"silent.mkv", {{"audio", json::array()}}}}}});
        start();
    }
};

TEST_F(DoubleTracks, ListReadsEveryFieldOfTheMatchingEntries) {
    open_and_wait("/videos/two.mkv");
    clear_double_calls();
    EXPECT_EQ(fields(list_tracks(session, "audio")),
              (std::vector<std::string>{
                  "1 Commentaires fre aac 2 selected internal default",
                  "2  eng ac3 6 unselected internal not-default",
              }));
    // 1 count + 4 types + 8 fields of each of the 2 matching entries.
    const std::vector<json> reads = calls_of(calls(), "mpv_get_property");
    ASSERT_EQ(reads.size(), 1u + 4u + 16u);
    std::vector<std::string> first_entry;
    for (std::size_t i = 1; i <= 9; ++i) {
        first_entry.push_back(reads[i].at("name").get<std::string>() + " " +
                              std::to_string(reads[i].at("format").get<int>()));
    }
    EXPECT_EQ(reads[0].at("name"), "track-list/count");
    EXPECT_EQ(reads[0].at("format"), MPV_FORMAT_INT64);
    const std::vector<std::string> expected{
        "track-list/0/type 1",     "track-list/0/id 4",       "track-list/0/title 1",
        "track-list/0/lang 1",     "track-list/0/codec 1",    "track-list/0/demux-channel-count 4",
        "track-list/0/selected 1", "track-list/0/external 1", "track-list/0/default 1"};
    EXPECT_EQ(first_entry, expected);
    // Every string libmpv handed over was released: 4 types + 2 × 6 strings, less the
    // missing title of the second track.
    EXPECT_EQ(calls_of(calls(), "mpv_free").size(), 4u + 12u - 1u);

    // The channel count is unavailable for subtitles.
    EXPECT_EQ(fields(list_tracks(session, "sub")),
              (std::vector<std::string>{
                  "3  eng subrip 0 unselected internal not-default",
                  "5  ger subrip 0 unselected internal not-default",
              }));
    EXPECT_TRUE(list_tracks(session, "video").empty());
}

TEST_F(DoubleTracks, AnEntryWhoseTypeCannotBeReadIsSkipped) {
    open_and_wait("/videos/odd.mkv");
    clear_double_calls();
    const std::vector<Track> audio = list_tracks(session, "audio");
    ASSERT_EQ(audio.size(), 2u);
    EXPECT_EQ(audio[0].id, 1);
    EXPECT_EQ(audio[1].id, 3);
    EXPECT_EQ(calls_of(calls(), "mpv_get_property").size(), 1u + 3u + 16u);
    clear_double_calls();
    cycle_track(session, "audio");
    EXPECT_EQ(set_commands(calls()), (std::vector<std::vector<std::string>>{{"set", "aid", "3"}}));
}

TEST_F(DoubleTracks, SubtitlesCycleThroughOff) {
    open_and_wait("/videos/two.mkv");
    clear_double_calls();
    for (int i = 0; i < 4; ++i) {
        cycle_track(session, "sub");
        if (i == 0) {
            EXPECT_TRUE(session.playback.subtitles_on);
        }
    }
    EXPECT_EQ(
        set_commands(calls()),
        (std::vector<std::vector<std::string>>{
            {"set", "sid", "3"}, {"set", "sid", "5"}, {"set", "sid", "no"}, {"set", "sid", "3"}}));
    EXPECT_EQ(messages(), (Messages{{"Subtitles: English (subrip)", "2000"},
                                    {"Subtitles: German (subrip)", "2000"},
                                    {"Subtitles: off", "2000"},
                                    {"Subtitles: English (subrip)", "2000"}}));
    EXPECT_TRUE(session.playback.subtitles_on);
    ASSERT_TRUE(pump_until(session, [&] { return !messages().empty(); }));
}

TEST_F(DoubleTracks, AudioCyclesWithoutOff) {
    open_and_wait("/videos/two.mkv");
    clear_double_calls();
    cycle_track(session, "audio");
    cycle_track(session, "audio");
    EXPECT_EQ(set_commands(calls()),
              (std::vector<std::vector<std::string>>{{"set", "aid", "2"}, {"set", "aid", "1"}}));
    EXPECT_EQ(messages(),
              (Messages{{"Audio: English (ac3, 5.1)", "2000"},
                        {"Audio: French — Commentaires (aac, stereo) [default]", "2000"}}));
}

TEST_F(DoubleTracks, NothingToCycle) {
    struct Case {
        std::string file;
        std::string kind;
        Language language;
        std::string message;
    };
    const Case cases[] = {
        {"/videos/one.mkv", "audio", Language::English, "Only one audio track"},
        {"/videos/one.mkv", "audio", Language::French, "Une seule piste audio"},
        {"/videos/silent.mkv", "audio", Language::English, "Only one audio track"},
        {"/videos/one.mkv", "sub", Language::English, "No subtitles (right-click to load a file)"},
        {"/videos/one.mkv", "sub", Language::French,
         "Aucun sous-titre (clic droit pour charger un fichier)"},
    };
    for (const Case& c : cases) {
        LanguageGuard language(c.language);
        open_and_wait(c.file);
        clear_double_calls();
        cycle_track(session, c.kind);
        EXPECT_EQ(messages(), (Messages{{c.message, "2000"}}));
        EXPECT_TRUE(set_commands(calls()).empty());
    }
}

TEST_F(DoubleTracks, SelectingOffInBothLanguages) {
    open_and_wait("/videos/two.mkv");
    select_track(session, "sub", 5);
    EXPECT_TRUE(session.playback.subtitles_on);
    clear_double_calls();
    select_track(session, "sub", 0);
    EXPECT_FALSE(session.playback.subtitles_on);
    {
        LanguageGuard french(Language::French);
        select_track(session, "sub", 0);
        select_track(session, "audio", 1);
        select_track(session, "audio", 9); // an id no track has
    }
    EXPECT_EQ(messages(),
              (Messages{{"Subtitles: off", "2000"},
                        {"Sous-titres : désactivés", "2000"},
                        {"Audio : Français — Commentaires (aac, stéréo) [défaut]", "2000"},
                        {"Audio : désactivés", "2000"}}));
    EXPECT_EQ(set_commands(calls()).back(), (std::vector<std::string>{"set", "aid", "9"}));
}

TEST_F(DoubleTracks, SubtitleFilesAreAddedAndSelected) {
    TemporaryFolder folder("subtitles");
    const std::string file = path_to_utf8(folder.path / path_from_utf8("film.fr.srt"));
    std::ofstream(folder.path / "film.fr.srt") << "1\n00:00:01,000 --> 00:00:02,000\nBonjour\n";
    const std::string missing = path_to_utf8(folder.path / "missing.srt");

    clear_double_calls();
    add_subtitle_file(session, file); // no video yet: nothing happens
    EXPECT_TRUE(calls().empty());

    open_and_wait("/videos/two.mkv");
    clear_double_calls();
    add_subtitle_file(session, file);
    add_subtitle_file(session, missing);
    {
        LanguageGuard french(Language::French);
        add_subtitle_file(session, file);
        add_subtitle_file(session, missing);
    }
    EXPECT_EQ(set_commands(calls()).front(), (std::vector<std::string>{"sub-add", file, "select"}));
    EXPECT_EQ(messages(), (Messages{{"Subtitles: film.fr.srt", "2000"},
                                    {"Cannot load this subtitle file", "2500"},
                                    {"Sous-titres : film.fr.srt", "2000"},
                                    {"Impossible de charger ce fichier de sous-titres", "2500"}}));
    const std::vector<Track> subtitles = list_tracks(session, "sub");
    ASSERT_EQ(subtitles.size(), 4u);
    EXPECT_TRUE(subtitles.back().external);
    EXPECT_TRUE(subtitles.back().selected);
    EXPECT_EQ(subtitles.back().title, "film.fr.srt");
    ASSERT_TRUE(pump_until(session, [&] { return session.playback.subtitles_on; }));
}

} // namespace
} // namespace ondrel
