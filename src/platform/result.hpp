// Failures are values: an operation that can fail returns its result or a text that says why.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace ondrel {

struct Failure {
    std::string text;
};

// A result that is dropped unread is a failure that nobody sees: the compiler says so.
template <class T> struct [[nodiscard]] Result {
    std::variant<T, Failure> outcome;

    Result(T value) : outcome(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : outcome(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return outcome.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<0>(outcome); }
    const T& value() const { return std::get<0>(outcome); }
    const std::string& error() const { return std::get<1>(outcome).text; }
};

struct Done {};
using Status = Result<Done>;

inline Status success() {
    return Status(Done{});
}

} // namespace ondrel
