// A compression outside its window: the player's progress and end-of-job message, closing the
// player mid-job (the progress dialog, its confirmation, the completion dialog), and the end
// of the Windows session.
#include "background_job.hpp"
#include "compress_ui/background_texts.hpp"
#include "compress_ui/background_win32.hpp"
#include "compress_ui/compress_window_texts.hpp"
#include "compress_window_session.hpp"
#include "gui/support/bar_driver.hpp"
#include "gui/support/desktop.hpp"
#include "gui/support/menu_driving.hpp"
#include "i18n/formatters.hpp"
#include "i18n/texts_background.hpp"
#include "platform/files.hpp"
#include "platform/win32/wide.hpp"
#include "support/language_guard.hpp"
#include "task_dialog_driver.hpp"
#include "ui/menu_win32.hpp"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <thread>

namespace ondrel::testing {
namespace {

using namespace std::chrono_literals;

// The player with a compression of video_aac.mp4 waiting at the gate, its first progress
// (25 %) already shown.
struct GatedCompression {
    CompressSession session;
    Gate gate;
    std::filesystem::path output;
    HWND window = nullptr;

    explicit GatedCompression(Language language = Language::English) {
        session.use_tools(Tool::Fake, Tool::Real);
        store_language(language);
        if (!session.start("video_aac.mp4")) {
            ADD_FAILURE() << "no analysis";
            return;
        }
        const CompressWindow& record = session.window();
        if (!session.wait_until([&] { return record.progress.percent > 0; })) {
            ADD_FAILURE() << "no progress";
        }
        output = record.output_path;
        window = record.window;
    }

    // The way out when a script runs out of time: the job goes, so the dialog closes itself.
    void rescue() const {
        if (AppState* state = app(); state != nullptr && state->compression) {
            abort_compression(*state->compression);
        }
        gate.release("fail");
    }

