#include "support/language_guard.hpp"
#include "ui/open_dialog_filter.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::LanguageGuard;

// The French list, with the videos' patterns, is checked on the dialog's request.
TEST(OpenDialogFilter, PairsEachEndingInNulThenOneMoreNul) {
    LanguageGuard english(Language::English);
    EXPECT_EQ(open_dialog_filter("Subtitles", "*.srt"),
              std::u16string(u"Subtitles\0*.srt\0All files\0*.*\0\0", 31));
}

TEST(OpenDialogFilter, PathIsTheBufferUpToItsFirstNul) {
    std::u16string buffer(32768, u'\0');
    const std::u16string path = u"C:\\Vidéos\\映画.mkv";
    buffer.replace(0, path.size(), path);
    buffer[path.size() + 1] = u'x'; // left over after the NUL
    EXPECT_EQ(path_from_dialog_buffer(buffer), "C:\\Vidéos\\映画.mkv");
    const std::u16string lone_surrogate = {u'a', char16_t{0xD800}, u'b', u'\0'};
    EXPECT_EQ(path_from_dialog_buffer(lone_surrogate), "a\xEF\xBF\xBD"
                                                       "b");
    EXPECT_EQ(path_from_dialog_buffer(std::u16string(8, u'\0')), "");
}

} // namespace
} // namespace ondrel
