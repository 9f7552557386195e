// The settings file survives a save that cannot complete.
#include "platform/files.hpp"
#include "platform/win32/handles.hpp"
#include "settings/settings.hpp"
#include "support/temporary_folder.hpp"

#include <gtest/gtest.h>
#include <thread>
#include <windows.h>

namespace ondrel {
namespace {

using testing::list_folder;
using testing::TemporaryFolder;
using testing::write_bytes;

UniqueFile open_exclusively(const std::filesystem::path& file) {
    return UniqueFile(CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

TEST(AtomicSave, FileHeldOpenByAnotherProgramStaysIntact) {
    TemporaryFolder folder("atomic");
    const auto file = folder.path / L"settings.ini";
    const std::string old = "volume=33\nmute=1\nlanguage=fr\n";
    write_bytes(file, old);
    UniqueFile holder = open_exclusively(file);
    ASSERT_TRUE(holder);
    Settings s;
    EXPECT_FALSE(save_settings_to(s, file));
    holder.reset();
    EXPECT_EQ(read_file_bytes(file), old);
    EXPECT_EQ(list_folder(folder.path), "settings.ini");
}

TEST(AtomicSave, ScannerHoldingTheFileBrieflyIsWaitedFor) {
    TemporaryFolder folder("atomic");
    const auto file = folder.path / L"settings.ini";
    write_bytes(file, "volume=33\n");
    UniqueFile holder = open_exclusively(file);
    ASSERT_TRUE(holder);
    std::thread scanner([&] {
        Sleep(60);
        holder.reset();
    });
    Settings s;
    s.volume = 70;
    const bool saved = save_settings_to(s, file).ok();
    scanner.join();
    EXPECT_TRUE(saved);
    EXPECT_EQ(read_file_bytes(file), format_settings(s));
    EXPECT_EQ(list_folder(folder.path), "settings.ini");
}

TEST(AtomicSave, ReadOnlyFileIsLeftAsItIs) {
    TemporaryFolder folder("atomic");
    const auto file = folder.path / L"settings.ini";
    const std::string old = "volume=12\n";
    write_bytes(file, old);
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    Settings s;
    s.volume = 80;
    EXPECT_FALSE(save_settings_to(s, file));
    EXPECT_EQ(read_file_bytes(file), old);
    EXPECT_EQ(list_folder(folder.path), "settings.ini");
    EXPECT_NE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL); // so the folder can be removed
}

TEST(AtomicSave, ReadOnlyFolderLeavesTheOldFile) {
    TemporaryFolder folder("atomic");
    const auto inner = folder.path / L"Ondrel";
    std::filesystem::create_directories(inner);
    const auto file = inner / L"settings.ini";
    const std::string old = "volume=9\n";
    write_bytes(file, old);
    // A folder that is a file: nothing can be created inside it.
    const auto blocked = folder.path / L"blocked";
    write_bytes(blocked, "not a folder");
    EXPECT_FALSE(save_settings_to(Settings{}, blocked / L"settings.ini"));
    EXPECT_EQ(read_file_bytes(file), old);
    EXPECT_EQ(read_file_bytes(blocked), "not a folder");
}

} // namespace
} // namespace ondrel
