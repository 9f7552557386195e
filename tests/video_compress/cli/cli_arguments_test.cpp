#include "compress_cli/cli_arguments.hpp"
#include "platform/files.hpp"
#include "support/language_guard.hpp"
#include "video_compress/compress_settings.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::LanguageGuard;

std::vector<std::filesystem::path> args(std::initializer_list<const char*> words) {
    std::vector<std::filesystem::path> list;
    for (const char* word : words) {
        list.push_back(path_from_utf8(word));
    }
    return list;
}

TEST(CliArguments, FilesAndFlags) {
    const Result<CliRequest> parsed =
        parse_cli_arguments(args({"a.mp4", "--dry-run", "dossier é/b.mkv", "-", "--encoders"}));
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    const CliRequest& request = parsed.value();
    EXPECT_EQ(request.files, args({"a.mp4", "dossier é/b.mkv", "-"}));
    EXPECT_TRUE(request.dry_run);
    EXPECT_TRUE(request.list_encoders);
    EXPECT_FALSE(request.help);
    EXPECT_FALSE(request.estimate);
    EXPECT_FALSE(request.language.has_value());
    EXPECT_EQ(request.options, CompressOptions{});

    const Result<CliRequest> estimate = parse_cli_arguments(args({"--estimate", "a.mp4"}));
    ASSERT_TRUE(estimate.ok()) << estimate.error();
    EXPECT_TRUE(estimate.value().estimate);
    EXPECT_EQ(estimate.value().files, args({"a.mp4"}));
}

TEST(CliArguments, OptionsTextReadsLikeTheSetting) {
    for (const auto& list :
         {args({"--options", "codec=h265|q=250|res=9|audio=aac:|dir=/x", "a.mp4"}),
          args({"--options=codec=h265|q=250|res=9|audio=aac:|dir=/x", "a.mp4"})}) {
        const Result<CliRequest> parsed = parse_cli_arguments(list);
        ASSERT_TRUE(parsed.ok()) << parsed.error();
        // Each value's own rule is checked with the settings (CompressSettings.*).
        const CompressOptions& options = parsed.value().options;
        EXPECT_EQ(options, parse_compress_settings("codec=h265|q=250|res=9|audio=aac:|dir=/x"))
            << format_compress_settings(options);
    }
}

TEST(CliArguments, OutputDirTakesThePlaceOfDir) {
    for (const auto& list : {args({"--output-dir", "/out", "--options", "dir=/x", "a.mp4"}),
                             args({"--options", "dir=/x", "--output-dir=/out", "a.mp4"})}) {
        const Result<CliRequest> parsed = parse_cli_arguments(list);
        ASSERT_TRUE(parsed.ok()) << parsed.error();
        EXPECT_EQ(parsed.value().output_dir, path_from_utf8("/out"));
        EXPECT_EQ(parsed.value().options.output_dir, path_from_utf8("/out"));
    }
}

TEST(CliArguments, DoubleDashEndsTheOptions) {
    const Result<CliRequest> parsed =
        parse_cli_arguments(args({"--dry-run", "--", "--help", "--lang", "-x.mp4"}));
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    EXPECT_EQ(parsed.value().files, args({"--help", "--lang", "-x.mp4"}));
    EXPECT_FALSE(parsed.value().help);
    EXPECT_FALSE(parsed.value().language.has_value());
}

TEST(CliArguments, HelpAndEncodersNeedNoFile) {
    EXPECT_TRUE(parse_cli_arguments(args({"--help"})).ok());
    EXPECT_TRUE(parse_cli_arguments(args({"-h"})).value().help);
    EXPECT_TRUE(parse_cli_arguments(args({"--encoders"})).ok());
}

