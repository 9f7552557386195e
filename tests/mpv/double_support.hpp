// Driving the libmpv test double from a test: where each build variant is, its scenario file
// and its call record.
#pragma once

#include "support/temporary_folder.hpp"

#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ondrel::testing {

// The library of a variant: "mpv_double", "mpv_double_no_wakeup", "mpv_double_create_fails",
// "mpv_double_initialize_fails".
std::string double_library(std::string_view variant = "mpv_double");

// Writes the scenario to a file of its own and points the double at it.
struct DoubleScenario {
    TemporaryFolder folder{"scenario"};
    std::unique_ptr<ScopedEnvironment> variable;

    explicit DoubleScenario(const nlohmann::json& scenario);
    void replace(const nlohmann::json& scenario) const;
};

// Every call the double in `library` recorded in this process, oldest first.
std::vector<nlohmann::json> double_calls(const std::string& library = double_library());
void clear_double_calls(const std::string& library = double_library());

// The calls of one function.
std::vector<nlohmann::json> calls_of(const std::vector<nlohmann::json>& calls,
                                     std::string_view function);

// The on-screen messages asked for: text and milliseconds.
std::vector<std::pair<std::string, std::string>>
double_messages(const std::vector<nlohmann::json>& calls);

} // namespace ondrel::testing
