#include "i18n/language.hpp"
#include "platform/files.hpp"
#include "support/language_guard.hpp"
#include "support/temporary_folder.hpp"
#include "video_compress/output_path.hpp"

#include <fstream>
#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::LanguageGuard;

using testing::TemporaryFolder;

void touch(const std::filesystem::path& path) {
    std::ofstream(path).put('x');
}

MediaInfo probed(const std::filesystem::path& path, std::uint32_t width, std::uint32_t height) {
    MediaInfo info;
    info.path = path;
    info.width = width;
    info.height = height;
    return info;
}

TEST(OutputFileName, StemCodecHeightAndExtension) {
    struct Case {
        const char* source;
        std::uint32_t width, height;
        std::uint8_t resolution;
        VideoCodec codec;
        Container container;
        const char* expected;
    };
    const Case cases[] = {
        {"/v/video.mp4", 1920, 1080, 0, VideoCodec::H264, Container::Mp4, "video_h264_1080p.mp4"},
        {"/v/holiday.mov", 1920, 1080, 4, VideoCodec::H265, Container::Mp4,
         "holiday_h265_720p.mp4"},
        {"/v/holiday.mov", 1920, 1080, 1, VideoCodec::H264, Container::Mp4,
         "holiday_h264_1080p.mp4"},
        {"/v/my.trip.2024.mkv", 1280, 720, 0, VideoCodec::H264, Container::Mkv,
         "my.trip.2024_h264_720p.mkv"},
        {"/v/.hidden", 640, 360, 0, VideoCodec::H264, Container::Mp4, ".hidden_h264_360p.mp4"},
        {"/v/.hidden.avi", 640, 360, 0, VideoCodec::H264, Container::Mp4, ".hidden_h264_360p.mp4"},
        {"/v/noext", 640, 360, 0, VideoCodec::H264, Container::Mp4, "noext_h264_360p.mp4"},
        {"/v/trailing.", 640, 360, 0, VideoCodec::H264, Container::Mp4, "trailing_h264_360p.mp4"},
        {"/v/été 日本.webm", 640, 360, 0, VideoCodec::H264, Container::Mp4,
         "été 日本_h264_360p.mp4"},
        {"/v/unprobed.mp4", 0, 0, 3, VideoCodec::H265, Container::Mkv, "unprobed_h265.mkv"},
        {"/v/", 1920, 1080, 0, VideoCodec::H264, Container::Mp4, "video_h264_1080p.mp4"},
        {"", 1920, 1080, 0, VideoCodec::H264, Container::Mp4, "video_h264_1080p.mp4"},
    };
    for (const Case& c : cases) {
        CompressOptions options;
        options.resolution = c.resolution;
        options.codec = c.codec;
        options.container = c.container;
        EXPECT_EQ(output_file_name(probed(path_from_utf8(c.source), c.width, c.height), options),
                  c.expected)
            << c.source;
    }
}

TEST(OutputFolder, ChosenFolderOnlyWhenItExists) {
    TemporaryFolder chosen("out");
    TemporaryFolder beside("src");
    const MediaInfo source = probed(beside.path / "video.mp4", 1920, 1080);
    CompressOptions options;
    EXPECT_EQ(output_folder(source, options), beside.path);
    options.output_dir = chosen.path;
    EXPECT_EQ(output_folder(source, options), chosen.path);
    options.output_dir = chosen.path / "missing";
    EXPECT_EQ(output_folder(source, options), beside.path);
    options.output_dir = std::filesystem::path();
    EXPECT_EQ(output_folder(source, options), beside.path);
    touch(chosen.path / "a-file");
    options.output_dir = chosen.path / "a-file";
    EXPECT_EQ(output_folder(source, options), beside.path);
}

// The test's own current folder, put back when it ends.
struct CurrentFolder {
    std::filesystem::path previous = std::filesystem::current_path();
    explicit CurrentFolder(const std::filesystem::path& folder) {
        std::filesystem::current_path(folder);
    }
    ~CurrentFolder() { std::filesystem::current_path(previous); }
};

// A relative folder, or a bare source name, is made absolute: "-out/clip_h264_48p.mp4" in
// ffmpeg's arguments would be read as an option.
TEST(OutputFolder, RelativeFoldersBecomeAbsolute) {
    TemporaryFolder base("relative");
    std::filesystem::create_directory(base.path / "-out");
    const CurrentFolder inside(base.path);
    const std::filesystem::path here = std::filesystem::current_path();
    CompressOptions options;
    options.output_dir = "-out";
    EXPECT_EQ(output_path_for(probed("/v/clip.mp4", 64, 48), options).value(),
              here / "-out" / "clip_h264_48p.mp4");
    options.output_dir.reset();
    EXPECT_EQ(output_path_for(probed("-clip.mp4", 64, 48), options).value(),
              here / "-clip_h264_48p.mp4");
    EXPECT_EQ(output_folder(probed("video.mp4", 1920, 1080), options), here);
}

