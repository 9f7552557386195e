#include "double_support.hpp"
#include "mpv/loader.hpp"
#include "mpv/player.hpp"
#include "mpv_test_support.hpp"
#include "platform/files.hpp"
#include "platform/shared_library.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using namespace ondrel::testing;

// Each table slot holds the function exported under its own name.
TEST(DoubleLoader, ResolvesEveryEntryPointIntoItsSlot) {
    const std::string library = double_library();
    Result<LoadedMpv> mpv = load_libmpv_from(library);
    ASSERT_TRUE(mpv.ok()) << mpv.error();
    const SharedLibrary module = load_shared_library(library).value();
    std::size_t checked = 0;
    for_each_mpv_entry_point([&](const auto& entry) {
        const std::string name(entry.name);
        const void* exported = find_library_function(module, name.c_str());
        EXPECT_NE(exported, nullptr) << name;
        EXPECT_EQ(reinterpret_cast<const void*>(mpv.value().api.*entry.slot), exported) << name;
        ++checked;
        return true;
    });
    EXPECT_EQ(checked, 13u);
    ASSERT_TRUE(mpv.value().handle);
    mpv.value().handle.reset();
    const auto created = calls_of(double_calls(library), "mpv_create");
    EXPECT_FALSE(created.empty());
}

TEST(DoubleLoader, TheProgramKnowsItsOwnPath) {
    const std::filesystem::path program = path_from_utf8(executable_path());
    EXPECT_TRUE(program.is_absolute()) << executable_path();
    EXPECT_EQ(path_to_utf8(program.stem()), "mpv_double_test");
}

#ifdef _WIN32
// The program's own way: libmpv-2.dll beside the executable (a copy of the double here).
TEST(DoubleLoader, FindsTheLibraryBesideTheProgram) {
    const std::string beside = library_path_beside(executable_path(), "libmpv-2.dll");
    EXPECT_EQ(libmpv_library_path(), beside);
    clear_double_calls(beside);
    Result<LoadedMpv> mpv = load_libmpv();
    ASSERT_TRUE(mpv.ok()) << mpv.error();
    mpv.value().handle.reset();
    EXPECT_EQ(calls_of(double_calls(beside), "mpv_create").size(), 1u);
}
#endif

// A library that cannot be loaded, one without the wake-up callback and one whose
// mpv_create fails: each failure is named in both languages.
TEST(DoubleLoader, EachFailureIsNamed) {
    TemporaryFolder folder("no-mpv");
    const std::string missing = path_to_utf8(folder.path / "libmpv-2.dll");
    struct Case {
        std::string library;
        std::string english, french;
        std::size_t creates; // mpv_create calls per load; the look-up stops at a missing function
    };
    const Case cases[] = {
        {missing, "Cannot load " + missing, "Impossible de charger " + missing, 0},
        {double_library("mpv_double_no_wakeup"),
         "Function missing from libmpv: mpv_set_wakeup_callback",
         "Fonction absente de libmpv : mpv_set_wakeup_callback", 0},
        {double_library("mpv_double_create_fails"), "mpv_create failed", "mpv_create a échoué", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.english);
        for (const auto& [language, text] :
             {std::pair{Language::English, c.english}, std::pair{Language::French, c.french}}) {
            LanguageGuard guard(language);
            const Result<LoadedMpv> mpv = load_libmpv_from(c.library);
            ASSERT_FALSE(mpv.ok());
            EXPECT_EQ(mpv.error(), text);
        }
        if (c.library != missing) {
            EXPECT_EQ(calls_of(double_calls(c.library), "mpv_create").size(), 2 * c.creates);
        }
    }
}

TEST(DoubleLoader, FolderWithNonAsciiCharacters) {
    TemporaryFolder folder("mpv");
    const std::filesystem::path unusual = folder.path / path_from_utf8("Vidéos é 字");
    std::filesystem::create_directories(unusual);
    const std::filesystem::path copy = unusual / path_from_utf8(double_library()).filename();
    std::filesystem::copy_file(path_from_utf8(double_library()), copy);
    Result<LoadedMpv> mpv = load_libmpv_from(path_to_utf8(copy));
    ASSERT_TRUE(mpv.ok()) << mpv.error();
    mpv.value().handle.reset();
}

TEST(DoubleStart, InitializeFailureDestroysTheHandle) {
    struct Case {
        std::optional<int> code;
        Language language;
        std::string expected;
    };
    const Case cases[] = {
        {-7, Language::English, "mpv_initialize failed (-7)"},
        {-7, Language::French, "mpv_initialize a échoué (-7)"},
        {std::nullopt, Language::English, "mpv_initialize failed (-20)"},
        {3, Language::English, "mpv_initialize failed (3)"},
    };
    const std::string library = double_library("mpv_double_initialize_fails");
    for (const Case& c : cases) {
        LanguageGuard language(c.language);
        const DoubleScenario scenario(c.code ? nlohmann::json{{"initialize_result", *c.code}}
                                             : nlohmann::json::object());
        clear_double_calls(library);
        Result<LoadedMpv> mpv = load_libmpv_from(library);
        ASSERT_TRUE(mpv.ok()) << mpv.error();
        PlayerSession session;
        const Status started =
            start_player(session, std::move(mpv.value()), fake_windows(), Settings{}, "");
        ASSERT_FALSE(started.ok());
        EXPECT_EQ(started.error(), c.expected);
        EXPECT_FALSE(session.player.has_value());
        const auto calls = double_calls(library);
        ASSERT_GE(calls.size(), 2u);
        EXPECT_EQ(calls[calls.size() - 2].at("call"), "mpv_initialize");
        EXPECT_EQ(calls.back().at("call"), "mpv_terminate_destroy");
        EXPECT_TRUE(calls_of(calls, "mpv_observe_property").empty());
    }
}

} // namespace
} // namespace ondrel
