#include "support/scoped_language.hpp"
#include "ui/menu_model.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::ScopedLanguage;

using Kind = MenuEntry::Kind;

// One expected line of a menu: kind, text, id, greyed, checked.
struct Line {
    Kind kind;
    const char* text;
    std::uint32_t id;
    bool grayed;
    bool checked;
};

void expect_lines(const std::vector<MenuEntry>& entries, const std::vector<Line>& lines,
                  const char* context) {
    ASSERT_EQ(entries.size(), lines.size()) << context;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(::testing::Message() << context << " line " << i);
        EXPECT_EQ(entries[i].kind, lines[i].kind);
        EXPECT_EQ(entries[i].text, lines[i].text);
        EXPECT_EQ(entries[i].id, lines[i].id);
        EXPECT_EQ(entries[i].grayed, lines[i].grayed);
        EXPECT_EQ(entries[i].checked, lines[i].checked);
    }
}

Track track(const char* title, std::int64_t id, bool selected = false) {
    Track t;
    t.title = title;
    t.id = id;
    t.selected = selected;
    return t;
}

constexpr Kind I = Kind::Item;
constexpr Kind S = Kind::Separator;
constexpr Kind P = Kind::Submenu;

TEST(MainMenu, EveryLineInBothLanguagesWithoutAFile) {
    const MainMenuFacts no_file;
    {
        ScopedLanguage english(Language::English);
        expect_lines(main_menu_entries(no_file, {}, {}),
                     {{I, "Open…\tCtrl+O", 1, false, false},
                      {I, "Play / Pause\tSpace", 2, true, false},
                      {I, "Full screen\tF", 3, false, false},
                      {S, "", 0, false, false},
                      {P, "Audio track\tA", 0, true, false},
                      {P, "Subtitles\tS", 0, true, false},
                      {S, "", 0, false, false},
                      {I, "Multi-instance\tI", 4, false, false},
                      {I, "Always on top\tT", 10, false, false},
                      {I, "Inverted wheel (up = quieter)", 7, false, false},
                      {S, "", 0, false, false},
                      {I, "Compress the video…\tC", 8, true, false},
                      {S, "", 0, false, false},
                      {P, "Langue / Language", 0, false, false},
                      {S, "", 0, false, false},
                      {I, "Help\tF1", 5, false, false},
                      {I, "About Ondrel…", 9, false, false},
                      {I, "Quit\tAlt+F4", 6, false, false}},
                     "English");
    }
    // The French menu has the same shape; only its texts differ.
    ScopedLanguage french(Language::French);
    std::vector<std::string> texts;
    for (const MenuEntry& entry : main_menu_entries(no_file, {}, {})) {
        texts.push_back(entry.text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "Ouvrir…\tCtrl+O", "Lecture / Pause\tEspace", "Plein écran\tF", "",
                         "Piste audio\tA", "Sous-titres\tS", "", "Multi-instance\tI",
                         "Toujours au premier plan\tT", "Molette inversée (haut = moins fort)", "",
                         "Compresser la vidéo…\tC", "", "Langue / Language", "", "Aide\tF1",
                         "À propos de Ondrel…", "Quitter\tAlt+F4"}));
}

TEST(MainMenu, StatesWithAFile) {
    MainMenuFacts facts{true, true, true, true, true};
    const std::vector<MenuEntry> menu = main_menu_entries(facts, {}, {});
    for (const std::size_t line : {1u, 4u, 5u, 11u}) {
        EXPECT_FALSE(menu[line].grayed) << line;
    }
    for (const std::size_t line : {2u, 7u, 8u, 9u}) {
        EXPECT_TRUE(menu[line].checked) << line;
    }
}

TEST(MainMenu, LanguageSubmenuChecksTheCurrentLanguage) {
    for (const Language language : {Language::French, Language::English}) {
        ScopedLanguage guard(language);
        const std::vector<MenuEntry> menu = main_menu_entries({}, {}, {});
        expect_lines(menu[13].children,
                     {{I, "Français", 3001, false, language == Language::French},
                      {I, "English", 3002, false, language == Language::English}},
                     "languages");
    }
}

