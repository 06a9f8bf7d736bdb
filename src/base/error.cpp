#include "base/error.hpp"

namespace vessa {

Error::Error(std::string message) : message_(std::move(message)) {}

Error::Error(std::string message, Error cause)
    : message_(std::move(message)), cause_(std::make_shared<const Error>(std::move(cause))) {}

std::string Error::full_text() const {
  std::string text = message_;
  for (const Error* cause = cause_.get(); cause != nullptr; cause = cause->cause_.get()) {
    text += ": ";
    text += cause->message_;
  }
  return text;
}

namespace {

void append_quoted(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  out += '"';
}

}  // namespace

std::string Error::debug_form() const {
  std::string out = "Error { message: ";
  append_quoted(out, message_);
  out += ", cause: ";
  if (cause_) {
    out += "Some(";
    out += cause_->debug_form();
    out += ")";
  } else {
    out += "None";
  }
  out += " }";
  return out;
}

bool operator==(const Error& a, const Error& b) {
  if (a.message_ != b.message_) return false;
  if (!a.cause_ || !b.cause_) return !a.cause_ && !b.cause_;
  return *a.cause_ == *b.cause_;
}

}  // namespace vessa
