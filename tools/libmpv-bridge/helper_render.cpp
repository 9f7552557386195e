#include "helper_session.hpp"

#include <cstdlib>
#include <memory>
#include <utility>

namespace bridge {
namespace {

// libmpv's software renderer is fastest with rows and a start aligned to 64 bytes.
struct FreeAligned {
    void operator()(std::uint8_t* pixels) const { std::free(pixels); }
};
using Pixels = std::unique_ptr<std::uint8_t, FreeAligned>;

struct Picture {
    Pixels pixels;
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    std::size_t capacity = 0;
};

void fit(Picture& picture, int width, int height) {
    const std::size_t stride = (static_cast<std::size_t>(width) * 4 + 63) / 64 * 64;
    const std::size_t needed = stride * static_cast<std::size_t>(height);
    if (needed > picture.capacity) {
        picture.pixels.reset(static_cast<std::uint8_t*>(std::aligned_alloc(64, needed)));
        picture.capacity = picture.pixels ? needed : 0;
    }
    picture.width = width;
    picture.height = height;
    picture.stride = stride;
}

bool render(mpv_render_context* context, Picture& picture) {
    if (picture.capacity == 0) {
        return false;
    }
    int size[2] = {picture.width, picture.height};
    char format[] = "bgr0";
    mpv_render_param parameters[] = {
        {MPV_RENDER_PARAM_SW_SIZE, size},
        {MPV_RENDER_PARAM_SW_FORMAT, format},
        {MPV_RENDER_PARAM_SW_STRIDE, &picture.stride},
        {MPV_RENDER_PARAM_SW_POINTER, picture.pixels.get()},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    return mpv_render_context_render(context, parameters) >= 0;
}

bool send_picture(Channel& channel, const Picture& picture) {
    Writer message(Kind::frame);
    message.u32(static_cast<std::uint32_t>(picture.width));
    message.u32(static_cast<std::uint32_t>(picture.height));
    const std::size_t row = static_cast<std::size_t>(picture.width) * 4;
    for (int y = 0; y < picture.height; ++y) {
        message.bytes(picture.pixels.get() + picture.stride * static_cast<std::size_t>(y), row);
    }
    return channel.send(message);
}

void on_update(void* context) {
    auto& renderer = *static_cast<Renderer*>(context);
    const std::lock_guard lock(renderer.lock);
    renderer.update_pending = true;
    renderer.wake.notify_one();
}

// Every frame libmpv offers is rendered, so that its timing goes on; only the newest is sent,
// and only once the DLL has drawn the one before, so a slow screen drops frames instead of
// queueing them.
void render_frames(HelperSession& session) {
    Renderer& renderer = session.renderer;
    Picture picture;
    bool unsent = false;
    for (;;) {
        bool update = false;
        bool resized = false;
        int width = 0;
        int height = 0;
        {
            std::unique_lock lock(renderer.lock);
            renderer.wake.wait(lock, [&] {
                return renderer.stop || renderer.update_pending || renderer.size_changed ||
                       (unsent && renderer.may_send);
            });
            if (renderer.stop) {
                return;
            }
            update = std::exchange(renderer.update_pending, false);
            resized = std::exchange(renderer.size_changed, false);
            width = renderer.width;
            height = renderer.height;
        }
        bool draw = resized;
        if (update) {
            const std::uint64_t flags = mpv_render_context_update(renderer.context);
            draw = draw || (flags & MPV_RENDER_UPDATE_FRAME) != 0;
        }
        if (draw && width > 0 && height > 0) {
            fit(picture, width, height);
            unsent = render(renderer.context, picture) || unsent;
        }
        bool send = false;
        {
            const std::lock_guard lock(renderer.lock);
            send = unsent && renderer.may_send;
            if (send) {
                renderer.may_send = false;
            }
        }
        if (send) {
            unsent = false;
            if (!send_picture(session.channel, picture)) {
                return;
            }
        }
    }
}

} // namespace

bool start_rendering(HelperSession& session) {
    char api_type[] = MPV_RENDER_API_TYPE_SW;
    mpv_render_param parameters[] = {
        {MPV_RENDER_PARAM_API_TYPE, api_type},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&session.renderer.context, session.mpv, parameters) < 0) {
        session.renderer.context = nullptr;
        return false;
    }
    mpv_render_context_set_update_callback(session.renderer.context, on_update, &session.renderer);
    session.renderer.thread = std::thread(render_frames, std::ref(session));
    return true;
}

void stop_rendering(HelperSession& session) {
    Renderer& renderer = session.renderer;
    if (renderer.context == nullptr) {
        return;
    }
    {
        const std::lock_guard lock(renderer.lock);
        renderer.stop = true;
        renderer.wake.notify_one();
    }
    renderer.thread.join();
    mpv_render_context_set_update_callback(renderer.context, nullptr, nullptr);
    mpv_render_context_free(renderer.context);
    renderer.context = nullptr;
}

void resize_output(HelperSession& session, int width, int height) {
    Renderer& renderer = session.renderer;
    // A window too large for one frame gets a smaller picture rather than a frame the DLL
    // would refuse, which would end the connection.
    const PictureSize size = sendable_picture_size(width, height);
    const std::lock_guard lock(renderer.lock);
    if (size.width == renderer.width && size.height == renderer.height) {
        return;
    }
    renderer.width = size.width;
    renderer.height = size.height;
    renderer.size_changed = true;
    renderer.wake.notify_one();
}

void frame_shown(HelperSession& session) {
    Renderer& renderer = session.renderer;
    const std::lock_guard lock(renderer.lock);
    renderer.may_send = true;
    renderer.wake.notify_one();
}

} // namespace bridge
