// Reads the resources and headers back out of the built Ondrel.exe.
#include "platform/files.hpp"
#include "platform/win32/wide.hpp"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>
#include <windows.h>

namespace ondrel {
namespace {

// The test programs live in build/windows/tests; the program one folder up.
std::filesystem::path program_path() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(self).parent_path().parent_path() / L"Ondrel.exe";
}

struct ProgramModule {
    HMODULE module = LoadLibraryExW(program_path().c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ~ProgramModule() {
        if (module != nullptr) {
            FreeLibrary(module);
        }
    }
};

std::string resource_bytes(HMODULE module, LPCWSTR name, LPCWSTR type) {
    HRSRC info = FindResourceW(module, name, type);
    if (info == nullptr) {
        return {};
    }
    HGLOBAL loaded = LoadResource(module, info);
    const void* data = LockResource(loaded);
    return std::string(static_cast<const char*>(data), SizeofResource(module, info));
}

TEST(Executable, Is64BitGuiProgramWithoutMinGwRuntimeDlls) {
    const std::optional<std::string> bytes = read_file_bytes(program_path());
    ASSERT_TRUE(bytes.has_value());
    ASSERT_GT(bytes->size(), 0x400u);
    std::uint32_t pe_offset = 0;
    std::memcpy(&pe_offset, bytes->data() + 0x3C, 4);
    ASSERT_EQ(bytes->compare(pe_offset, 4, std::string("PE\0\0", 4)), 0);
    IMAGE_NT_HEADERS64 headers{};
    std::memcpy(&headers, bytes->data() + pe_offset, sizeof headers);
    EXPECT_EQ(headers.FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
    EXPECT_EQ(headers.OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
    EXPECT_EQ(headers.OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    for (const char* dll : {"libstdc++-6.dll", "libgcc_s_seh-1.dll", "libwinpthread-1.dll"}) {
        EXPECT_EQ(bytes->find(dll), std::string::npos) << dll;
    }
}

TEST(Executable, ManifestHasEveryElement) {
    ProgramModule program;
    ASSERT_NE(program.module, nullptr);
    const std::string manifest = resource_bytes(program.module, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_FALSE(manifest.empty());
    const char* expected[] = {
        R"(name="Ondrel" version="1.0.0.0")",
        R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")",
        R"(processorArchitecture="*" publicKeyToken="6595b64144ccf1df" language="*")",
        R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)",
        ">PerMonitorV2</dpiAwareness>",
        ">UTF-8</activeCodePage>",
        ">true</longPathAware>",
        R"(<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>)",
    };
    for (const char* piece : expected) {
        EXPECT_NE(manifest.find(piece), std::string::npos) << piece;
    }
}

TEST(Executable, CommandLineCompressorIsLongPathAware) {
    const auto path = program_path().parent_path() / L"ondrel-compress.exe";
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    const std::string manifest = resource_bytes(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
    FreeLibrary(module);
    EXPECT_NE(manifest.find(">true</longPathAware>"), std::string::npos) << manifest;
}

#pragma pack(push, 2)
struct IconDirectoryEntry {
    BYTE width;
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bit_count;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST(Executable, IconGroupHasSevenSizesAt32Bits) {
    ProgramModule program;
    ASSERT_NE(program.module, nullptr);
    const std::string group = resource_bytes(program.module, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    ASSERT_GE(group.size(), 6u);
    WORD header[3] = {};
    std::memcpy(header, group.data(), 6);
    EXPECT_EQ(header[1], 1); // icon, not cursor
    ASSERT_EQ(header[2], 7);
    ASSERT_EQ(group.size(), 6 + 7 * sizeof(IconDirectoryEntry));
    std::vector<int> sizes;
    for (int i = 0; i < 7; ++i) {
        IconDirectoryEntry entry{};
        std::memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
        sizes.push_back(entry.width == 0 ? 256 : entry.width);
        EXPECT_EQ(entry.width, entry.height);
        EXPECT_EQ(entry.bit_count, 32);
        const std::string image =
            resource_bytes(program.module, MAKEINTRESOURCEW(entry.id), RT_ICON);
        EXPECT_EQ(image.size(), entry.bytes);
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 64, 128, 256}));
    // Windows can make real icons out of the smallest and the largest image.
    for (const int size : {16, 256}) {
        const int id =
            LookupIconIdFromDirectoryEx(reinterpret_cast<PBYTE>(const_cast<char*>(group.data())),
                                        TRUE, size, size, LR_DEFAULTCOLOR);
        ASSERT_NE(id, 0);
        std::string image = resource_bytes(program.module, MAKEINTRESOURCEW(id), RT_ICON);
        HICON icon = CreateIconFromResourceEx(reinterpret_cast<PBYTE>(image.data()),
                                              static_cast<DWORD>(image.size()), TRUE, 0x00030000,
                                              size, size, LR_DEFAULTCOLOR);
        EXPECT_NE(icon, nullptr) << size;
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
}

TEST(Executable, AboutBitmapIs600By132At24Bits) {
    ProgramModule program;
    ASSERT_NE(program.module, nullptr);
    const std::string bitmap = resource_bytes(program.module, MAKEINTRESOURCEW(2), RT_BITMAP);
    ASSERT_GE(bitmap.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header{};
    std::memcpy(&header, bitmap.data(), sizeof header);
    EXPECT_EQ(header.biWidth, 600);
    EXPECT_EQ(std::abs(header.biHeight), 132);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
}

std::wstring version_string(const std::vector<char>& block, const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040C04B0\\") + name;
    if (!VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) ||
        value == nullptr) {
        return L"<missing>";
    }
    return std::wstring(value, length > 0 ? length - 1 : 0);
}

TEST(Executable, VersionBlockInFrench) {
    const std::wstring path = program_path().wstring();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010008u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010008u);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x040C);
    EXPECT_EQ(translation[1], 1200);

    EXPECT_EQ(version_string(block, L"FileVersion"), L"1.8.0");
    EXPECT_EQ(version_string(block, L"ProductVersion"), L"1.8.0");
    EXPECT_EQ(version_string(block, L"FileDescription"), L"Ondrel");
    EXPECT_EQ(version_string(block, L"ProductName"), L"Ondrel");
    EXPECT_EQ(version_string(block, L"OriginalFilename"), L"Ondrel.exe");
}

} // namespace
} // namespace ondrel
