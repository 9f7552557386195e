// The texts of --target-size: fill() puts values in placeholder order, so both languages must
// name the same placeholders in the same order.
#include "i18n/texts_compression_target.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ondrel {
namespace {

std::vector<std::string> placeholders(std::string_view text) {
    std::vector<std::string> names;
    for (std::size_t open = text.find('{'); open != std::string_view::npos;
         open = text.find('{', open + 1)) {
        const std::size_t close = text.find('}', open);
        if (close == std::string_view::npos) {
            break;
        }
        names.emplace_back(text.substr(open, close - open + 1));
    }
    return names;
}

TEST(TargetTexts, PlaceholdersInTheSameOrderInBothLanguages) {
    for (const TextPair& text :
         {texts::cli_bad_target_size, texts::cli_target_line, texts::cli_pass_line,
          texts::cli_retry_line, texts::cli_target_missed, texts::cli_copy_audio_unknown,
          texts::cli_target_unknown_duration, texts::cli_target_not_smaller,
          texts::cli_target_audio_too_large, texts::cli_target_below_floor,
          texts::cli_target_suggestion}) {
        EXPECT_EQ(placeholders(text.english), placeholders(text.french)) << text.english;
    }
}

} // namespace
} // namespace ondrel
