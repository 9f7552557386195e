#include "video_compress/progress_text.hpp"

#include "i18n/formatters.hpp"
#include "i18n/texts_compression.hpp"
#include "platform/numbers.hpp"

#include <cmath>

namespace ondrel {

std::string progress_line(float percent, double speed, double fps, std::string_view bitrate) {
    return fill(tr(texts::progress_line),
                {format_fixed(percent, 1), format_fixed(speed, 1), format_fixed(fps, 0),
                 bitrate.empty() ? std::string_view("-") : bitrate});
}

std::optional<double> seconds_left(float percent, double elapsed_seconds) {
    if (!(percent > 0.0f) || !std::isfinite(elapsed_seconds) || elapsed_seconds < 0.0) {
        return std::nullopt;
    }
    if (percent >= 100.0f) {
        return 0.0;
    }
    return elapsed_seconds * (100.0 - percent) / percent;
}

} // namespace ondrel
