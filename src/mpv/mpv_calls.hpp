// Commands and property writes in the forms libmpv takes: every text a NUL-terminated UTF-8
// copy without embedded NULs, every argument list ended by a null pointer.
#pragma once

#include "mpv/player.hpp"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace ondrel {

// Waits for libmpv and returns its result (negative on failure).
int command_now(const Player& player, std::initializer_list<std::string_view> arguments);

// Fire and forget, reply id 0; the reply libmpv queues later is ignored.
void command_later(const Player& player, std::initializer_list<std::string_view> arguments);

// mpv_command_string with one command line.
void command_line(const Player& player, std::string_view line);

// Asynchronous property writes, reply id 0.
void write_flag_later(const Player& player, const char* name, bool value);
void write_double_later(const Player& player, const char* name, double value);

// One-off reads; nothing when the read fails.
std::optional<double> read_double(const Player& player, const char* name);
std::optional<std::int64_t> read_int64(const Player& player, const char* name);
// The text with invalid UTF-8 replaced; the libmpv copy is released.
std::optional<std::string> read_string(const Player& player, const char* name);

} // namespace ondrel
