#include "weather/place_search.hpp"

#include <algorithm>
#include <cmath>

#include "base/real_text.hpp"
#include "base/utf.hpp"
#include "config/config.hpp"
#include "weather/forecast.hpp"
#include "weather/json_parse.hpp"

namespace vessa {
namespace {

// Unicode's White_Space characters; every one of them is a single UTF-16 unit.
bool is_white_space(char16_t unit) noexcept {
  return (unit >= 0x09 && unit <= 0x0D) || unit == 0x20 || unit == 0x85 || unit == 0xA0 || unit == 0x1680 ||
         (unit >= 0x2000 && unit <= 0x200A) || unit == 0x2028 || unit == 0x2029 || unit == 0x202F ||
         unit == 0x205F || unit == 0x3000;
}

bool is_unreserved(unsigned char byte) noexcept {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
         byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

// A string member that is present and not empty.
std::optional<std::string> optional_text(const Json& properties, const char* name) {
  const Json* value = json_member(properties, name);
  if (value == nullptr || !value->is_string()) return std::nullopt;
  std::string text = value->get<std::string>();
  if (text.empty()) return std::nullopt;
  return text;
}

// The candidate a feature makes, or none when it lacks what a match needs.
std::optional<PlaceCandidate> candidate_from(const Json& feature) {
  const Json* properties = json_member(feature, "properties");
  const Json* geometry = json_member(feature, "geometry");
  if (properties == nullptr || !properties->is_object() || geometry == nullptr || !geometry->is_object()) {
    return std::nullopt;
  }
  const Json* coordinates = json_member(*geometry, "coordinates");
  if (coordinates == nullptr || !coordinates->is_array() || coordinates->size() < 2) return std::nullopt;
  const Json& longitude = (*coordinates)[0];
  const Json& latitude = (*coordinates)[1];
  if (!longitude.is_number() || !latitude.is_number()) return std::nullopt;
  std::optional<std::string> name = optional_text(*properties, "name");
  if (!name) return std::nullopt;

  PlaceCandidate candidate;
  candidate.name = std::move(*name);
  candidate.state = optional_text(*properties, "state");
  candidate.country = optional_text(*properties, "country");
  candidate.type = optional_text(*properties, "type");
  // GeoJSON puts the longitude first.
  candidate.latitude = latitude.get<double>();
  candidate.longitude = longitude.get<double>();
  return candidate;
}

bool is_administrative_area(const PlaceCandidate& candidate) {
  if (!candidate.type) return false;
  const std::string& type = *candidate.type;
  return type == "city" || type == "state" || type == "county" || type == "district";
}

}  // namespace

std::string place_query_from_field(std::u16string_view field_text) {
  return utf16_to_utf8_lossy(field_text.substr(0, kPlaceQueryUnits));
}

std::string trim_place_query(std::string_view query) {
  const std::u16string units = utf8_to_utf16_lossy(query);
  std::size_t begin = 0;
  std::size_t end = units.size();
  while (begin < end && is_white_space(units[begin])) ++begin;
  while (end > begin && is_white_space(units[end - 1])) --end;
  return utf16_to_utf8_lossy(std::u16string_view(units).substr(begin, end - begin));
}

std::string percent_encode(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(text.size() * 3);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (is_unreserved(byte)) {
      encoded += c;
    } else if (byte == ' ') {
      encoded += "%20";
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0x0F];
    }
  }
  return encoded;
}

std::string place_search_path(std::string_view trimmed_query, bool english) {
  std::string path = "/api/?q=";
  path += percent_encode(trimmed_query);
  path += english ? "&lang=en" : "&lang=default";
  path += "&limit=8";
  return path;
}

Result<std::vector<PlaceCandidate>> parse_place_search(std::string_view body) {
  Result<Json> parsed = parse_json(body, place_message::kNotJson);
  if (!parsed) return parsed.error();
  std::vector<PlaceCandidate> candidates;
  const Json* features = json_member(*parsed, "features");
  if (features == nullptr || !features->is_array()) return candidates;
  for (const Json& feature : *features) {
    if (std::optional<PlaceCandidate> candidate = candidate_from(feature)) candidates.push_back(std::move(*candidate));
  }
  // A town's name also names its streets and houses: when it names an area, show only areas.
  if (std::any_of(candidates.begin(), candidates.end(), is_administrative_area)) {
    std::erase_if(candidates, [](const PlaceCandidate& c) { return !is_administrative_area(c); });
  }
  return candidates;
}

Result<std::vector<PlaceCandidate>> search_places(std::string_view query, bool english, const PlaceSearchGet& get) {
  const std::string trimmed = trim_place_query(query);
  if (trimmed.empty()) return std::vector<PlaceCandidate>{};
  Result<std::string> body = get(kPlaceSearchHost, place_search_path(trimmed, english));
  if (!body) return body.error();
  return parse_place_search(*body);
}

std::string candidate_label(const PlaceCandidate& candidate) {
  std::string label = candidate.name;
  for (const auto* part : {&candidate.state, &candidate.country}) {
    if (!*part) continue;
    label += " / ";
    label += **part;
  }
  return label;
}

std::string coordinates_text(double latitude, double longitude) {
  return format_coordinate(latitude) + ", " + format_coordinate(longitude);
}

std::vector<std::string> match_lines(const Result<std::vector<PlaceCandidate>>& outcome, std::string_view no_matches) {
  if (!outcome) return {outcome.error().full_text()};
  if (outcome->empty()) return {std::string(no_matches)};
  std::vector<std::string> lines;
  lines.reserve(outcome->size());
  for (const PlaceCandidate& candidate : *outcome) lines.push_back(candidate_label(candidate));
  return lines;
}

std::string location_text(const Result<Coordinates>& outcome) {
  if (!outcome) return outcome.error().full_text();
  return coordinates_text(outcome->latitude, outcome->longitude);
}

void apply_candidate_to(Weather& weather, const PlaceCandidate& candidate) {
  weather.latitude = candidate.latitude;
  weather.longitude = candidate.longitude;
  weather.place_name = candidate_label(candidate);
}

void apply_position_to(Weather& weather, const Coordinates& position) {
  weather.latitude = position.latitude;
  weather.longitude = position.longitude;
}

Result<Coordinates> checked_device_position(double latitude, double longitude) {
  const bool on_earth = std::isfinite(latitude) && std::isfinite(longitude) && std::fabs(latitude) <= 90.0 &&
                        std::fabs(longitude) <= 180.0;
  if (on_earth) return Coordinates{latitude, longitude};
  return Error(std::string(place_message::kOutOfRange) + ": Coordinates { latitude: " + real_text(latitude) +
               ", longitude: " + real_text(longitude) + " }");
}

}  // namespace vessa
