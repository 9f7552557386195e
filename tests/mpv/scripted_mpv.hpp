// An in-process stand-in for libmpv whose events are scripted by the test, one by one, for
// checking the event pump without threads or timing.
#pragma once

#include "mpv/mpv_api.hpp"

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ondrel::testing {

struct ScriptedEvent {
    ScriptedEvent(mpv_event_id event = MPV_EVENT_NONE) : id(event) {}

    mpv_event_id id = MPV_EVENT_NONE;
    std::uint64_t reply = 0;
    mpv_format format = MPV_FORMAT_NONE;
    double number = 0;
    int flag = 0;
    std::string text;
    mpv_end_file_reason reason = MPV_END_FILE_REASON_EOF;
};

ScriptedEvent property_double(std::uint64_t reply, double value);
ScriptedEvent property_flag(std::uint64_t reply, bool value);
ScriptedEvent property_string(std::uint64_t reply, std::string value);
ScriptedEvent property_none(std::uint64_t reply);
ScriptedEvent end_file(mpv_end_file_reason reason);

struct ScriptedMpv {
    std::deque<ScriptedEvent> events;
    std::map<std::string, double> doubles;          // what mpv_get_property reads as a double
    std::vector<std::vector<std::string>> commands; // every command, sync or async, in order
    int reads = 0;
};

// Cleared for each test by scripted_api().
ScriptedMpv& scripted();
MpvApi scripted_api();
MpvHandle scripted_handle();

} // namespace ondrel::testing
