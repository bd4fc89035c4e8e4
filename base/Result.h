// A value, or why there is none: the one shape every fallible operation of
// the libraries returns, so a caller cannot read a value that is not there.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace lumo {

// Why an operation gave no value: one line for a person, and the errno
// behind it where the system gave one.
struct Error {
  std::string message;
  int errnum = 0;
};

template <typename T, typename E = Error>
class [[nodiscard]] Result {
 public:
  Result(T value)
      : state_(std::in_place_index<0>, std::move(value)) {}  // NOLINT: implicit by design
  Result(E error)
      : state_(std::in_place_index<1>, std::move(error)) {}  // NOLINT: implicit by design

  [[nodiscard]] bool ok() const noexcept { return state_.index() == 0; }
  explicit operator bool() const noexcept { return ok(); }

  [[nodiscard]] T& value() & { return std::get<0>(state_); }
  [[nodiscard]] const T& value() const& { return std::get<0>(state_); }
  // By value, so that a temporary result cannot leave a dangling reference.
  [[nodiscard]] T value() && { return std::get<0>(std::move(state_)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

  [[nodiscard]] const E& error() const& { return std::get<1>(state_); }

 private:
  std::variant<T, E> state_;
};

}  // namespace lumo
