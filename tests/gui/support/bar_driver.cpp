#include "gui/support/bar_driver.hpp"

#include "gui/support/desktop.hpp"
#include "gui/support/png_writer.hpp"
#include "ui/bar_paint_win32.hpp"

namespace ondrel::testing {

BarGeometry bar_geometry(const AppState& state) {
    RECT client{};
    GetClientRect(state.main_window, &client);
    BarGeometry geometry;
    geometry.width = client.right;
    geometry.height = bar_strip_height(state.dpi);
    geometry.top = client.bottom - geometry.height;
    geometry.layout =
        bar_layout(state.dpi, geometry.width, geometry.height, compression_running(state));
    return geometry;
}

POINT item_centre(const AppState& state, std::uint8_t item) {
    const BarGeometry geometry = bar_geometry(state);
    BarRect rect;
    for (const BarButton& button : geometry.layout.buttons) {
        if (button.item == item) {
            rect = button.rect;
        }
    }
    if (item == item_seek) {
        rect = geometry.layout.seek;
    } else if (item == item_volume) {
        rect = geometry.layout.volume;
    } else if (item == item_compression) {
        rect = geometry.layout.time;
    }
    return POINT{(rect.left + rect.right) / 2, geometry.top + (rect.top + rect.bottom) / 2};
}

POINT slider_point(const AppState& state, std::uint8_t slider, double fraction) {
    const BarGeometry geometry = bar_geometry(state);
    const BarRect& rect = slider == item_seek ? geometry.layout.seek : geometry.layout.volume;
    return POINT{rect.left + static_cast<LONG>(fraction * rect.width()),
                 geometry.top + geometry.height / 2};
}

void send_mouse(HWND main, UINT message, POINT point) {
    const WPARAM keys = message == WM_LBUTTONUP ? 0 : MK_LBUTTON;
    SendMessageW(main, message, message == WM_MOUSEMOVE ? 0 : keys, MAKELPARAM(point.x, point.y));
}

void click(HWND main, POINT point) {
    send_mouse(main, WM_LBUTTONDOWN, point);
    send_mouse(main, WM_LBUTTONUP, point);
}

Rgb BarPicture::at(int x, int y) const {
    const std::uint32_t pixel = pixels.at(static_cast<std::size_t>(y) * width + x);
    return Rgb{static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
               static_cast<std::uint8_t>(pixel)};
}

bool BarPicture::save(const std::filesystem::path& file) const {
    std::filesystem::create_directories(file.parent_path());
    return write_png(file, width, height, pixels);
}

BarPicture paint_bar_picture(const AppState& state) {
    const BarGeometry geometry = bar_geometry(state);
    BarPicture picture;
    picture.width = geometry.width;
    picture.height = geometry.height;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    CompatibleDc memory(CreateCompatibleDC(nullptr));
    UniqueBitmap bitmap(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) {
        return picture;
    }
    {
        SelectedObject selected(memory.get(), bitmap.get());
        paint_bar(state, memory.get(), picture.width, picture.height);
        GdiFlush();
    }
    const auto* source = static_cast<const std::uint32_t*>(bits);
    picture.pixels.assign(source, source + static_cast<std::size_t>(picture.width) *
                                               static_cast<std::size_t>(picture.height));
    for (std::uint32_t& pixel : picture.pixels) {
        pixel &= 0x00FFFFFF;
    }
    return picture;
}

std::vector<std::vector<std::string>> async_commands(const char* name) {
    std::vector<std::vector<std::string>> found;
    for (const auto& line : recorded("mpv_command_async")) {
        auto args = line.at("args").get<std::vector<std::string>>();
        if (!args.empty() && args[0] == name) {
            found.push_back(std::move(args));
        }
    }
    return found;
}

std::vector<nlohmann::json> property_writes(const std::string& name) {
    std::vector<nlohmann::json> found;
    for (const auto& line : recorded("mpv_set_property_async")) {
        if (line.value("name", "") == name) {
            found.push_back(line.at("value"));
        }
    }
    return found;
}

bool wait_for_file(GuiSession& session) {
    return pump_until([&] { return session.state().session.playback.file_loaded; });
}

} // namespace ondrel::testing