TEST(CliArguments, UsageErrorsInTheCurrentLanguage) {
    LanguageGuard guard;
    struct Case {
        std::vector<std::filesystem::path> arguments;
        const char* english;
        const char* french;
    };
    const Case cases[] = {
        {args({}), "No video file given.", "Aucun fichier vidéo indiqué."},
        {args({"--dry-run"}), "No video file given.", "Aucun fichier vidéo indiqué."},
        {args({"--bogus", "a.mp4"}), "Unknown option: --bogus", "Option inconnue : --bogus"},
        {args({"-x", "a.mp4"}), "Unknown option: -x", "Option inconnue : -x"},
        {args({"--dry-run=1", "a.mp4"}), "Unknown option: --dry-run=1",
         "Option inconnue : --dry-run=1"},
        {args({"--optionsx", "a.mp4"}), "Unknown option: --optionsx",
         "Option inconnue : --optionsx"},
        {args({"a.mp4", "--options"}), "Missing value after --options",
         "Valeur manquante après --options"},
        {args({"a.mp4", "--output-dir"}), "Missing value after --output-dir",
         "Valeur manquante après --output-dir"},
        {args({"a.mp4", "--output-dir="}), "Missing value after --output-dir",
         "Valeur manquante après --output-dir"},
        {args({"a.mp4", "--lang"}), "Missing value after --lang", "Valeur manquante après --lang"},
        {args({"--lang", "de", "a.mp4"}), "Unknown language: de (use en or fr)",
         "Langue inconnue : de (en ou fr)"},
        {args({"--progress=json", "a.mp4"}), "Unknown progress format: json (use ndjson)",
         "Format de progression inconnu : json (ndjson)"},
        {args({"--estimate", "--target-size", "5MB", "a.mp4"}),
         "--estimate and --target-size cannot be used together: a target size decides the size.",
         "--estimate et --target-size ne vont pas ensemble : une taille cible décide de la "
         "taille."},
        {args({"--target-size", "5 MB", "a.mp4"}),
         "Not a size: 5 MB (for example 25MB, 8MiB, 500KB, 1.5GB)",
         "Taille non valide : 5 MB (par exemple 25MB, 8MiB, 500KB, 1.5GB)"},
    };
    for (const Case& c : cases) {
        store_language(Language::English);
        const Result<CliRequest> english = parse_cli_arguments(c.arguments);
        ASSERT_FALSE(english.ok()) << c.english;
        EXPECT_EQ(english.error(), c.english);
        store_language(Language::French);
        const Result<CliRequest> french = parse_cli_arguments(c.arguments);
        ASSERT_FALSE(french.ok()) << c.french;
        EXPECT_EQ(french.error(), c.french);
    }
}

TEST(CliArguments, ProgressFormat) {
    EXPECT_EQ(parse_cli_arguments(args({"a.mp4"})).value().progress, ProgressFormat::Text);
    for (const auto& list :
         {args({"--progress", "ndjson", "a.mp4"}), args({"a.mp4", "--progress=ndjson"})}) {
        const Result<CliRequest> parsed = parse_cli_arguments(list);
        ASSERT_TRUE(parsed.ok()) << parsed.error();
        EXPECT_EQ(parsed.value().progress, ProgressFormat::Ndjson);
        EXPECT_EQ(parsed.value().files, args({"a.mp4"}));
        EXPECT_TRUE(json_progress_requested(list));
    }
    EXPECT_FALSE(json_progress_requested(args({"--progress", "text", "--progress"})));
    EXPECT_FALSE(json_progress_requested(args({"--", "--progress", "ndjson"})));
}

TEST(CliArguments, TargetSize) {
    EXPECT_FALSE(parse_cli_arguments(args({"a.mp4"})).value().target_size.has_value());
    for (const auto& list :
         {args({"--target-size", "8MiB", "a.mp4"}), args({"a.mp4", "--target-size=8MiB"})}) {
        const Result<CliRequest> parsed = parse_cli_arguments(list);
        ASSERT_TRUE(parsed.ok()) << parsed.error();
        EXPECT_EQ(parsed.value().target_size, std::optional<std::uint64_t>(8 * 1024 * 1024));
        EXPECT_EQ(parsed.value().files, args({"a.mp4"}));
    }
}

TEST(CliArguments, LanguageIsFoundFirst) {
    EXPECT_EQ(requested_language(args({"--bogus", "--lang", "fr"})), Language::French);
    EXPECT_EQ(requested_language(args({"--lang=en", "x"})), Language::English);
    EXPECT_EQ(requested_language(args({"--lang", "fr", "--lang", "en"})), Language::English);
    EXPECT_EQ(requested_language(args({"--lang", "de"})), std::nullopt);
    EXPECT_EQ(requested_language(args({"--lang"})), std::nullopt);
    EXPECT_EQ(requested_language(args({"--", "--lang", "fr"})), std::nullopt);
    EXPECT_EQ(parse_cli_arguments(args({"--lang", "Français", "a"})).value().language,
              Language::French);
}

} // namespace
} // namespace ondrel