TEST(MainMenu, CompressionCaptionAndState) {
    struct Case {
        Language language;
        bool file_loaded;
        bool window_exists;
        bool running;
        double percent;
        const char* text;
        bool grayed;
    };
    const Case cases[] = {
        {Language::English, true, false, false, 0, "Compress the video…\tC", false},
        {Language::English, false, true, true, 41.5, "Video compression… (42%)\tC", false},
        {Language::French, false, true, true, 41.5, "Compression vidéo… (42 %)\tC", false},
        // A window whose job has ended stays reachable, under its plain caption.
        {Language::English, false, true, false, 0, "Compress the video…\tC", false},
        {Language::French, false, false, false, 0, "Compresser la vidéo…\tC", true},
    };
    for (const Case& c : cases) {
        ScopedLanguage guard(c.language);
        MainMenuFacts facts;
        facts.file_loaded = c.file_loaded;
        facts.compression_window_exists = c.window_exists;
        facts.compression_running = c.running;
        facts.compression_percent = c.percent;
        const MenuEntry item = main_menu_entries(facts, {}, {})[11];
        EXPECT_EQ(item.id, menu_id::compression);
        EXPECT_EQ(item.text, c.text);
        EXPECT_EQ(item.grayed, c.grayed) << c.text;
    }
}

TEST(TrackMenu, SubtitlesWithTracksAndAmpersands) {
    ScopedLanguage english(Language::English);
    const std::vector<Track> tracks = {
        track("Q&A", 1),
        track("Notes", 3, true),
    };
    expect_lines(track_menu_entries("sub", tracks, true, true),
                 {{I, "Off", 2000, false, false},
                  {I, "Q&&A", 2001, false, false},
                  {I, "Notes", 2003, false, true},
                  {S, "", 0, false, false},
                  {I, "Load a subtitle file…", 2999, false, false}},
                 "subtitles");
    ScopedLanguage french(Language::French);
    expect_lines(track_menu_entries("sub", {track("A&&B", 2)}, true, true),
                 {{I, "Désactivés", 2000, false, true},
                  {I, "A&&&&B", 2002, false, false},
                  {S, "", 0, false, false},
                  {I, "Charger un fichier de sous-titres…", 2999, false, false}},
                 "French, nothing selected");
}

TEST(TrackMenu, WithoutAFileOrAPlayerOrAudio) {
    ScopedLanguage english(Language::English);
    const std::vector<Track> tracks = {track("Main", 1, true)};
    expect_lines(track_menu_entries("sub", tracks, true, false),
                 {{I, "Off", 2000, true, true},
                  {S, "", 0, false, false},
                  {I, "Load a subtitle file…", 2999, true, false}},
                 "subtitles without a file");
    expect_lines(track_menu_entries("audio", tracks, true, false),
                 {{I, "No audio track", 0, true, false}}, "audio without a file");
    expect_lines(track_menu_entries("audio", {}, true, true),
                 {{I, "No audio track", 0, true, false}}, "audio without tracks");
    EXPECT_TRUE(track_menu_entries("sub", tracks, false, true).empty());
    EXPECT_TRUE(track_menu_entries("audio", tracks, false, true).empty());
    ScopedLanguage french(Language::French);
    EXPECT_EQ(track_menu_entries("audio", {}, true, true)[0].text, "Aucune piste audio");
}

TEST(TrackMenu, TrackIdsTheMenuIdsCannotCarryAreLeftOut) {
    ScopedLanguage english(Language::English);
    const std::vector<Track> tracks = {track("a", 998), track("b", 999), track("c", 1000)};
    const std::vector<MenuEntry> audio = track_menu_entries("audio", tracks, true, true);
    ASSERT_EQ(audio.size(), 2u);
    EXPECT_EQ(audio[1].id, 1999u);
    const std::vector<MenuEntry> subtitles = track_menu_entries("sub", tracks, true, true);
    ASSERT_EQ(subtitles.size(), 4u); // off, 998, separator, load
    EXPECT_EQ(subtitles[1].id, 2998u);
    EXPECT_EQ(subtitles[3].id, menu_id::load_subtitles);
}

TEST(TrackCommand, IdRanges) {
    using K = TrackCommand::Kind;
    struct Case {
        std::uint32_t id;
        std::optional<TrackCommand> command;
    };
    const Case cases[] = {
        {0, std::nullopt},
        {10, std::nullopt},
        {1000, std::nullopt},
        {1001, TrackCommand{K::SelectAudio, 1}},
        {1999, TrackCommand{K::SelectAudio, 999}},
        {2000, TrackCommand{K::SelectSubtitle, 0}},
        {2998, TrackCommand{K::SelectSubtitle, 998}},
        {2999, TrackCommand{K::LoadSubtitleFile, 0}},
        {3000, std::nullopt},
        {3001, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(track_command(c.id), c.command) << c.id;
    }
}

} // namespace
} // namespace ondrel
