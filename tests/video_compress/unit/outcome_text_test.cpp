// How each way a job can end reads on screen, in both languages, and what the receiver does.
#include "i18n/language.hpp"
#include "support/language_guard.hpp"
#include "support/temporary_folder.hpp"
#include "video_compress/outcome_text.hpp"

#include <fstream>
#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::LanguageGuard;

TEST(OutcomeText, EveryOutcomeInBothLanguages) {
    LanguageGuard guard;
    struct Case {
        JobOutcome outcome;
        const char* english;
        const char* french;
    };
    const Case cases[] = {
        {outcome::Done{125}, "Done in 2 min 05 s.", "Terminé en 2 min 05 s."},
        {outcome::Invalid{7.4}, "Done in 7 s but the resulting file is invalid (removed).",
         "Terminé en 7 s mais le fichier produit est invalide (supprimé)."},
        {outcome::Failed{1, 3, false}, "Failed (code 1) after 3 s.", "Échec (code 1) après 3 s."},
        {outcome::Failed{-1073741819, 3725, true},
         "Failed (code -1073741819) after 1 h 02 min - partial file removed.",
         "Échec (code -1073741819) après 1 h 02 min - fichier partiel supprimé."},
        {outcome::Error{"Access is denied. (os error 5)"},
         "Could not launch ffmpeg: Access is denied. (os error 5)",
         "Impossible de lancer ffmpeg : Access is denied. (os error 5)"},
        {outcome::Canceled{}, "Canceled.", "Annulé."},
    };
    for (const Case& c : cases) {
        store_language(Language::English);
        EXPECT_EQ(outcome_text(c.outcome), c.english);
        store_language(Language::French);
        EXPECT_EQ(outcome_text(c.outcome), c.french);
    }
}

TEST(OutcomeText, OnlyDoneIsASuccess) {
    EXPECT_TRUE(outcome_succeeded(outcome::Done{1}));
    EXPECT_FALSE(outcome_succeeded(outcome::Invalid{1}));
    EXPECT_FALSE(outcome_succeeded(outcome::Failed{1, 1, true}));
    EXPECT_FALSE(outcome_succeeded(outcome::Error{"x"}));
    EXPECT_FALSE(outcome_succeeded(outcome::Canceled{}));
}

TEST(ConcludeJob, TheReceiverDeletesTheOutputOnlyWhenCanceled) {
    LanguageGuard guard;
    store_language(Language::English);
    testing::TemporaryFolder folder("conclude");
    const auto output = folder.path / "out.mp4";
    const JobOutcome kept[] = {outcome::Done{1}, outcome::Invalid{1}, outcome::Failed{1, 1, true},
                               outcome::Error{"x"}};
    for (const auto& ended : kept) {
        std::ofstream(output) << "data";
        EXPECT_EQ(conclude_job(ended, output), outcome_text(ended));
        EXPECT_TRUE(std::filesystem::exists(output));
    }
    EXPECT_EQ(conclude_job(outcome::Canceled{}, output), "Canceled.");
    EXPECT_FALSE(std::filesystem::exists(output));
    // Nothing left to delete is fine too.
    EXPECT_EQ(conclude_job(outcome::Canceled{}, output), "Canceled.");
}

} // namespace
} // namespace ondrel
