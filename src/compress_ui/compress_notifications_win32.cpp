// What reports on a compression outside its window.
#include "compress_ui/background_texts.hpp"
#include "compress_ui/compress_window_win32.hpp"
#include "i18n/texts_messages.hpp"
#include "ui/app_state_win32.hpp"

namespace ondrel {

void announce_finished_job(AppState& state, const CompressWindow& window) {
    // Once the player is closing there is no video to write on; the completion dialog
    // reports the outcome then. A hidden compression window stays hidden either way.
    if (!state.session.player || !window.last_result) {
        return;
    }
    const JobResult& result = *window.last_result;
    show_text(state.session, finished_job_message(result.success, result.text, window.output_path),
              texts::compression_message_ms);
}

} // namespace ondrel
