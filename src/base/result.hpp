#pragma once
// Result<T>: a value or an Error. Fallible operations return it instead of throwing, so no
// exception ever crosses a window procedure, a callback or a thread.

#include <cassert>
#include <optional>
#include <utility>
#include <variant>

#include "base/error.hpp"

namespace vessa {

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}  // NOLINT: implicit by design
  Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}  // NOLINT

  [[nodiscard]] bool ok() const noexcept { return state_.index() == 0; }
  explicit operator bool() const noexcept { return ok(); }

  [[nodiscard]] T& value() & { assert(ok()); return std::get<0>(state_); }
  [[nodiscard]] const T& value() const& { assert(ok()); return std::get<0>(state_); }
  [[nodiscard]] T&& value() && { assert(ok()); return std::get<0>(std::move(state_)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

  [[nodiscard]] const Error& error() const { assert(!ok()); return std::get<1>(state_); }

 private:
  std::variant<T, Error> state_;
};

template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Error error) : error_(std::move(error)) {}  // NOLINT: implicit by design

  [[nodiscard]] bool ok() const noexcept { return !error_.has_value(); }
  explicit operator bool() const noexcept { return ok(); }
  [[nodiscard]] const Error& error() const { assert(!ok()); return *error_; }

 private:
  std::optional<Error> error_;
};

using Status = Result<void>;

}  // namespace vessa
