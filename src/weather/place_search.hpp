#pragma once
// Place search and the device position as plain values: the query as it is sent, the matches
// read from the Photon service's answer, their labels, and the texts the settings window
// shows for coordinates. The exchanges themselves run on worker threads
// (place_lookup_win.hpp); nothing here touches the network or the system.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.hpp"

namespace vessa {

struct Weather;

// The Photon place-search service (OpenStreetMap data).
inline constexpr std::string_view kPlaceSearchHost = "photon.komoot.io";
// The search reads at most this many UTF-16 units of the place-name field; the field itself
// keeps the name whole.
inline constexpr std::size_t kPlaceQueryUnits = 63;

// One match of a search.
struct PlaceCandidate {
  std::string name;                    // never empty
  std::optional<std::string> state;    // absent rather than empty
  std::optional<std::string> country;  // absent rather than empty
  std::optional<std::string> type;     // absent rather than empty
  double latitude = 0.0;
  double longitude = 0.0;

  friend bool operator==(const PlaceCandidate&, const PlaceCandidate&) = default;
};

// A position from the device's location service.
struct Coordinates {
  double latitude = 0.0;
  double longitude = 0.0;
};

// The field's text as the query: its first kPlaceQueryUnits units in UTF-8, a surrogate
// left unpaired (by the cut or in the text) becoming U+FFFD.
[[nodiscard]] std::string place_query_from_field(std::u16string_view field_text);

// `query` without leading and trailing Unicode white space (U+3000 included).
[[nodiscard]] std::string trim_place_query(std::string_view query);

// Byte by byte: ASCII letters, digits and "-._~" as they are, a blank as "%20", every other
// byte as "%" and two upper-case hexadecimal digits ("東" → "%E6%9D%B1", "+" → "%2B").
[[nodiscard]] std::string percent_encode(std::string_view text);

// "/api/?q=<encoded query>&lang=en&limit=8" for an English interface, "&lang=default" for
// any other.
[[nodiscard]] std::string place_search_path(std::string_view trimmed_query, bool english);

// The matches in a search answer, in order, filtered: when any has the type city, state,
// county or district, only those. A feature lacking a non-empty name or two numeric
// coordinates is skipped; an answer without a "features" array has none. Fails only when the
// body is not JSON.
[[nodiscard]] Result<std::vector<PlaceCandidate>> parse_place_search(std::string_view body);

// One HTTPS GET of `path` on `host`, returning the body (https_get on Windows).
using PlaceSearchGet = std::function<Result<std::string>(std::string_view host, std::string_view path)>;

// The whole search for the text the user typed: an empty list ("No matches") without any
// request when the trimmed query is empty, else the request through `get` and the parsed,
// filtered matches. Errors are the transport's or the JSON message.
[[nodiscard]] Result<std::vector<PlaceCandidate>> search_places(std::string_view query, bool english,
                                                                const PlaceSearchGet& get);

// "Springfield / Illinois / United States": the name, then the state and the country where
// present.
[[nodiscard]] std::string candidate_label(const PlaceCandidate& candidate);

// "35.6812, 139.7671": both with exactly four decimals.
[[nodiscard]] std::string coordinates_text(double latitude, double longitude);

// The device's position when it is a place on Earth (both finite, |latitude| ≤ 90,
// |longitude| ≤ 180); else the out-of-range error that shows the values as they came.
[[nodiscard]] Result<Coordinates> checked_device_position(double latitude, double longitude);

// The lines of the matches combo box for a finished search: one label per match, else the
// single line `no_matches` (the interface's "No matches" text), else the error in full
// ("message: cause: …"). Only match lines index the candidate list.
[[nodiscard]] std::vector<std::string> match_lines(const Result<std::vector<PlaceCandidate>>& outcome,
                                                   std::string_view no_matches);
// The coordinates text for a finished device location: the position, else the error in full.
[[nodiscard]] std::string location_text(const Result<Coordinates>& outcome);

// Into the settings being edited: a chosen match's coordinates, with its label as the place
// name; a device position's coordinates, leaving the place name as it is.
void apply_candidate_to(Weather& weather, const PlaceCandidate& candidate);
void apply_position_to(Weather& weather, const Coordinates& position);

namespace place_message {
inline constexpr std::string_view kNotJson = "地名検索の応答を JSON として解釈できません";
inline constexpr std::string_view kOutOfRange = "測位結果が座標として不正です";
}  // namespace place_message

}  // namespace vessa
