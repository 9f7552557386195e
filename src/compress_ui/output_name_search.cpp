#include "compress_ui/output_name_search.hpp"

#include "platform/threads.hpp"
#include "video_compress/output_path.hpp"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>
#include <utility>

namespace ondrel {

struct OutputNameShared {
    std::mutex lock;
    std::condition_variable changed;
    // The question waiting for the worker, and its number.
    std::optional<std::pair<MediaInfo, CompressOptions>> question;
    std::uint64_t question_serial = 0;
    // The latest answer and the number of its question.
    std::optional<Result<std::filesystem::path>> answer;
    std::uint64_t answer_serial = 0;
    bool closed = false;
};

namespace {

std::atomic<OutputNameFinder> finder{output_path_for};

Result<std::filesystem::path> look_up(const MediaInfo& media, const CompressOptions& options) {
    try {
        return finder.load()(media, options);
    } catch (const std::exception& error) {
        return Failure{std::string(error.what())};
    }
}

void serve(const std::shared_ptr<OutputNameShared>& shared) {
    std::unique_lock<std::mutex> guard(shared->lock);
    for (;;) {
        shared->changed.wait(guard, [&] { return shared->closed || shared->question; });
        if (shared->closed) {
            return;
        }
        const auto question = std::move(*shared->question);
        const std::uint64_t serial = shared->question_serial;
        shared->question.reset();
        guard.unlock();
        Result<std::filesystem::path> answer = look_up(question.first, question.second);
        guard.lock();
        shared->answer = std::move(answer);
        shared->answer_serial = serial;
    }
}

// True when the worker runs.
bool start_worker(const std::shared_ptr<OutputNameShared>& shared) {
    bool started = true;
    start_detached_thread(
        [shared] {
            try {
                serve(shared);
            } catch (const std::exception&) {
                // The lock failed: the window keeps the line it has.
            }
        },
        [&](const std::string&) { started = false; });
    return started;
}

} // namespace

OutputNameSearch::~OutputNameSearch() {
    if (shared) {
        const std::lock_guard<std::mutex> guard(shared->lock);
        shared->closed = true;
        shared->changed.notify_all();
    }
}

void ask_output_name(OutputNameSearch& search, const MediaInfo& media,
                     const CompressOptions& options) {
    if (search.asked && search.asked->first == media && search.asked->second == options) {
        return;
    }
    search.asked.emplace(media, options);
    ++search.asked_serial;
    search.answered = false;
    if (!search.shared) {
        auto shared = std::make_shared<OutputNameShared>();
        if (start_worker(shared)) {
            search.shared = std::move(shared);
        } else {
            // Without a thread of its own the look-up runs here, as it always did.
            shared->answer = look_up(media, options);
            shared->answer_serial = search.asked_serial;
            search.shared = std::move(shared);
            search.shared->closed = true;
            return;
        }
    }
    const std::lock_guard<std::mutex> guard(search.shared->lock);
    if (search.shared->closed) {
        search.shared->answer = look_up(media, options);
        search.shared->answer_serial = search.asked_serial;
        return;
    }
    search.shared->question.emplace(media, options);
    search.shared->question_serial = search.asked_serial;
    search.shared->changed.notify_all();
}

void forget_output_name(OutputNameSearch& search) {
    search.asked.reset();
    ++search.asked_serial; // an answer on its way is dropped
    search.answered = false;
}

std::optional<Result<std::filesystem::path>> take_output_name(OutputNameSearch& search) {
    if (!search.shared || search.answered || !search.asked) {
        return std::nullopt;
    }
    const std::lock_guard<std::mutex> guard(search.shared->lock);
    if (!search.shared->answer || search.shared->answer_serial != search.asked_serial) {
        return std::nullopt;
    }
    search.answered = true;
    return std::exchange(search.shared->answer, std::nullopt);
}

bool output_name_pending(const OutputNameSearch& search) {
    return search.asked.has_value() && !search.answered;
}

void set_output_name_finder(OutputNameFinder replacement) {
    finder = replacement != nullptr ? replacement : output_path_for;
}

} // namespace ondrel
