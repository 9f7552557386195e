#include "ui/about_layout_win32.hpp"

#include "platform/dpi.hpp"
#include "platform/win32/wide.hpp"
#include "ui/about_texts.hpp"

#include <string>
#include <string_view>

namespace ondrel {
namespace {

namespace about_texts = texts::about;

constexpr COLORREF background = RGB(36, 36, 39);
constexpr COLORREF light = RGB(234, 234, 234);
constexpr COLORREF grey = RGB(154, 154, 158);
constexpr COLORREF accent = RGB(59, 142, 240);
constexpr COLORREF accent_hovered = RGB(90, 162, 245);
constexpr COLORREF separator = RGB(58, 58, 62);
constexpr COLORREF warning = RGB(240, 90, 90);
constexpr COLORREF panel = RGB(247, 247, 248);
constexpr COLORREF white = RGB(255, 255, 255);

constexpr UINT left_aligned = 0;
constexpr UINT centred = DT_CENTER;
constexpr UINT wrapped = DT_WORDBREAK;
constexpr UINT centred_wrapped = DT_CENTER | DT_WORDBREAK;
constexpr UINT single_line = DT_SINGLELINE;
constexpr UINT single_line_right = DT_SINGLELINE | DT_RIGHT;

struct FontSpec {
    const wchar_t* face;
    float size;
    int weight;
    bool underlined;
};

constexpr FontSpec font_specs[about_font_count] = {
    {L"Segoe UI", 14, 600, false},          // header
    {L"Segoe UI", 22, 600, false},          // name
    {L"Segoe UI", 13, 400, false},          // body
    {L"Segoe UI", 13, 700, false},          // strong
    {L"Segoe UI", 11.5f, 400, false},       // small
    {L"Segoe UI", 11.5f, 700, false},       // small strong
    {L"Segoe UI", 13, 400, true},           // link
    {L"Segoe MDL2 Assets", 15, 400, false}, // icon
    {L"Segoe MDL2 Assets", 10, 400, false}, // small icon
};

// One layout pass: the running sizes, and the painting that only happens when drawing.
struct Pass {
    AboutWindow& about;
    HDC dc;
    bool draw;

    std::int32_t size(float n) const { return about_size(n, about.scale); }

    HFONT font(AboutFont which) const { return about.fonts[static_cast<std::size_t>(which)].get(); }

    // Places one text block and returns its height: measured in the block's rectangle, and
    // when drawing, painted in that rectangle cut to the measured height.
    std::int32_t text(AboutFont which, COLORREF colour, UINT flags, RECT rect,
                      std::wstring_view content) const {
        SelectedObject selected(dc, font(which));
        RECT measured = rect;
        DrawTextW(dc, content.data(), static_cast<int>(content.size()), &measured,
                  flags | DT_CALCRECT | DT_NOPREFIX);
        const std::int32_t height = measured.bottom - measured.top;
        if (draw) {
            rect.bottom = rect.top + height;
            SetTextColor(dc, colour);
            DrawTextW(dc, content.data(), static_cast<int>(content.size()), &rect,
                      flags | DT_NOPREFIX);
        }
        return height;
    }

    std::int32_t text(AboutFont which, COLORREF colour, UINT flags, RECT rect,
                      std::string_view content) const {
        return text(which, colour, flags, rect, std::wstring_view(widen(content)));
    }

    // A rounded, outline-free fill that covers the rectangle exactly: a null pen leaves out
    // the right and bottom edges, so they are added back.
    void rounded_fill(RECT rect, float corner, COLORREF colour) const {
        if (!draw) {
            return;
        }
        UniqueBrush brush(CreateSolidBrush(colour));
        SelectedObject selected_brush(dc, brush.get());
        SelectedObject selected_pen(dc, GetStockObject(NULL_PEN));
        const int diameter = 2 * size(corner);
        RoundRect(dc, rect.left, rect.top, rect.right + 1, rect.bottom + 1, diameter, diameter);
    }

    void separator_line(std::int32_t left, std::int32_t right, std::int32_t y) const {
        if (!draw) {
            return;
        }
        UniqueBrush brush(CreateSolidBrush(separator));
        const RECT line{left, y, right, y + 1};
        FillRect(dc, &line, brush.get());
    }

