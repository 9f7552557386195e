#include "ui/bar_paint_win32.hpp"

#include "platform/dpi.hpp"
#include "platform/win32/wide.hpp"
#include "ui/app_state_win32.hpp"
#include "ui/bar_layout.hpp"
#include "ui/bar_look.hpp"

#include <algorithm>

namespace ondrel {
namespace {

COLORREF colour(Rgb rgb) {
    return RGB(rgb.red, rgb.green, rgb.blue);
}

// Shapes are filled with the DC's own brush and no outline, so painting makes no GDI object.
void fill_rect(HDC dc, const RECT& rect, Rgb fill) {
    SetDCBrushColor(dc, colour(fill));
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// With no outline GDI leaves out the right and bottom edges: `rect` is exclusive there.
void fill_round_rect(HDC dc, const BarRect& rect, int corner, Rgb fill) {
    SetDCBrushColor(dc, colour(fill));
    RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, corner, corner);
}

void fill_ellipse(HDC dc, const BarRect& rect, Rgb fill) {
    SetDCBrushColor(dc, colour(fill));
    Ellipse(dc, rect.left, rect.top, rect.right, rect.bottom);
}

void draw_text(HDC dc, std::wstring_view text, RECT rect, Rgb foreground, UINT format) {
    SetTextColor(dc, colour(foreground));
    DrawTextW(dc, text.data(), static_cast<int>(text.size()), &rect, format);
}

RECT to_rect(const BarRect& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void draw_slider(HDC dc, const BarRect& slider, double fraction, bool active, Rgb fill,
                 std::uint32_t dpi) {
    const SliderShape shape = slider_shape(slider, fraction, active, dpi);
    fill_round_rect(dc, shape.track, shape.corner, slider_track);
    if (shape.fill) {
        fill_round_rect(dc, *shape.fill, shape.corner, fill);
    }
    if (shape.knob) {
        fill_ellipse(dc, *shape.knob, bar_foreground);
    }
}

void draw_buttons(const AppState& state, HDC dc, const BarLayout& layout) {
    const std::uint32_t dpi = state.dpi;
    const int side = scale_for_dpi(2, dpi);
    const int vertical = scale_for_dpi(6, dpi);
    const int corner = scale_for_dpi(6, dpi);
    const BarLook look =
        bar_look(state.session.playback, state.settings.always_on_top, state.full_screen);
    SelectedObject font(dc, state.fonts.icon.get());
    for (const BarButton& button : layout.buttons) {
        const BarRect inset{button.rect.left + side, button.rect.top + vertical,
                            button.rect.right - side, button.rect.bottom - vertical};
        if (button.item == state.hovered_item) {
            // The inset rectangle's right and bottom edges are part of the highlight.
            fill_round_rect(dc, {inset.left, inset.top, inset.right + 1, inset.bottom + 1}, corner,
                            bar_highlight);
        }
        const wchar_t glyph = static_cast<wchar_t>(bar_glyph(button.item, look));
        draw_text(dc, std::wstring_view(&glyph, 1), to_rect(inset),
                  bar_glyph_colour(button.item, look), DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
}

void draw_texts(const AppState& state, HDC dc, const BarLayout& layout, bool compressing) {
    if (layout.time.empty()) {
        return;
    }
    const std::uint32_t dpi = state.dpi;
    SelectedObject font(dc, state.fonts.text.get());
    const std::optional<double> preview =
        state.drag == DragKind::SeekBar ? std::optional<double>(state.seek_preview) : std::nullopt;
    draw_text(dc, widen(bar_time_text(state.session.playback, preview)), to_rect(layout.time),
              bar_foreground, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
    if (!compressing) {
        return;
    }
    const int margin = scale_for_dpi(8, dpi);
    if (state.hovered_item == item_compression) {
        const BarRect highlight{layout.time.right - scale_for_dpi(142, dpi),
                                layout.time.top + margin, layout.time.right,
                                layout.time.bottom - margin};
        fill_round_rect(dc, highlight, scale_for_dpi(6, dpi), bar_highlight);
    }
    RECT text = to_rect(layout.time);
    text.right -= margin;
    draw_text(dc, widen(compression_progress_text(compression_percent(state))), text, bar_accent,
              DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
}

double seek_fraction(const AppState& state) {
    if (state.drag == DragKind::SeekBar) {
        return state.seek_preview;
    }
    const PlaybackState& playback = state.session.playback;
    if (!(playback.duration > 0)) {
        return 0;
    }
    return std::clamp(playback.time_position / playback.duration, 0.0, 1.0);
}

void on_paint(const AppState& state, HWND window) {
    PAINTSTRUCT paint;
    const HDC window_dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    const int width = std::max<int>(1, client.right - client.left);
    const int height = std::max<int>(1, client.bottom - client.top);
    {
        CompatibleDc memory(CreateCompatibleDC(window_dc));
        UniqueBitmap bitmap(CreateCompatibleBitmap(window_dc, width, height));
        if (memory && bitmap) {
            SelectedObject target(memory.get(), bitmap.get());
            // Nothing may unwind through the system's frames; a failed text (out of memory)
            // leaves that part of the bar unpainted until the next repaint.
            try {
                paint_bar(state, memory.get(), width, height);
            } catch (...) {
            }
            BitBlt(window_dc, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
        }
    }
    EndPaint(window, &paint);
}

// The seek bar's width decides which position changes it can show (without the compression's
// progress text, the wider of its two widths).
void on_size(AppState& state, LPARAM l) {
    const BarLayout layout = bar_layout(state.dpi, LOWORD(l), HIWORD(l), false);
    state.session.playback.progress_steps = std::max(1, layout.seek.width());
}

} // namespace

void paint_bar(const AppState& state, HDC dc, int width, int height) {
    const std::uint32_t dpi = state.dpi;
    fill_rect(dc, RECT{0, 0, width, height}, bar_background);
    fill_rect(dc, RECT{0, 0, width, std::max(1, scale_for_dpi(1, dpi))}, bar_separator);

    SetBkMode(dc, TRANSPARENT);
    SelectedObject pen(dc, GetStockObject(NULL_PEN));
    SelectedObject brush(dc, GetStockObject(DC_BRUSH));
    const bool compressing = compression_running(state);
    const BarLayout layout = bar_layout(dpi, width, height, compressing);
    draw_buttons(state, dc, layout);
    draw_texts(state, dc, layout, compressing);

    draw_slider(dc, layout.seek, seek_fraction(state),
                state.hovered_item == item_seek || state.drag == DragKind::SeekBar, bar_accent,
                dpi);
    const PlaybackState& playback = state.session.playback;
    draw_slider(dc, layout.volume, playback.volume / 100.0,
                state.hovered_item == item_volume || state.drag == DragKind::VolumeSlider,
                playback.muted ? bar_disabled : bar_accent, dpi);
}

LRESULT CALLBACK bar_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_SIZE:
        if (AppState* state = app()) {
            on_size(*state, l);
        }
        return 0;
    case WM_PAINT:
        if (const AppState* state = app()) {
            on_paint(*state, window);
            return 0;
        }
        return DefWindowProcW(window, message, w, l);
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel
    default:
        return DefWindowProcW(window, message, w, l);
    }
}

} // namespace ondrel
