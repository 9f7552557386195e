#include "double_support.hpp"

#include "platform/files.hpp"
#include "platform/shared_library.hpp"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace ondrel::testing {
namespace {

using RecordFunction = const char* (*)();
using ClearFunction = void (*)();

void* double_function(const std::string& library, const char* name) {
    const Result<SharedLibrary> module = load_shared_library(library);
    if (!module) {
        throw std::runtime_error("cannot load " + library + ": " + module.error());
    }
    void* function = find_library_function(module.value(), name);
    if (function == nullptr) {
        throw std::runtime_error(std::string("the double has no ") + name);
    }
    return function;
}

} // namespace

std::string double_library(std::string_view variant) {
    // The test programs live in a folder beside the double's folders.
    const std::filesystem::path tests =
        path_from_utf8(executable_path()).parent_path().parent_path();
    return path_to_utf8(tests / path_from_utf8(variant) /
                        path_from_utf8(std::string("libmpv-2") + ONDREL_MPV_DOUBLE_SUFFIX));
}

DoubleScenario::DoubleScenario(const nlohmann::json& scenario) {
    replace(scenario);
    variable = std::make_unique<ScopedEnvironment>("ONDREL_MPV_DOUBLE_SCENARIO",
                                                   path_to_utf8(folder.path / "scenario.json"));
}

void DoubleScenario::replace(const nlohmann::json& scenario) const {
    std::ofstream out(folder.path / "scenario.json", std::ios::binary | std::ios::trunc);
    out << scenario.dump();
}

std::vector<nlohmann::json> double_calls(const std::string& library) {
    const auto record =
        reinterpret_cast<RecordFunction>(double_function(library, "ondrel_mpv_double_record"));
    std::vector<nlohmann::json> calls;
    std::istringstream lines(record());
    std::string line;
    while (std::getline(lines, line)) {
        calls.push_back(nlohmann::json::parse(line));
    }
    return calls;
}

void clear_double_calls(const std::string& library) {
    reinterpret_cast<ClearFunction>(double_function(library, "ondrel_mpv_double_clear_record"))();
}

std::vector<nlohmann::json> calls_of(const std::vector<nlohmann::json>& calls,
                                     std::string_view function) {
    std::vector<nlohmann::json> selected;
    for (const nlohmann::json& call : calls) {
        if (call.at("call") == function) {
            selected.push_back(call);
        }
    }
    return selected;
}

std::vector<std::pair<std::string, std::string>>
double_messages(const std::vector<nlohmann::json>& calls) {
    std::vector<std::pair<std::string, std::string>> messages;
    for (const nlohmann::json& call : calls_of(calls, "mpv_command_async")) {
        const auto& args = call.at("args");
        if (args.size() == 3 && args[0] == "show-text") {
            messages.emplace_back(args[1].get<std::string>(), args[2].get<std::string>());
        }
    }
    return messages;
}

} // namespace ondrel::testing