    void picture(std::int32_t left, std::int32_t top, std::int32_t width,
                 std::int32_t height) const {
        if (!draw || !about.picture) {
            return;
        }
        BITMAP info{};
        GetObjectW(about.picture.get(), sizeof info, &info);
        CompatibleDc source(CreateCompatibleDC(dc));
        SelectedObject selected(source.get(), about.picture.get());
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, left, top, width, height, source.get(), 0, 0, info.bmWidth, info.bmHeight,
                   SRCCOPY);
    }

    void hot_spot(const RECT& rect, HotSpotKind kind, std::string_view address = {}) const {
        about.hot_spots.push_back(
            HotSpot{rect.left, rect.top, rect.right, rect.bottom, kind, std::string(address)});
    }

    bool hovered(HotSpotKind kind, std::string_view address = {}) const {
        return about.hover.kind == kind && about.hover.address == address;
    }

    // A link centred in a strip of the given width around the middle; a link hot spot.
    std::int32_t link(std::int32_t width, std::int32_t strip, std::int32_t y,
                      std::string_view label, std::string_view address) const {
        const RECT rect{width / 2 - size(strip / 2.0f), y, width / 2 + size(strip / 2.0f),
                        y + size(20)};
        const COLORREF colour = hovered(HotSpotKind::Link, address) ? accent_hovered : accent;
        const std::int32_t height = text(AboutFont::Link, colour, centred, rect, label);
        hot_spot(RECT{rect.left, rect.top, rect.right, rect.top + height}, HotSpotKind::Link,
                 address);
        return height;
    }
};

} // namespace

float about_scale(std::uint32_t dpi) {
    return static_cast<float>(at_least_96(dpi)) / 96.0f;
}

std::int32_t about_size(float n, float scale) {
    return scale_for_dpi(n * scale, 96);
}

std::array<UniqueFont, about_font_count> create_about_fonts(float scale) {
    std::array<UniqueFont, about_font_count> fonts;
    for (std::size_t i = 0; i < about_font_count; ++i) {
        const FontSpec& spec = font_specs[i];
        fonts[i].reset(CreateFontW(-about_size(spec.size, scale), 0, 0, 0, spec.weight, FALSE,
                                   spec.underlined ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                   DEFAULT_PITCH, spec.face));
    }
    return fonts;
}

