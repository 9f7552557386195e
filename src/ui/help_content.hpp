// What the help overlay shows and where, without drawing anything: its rows in the current
// language, its texts, and its geometry for a DPI.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ondrel {

struct HelpRow {
    char16_t icon = 0; // 0: the icon column stays empty
    std::string label;
    std::string keys;
    friend bool operator==(const HelpRow&, const HelpRow&) = default;
};

// The eighteen rows in order; the multi-instance row says whether it is on.
std::vector<HelpRow> help_rows(bool multi_instance);

std::string help_title();
std::string help_footer_remembered();
std::string help_footer_close();

struct HelpRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const HelpRect&, const HelpRect&) = default;
};

// The overlay's window rectangle for the main window's rectangle, both in screen pixels:
// its size scaled for the DPI, centred on the main window.
HelpRect help_overlay_rect(std::uint32_t dpi, const HelpRect& main_window);

// Where the painting puts each piece, in client pixels, for a client width.
struct HelpLayout {
    HelpRect title;
    std::int32_t first_row_top = 0;
    std::int32_t row_height = 0;
    std::int32_t icon_left = 0;
    std::int32_t label_left = 0;
    std::int32_t keys_left = 0;
    std::int32_t text_right = 0; // the right end of keys texts, title and footers
    HelpRect separator;
    HelpRect first_footer;
    HelpRect second_footer;
};

HelpLayout help_layout(std::uint32_t dpi, std::int32_t client_width, std::size_t row_count);

} // namespace ondrel
