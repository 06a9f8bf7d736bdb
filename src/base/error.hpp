#pragma once
// Errors are values: a message plus the error that caused it, if any. Shown in full, an
// error reads its message, then each cause after ": ". Errors are immutable; copies share
// their cause chain, so passing them around is cheap.

#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace vessa {

class Error {
 public:
  explicit Error(std::string message);
  Error(std::string message, Error cause);

  [[nodiscard]] const std::string& message() const noexcept { return message_; }
  [[nodiscard]] const Error* cause() const noexcept { return cause_.get(); }

  // "message: cause: cause of the cause"
  [[nodiscard]] std::string full_text() const;
  // Structure form for the "Error: " line on standard error, for example
  // Error { message: "a", cause: Some(Error { message: "b", cause: None }) }
  [[nodiscard]] std::string debug_form() const;

  friend bool operator==(const Error& a, const Error& b);

 private:
  std::string message_;
  std::shared_ptr<const Error> cause_;
};

}  // namespace vessa