TEST(PartialOutputPath, ExtensionKeptForFfmpegsChoiceOfFormat) {
    EXPECT_EQ(partial_output_path("/v/clip_h264_720p.mp4"), "/v/clip_h264_720p.part.mp4");
    EXPECT_EQ(partial_output_path("/v/my.trip_h265_1080p (2).mkv"),
              "/v/my.trip_h265_1080p (2).part.mkv");
}

TEST(OutputPathFor, FreeNameOrFirstFreeNumber) {
    TemporaryFolder folder("names");
    const MediaInfo source = probed(folder.path / "video.mp4", 1920, 1080);
    CompressOptions options;
    EXPECT_EQ(output_path_for(source, options).value(), folder.path / "video_h264_1080p.mp4");

    touch(folder.path / "video_h264_1080p.mp4");
    EXPECT_EQ(output_path_for(source, options).value(), folder.path / "video_h264_1080p (1).mp4");

    touch(folder.path / "video_h264_1080p (1).mp4");
    touch(folder.path / "video_h264_1080p (2).mp4");
    touch(folder.path / "video_h264_1080p (4).mp4");
    EXPECT_EQ(output_path_for(source, options).value(), folder.path / "video_h264_1080p (3).mp4");

    // A folder with that name is in the way too; other containers and codecs are not.
    std::filesystem::create_directory(folder.path / "video_h264_1080p (3).mp4");
    EXPECT_EQ(output_path_for(source, options).value(), folder.path / "video_h264_1080p (5).mp4");
    options.container = Container::Mkv;
    EXPECT_EQ(output_path_for(source, options).value(), folder.path / "video_h264_1080p.mkv");
    options.codec = VideoCodec::H265;
    EXPECT_EQ(output_path_for(source, options).value(), folder.path / "video_h265_1080p.mkv");
}

TEST(OutputPathFor, ChosenFolderWithNonAsciiNames) {
    TemporaryFolder source_folder("src");
    TemporaryFolder base("out");
    const std::filesystem::path chosen = base.path / path_from_utf8("Vidéos compressées");
    std::filesystem::create_directory(chosen);
    const MediaInfo source =
        probed(source_folder.path / path_from_utf8("Été à Kyōto.mov"), 1280, 720);
    CompressOptions options;
    options.output_dir = chosen;
    touch(chosen / path_from_utf8("Été à Kyōto_h264_720p.mp4"));
    EXPECT_EQ(output_path_for(source, options).value(),
              chosen / path_from_utf8("Été à Kyōto_h264_720p (1).mp4"));
}

// A partial file left by a killed encode keeps its name taken.
TEST(OutputPathFor, APartialFileTakesItsName) {
    TemporaryFolder folder("partial");
    const MediaInfo source = probed(folder.path / "video.mp4", 1920, 1080);
    touch(folder.path / "video_h264_1080p.part.mp4");
    EXPECT_EQ(output_path_for(source, CompressOptions{}).value(),
              folder.path / "video_h264_1080p (1).mp4");
}

#ifndef _WIN32
TEST(OutputPathFor, DanglingLinkCountsAsTaken) {
    TemporaryFolder folder("links");
    std::filesystem::create_symlink(folder.path / "nowhere", folder.path / "video_h264_1080p.mp4");
    const MediaInfo source = probed(folder.path / "video.mp4", 1920, 1080);
    EXPECT_EQ(output_path_for(source, CompressOptions{}).value(),
              folder.path / "video_h264_1080p (1).mp4");
}
#endif

// Natively only: under Wine, ten thousand names in one folder take most of a minute to make
// and look up. The code is the same in both builds.
#ifndef _WIN32
TEST(OutputPathFor, EveryNameTakenIsAFailureNotAnOverwrite) {
    LanguageGuard guard;
    TemporaryFolder folder("full");
    const MediaInfo source = probed(folder.path / "clip.mp4", 160, 90);
    touch(folder.path / "clip_h264_90p.mp4");
    for (int i = 1; i <= 9998; ++i) {
        touch(folder.path / ("clip_h264_90p (" + std::to_string(i) + ").mp4"));
    }
    EXPECT_EQ(output_path_for(source, CompressOptions{}).value(),
              folder.path / "clip_h264_90p (9999).mp4");
    touch(folder.path / "clip_h264_90p (9999).mp4");

    store_language(Language::English);
    const Result<std::filesystem::path> english = output_path_for(source, CompressOptions{});
    ASSERT_FALSE(english.ok());
    EXPECT_EQ(english.error(), "No free output file name in " + path_to_utf8(folder.path));
    store_language(Language::French);
    const Result<std::filesystem::path> french = output_path_for(source, CompressOptions{});
    ASSERT_FALSE(french.ok());
    EXPECT_EQ(french.error(), "Aucun nom de fichier libre dans " + path_to_utf8(folder.path));
}
#endif

} // namespace
} // namespace ondrel
