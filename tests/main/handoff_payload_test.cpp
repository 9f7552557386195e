#include "main/handoff_payload.hpp"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace ondrel {
namespace {

TEST(HandoffPayload, TextThenOneNul) {
    const std::u16string payload = build_handoff_payload("C:\\Vidéos\\映画.mkv");
    EXPECT_EQ(payload, std::u16string(u"C:\\Vidéos\\映画.mkv") + u'\0');
    EXPECT_EQ(build_handoff_payload(""), std::u16string(1, u'\0'));
    const std::u16string with_nul = build_handoff_payload("a");
    EXPECT_EQ(read_handoff_payload(with_nul.data(), with_nul.size() * 2), "a");
}

TEST(HandoffPayload, HostileInputIsReadSafely) {
    const std::u16string text = u"C:\\clip.mp4";
    struct Case {
        const char* name;
        const void* data;
        std::size_t bytes;
        std::optional<std::string> expected;
    };
    const std::u16string no_nul = u"abc";
    const std::u16string early_nul = std::u16string(u"ab") + u'\0' + u"cd";
    const std::u16string bad_surrogate = std::u16string(1, char16_t(0xDC00)) + u'x';
    const Case cases[] = {
        {"null data", nullptr, 100, std::string()},
        {"zero bytes", text.data(), 0, std::string()},
        {"one byte", text.data(), 1, std::string()},
        {"odd count drops the half unit", text.data(), 5, std::string("C:")},
        {"no NUL ends at cbData", no_nul.data(), 6, std::string("abc")},
        {"first NUL ends the text", early_nul.data(), early_nul.size() * 2, std::string("ab")},
        {"huge count stops at the NUL", early_nul.data(), static_cast<std::size_t>(-1),
         std::string("ab")},
        {"invalid UTF-16 replaced", bad_surrogate.data(), 4, std::string("\xEF\xBF\xBDx")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(read_handoff_payload(c.data, c.bytes), c.expected) << c.name;
    }
}

TEST(HandoffPayload, UnalignedBuffer) {
    std::vector<unsigned char> buffer(1 + 8);
    const std::u16string text = u"ok";
    std::memcpy(buffer.data() + 1, text.data(), 4);
    EXPECT_EQ(read_handoff_payload(buffer.data() + 1, 4), "ok");
}

TEST(HandoffPayload, OverlongTextIsRefused) {
    std::u16string huge(handoff_max_units + 1, u'a');
    EXPECT_EQ(read_handoff_payload(huge.data(), huge.size() * 2), std::nullopt);
    huge.resize(handoff_max_units);
    EXPECT_EQ(read_handoff_payload(huge.data(), huge.size() * 2)->size(), handoff_max_units);
}

} // namespace
} // namespace ondrel
