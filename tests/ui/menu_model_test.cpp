#include "support/language_guard.hpp"
#include "ui/menu_model.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::LanguageGuard;
using Lines = std::vector<std::string>;

// Each line as "text #id", "text >" for a submenu or "-" for a separator, followed by
// " (grey)" and " (on)" for its states.
Lines describe(const std::vector<MenuEntry>& entries) {
    Lines lines;
    for (const MenuEntry& entry : entries) {
        std::string line = entry.kind == MenuEntry::Kind::Separator ? "-" : entry.text;
        line += entry.kind == MenuEntry::Kind::Submenu ? " >"
                : entry.id != 0                        ? " #" + std::to_string(entry.id)
                                                       : "";
        lines.push_back(line + (entry.grayed ? " (grey)" : "") + (entry.checked ? " (on)" : ""));
    }
    return lines;
}

Track track(const char* title, std::int64_t id, bool selected = false) {
    Track t;
    t.title = title;
    t.id = id;
    t.selected = selected;
    return t;
}

TEST(MainMenu, EveryLineInBothLanguagesWithoutAFile) {
    LanguageGuard english(Language::English);
    EXPECT_EQ(
        describe(main_menu_entries({}, {}, {})),
        (Lines{"Open…\tCtrl+O #1", "Play / Pause\tSpace #2 (grey)", "Full screen\tF #3", "-",
               "Audio track\tA > (grey)", "Subtitles\tS > (grey)", "-", "Multi-instance\tI #4",
               "Always on top\tT #10", "Inverted wheel (up = quieter) #7", "-",
               "Compress the video…\tC #8 (grey)", "-", "Langue / Language >", "-", "Help\tF1 #5",
               "About Ondrel… #9", "Quit\tAlt+F4 #6"}));
    // The French menu has the same shape; only its texts differ.
    LanguageGuard french(Language::French);
    EXPECT_EQ(
        describe(main_menu_entries({}, {}, {})),
        (Lines{"Ouvrir…\tCtrl+O #1", "Lecture / Pause\tEspace #2 (grey)", "Plein écran\tF #3", "-",
               "Piste audio\tA > (grey)", "Sous-titres\tS > (grey)", "-", "Multi-instance\tI #4",
               "Toujours au premier plan\tT #10", "Molette inversée (haut = moins fort) #7", "-",
               "Compresser la vidéo…\tC #8 (grey)", "-", "Langue / Language >", "-", "Aide\tF1 #5",
               "À propos de Ondrel… #9", "Quitter\tAlt+F4 #6"}));
}

TEST(MainMenu, StatesWithAFileAndTheCurrentLanguage) {
    const std::vector<MenuEntry> menu = main_menu_entries({true, true, true, true, true}, {}, {});
    for (const std::size_t line : {1u, 4u, 5u, 11u}) {
        EXPECT_FALSE(menu[line].grayed) << line;
    }
    for (const std::size_t line : {2u, 7u, 8u, 9u}) {
        EXPECT_TRUE(menu[line].checked) << line;
    }
    for (const Language language : {Language::French, Language::English}) {
        LanguageGuard guard(language);
        const bool french = language == Language::French;
        EXPECT_EQ(describe(main_menu_entries({}, {}, {})[13].children),
                  (Lines{french ? "Français #3001 (on)" : "Français #3001",
                         french ? "English #3002" : "English #3002 (on)"}));
    }
}

TEST(MainMenu, CompressionCaptionAndState) {
    struct Case {
        Language language;
        MainMenuFacts facts; // file, window, running, percent
        const char* line;
    };
    const auto facts = [](bool file, bool window, bool running, double percent) {
        MainMenuFacts f;
        f.file_loaded = file;
        f.compression_window_exists = window;
        f.compression_running = running;
        f.compression_percent = percent;
        return f;
    };
    const Case cases[] = {
        {Language::English, facts(true, false, false, 0), "Compress the video…\tC #8"},
        {Language::English, facts(false, true, true, 41.5), "Video compression… (42%)\tC #8"},
        {Language::French, facts(false, true, true, 41.5), "Compression vidéo… (42 %)\tC #8"},
        // A window whose job has ended stays reachable, under its plain caption.
        {Language::English, facts(false, true, false, 0), "Compress the video…\tC #8"},
        {Language::French, facts(false, false, false, 0), "Compresser la vidéo…\tC #8 (grey)"},
    };
    for (const Case& c : cases) {
        LanguageGuard guard(c.language);
        EXPECT_EQ(describe(main_menu_entries(c.facts, {}, {}))[11], c.line);
    }
}

TEST(TrackMenu, ItemsOfEachKindAndState) {
    LanguageGuard english(Language::English);
    const std::vector<Track> tracks = {track("Q&A", 1), track("Notes", 3, true)};
    EXPECT_EQ(
        describe(track_menu_entries("sub", tracks, true, true)),
        (Lines{"Off #2000", "Q&&A #2001", "Notes #2003 (on)", "-", "Load a subtitle file… #2999"}));
    // Without a file, or without audio.
    EXPECT_EQ(describe(track_menu_entries("sub", tracks, true, false)),
              (Lines{"Off #2000 (grey) (on)", "-", "Load a subtitle file… #2999 (grey)"}));
    EXPECT_EQ(describe(track_menu_entries("audio", tracks, true, false)),
              Lines{"No audio track (grey)"});
    EXPECT_EQ(describe(track_menu_entries("audio", {}, true, true)),
              Lines{"No audio track (grey)"});
    // Without a player, nothing at all.
    EXPECT_TRUE(track_menu_entries("sub", tracks, false, true).empty());
    EXPECT_TRUE(track_menu_entries("audio", tracks, false, true).empty());
    // Track ids the menu ids cannot carry are left out.
    const std::vector<Track> many = {track("a", 998), track("b", 999), track("c", 1000)};
    EXPECT_EQ(describe(track_menu_entries("audio", many, true, true)),
              (Lines{"a #1998", "b #1999"}));
    EXPECT_EQ(describe(track_menu_entries("sub", many, true, true)),
              (Lines{"Off #2000 (on)", "a #2998", "-", "Load a subtitle file… #2999"}));

    LanguageGuard french(Language::French);
    EXPECT_EQ(describe(track_menu_entries("sub", {track("A&&B", 2)}, true, true)),
              (Lines{"Désactivés #2000 (on)", "A&&&&B #2002", "-",
                     "Charger un fichier de sous-titres… #2999"}));
    EXPECT_EQ(describe(track_menu_entries("audio", {}, true, true)),
              Lines{"Aucune piste audio (grey)"});
}

TEST(TrackCommand, IdRanges) {
    using K = TrackCommand::Kind;
    const std::pair<std::uint32_t, std::optional<TrackCommand>> cases[] = {
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
    for (const auto& [id, command] : cases) {
        EXPECT_EQ(track_command(id), command) << id;
    }
}

} // namespace
} // namespace ondrel
