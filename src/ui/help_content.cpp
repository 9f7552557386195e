#include "ui/help_content.hpp"

#include "i18n/formatters.hpp"
#include "i18n/texts_help.hpp"
#include "i18n/texts_shell.hpp"
#include "platform/dpi.hpp"

#include <iterator>

namespace ondrel {

std::vector<HelpRow> help_rows(bool multi_instance) {
    std::vector<HelpRow> rows;
    rows.reserve(std::size(texts::help_rows));
    for (const texts::HelpRowText& row : texts::help_rows) {
        rows.push_back(HelpRow{row.icon, std::string(tr(row.label)), std::string(tr(row.keys))});
    }
    HelpRow& state_row = rows[texts::help_multi_instance_row];
    state_row.keys =
        fill(tr(texts::help_currently),
             {state_row.keys, tr(multi_instance ? texts::help_state_on : texts::help_state_off)});
    return rows;
}

std::string help_title() {
    return fill(tr(texts::help_title), {texts::program_name, texts::program_version});
}

std::string help_footer_remembered() {
    return std::string(tr(texts::help_footer_remembered));
}

std::string help_footer_close() {
    return std::string(tr(texts::help_footer_close));
}

HelpRect help_overlay_rect(std::uint32_t dpi, const HelpRect& main_window) {
    const std::int32_t width = scale_for_dpi(700, dpi);
    const std::int32_t height =
        scale_for_dpi(40, dpi) + scale_for_dpi(110, dpi) +
        scale_for_dpi(30, dpi) * static_cast<std::int32_t>(std::size(texts::help_rows));
    // 64-bit arithmetic: a window rectangle near the edges of the 32-bit range must not wrap.
    const auto centre = [](std::int32_t start, std::int32_t end, std::int32_t size) {
        return static_cast<std::int32_t>(start + (std::int64_t{end} - start - size) / 2);
    };
    const std::int32_t left = centre(main_window.left, main_window.right, width);
    const std::int32_t top = centre(main_window.top, main_window.bottom, height);
    return HelpRect{left, top, left + width, top + height};
}

HelpLayout help_layout(std::uint32_t dpi, std::int32_t client_width, std::size_t row_count) {
    const auto s = [dpi](float n) { return scale_for_dpi(n, dpi); };
    const std::int32_t margin = s(22);
    HelpLayout layout;
    layout.row_height = s(30);
    layout.text_right = client_width - margin;
    layout.title = HelpRect{margin, s(14), layout.text_right, s(48)};
    layout.first_row_top = s(56);
    layout.icon_left = margin;
    layout.label_left = margin + s(36);
    layout.keys_left = margin + s(250);
    std::int32_t y =
        layout.first_row_top + layout.row_height * static_cast<std::int32_t>(row_count) + s(12);
    layout.separator = HelpRect{margin, y, layout.text_right, y + 1};
    y += s(10);
    layout.first_footer = HelpRect{margin, y, layout.text_right, y + layout.row_height};
    y += layout.row_height;
    layout.second_footer = HelpRect{margin, y, layout.text_right, y + layout.row_height};
    return layout;
}

} // namespace ondrel
