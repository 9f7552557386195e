// The small rules of playback that need no libmpv: names, times, speeds, repaint steps and
// the start-up options.
#pragma once

#include "mpv/player_window.hpp"
#include "settings/settings.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ondrel {

// The last component of a path or URL; the whole text when it has none.
std::string display_name(std::string_view path);

// Whole seconds as m:ss, or h:mm:ss from one hour on; negative values count as 0.
std::string format_resume_time(double seconds);

inline constexpr std::array<double, 10> speed_table{0.25, 0.5,  0.75, 1.0, 1.25,
                                                    1.5,  1.75, 2.0,  3.0, 4.0};

// The speed after one step (-1, 0 or +1) from `current`. A speed that is not in the table
// counts as 1.0; step 0 goes back to 1.0.
double next_speed(double current, int step);

// Where the control bar stands for a time position: the whole second and the position in
// `steps` parts of the duration (at least one).
struct ProgressMarks {
    std::int64_t whole_second = 0;
    std::int32_t progress_step = 0;
    friend bool operator==(const ProgressMarks&, const ProgressMarks&) = default;
};
ProgressMarks progress_marks(double time_position, double duration, std::int32_t steps = 2000);

using MpvOption = std::pair<std::string, std::string>;

// The program's own options, in the order they are set.
std::vector<MpvOption> player_options(ShellWindow video_window, const Settings& settings,
                                      std::string_view watch_later_folder);

// The user's "name=value;name=value" text; pieces without "=" are skipped.
std::vector<MpvOption> split_user_options(std::string_view text);

} // namespace ondrel
