#include "ui/fonts_win32.hpp"

#include "platform/dpi.hpp"
#include "ui/app_state_win32.hpp"

namespace ondrel {
namespace {

UniqueFont make_font(const wchar_t* face, float size, int weight, std::uint32_t dpi) {
    return UniqueFont(CreateFontW(-scale_for_dpi(size, dpi), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  CLEARTYPE_QUALITY, DEFAULT_PITCH, face));
}

constexpr const wchar_t* icon_face = L"Segoe MDL2 Assets";
constexpr const wchar_t* text_face = L"Segoe UI";

} // namespace

InterfaceFonts make_interface_fonts(std::uint32_t dpi) {
    InterfaceFonts fonts;
    fonts.icon = make_font(icon_face, 16, FW_NORMAL, dpi);
    fonts.text = make_font(text_face, 13, FW_NORMAL, dpi);
    fonts.title = make_font(text_face, 20, FW_SEMIBOLD, dpi);
    fonts.body = make_font(text_face, 14, FW_NORMAL, dpi);
    fonts.large_icon = make_font(icon_face, 18, FW_NORMAL, dpi);
    return fonts;
}

void create_fonts(AppState& state) {
    state.fonts = InterfaceFonts{};
    state.fonts = make_interface_fonts(state.dpi);
}

} // namespace ondrel
