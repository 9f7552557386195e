#include "video_compress/detect_encoders.hpp"

#include "platform/text.hpp"
#include "platform/threads.hpp"
#include "video_compress/tools.hpp"

#include <memory>
#include <thread>

namespace ondrel {
namespace {

std::vector<std::string_view> lines_of(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool is_ascii_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::vector<std::string_view> words_of(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && is_ascii_space(line[at])) {
            ++at;
        }
        const std::size_t start = at;
        while (at < line.size() && !is_ascii_space(line[at])) {
            ++at;
        }
        if (at > start) {
            words.push_back(line.substr(start, at - start));
        }
    }
    return words;
}

} // namespace

std::vector<std::string> listed_hardware_encoders(std::string_view listing) {
    std::vector<std::string> found;
    for (const std::string_view line : lines_of(listing)) {
        const auto words = words_of(line);
        for (const std::string_view candidate : hardware_encoder_candidates) {
            for (const std::string_view word : words) {
                if (word == candidate) {
                    found.emplace_back(candidate);
                    break;
                }
            }
        }
    }
    return found;
}

bool lists_hwaccel_auto(std::string_view listing) {
    for (const std::string_view line : lines_of(listing)) {
        if (trim_unicode_space(line) == "auto") {
            return true;
        }
    }
    return false;
}

std::vector<std::string> test_encoder_arguments(std::string_view encoder) {
    std::vector<std::string> arguments{"-hide_banner", "-loglevel", "error", "-y"};
    if (encoder.ends_with("_qsv")) {
        arguments.insert(arguments.end(), {"-init_hw_device", "qsv=hw", "-filter_hw_device", "hw"});
    }
    arguments.insert(arguments.end(),
                     {"-f", "lavfi", "-i", "color=c=black:s=320x240:r=30", "-frames:v", "2", "-c:v",
                      std::string(encoder), "-f", "null", "-"});
    return arguments;
}

bool test_encoder(const std::filesystem::path& ffmpeg, const std::string& encoder,
                  std::chrono::milliseconds limit) {
    const auto exit_code = run_for_exit_code(ffmpeg, test_encoder_arguments(encoder), limit);
    return exit_code && exit_code.value() == 0;
}

EncoderSupport detect_encoders(const std::filesystem::path& ffmpeg, DetectionScope scope) {
    std::vector<std::string> candidates;
    if (scope.test_encodes) {
        if (const auto listing = run_capture(ffmpeg, {"-hide_banner", "-encoders"})) {
            candidates = listed_hardware_encoders(listing.value().output);
        }
    }

    // Every test encode runs at the same time; a test whose thread cannot be started runs
    // here instead.
    const auto passed = std::make_unique<bool[]>(candidates.size());
    std::vector<std::thread> tests;
    tests.reserve(candidates.size());
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const auto test = [ffmpeg, name = candidates[i], result = &passed[i]] {
            try {
                *result = test_encoder(ffmpeg, name);
            } catch (...) {
                *result = false;
            }
        };
        tests.push_back(start_thread(test, [&](const std::string&) { test(); }));
    }
    for (std::thread& test : tests) {
        if (test.joinable()) {
            test.join();
        }
    }

    EncoderSupport support;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (passed[i]) {
            support.encoders.push_back(candidates[i]);
        }
    }
    if (scope.hwaccel_listing) {
        if (const auto listing = run_capture(ffmpeg, {"-hide_banner", "-hwaccels"})) {
            support.hwaccel_auto = lists_hwaccel_auto(listing.value().output);
        }
    }
    return support;
}

void start_encoder_detection(const std::filesystem::path& ffmpeg, CompressSender sender,
                             DetectionScope scope) {
    // The thread has a copy of the sender, so that this function still holds one should the
    // thread not start.
    start_detached_thread(
        [ffmpeg, scope, to = sender] {
            EncoderSupport support;
            try {
                support = detect_encoders(ffmpeg, scope);
            } catch (...) {
                // Detection that breaks down finds nothing; the software encoders remain.
                support = EncoderSupport{};
            }
            send(to, CompressMessage(message::Encoders{std::move(support)}));
        },
        [&](const std::string&) { send(sender, CompressMessage(message::Encoders{})); });
}

} // namespace ondrel