std::int32_t layout_about(AboutWindow& about, HDC dc, std::int32_t width, bool draw) {
    const Pass pass{about, dc, draw};
    auto size = [&](float n) { return pass.size(n); };
    about.hot_spots.clear();
    const std::int32_t p = size(24);
    const std::int32_t r = width - p;
    const std::int32_t top = size(14);

    SetBkMode(dc, TRANSPARENT);

    // Header: information sign, title, close cross.
    pass.text(AboutFont::Icon, accent, left_aligned, RECT{p, top + size(2), 2 * p, p + top},
              about_texts::info_glyph);
    pass.text(AboutFont::Header, light, left_aligned,
              RECT{p + size(26), top, r - size(30), p + top}, tr(about_texts::title));
    const RECT close_area{r - p, top - size(2), r, top + size(22)};
    pass.hot_spot(close_area, HotSpotKind::Close);
    if (pass.hovered(HotSpotKind::Close)) {
        pass.rounded_fill(close_area, 4, separator);
    }
    pass.text(AboutFont::SmallIcon, grey, centred,
              RECT{r - p, top - size(2) + size(5), r, size(36)}, about_texts::close_glyph);

    std::int32_t y = top + size(28) + size(10);
    pass.separator_line(p, r, y);

    // Name, version, tagline, ownership and the site.
    y += size(9);
    y += pass.text(AboutFont::Name, light, centred_wrapped, RECT{p, y, r, y + size(40)},
                   about_texts::product_name);
    y += pass.text(AboutFont::Body, light, centred_wrapped, RECT{p, y, r, y + size(20)},
                   about_texts::version);
    y += size(4);
    y += pass.text(AboutFont::Body, light, centred_wrapped, RECT{p, y, r, y + size(20)},
                   tr(about_texts::tagline));
    y += size(10);
    y += pass.text(AboutFont::Strong, light, centred_wrapped, RECT{p, y, r, y + size(20)},
                   tr(about_texts::ownership));
    y += pass.text(AboutFont::Small, grey, centred_wrapped, RECT{p, y, r, y + size(18)},
                   tr(about_texts::rights_reserved));
    y += size(2);
    y += pass.link(width, 90, y, tr(about_texts::site_link), about_texts::site_address);
    y += size(10);
    pass.separator_line(p, r, y);

    // The warning.
    y += size(9);
    y += pass.text(AboutFont::Strong, warning, wrapped, RECT{p, y, r, y + size(20)},
                   tr(about_texts::warning_title));
    y += size(3);
    y += pass.text(AboutFont::Body, light, wrapped, RECT{p, y, r, y + size(200)},
                   tr(about_texts::warning_text));
    y += size(10);
    pass.separator_line(p, r, y);

    // Licences.
    y += size(9);
    y += pass.text(AboutFont::Strong, light, left_aligned, RECT{p, y, r, y + size(20)},
                   about_texts::licences_heading);
    y += size(4);
    y += pass.text(AboutFont::SmallStrong, grey, left_aligned, RECT{p, y, r, y + size(18)},
                   tr(about_texts::shipped_heading));
    for (const about_texts::LicenceRow& row : about_texts::licence_rows()) {
        const RECT rect{p, y, r, y + size(18)};
        const std::int32_t height = pass.text(AboutFont::Small, light, single_line, rect, row.left);
        pass.text(AboutFont::Small, grey, single_line_right, rect, row.right);
        y += height + size(1);
    }
    y += size(6);
    y += pass.text(AboutFont::Small, grey, wrapped, RECT{p, y, r, y + size(40)},
                   tr(about_texts::licence_footnote));
    y += size(10);
    pass.separator_line(p, r, y);

    // The companion product.
    y += size(9);
    const std::int32_t panel_bottom = y + size(20) + size(66);
    pass.rounded_fill(RECT{p, y, r, panel_bottom}, 8, panel);
    pass.picture(width / 2 - size(150), y + size(10), size(300), size(66));
    y = panel_bottom + size(6);
    y += pass.text(AboutFont::Body, light, centred_wrapped, RECT{p, y, r, y + size(80)},
                   tr(about_texts::companion_text));
    y += size(4);
    y += pass.link(width, 150, y, tr(about_texts::companion_link), about_texts::companion_address);
    y += size(12);

    // "Don't show at startup".
    const RECT box{p, y + size(2), p + size(16), y + size(18)};
    pass.rounded_fill(box, 4, about.hide_at_startup ? accent : separator);
    if (about.hide_at_startup) {
        pass.text(AboutFont::SmallIcon, light, centred,
                  RECT{p, y + size(4), p + size(16), y + size(18)}, about_texts::check_glyph);
    }
    std::int32_t label_height =
        pass.text(AboutFont::Body, light, left_aligned,
                  RECT{p + size(16) + size(8), y, r, y + size(20)}, tr(about_texts::dont_show));
    if (label_height < size(16)) {
        label_height = size(16);
    }
    pass.hot_spot(RECT{p, y, p + size(260), y + label_height + size(4)}, HotSpotKind::CheckBox);
    y += label_height + size(12);

    // The Close button.
    const RECT button{r - size(110), y, r, y + size(32)};
    pass.rounded_fill(button, 6, pass.hovered(HotSpotKind::Close) ? accent_hovered : accent);
    pass.text(AboutFont::Strong, white, centred, RECT{button.left, y + size(7), r, y + size(32)},
              tr(about_texts::close));
    pass.hot_spot(button, HotSpotKind::Close);

    return y + size(32) + size(18);
}

void paint_about(AboutWindow& about, HDC dc, const RECT& client) {
    const int width = std::max<int>(1, client.right - client.left);
    const int height = std::max<int>(1, client.bottom - client.top);
    const CompatibleDc memory(CreateCompatibleDC(dc));
    const UniqueBitmap canvas(CreateCompatibleBitmap(dc, width, height));
    SelectedObject selected(memory.get(), canvas.get());
    const UniqueBrush fill(CreateSolidBrush(background));
    const RECT all{0, 0, width, height};
    FillRect(memory.get(), &all, fill.get());
    layout_about(about, memory.get(), width, true);
    BitBlt(dc, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}

} // namespace ondrel
