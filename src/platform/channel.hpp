// An unbounded queue from any number of senders to one receiver.
//
// Workers own senders (copying one adds a sender); the receiver drains without blocking and
// can tell "nothing waiting yet" from "every sender is gone and nothing is left". Sending to
// a receiver that was dropped does nothing, so a worker may outlive whoever listened to it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

namespace ondrel {

template <class T> struct ChannelState {
    std::mutex lock;
    std::condition_variable arrived;
    std::deque<T> queue;
    std::size_t senders = 0;
    bool receiver_alive = true;
};

template <class T> struct Sender {
    std::shared_ptr<ChannelState<T>> state;

    explicit Sender(std::shared_ptr<ChannelState<T>> shared) : state(std::move(shared)) {
        std::lock_guard<std::mutex> guard(state->lock);
        ++state->senders;
    }
    Sender(const Sender& other) : Sender(other.state) {}
    Sender(Sender&& other) noexcept = default;
    Sender& operator=(Sender other) noexcept {
        std::swap(state, other.state);
        return *this;
    }
    ~Sender() {
        if (!state) {
            return; // moved from
        }
        std::lock_guard<std::mutex> guard(state->lock);
        if (--state->senders == 0) {
            state->arrived.notify_all();
        }
    }
};

template <class T> struct Receiver {
    std::shared_ptr<ChannelState<T>> state;

    explicit Receiver(std::shared_ptr<ChannelState<T>> shared) : state(std::move(shared)) {}
    Receiver(Receiver&& other) noexcept = default;
    Receiver& operator=(Receiver&& other) noexcept {
        Receiver old(std::move(*this));
        state = std::move(other.state);
        return *this;
    }
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;
    ~Receiver() {
        if (!state) {
            return;
        }
        std::lock_guard<std::mutex> guard(state->lock);
        state->receiver_alive = false;
        state->queue.clear();
    }
};

template <class T> std::pair<Sender<T>, Receiver<T>> make_channel() {
    auto state = std::make_shared<ChannelState<T>>();
    return {Sender<T>(state), Receiver<T>(state)};
}

// False when the receiver is gone; the message is then dropped.
template <class T> bool send(const Sender<T>& sender, T message) {
    std::lock_guard<std::mutex> guard(sender.state->lock);
    if (!sender.state->receiver_alive) {
        return false;
    }
    sender.state->queue.push_back(std::move(message));
    sender.state->arrived.notify_one();
    return true;
}

enum class ReceiveStatus : unsigned char {
    Received,
    Empty,        // nothing waiting, but a sender may still send
    Disconnected, // nothing waiting and every sender is gone: nothing will ever come
};

template <class T> struct Received {
    ReceiveStatus status = ReceiveStatus::Empty;
    std::optional<T> message; // present exactly when status is Received
};

namespace channel_detail {
template <class T> Received<T> take_locked(ChannelState<T>& state) {
    if (!state.queue.empty()) {
        Received<T> received{ReceiveStatus::Received, std::move(state.queue.front())};
        state.queue.pop_front();
        return received;
    }
    return {state.senders == 0 ? ReceiveStatus::Disconnected : ReceiveStatus::Empty, std::nullopt};
}
} // namespace channel_detail

// Never blocks.
template <class T> Received<T> try_receive(Receiver<T>& receiver) {
    std::lock_guard<std::mutex> guard(receiver.state->lock);
    return channel_detail::take_locked(*receiver.state);
}

// Waits up to `timeout` for a message or for the last sender to go.
template <class T, class Rep, class Period>
Received<T> receive_for(Receiver<T>& receiver, std::chrono::duration<Rep, Period> timeout) {
    std::unique_lock<std::mutex> guard(receiver.state->lock);
    ChannelState<T>& state = *receiver.state;
    state.arrived.wait_for(guard, timeout,
                           [&] { return !state.queue.empty() || state.senders == 0; });
    return channel_detail::take_locked(state);
}

// Waits for the next message; nothing once every sender is gone and the queue is empty.
template <class T> std::optional<T> receive(Receiver<T>& receiver) {
    std::unique_lock<std::mutex> guard(receiver.state->lock);
    ChannelState<T>& state = *receiver.state;
    state.arrived.wait(guard, [&] { return !state.queue.empty() || state.senders == 0; });
    return channel_detail::take_locked(state).message;
}

} // namespace ondrel
