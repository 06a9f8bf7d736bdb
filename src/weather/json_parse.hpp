#pragma once
// Strict, non-throwing JSON parsing for the weather's service answers (the forecast and the
// place search) and the one lookup both use to read them.

#include <string_view>

#include <nlohmann/json.hpp>

#include "base/result.hpp"

namespace vessa {

using Json = nlohmann::json;

// The value tree of `text`, which must be exactly one JSON value (anything after it is an
// error). On a syntax error: `failure_message` caused by the parser's own message.
[[nodiscard]] Result<Json> parse_json(std::string_view text, std::string_view failure_message);

// The member `name` of `object`, or null when `object` is not an object or has no such member.
[[nodiscard]] const Json* json_member(const Json& object, const char* name);

}  // namespace vessa
