#include "compress_cli/summary_table.hpp"
#include "i18n/language.hpp"
#include "support/language_guard.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::LanguageGuard;

const std::vector<FileSummary> three_files{
    {"/videos/holiday.mp4", "/videos/holiday_h264_720p.mp4", 52'400'000, 9'100'000, 61,
     FileOutcome::Done},
    {u8"/videos/été 2025.mkv", {}, 1'200'000'000, std::nullopt, 3, FileOutcome::Failed},
    {"notes.txt", {}, std::nullopt, std::nullopt, 0, FileOutcome::NotAnalysed}};

// Columns line up by characters (the accented name is wider in bytes), sizes and times on
// their right, and nothing trails a line.
TEST(SummaryTable, OneAlignedRowPerFileInEitherLanguage) {
    LanguageGuard guard;
    store_language(Language::English);
    EXPECT_EQ(summary_table(three_files),
              "File          Output                  Before   After        Time  Result\n"
              "holiday.mp4   holiday_h264_720p.mp4  52.4 MB  9.1 MB  1 min 01 s  compressed\n"
              "été 2025.mkv  —                       1.2 GB       —         3 s  failed\n"
              "notes.txt     —                            —       —         0 s  not analysed\n");
    store_language(Language::French);
    EXPECT_EQ(summary_table(three_files),
              "Fichier       Sortie                   Avant   Après       Durée  Résultat\n"
              "holiday.mp4   holiday_h264_720p.mp4  52,4 Mo  9,1 Mo  1 min 01 s  compressé\n"
              "été 2025.mkv  —                       1,2 Go       —         3 s  échec\n"
              "notes.txt     —                            —       —         0 s  non analysé\n");
}

} // namespace
} // namespace ondrel
