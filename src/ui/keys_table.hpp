// What each key and character does, as data: the main window looks the key up here and runs
// the command it finds. Virtual-key codes are the values Windows uses.
#pragma once

#include <cstdint>

namespace ondrel {

namespace virtual_key {
inline constexpr std::uint16_t enter = 0x0D;
inline constexpr std::uint16_t escape = 0x1B;
inline constexpr std::uint16_t space = 0x20;
inline constexpr std::uint16_t home = 0x24;
inline constexpr std::uint16_t left = 0x25;
inline constexpr std::uint16_t up = 0x26;
inline constexpr std::uint16_t right = 0x27;
inline constexpr std::uint16_t down = 0x28;
inline constexpr std::uint16_t f1 = 0x70;
inline constexpr std::uint16_t f11 = 0x7A;
// Letter keys have the code of their capital letter.
constexpr std::uint16_t letter(char capital) {
    return static_cast<std::uint16_t>(capital);
}
} // namespace virtual_key

enum class KeyCommand : std::uint8_t {
    None, // not ours: the key goes on to the default handling
    ToggleFullScreen,
    LeaveFullScreen,
    TogglePause,
    SeekToStart,
    SeekBy,       // amount: seconds, signed
    ChangeVolume, // amount: volume points, signed
    ToggleMute,
    CycleAudio,
    CycleSubtitles,
    ToggleAlwaysOnTop,
    ToggleMultiInstance,
    OpenCompression,
    OpenVideo,
    ToggleHelp,
};

struct KeyAction {
    KeyCommand command = KeyCommand::None;
    std::int32_t amount = 0;
    friend bool operator==(const KeyAction&, const KeyAction&) = default;
};

// With Ctrl held only the Ctrl column applies, and Shift is not looked at.
KeyAction key_action(std::uint16_t key, bool ctrl, bool shift);

enum class CharCommand : std::uint8_t {
    None,
    Faster,
    Slower,
    NormalSpeed,
    FrameBack,
    FrameForward,
};

// The characters the player answers; lone surrogate halves and everything else are None.
CharCommand char_command(char16_t unit);

} // namespace ondrel
