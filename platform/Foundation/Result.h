// A value, or the one-line problem that kept it from being made: how the
// C++ parts below the Objective-C API and the host's readers report failure.
#pragma once

#include <string>
#include <utility>
#include <variant>

struct Problem {
    std::string text;
};

template <class T> class [[nodiscard]] Result {
  public:
    Result(T value) : _state(std::move(value)) {}
    Result(Problem problem) : _state(std::move(problem)) {}

    explicit operator bool() const { return _state.index() == 0; }
    T& operator*() { return std::get<0>(_state); }
    const T& operator*() const { return std::get<0>(_state); }
    T* operator->() { return &std::get<0>(_state); }
    const T* operator->() const { return &std::get<0>(_state); }
    const std::string& problem() const { return std::get<1>(_state).text; }

  private:
    std::variant<T, Problem> _state;
};

template <> class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Problem problem) : _problem(std::move(problem.text)), _failed(true) {}

    explicit operator bool() const { return !_failed; }
    const std::string& problem() const { return _problem; }

  private:
    std::string _problem;
    bool _failed = false;
};
