#include "weather/place_lookup_win.hpp"

#include <exception>
#include <thread>
#include <utility>

#include "weather/device_location_win.hpp"
#include "weather/https_get.hpp"

namespace vessa {
namespace {

using Outcome = std::variant<PlaceSearchOutcome, LocationOutcome>;

// Hands the result over and wakes the window, but only while someone still listens: once the
// lookup is gone its window may be too.
void deliver(const Sender<PlaceLookupResult>& sender, std::uint64_t request, Outcome outcome, HWND notify,
             UINT message) {
  if (sender.send(PlaceLookupResult{request, std::move(outcome)})) {
    PostMessageW(notify, message, static_cast<WPARAM>(request), 0);
  }
}

// The workers' whole lives: nothing may escape the thread.
void search_worker(Sender<PlaceLookupResult> sender, std::uint64_t request, std::string query, bool english,
                   HWND notify, UINT message) noexcept {
  try {
    PlaceSearchOutcome found = search_places(query, english, [](std::string_view host, std::string_view path) {
      return https_get(host, path);
    });
    deliver(sender, request, std::move(found), notify, message);
  } catch (...) {
    // Out of memory: this result is lost; the window keeps showing the search as running
    // until the user tries again.
  }
}

void location_worker(Sender<PlaceLookupResult> sender, std::uint64_t request, HWND notify, UINT message) noexcept {
  try {
    deliver(sender, request, locate_device(), notify, message);
  } catch (...) {
    // As for the search.
  }
}

Error no_worker(const std::exception& error) {
  return Error(std::string(place_lookup_message::kNoWorker), Error(error.what()));
}

}  // namespace

std::uint64_t PlaceLookup::begin_request() noexcept {
  busy_ = true;
  return ++newest_;
}

std::uint64_t PlaceLookup::start_search(std::string query_utf8, bool english, HWND notify, UINT message) {
  const std::uint64_t request = begin_request();
  if (trim_place_query(query_utf8).empty()) {
    deliver(channel_.sender, request, PlaceSearchOutcome(std::vector<PlaceCandidate>{}), notify, message);
    return request;
  }
  try {
    std::thread(search_worker, channel_.sender, request, std::move(query_utf8), english, notify, message).detach();
  } catch (const std::exception& error) {
    deliver(channel_.sender, request, PlaceSearchOutcome(no_worker(error)), notify, message);
  }
  return request;
}

std::uint64_t PlaceLookup::start_location(HWND notify, UINT message) {
  const std::uint64_t request = begin_request();
  try {
    std::thread(location_worker, channel_.sender, request, notify, message).detach();
  } catch (const std::exception& error) {
    deliver(channel_.sender, request, LocationOutcome(no_worker(error)), notify, message);
  }
  return request;
}

std::optional<PlaceLookupResult> PlaceLookup::take() {
  std::optional<PlaceLookupResult> newest;
  while (std::optional<PlaceLookupResult> result = channel_.receiver.try_receive()) {
    if (result->request == newest_) newest = std::move(result);
  }
  if (newest) busy_ = false;
  return newest;
}

void PlaceLookup::cancel() noexcept {
  ++newest_;  // a number no request has: every running one is now superseded
  busy_ = false;
}

}  // namespace vessa