    // Runs `open` (closing the player, unless given) while the steps drive the dialogs: every
    // step done in time and no task dialog left over.
    ::testing::AssertionResult close_with(std::vector<ModalStep> steps,
                                          std::function<void()> open = nullptr) {
        if (!open) {
            open = [&] { session.player.close(); };
        }
        const ScriptResult result = run_modal_script(std::move(steps), open, [&] { rescue(); });
        if (!result.finished || !result.strays.empty()) {
            return ::testing::AssertionFailure()
                   << "finished " << result.finished << ", strays " << result.strays.size();
        }
        return ::testing::AssertionSuccess();
    }
};

bool same_bytes(const std::filesystem::path& a, const std::filesystem::path& b) {
    const auto first = read_file_bytes(a);
    return first && first == read_file_bytes(b);
}

TEST(BackgroundTexts, MissingFilesAndFoldersLeaveTheirPlaceEmpty) {
    TemporaryFolder folder("texts");
    const auto output = folder.path / "clip_h264_720p.mp4";
    std::ofstream(output, std::ios::binary) << std::string(1500, 'x');
    const auto gone = folder.path / "gone.mkv";
    const struct {
        Language language;
        std::function<std::string()> text;
        std::string expected;
    } rows[] = {
        {Language::English, [&] { return finished_job_message(true, "Done in 3 s.", output); },
         "Compression finished: clip_h264_720p.mp4 (1.5 KB)"},
        {Language::French, [&] { return finished_job_message(true, "Terminé en 3 s.", gone); },
         "Compression terminée : gone.mkv ()"},
        {Language::French, [&] { return finished_job_message(false, "Annulé.", output); },
         "Compression : Annulé."},
        {Language::English,
         [&] { return completion_content(true, "Done in 3 s.", gone, "C:\\v\\a.mp4"); },
         "gone.mkv ()\nDone in 3 s.\n\nFolder: " + path_to_utf8(folder.path)},
        {Language::French, [&] { return completion_content(true, "Terminé.", "b.mp4", "a.mp4"); },
         "b.mp4 ()\nTerminé.\n\nDossier : "},
        {Language::English,
         [&] { return completion_content(false, "Failed (code 1) after 2 s.", gone, "a.mp4"); },
         "a.mp4\nFailed (code 1) after 2 s."},
        // The completion dialog's instructions and button.
        {Language::English, [] { return std::string(tr(texts::completion_finished)); },
         "Compression finished"},
        {Language::French, [] { return std::string(tr(texts::completion_finished)); },
         "Compression terminée"},
        {Language::English, [] { return std::string(tr(texts::completion_failed)); },
         "The compression failed"},
        {Language::French, [] { return std::string(tr(texts::completion_failed)); },
         "La compression n'a pas abouti"},
        {Language::English, [] { return std::string(tr(texts::completion_open_folder)); },
         "Open folder"},
        {Language::French, [] { return std::string(tr(texts::completion_open_folder)); },
         "Ouvrir le dossier"},
    };
    const LanguageGuard guard;
    for (const auto& row : rows) {
        store_language(row.language);
        EXPECT_EQ(row.text(), row.expected);
    }
}

TEST(BackgroundTexts, ProgressBarCountsTenthsWithinItsRange) {
    const std::pair<float, std::int32_t> rows[] = {
        {25.0f, 250},
        {0.05f, 1},
        {99.96f, 1000},
        {150.0f, 1000},
        {-3.0f, 0},
        {std::nanf(""), 0},
        {std::numeric_limits<float>::infinity(), 1000},
    };
    for (const auto& [percent, position] : rows) {
        EXPECT_EQ(progress_bar_position(percent), position) << percent;
    }
}

TEST(BackgroundCompression, ClosingMidJobFollowsTheJobToItsEndAndOffersTheFolder) {
    GatedCompression job;
    const std::wstring output_name = job.output.filename().wstring();
    HWND dialog = nullptr;
    DialogView first, progressing, question, completion;
    bool main_hidden = false, compress_hidden = false, stayed = false, kept_after_no = false;
    std::vector<ModalStep> steps{
        [&] {
            dialog = find_task_dialog();
            if (dialog == nullptr) {
                return false;
            }
            first = read_dialog(dialog);
            main_hidden = !IsWindowVisible(job.session.player.main());
            compress_hidden = !IsWindowVisible(job.window);
            return true;
        },
        [&] {
            progressing = read_dialog(dialog);
            return progressing.texts.size() == 3 && progressing.texts[1].starts_with(output_name);
        },
        [&] {
            return save_window_screenshot(dialog, screenshot_folder() / "background-dialog.png");
        },
        [&] {
            // The close button, Alt+F4 and Escape while the job runs.
            PostMessageW(dialog, WM_CLOSE, 0, 0);
            PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            return true;
        },
        wait_for(600ms),
        [&] {
            stayed = IsWindowVisible(dialog) != FALSE;
            PostMessageW(dialog, TDM_CLICK_BUTTON, background_cancel_button_id, 0);
            return true;
        },
        answer_owned_box(dialog, question, IDNO),
        wait_for(400ms),
        [&] {
            kept_after_no = IsWindowVisible(dialog) && compression_running(*app()) &&
                            std::filesystem::exists(job.output);
            job.gate.release("ok");
            return true;
        },
        [&] {
            const HWND next = find_task_dialog();
            if (next == nullptr || IsWindow(dialog)) {
                return false;
            }
            completion = read_dialog(next);
            screenshot_now(next, "completion-dialog");
            PostMessageW(next, TDM_CLICK_BUTTON, completion_open_folder_button_id, 0);
            return true;
        },
        [&] { return find_task_dialog() == nullptr; },
    };
    ASSERT_TRUE(job.close_with(std::move(steps)));

    EXPECT_TRUE(main_hidden);
    EXPECT_TRUE(compress_hidden);
    EXPECT_EQ(first.title, L"Ondrel");
    EXPECT_EQ(first.texts,
              (std::vector<std::wstring>{
                  L"Video compression in progress", L"video_aac.mp4\nPreparing...",
                  L"The player is closed, the compression continues in the background. A new "
                  L"window will appear when it is done."}));
    ASSERT_EQ(first.buttons.size(), 1u);
    EXPECT_EQ(first.buttons[0].id, background_cancel_button_id);
    EXPECT_EQ(first.buttons[0].text, L"Cancel compression");
    EXPECT_EQ(first.icon, LoadIconW(nullptr, IDI_INFORMATION));
    EXPECT_TRUE(first.has_progress_bar);
    EXPECT_EQ(first.progress_high, 1000);

    // The progress line of the fake's report: 0.5 s of a 2 s clip, sent before its speed.
    EXPECT_EQ(progressing.texts[1], output_name + L"\n25.0%   -   0.0x - 25 fps - 1234.5kbits/s");
    EXPECT_EQ(progressing.progress_position, 250);

    EXPECT_TRUE(stayed);
    EXPECT_EQ(question.title, L"Ondrel");
    EXPECT_EQ(question.texts,
              std::vector<std::wstring>{
                  L"Cancel the running compression?\n\nThe partial file will be deleted."});
    EXPECT_EQ(question.default_button, IDNO);
    EXPECT_TRUE(kept_after_no);

    EXPECT_EQ(completion.title, L"Ondrel");
    ASSERT_EQ(completion.texts.size(), 2u);
    EXPECT_EQ(completion.texts[0], L"Compression finished");
    const std::wstring size = widen(format_size(std::filesystem::file_size(job.output)));
    const std::wstring content = completion.texts[1];
    const std::wstring folder_line = L"\n\nFolder: " + job.output.parent_path().wstring();
    EXPECT_TRUE(content.starts_with(output_name + L" (" + size + L")\nDone in "))
        << narrow(content);
    EXPECT_TRUE(content.ends_with(folder_line)) << narrow(content);
    EXPECT_EQ(completion.icon, LoadIconW(nullptr, IDI_INFORMATION));
    EXPECT_EQ(completion.default_button, completion_open_folder_button_id);
    ASSERT_EQ(completion.buttons.size(), 2u);
    EXPECT_EQ(completion.buttons[0].text, L"Open folder");
    EXPECT_EQ(completion.buttons[1].id, IDCLOSE);

    ASSERT_FALSE(shell_calls().executed.empty());
    EXPECT_EQ(shell_calls().executed.back(),
              L"open|explorer.exe|/select,\"" + job.output.wstring() + L"\"|1");
    EXPECT_TRUE(same_bytes(job.output, clip("video_aac.mp4")));
    EXPECT_TRUE(job.gate.ffmpeg_ended());
    EXPECT_FALSE(IsWindow(job.window));
}

TEST(BackgroundCompression, ConfirmingTheCancelDeletesThePartialFileAndReportsNothing) {
    GatedCompression job(Language::French);
    HWND dialog = nullptr;
    DialogView first, question;
    std::vector<ModalStep> steps{
        press_on_task_dialog(dialog, first, background_cancel_button_id),
        answer_owned_box(dialog, question, IDYES), [&] { return !IsWindow(dialog); },
        wait_for(500ms), // a completion dialog would show up now
    };
    ASSERT_TRUE(job.close_with(std::move(steps)));
    EXPECT_EQ(first.texts, (std::vector<std::wstring>{
                               L"Compression vidéo en cours", L"video_aac.mp4\nPréparation...",
                               L"Le lecteur est fermé, la compression continue en tâche "
                               L"de fond. Une nouvelle fenêtre s'affichera à la fin."}));
    ASSERT_EQ(first.buttons.size(), 1u);
    EXPECT_EQ(first.buttons[0].text, L"Annuler la compression");
    EXPECT_EQ(question.texts,
              std::vector<std::wstring>{
                  L"Annuler la compression en cours ?\n\nLe fichier partiel sera supprimé."});
    EXPECT_FALSE(std::filesystem::exists(job.output));
    EXPECT_EQ(list_folder(job.session.outputs.path), "");
    EXPECT_TRUE(job.gate.ffmpeg_ended());
    EXPECT_TRUE(shell_calls().executed.empty());
}

// Abandoning a job whose ffmpeg has ended while ffprobe checks the result cancels nothing:
// the finished file stays and its outcome is reported like any other.
TEST(BackgroundCompression, AbandoningAJobThatChecksItsResultKeepsTheFile) {
    CompressSession session;
    session.use_tools(Tool::Fake, Tool::Real);
    TemporaryFolder check("check");
    ScopedEnvironment finishing("ONDREL_FAKE_FFMPEG", "ok");
    ScopedEnvironment slow("ONDREL_FAKE_FFPROBE", "slow-check:" + path_to_utf8(check.path));
    CompressWindow& window =
        session.open(clip("video_aac.mp4"), "dir=" + path_to_utf8(session.outputs.path));
    ASSERT_TRUE(session.wait_for_analysis());
    // The real ffprobe analysed the clip; the fake one checks the fake result, slowly.
    window.ffprobe_path =
        clip("video_aac.mp4").parent_path().parent_path() / executable_file_name("fake_ffprobe");
    session.click(Control::MainButton);
    ASSERT_TRUE(
        session.wait_until([&] { return std::filesystem::exists(check.path / "checking"); }));
    std::thread release([&] {
        std::this_thread::sleep_for(500ms);
        write_bytes(check.path / "release", "");
    });
    const Abandoning abandoning = abort_compression(window);
    release.join();
    EXPECT_FALSE(abandoning.abandoned);
    EXPECT_EQ(abandoning.problem, "");
    EXPECT_FALSE(window.job);
    ASSERT_TRUE(window.last_result);
    EXPECT_TRUE(window.last_result->success) << window.last_result->text;
    EXPECT_EQ(read_file_bytes(window.output_path), std::optional<std::string>("FAKEVIDEO 2.5\n"));
    EXPECT_EQ(list_folder(session.outputs.path), path_to_utf8(window.output_path.filename()));
}

TEST(BackgroundCompression, AJobEndingDuringTheQuestionIsStillReported) {
    GatedCompression job;
    HWND dialog = nullptr;
    HWND box = nullptr;
    HWND next = nullptr;
    bool waited_under_the_question = false;
    DialogView first, completion;
    std::vector<ModalStep> steps{
        press_on_task_dialog(dialog, first, background_cancel_button_id),
        [&] {
            box = find_owned_dialog(dialog);
            if (box != nullptr) {
                job.gate.release("ok");
            }
            return box != nullptr;
        },
        [&] { return app()->compression->last_result.has_value(); },
        wait_for(600ms),
        [&] {
            waited_under_the_question = IsWindowVisible(dialog) && IsWindowVisible(box);
            PostMessageW(box, WM_COMMAND, IDYES, 0); // too late: the job is done
            return true;
        },
        press_on_task_dialog(next, completion, IDCLOSE, &dialog),
        [&] { return find_task_dialog() == nullptr; },
    };
    ASSERT_TRUE(job.close_with(std::move(steps)));
    EXPECT_TRUE(waited_under_the_question);
    ASSERT_FALSE(completion.texts.empty());
    EXPECT_EQ(completion.texts[0], L"Compression finished");
    EXPECT_TRUE(same_bytes(job.output, clip("video_aac.mp4")));
}

TEST(BackgroundCompression, AFailedJobIsReportedWithTheSourceName) {
    GatedCompression job;
    HWND dialog = nullptr;
    HWND next = nullptr;
    DialogView completion;
    std::vector<ModalStep> steps{
        [&] {
            dialog = find_task_dialog();
            if (dialog == nullptr) {
                return false;
            }
            job.gate.release("fail");
            return true;
        },
        press_on_task_dialog(next, completion, IDCLOSE, &dialog),
        [&] { return find_task_dialog() == nullptr; },
    };
    ASSERT_TRUE(job.close_with(std::move(steps)));
    ASSERT_EQ(completion.texts.size(), 2u);
    EXPECT_EQ(completion.texts[0], L"The compression failed");
    EXPECT_TRUE(completion.texts[1].starts_with(L"video_aac.mp4\nFailed (code 1) after "))
        << narrow(completion.texts[1]);
    EXPECT_TRUE(completion.texts[1].ends_with(L" - partial file removed."));
    EXPECT_EQ(completion.icon, LoadIconW(nullptr, IDI_ERROR));
    ASSERT_EQ(completion.buttons.size(), 1u);
    EXPECT_EQ(completion.buttons[0].id, IDCLOSE);
    EXPECT_EQ(list_folder(job.session.outputs.path), "");
    EXPECT_TRUE(shell_calls().executed.empty());
}

TEST(BackgroundCompression, TheEndOfTheSessionStopsTheJobWithoutADialog) {
    // While the player is open, and while the progress dialog follows a closed player.
    for (const bool player_closed : {false, true}) {
        GatedCompression job;
        clear_double_record();
        const HWND main = job.session.player.main();
        std::vector<ModalStep> steps;
        std::function<void()> act = [&] { SendMessageW(main, WM_ENDSESSION, TRUE, 0); };
        if (player_closed) {
            steps = {[&] { return find_task_dialog() != nullptr; },
                     [&] {
                         SendMessageW(main, WM_ENDSESSION, TRUE, 0);
                         return true;
                     },
                     [&] { return find_task_dialog() == nullptr; }, wait_for(500ms)};
            act = [&] { job.session.player.close(); };
        }
        EXPECT_TRUE(job.close_with(std::move(steps), act)) << player_closed;
        EXPECT_TRUE(job.gate.ffmpeg_ended()) << player_closed;
        EXPECT_EQ(list_folder(job.session.outputs.path), "") << player_closed;
        if (!player_closed) {
            EXPECT_FALSE(compression_running(job.session.player.state()));
            EXPECT_FALSE(job.session.window().last_result);
            job.session.wait_until([] { return false; }, 1s);
            for (const std::string& call : player_calls()) {
                EXPECT_EQ(call.find("Compression"), std::string::npos) << call;
            }
        }
    }
}

TEST(BackgroundCompression, AJobEndingBehindAHiddenWindowIsAnnouncedOnTheVideo) {
    for (const std::string word : {"ok", "fail"}) {
        GatedCompression job;
        job.session.click(Control::CloseButton); // hides it while the job runs
        ASSERT_FALSE(IsWindowVisible(job.window));
        clear_double_record();
        job.gate.release(word);
        ASSERT_TRUE(
            job.session.wait_until([&] { return job.session.window().last_result.has_value(); }));
        pump_for(500ms);
        EXPECT_FALSE(IsWindowVisible(job.window));
        const std::vector<std::string> calls = player_calls();
        ASSERT_EQ(calls.size(), 1u) << word;
        const std::string& message = calls.front();
        if (word == "ok") {
            EXPECT_EQ(message,
                      "show-text Compression finished: " + path_to_utf8(job.output.filename()) +
                          " (" + format_size(std::filesystem::file_size(job.output)) + ") 6000");
        } else {
            EXPECT_TRUE(message.starts_with("show-text Compression: Failed (code 1) after "))
                << message;
            EXPECT_TRUE(message.ends_with(" - partial file removed. 6000")) << message;
        }
    }
}

std::wstring compression_caption(AppState& state) {
    const UniqueMenu menu = build_main_menu(state);
    for (const MenuLine& line : read_menu(menu.get())) {
        if (line.id == menu_id::compression) {
            return line.text;
        }
    }
    return L"<none>";
}

TEST(BackgroundCompression, TheBarAndTheMenuFollowTheRunningJob) {
    CompressSession session;
    session.use_tools(Tool::Fake, Tool::Real);
    CompressWindow& window = session.open(clip("video_aac.mp4"));
    ASSERT_TRUE(session.wait_for_analysis());
    AppState& state = session.player.state();
    const std::vector<std::uint32_t> idle = paint_bar_picture(state).pixels;
    const Sender<CompressMessage> sender = session.attach_test_job();
    std::vector<std::vector<std::uint32_t>> pictures;
    for (const float percent : {41.5f, 7.2f}) {
        send(sender, CompressMessage{message::Progress{"", 1, 1, percent, {}, {}}});
        ASSERT_TRUE(session.wait_until([&] { return window.progress.percent == percent; }));
        pictures.push_back(paint_bar_picture(state).pixels);
    }
    EXPECT_EQ(compression_caption(state), L"Video compression… (7%)\tC");
    EXPECT_NE(pictures[0], pictures[1]); // the percent is in the picture
    EXPECT_NE(pictures[1], idle);
    send(sender, CompressMessage{message::Finished{outcome::Canceled{}}});
    ASSERT_TRUE(session.wait_until([&] { return window.last_result.has_value(); }));
    EXPECT_EQ(compression_caption(state), L"Compress the video…\tC");
    EXPECT_EQ(paint_bar_picture(state).pixels, idle);
}

} // namespace
} // namespace ondrel::testing
