// Messages are worded on worker threads while the user switches the language on the GUI
// thread. Built a second time with ThreadSanitizer (language_threads_tsan_test), which reports
// the switch and the reads as a data race unless the language is kept atomically.
#include "i18n/language.hpp"
#include "support/language_guard.hpp"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace ondrel {
namespace {

TEST(Language, ReadableFromOtherThreads) {
    testing::LanguageGuard guard(Language::English);
    std::atomic<bool> started{false};
    std::atomic<bool> stop{false};
    std::atomic<int> neither{0};
    std::thread reader([&] {
        do {
            const std::string_view text = tr("Done", "Terminé");
            neither += text != "Done" && text != "Terminé" ? 1 : 0;
            started = true;
        } while (!stop);
    });
    while (!started) {
        std::this_thread::yield();
    }
    for (int i = 0; i < 2000; ++i) {
        store_language(i % 2 == 0 ? Language::French : Language::English);
    }
    stop = true;
    reader.join();
    EXPECT_EQ(neither, 0);
    EXPECT_EQ(current_language(), Language::English);
}

} // namespace
} // namespace ondrel
