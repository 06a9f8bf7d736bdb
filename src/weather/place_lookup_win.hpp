#pragma once
// Place search and device location off the window thread, for the settings window.
//
// The window keeps one PlaceLookup in its own state and uses it from its own thread only.
// Each start_* call returns at once with the request's number: it starts one detached worker
// that owns copies of everything it needs (nothing of the window's), and that worker sends its
// result over the lookup's channel and then posts `message` to `notify` as a wake-up (wParam:
// the request number, lParam: 0). On that message the window calls take(); a wake-up for
// which take() returns nothing (a superseded request) is simply ignored.
//
// Starting a request supersedes every earlier one, of either kind: take() hands out only the
// newest request's result and drops the others unseen, so a slow answer never overwrites what
// the user asked for since. Destroying the PlaceLookup (with the window) closes the channel:
// workers still running finish unheard, their results are freed, and from then on they post
// nothing (a worker that sent just before may still post the one wake-up it was about to).
//
// Every wait of a worker is bounded: the search by the HTTPS time-outs (10 s per phase), the
// location by kLocationAccessWaitMs and kLocationPositionWaitMs.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/result.hpp"
#include "weather/channel.hpp"
#include "weather/place_search.hpp"

namespace vessa {

// The matches of a search (empty: "No matches"), or why there are none.
using PlaceSearchOutcome = Result<std::vector<PlaceCandidate>>;
// The device's position, or why there is none.
using LocationOutcome = Result<Coordinates>;

// One finished request.
struct PlaceLookupResult {
  std::uint64_t request = 0;
  std::variant<PlaceSearchOutcome, LocationOutcome> outcome;
};

class PlaceLookup {
 public:
  PlaceLookup() = default;
  PlaceLookup(const PlaceLookup&) = delete;
  PlaceLookup& operator=(const PlaceLookup&) = delete;

  // Searches for `query_utf8` (the place-name field's text, see place_query_from_field) with
  // English or local-language names. A query that is blank once trimmed finishes at once with
  // no matches and no request; `message` is posted all the same.
  std::uint64_t start_search(std::string query_utf8, bool english, HWND notify, UINT message);
  // Asks the Windows location service for the device's position.
  std::uint64_t start_location(HWND notify, UINT message);
  // Both may throw std::bad_alloc; when no thread can be started they finish at once with
  // the kNoWorker error.

  // The newest request's result once it has finished, at most once; results of older
  // requests are dropped. Never blocks.
  [[nodiscard]] std::optional<PlaceLookupResult> take();
  // Whether the newest request has not finished (or not been taken) yet.
  [[nodiscard]] bool busy() const noexcept { return busy_; }
  // Forgets the running request: its result will be dropped like a superseded one.
  void cancel() noexcept;

 private:
  std::uint64_t begin_request() noexcept;

  Channel<PlaceLookupResult> channel_;
  std::uint64_t newest_ = 0;  // the newest request's number; 0 before the first
  bool busy_ = false;
};

namespace place_lookup_message {
// When no worker thread can be started (the system is out of threads or memory).
inline constexpr std::string_view kNoWorker = "作業スレッドを開始できません";
}  // namespace place_lookup_message

}  // namespace vessa
