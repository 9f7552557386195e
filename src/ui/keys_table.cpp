#include "ui/keys_table.hpp"

namespace ondrel {
namespace {

// The keys that act the same with and without Ctrl.
KeyAction shared_action(std::uint16_t key) {
    using namespace virtual_key;
    switch (key) {
    case enter:
    case f11:
    case letter('F'):
        return {KeyCommand::ToggleFullScreen};
    case escape:
        return {KeyCommand::LeaveFullScreen};
    case space:
    case letter('K'):
        return {KeyCommand::TogglePause};
    case home:
        return {KeyCommand::SeekToStart};
    case up:
        return {KeyCommand::ChangeVolume, +5};
    case down:
        return {KeyCommand::ChangeVolume, -5};
    case letter('M'):
        return {KeyCommand::ToggleMute};
    case f1:
        return {KeyCommand::ToggleHelp};
    default:
        return {};
    }
}

KeyAction plain_action(std::uint16_t key, bool shift) {
    using namespace virtual_key;
    switch (key) {
    case left:
        return {KeyCommand::SeekBy, shift ? -1 : -5};
    case right:
        return {KeyCommand::SeekBy, shift ? +1 : +5};
    case letter('A'):
        return {KeyCommand::CycleAudio};
    case letter('S'):
        return {KeyCommand::CycleSubtitles};
    case letter('T'):
        return {KeyCommand::ToggleAlwaysOnTop};
    case letter('I'):
        return {KeyCommand::ToggleMultiInstance};
    case letter('C'):
        return {KeyCommand::OpenCompression};
    default:
        return shared_action(key);
    }
}

KeyAction ctrl_action(std::uint16_t key) {
    using namespace virtual_key;
    switch (key) {
    case left:
        return {KeyCommand::SeekBy, -60};
    case right:
        return {KeyCommand::SeekBy, +60};
    case letter('O'):
        return {KeyCommand::OpenVideo};
    default:
        return shared_action(key);
    }
}

} // namespace

KeyAction key_action(std::uint16_t key, bool ctrl, bool shift) {
    return ctrl ? ctrl_action(key) : plain_action(key, shift);
}

CharCommand char_command(char16_t unit) {
    // Lone surrogate halves fall to the default like every other unit outside the table.
    switch (unit) {
    case u'+':
        return CharCommand::Faster;
    case u'-':
        return CharCommand::Slower;
    case u'=':
        return CharCommand::NormalSpeed;
    case u',':
        return CharCommand::FrameBack;
    case u'.':
        return CharCommand::FrameForward;
    default:
        return CharCommand::None;
    }
}

} // namespace ondrel
