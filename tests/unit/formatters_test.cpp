#include "i18n/formatters.hpp"
#include "i18n/language.hpp"
#include "support/language_guard.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace ondrel {
namespace {

using testing::LanguageGuard;

TEST(Fill, PlaceholdersInOrder) {
    EXPECT_EQ(fill("Resuming at {time}", {"1:05"}), "Resuming at 1:05");
    EXPECT_EQ(fill("{kind}: {label}", {"Audio", "English"}), "Audio: English");
    EXPECT_EQ(fill("{a} and {b}", {"x"}), "x and {b}");
    EXPECT_EQ(fill("no braces", {"x"}), "no braces");
    EXPECT_EQ(fill("{x}{y}", {"{y}", "2"}), "{y}2"); // values are not scanned again
}

TEST(LanguageName, KnownCodesBothLanguages) {
    LanguageGuard guard;
    struct Case {
        const char* code;
        const char* english;
        const char* french;
    };
    const Case cases[] = {
        {"fre", "French", "Français"},
        {"FRE", "French", "Français"},
        {"fra", "French", "Français"},
        {"eng", "English", "Anglais"},
        {"ger", "German", "Allemand"},
        {"deu", "German", "Allemand"},
        {"spa", "Spanish", "Espagnol"},
        {"it", "Italian", "Italien"},
        {"por", "Portuguese", "Portugais"},
        {"dut", "Dutch", "Néerlandais"},
        {"ru", "Russian", "Russe"},
        {"jpn", "Japanese", "Japonais"},
        {"zho", "Chinese", "Chinois"},
        {"kor", "Korean", "Coréen"},
        {"ara", "Arabic", "Arabe"},
        {"und", "", ""},
        {"fr-CA", "fr-ca", "fr-ca"},
        {"pt-BR", "pt-br", "pt-br"},
        {"sv", "sv", "sv"},
        {"hin", "hin", "hin"},
        {"", "", ""},
        {" fr", " fr", " fr"},
        {"e", "e", "e"},
    };
    for (const Case& c : cases) {
        store_language(Language::English);
        EXPECT_EQ(language_name(c.code), c.english) << c.code;
        store_language(Language::French);
        EXPECT_EQ(language_name(c.code), c.french) << c.code;
    }
}

TrackLabelParts make_track(std::int64_t id, const char* lang, const char* title, const char* codec,
                           std::int64_t channels, bool external, bool is_default) {
    return TrackLabelParts{title, lang, codec, id, channels, external, is_default};
}

TEST(TrackLabel, HeadDetailsAndMarks) {
    LanguageGuard guard;
    struct Case {
        TrackLabelParts track;
        const char* english;
        const char* french;
    };
    const Case cases[] = {
        {make_track(1, "fre", "Commentaires", "aac", 2, false, true),
         "French — Commentaires (aac, stereo) [default]",
         "Français — Commentaires (aac, stéréo) [défaut]"},
        {make_track(3, "", "", "subrip", 0, true, false), "Track 3 (subrip) [external]",
         "Piste 3 (subrip) [externe]"},
        {make_track(2, "und", "Director", "", 0, false, false), "Director", "Director"},
        {make_track(4, "und", "", "", 0, false, false), "Track 4", "Piste 4"},
        {make_track(5, "en", "English", "", 0, false, false), "English", "Anglais — English"},
        {make_track(6, "eng", "", "ac3", 6, false, false), "English (ac3, 5.1)",
         "Anglais (ac3, 5.1)"},
        {make_track(7, "", "", "", 1, false, false), "Track 7 (mono)", "Piste 7 (mono)"},
        {make_track(8, "", "", "truehd", 8, false, false), "Track 8 (truehd, 7.1)",
         "Piste 8 (truehd, 7.1)"},
        {make_track(9, "", "", "", 3, false, false), "Track 9 (3 channels)", "Piste 9 (3 canaux)"},
        {make_track(10, "fr-CA", "", "", 0, true, true), "fr-ca [external] [default]",
         "fr-ca [externe] [défaut]"},
    };
    for (const Case& c : cases) {
        store_language(Language::English);
        EXPECT_EQ(track_label(c.track), c.english);
        store_language(Language::French);
        EXPECT_EQ(track_label(c.track), c.french);
    }
}

TEST(FormatSize, UnitChosenBeforeRounding) {
    LanguageGuard guard;
    struct Case {
        std::uint64_t bytes;
        const char* english;
        const char* french;
    };
    const Case cases[] = {
        {0, "0 B", "0 o"},
        {999, "999 B", "999 o"},
        {1000, "1.0 KB", "1,0 Ko"},
        {12000, "12.0 KB", "12,0 Ko"},
        {999999, "1000.0 KB", "1000,0 Ko"},
        {1500000, "1.5 MB", "1,5 Mo"},
        {1000000000, "1.0 GB", "1,0 Go"},
        {18446744073709551615ull, "18446744073.7 GB", "18446744073,7 Go"},
    };
    for (const Case& c : cases) {
        store_language(Language::English);
        EXPECT_EQ(format_size(c.bytes), c.english);
        store_language(Language::French);
        EXPECT_EQ(format_size(c.bytes), c.french);
    }
}

TEST(FormatDuration, RoundedBeforeTheUnitIsChosen) {
    const std::pair<double, const char*> cases[] = {
        {7.4, "7 s"},
        {0, "0 s"},
        {59.4, "59 s"},
        {59.6, "1 min"},
        {125, "2 min 05 s"},
        {180, "3 min"},
        {3599.4, "59 min 59 s"},
        {3599.5, "1 h 00 min"},
        {3725, "1 h 02 min"},
        {36000, "10 h 00 min"},
        {0.5, "1 s"},
        {-1, "?"},
        {-0.1, "?"},
        {std::numeric_limits<double>::infinity(), "?"},
        {std::nan(""), "?"},
    };
    for (const auto& [seconds, text] : cases) {
        EXPECT_EQ(format_duration(seconds), text) << seconds;
    }
}

} // namespace
} // namespace ondrel
