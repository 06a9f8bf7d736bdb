#include "weather/json_parse.hpp"

#include <string>

namespace vessa {
namespace {

// Builds the value tree like nlohmann's own DOM parser, but keeps the parser's message on a
// syntax error instead of throwing it.
class TreeBuilder : public nlohmann::detail::json_sax_dom_parser<Json> {
 public:
  explicit TreeBuilder(Json& tree) : json_sax_dom_parser(tree, /*allow_exceptions=*/false) {}

  bool parse_error(std::size_t /*position*/, const std::string& /*last_token*/,
                   const nlohmann::detail::exception& error) {
    message_ = error.what();
    return false;
  }
  [[nodiscard]] const std::string& message() const noexcept { return message_; }

 private:
  std::string message_;
};

}  // namespace

Result<Json> parse_json(std::string_view text, std::string_view failure_message) {
  Json root;
  TreeBuilder builder(root);
  const bool parsed = Json::sax_parse(text, &builder, nlohmann::detail::input_format_t::json, /*strict=*/true);
  if (!parsed) return Error(std::string(failure_message), Error(builder.message()));
  return root;
}

const Json* json_member(const Json& object, const char* name) {
  if (!object.is_object()) return nullptr;
  const auto found = object.find(name);
  return found == object.end() ? nullptr : &*found;
}

}  // namespace vessa
