// Paths past MAX_PATH in the form every Windows call takes.
#include "platform/files.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

TEST(ExtendedLengthPath, OnlyLongAbsolutePathsTakeTheExtendedFormMadeWhole) {
    const std::wstring name(250, L'a');
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"C:\\short\\clip.mp4", L"C:\\short\\clip.mp4"},
        {L"C:/" + name + L"/x/../clip.mp4", L"\\\\?\\C:\\" + name + L"\\clip.mp4"},
        {L"\\\\server\\share\\" + name, L"\\\\?\\UNC\\server\\share\\" + name},
        {name + L"\\clip.mp4", name + L"\\clip.mp4"},
    };
    for (const auto& [given, expected] : cases) {
        EXPECT_EQ(extended_length_path(given).native(), expected) << path_to_utf8(given);
    }
}

} // namespace
} // namespace ondrel
