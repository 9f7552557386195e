#include "compress_cli/cli_arguments.hpp"

#include "i18n/formatters.hpp"
#include "i18n/texts_compression.hpp"
#include "i18n/texts_compression_target.hpp"
#include "video_compress/compress_settings.hpp"
#include "video_compress/target_size.hpp"

#include <string>
#include <string_view>

namespace ondrel {
namespace {

// "--name=value" gives the value; "--name" alone takes the next argument.
struct OptionValue {
    bool matched = false;
    std::optional<std::filesystem::path> value;
};

OptionValue option_value(std::string_view name, const std::vector<std::filesystem::path>& args,
                         std::size_t& index) {
    const std::string word = path_text(args[index]);
    if (word == name) {
        if (index + 1 >= args.size()) {
            return {true, std::nullopt};
        }
        ++index;
        return {true, args[index]};
    }
    if (word.size() > name.size() && word.starts_with(name) && word[name.size()] == '=') {
        // Cut the option's name off the native text, so that the value keeps its exact form.
        const auto& native = args[index].native();
        return {true, std::filesystem::path(native.substr(name.size() + 1))};
    }
    return {};
}

Failure usage_error(const TextPair& text, std::string_view value) {
    return Failure{fill(tr(text), {value})};
}

} // namespace

std::optional<Language> requested_language(const std::vector<std::filesystem::path>& arguments) {
    std::optional<Language> language;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (path_text(arguments[i]) == "--") {
            break;
        }
        const OptionValue lang = option_value("--lang", arguments, i);
        if (lang.matched && lang.value) {
            if (const auto parsed = parse_language(path_text(*lang.value))) {
                language = parsed;
            }
        }
    }
    return language;
}

bool json_progress_requested(const std::vector<std::filesystem::path>& arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (path_text(arguments[i]) == "--") {
            break;
        }
        const OptionValue progress = option_value("--progress", arguments, i);
        if (progress.matched && progress.value && path_text(*progress.value) == "ndjson") {
            return true;
        }
    }
    return false;
}

Result<CliRequest> parse_cli_arguments(const std::vector<std::filesystem::path>& arguments) {
    CliRequest request;
    bool options_done = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string word = path_text(arguments[i]);
        if (options_done || !word.starts_with("-") || word == "-") {
            request.files.push_back(arguments[i]);
            continue;
        }
        if (word == "--") {
            options_done = true;
            continue;
        }
        if (word == "--dry-run") {
            request.dry_run = true;
            continue;
        }
        if (word == "--encoders") {
            request.list_encoders = true;
            continue;
        }
        if (word == "--help" || word == "-h") {
            request.help = true;
            continue;
        }
        // --estimate: measure each output's size range, write nothing.
        if (word == "--estimate") {
            request.estimate = true;
            continue;
        }
        bool matched = false;
        for (const std::string_view name :
             {"--options", "--output-dir", "--lang", "--progress", "--target-size"}) {
            const OptionValue option = option_value(name, arguments, i);
            if (!option.matched) {
                continue;
            }
            matched = true;
            if (!option.value) {
                return usage_error(texts::cli_missing_value, name);
            }
            if (name == "--options") {
                request.options = parse_compress_settings(path_text(*option.value));
            } else if (name == "--output-dir") {
                if (option.value->empty()) {
                    return usage_error(texts::cli_missing_value, name);
                }
                request.output_dir = *option.value;
            } else if (name == "--progress") {
                if (path_text(*option.value) != "ndjson") {
                    return usage_error(texts::cli_bad_progress, path_text(*option.value));
                }
                request.progress = ProgressFormat::Ndjson;
            } else if (name == "--target-size") {
                request.target_size = parse_target_size(path_text(*option.value));
                if (!request.target_size) {
                    return usage_error(texts::cli_bad_target_size, path_text(*option.value));
                }
            } else {
                request.language = parse_language(path_text(*option.value));
                if (!request.language) {
                    return usage_error(texts::cli_bad_language, path_text(*option.value));
                }
            }
            break;
        }
        if (!matched) {
            return usage_error(texts::cli_unknown_option, word);
        }
    }
    // A target size already decides the output's size; an estimate of it would say nothing.
    if (request.estimate && request.target_size) {
        return Failure{std::string(tr(texts::cli_estimate_with_target))};
    }
    if (request.output_dir) {
        request.options.output_dir = request.output_dir;
    }
    if (request.files.empty() && !request.list_encoders && !request.help) {
        return Failure{std::string(tr(texts::cli_no_files))};
    }
    return request;
}

} // namespace ondrel
