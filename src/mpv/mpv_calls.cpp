#include "mpv/mpv_calls.hpp"

#include "platform/text.hpp"

#include <vector>

namespace ondrel {
namespace {

// Owns the copies for as long as libmpv reads them.
struct CommandArguments {
    std::vector<std::string> texts;
    std::vector<const char*> pointers;

    explicit CommandArguments(std::initializer_list<std::string_view> arguments) {
        texts.reserve(arguments.size());
        for (std::string_view argument : arguments) {
            texts.push_back(text_for_mpv(argument));
        }
        for (const std::string& text : texts) {
            pointers.push_back(text.c_str());
        }
        pointers.push_back(nullptr);
    }
};

} // namespace

int command_now(const Player& player, std::initializer_list<std::string_view> arguments) {
    CommandArguments command(arguments);
    return player.api.command(player.handle.get(), command.pointers.data());
}

void command_later(const Player& player, std::initializer_list<std::string_view> arguments) {
    CommandArguments command(arguments);
    player.api.command_async(player.handle.get(), 0, command.pointers.data());
}

void command_line(const Player& player, std::string_view line) {
    const std::string text = text_for_mpv(line);
    player.api.command_string(player.handle.get(), text.c_str());
}

void write_flag_later(const Player& player, const char* name, bool value) {
    int flag = value ? 1 : 0;
    player.api.set_property_async(player.handle.get(), 0, name, MPV_FORMAT_FLAG, &flag);
}

void write_double_later(const Player& player, const char* name, double value) {
    player.api.set_property_async(player.handle.get(), 0, name, MPV_FORMAT_DOUBLE, &value);
}

std::optional<double> read_double(const Player& player, const char* name) {
    double value = 0;
    if (player.api.get_property(player.handle.get(), name, MPV_FORMAT_DOUBLE, &value) < 0) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int64_t> read_int64(const Player& player, const char* name) {
    std::int64_t value = 0;
    if (player.api.get_property(player.handle.get(), name, MPV_FORMAT_INT64, &value) < 0) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> read_string(const Player& player, const char* name) {
    char* value = nullptr;
    if (player.api.get_property(player.handle.get(), name, MPV_FORMAT_STRING, &value) < 0) {
        return std::nullopt;
    }
    if (value == nullptr) {
        return std::nullopt;
    }
    std::string text = repair_utf8(value);
    player.api.free(value);
    return text;
}

} // namespace ondrel
