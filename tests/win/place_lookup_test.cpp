// Place search and device location through PlaceLookup, the way the settings window uses it:
// a window of this thread is woken by the posted message and takes the result. The search
// tests run against the local HTTPS server in vessa_win_tests_https, where photon.komoot.io is
// 127.0.0.1 (https_namespace.sh); elsewhere they are skipped. The device location runs for
// real: Wine has no working Windows.Devices.Geolocation.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "base/window_win.hpp"
#include "failure_code_win.hpp"
#include "harness_win.hpp"
#include "https_server_win.hpp"
#include "vtable_slot_win.hpp"
#include "weather/device_location_win.hpp"
#include "weather/geolocation_abi_win.hpp"
#include "weather/place_lookup_win.hpp"

namespace vessa::test {
namespace {

constexpr UINT kLookupDone = WM_APP + 40;
constexpr UINT kPing = WM_APP + 41;

// A message-only window that records the wake-ups it is posted (their wParam, the request).
class NotifyWindow : public Window<NotifyWindow> {
 public:
  static constexpr wchar_t kClassName[] = L"VessaTestLookupNotify";

  NotifyWindow() noexcept { create(0, 0, L"", 0, 0, 0, 0, HWND_MESSAGE); }

  [[nodiscard]] HWND get() const noexcept { return hwnd(); }
  [[nodiscard]] const std::vector<std::uint64_t>& wake_ups() const noexcept { return wake_ups_; }
  [[nodiscard]] bool woken_for(std::uint64_t request) const {
    return std::find(wake_ups_.begin(), wake_ups_.end(), request) != wake_ups_.end();
  }

  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == kLookupDone) {
      wake_ups_.push_back(static_cast<std::uint64_t>(wparam));
      return 0;
    }
    if (message == kPing) return 42;
    return default_handling(message, wparam, lparam);
  }

 private:
  std::vector<std::uint64_t> wake_ups_;
};

// The window's side of a finished request: pumps until the wake-up for `request` came.
std::optional<PlaceLookupResult> wait_and_take(PlaceLookup& lookup, const NotifyWindow& window, std::uint64_t request,
                                               std::chrono::milliseconds timeout = 15s) {
  if (!wait_until([&] { return window.woken_for(request); }, timeout)) return std::nullopt;
  return lookup.take();
}

std::string error_text(const PlaceLookupResult& result) {
  return std::visit([](const auto& outcome) { return outcome.ok() ? std::string() : outcome.error().full_text(); },
                    result.outcome);
}

class Shell_HttpsPlaceLookup : public HttpsServerTest {
 protected:
  void SetUp() override {
    HttpsServerTest::SetUp();
    server_.reset("places");
  }
  void TearDown() override { server_.reset("places"); }

  NotifyWindow window_;
};

TEST_F(Shell_HttpsPlaceLookup, ASearchWakesTheWindowWithTheAreasOfTheAnswer) {
  PlaceLookup lookup;
  const std::uint64_t request = lookup.start_search(" 東京\u3000", false, window_.get(), kLookupDone);
  EXPECT_TRUE(lookup.busy());
  const auto result = wait_and_take(lookup, window_, request);
  ASSERT_TRUE(result.has_value()) << "no wake-up";
  EXPECT_EQ(result->request, request);
  EXPECT_FALSE(lookup.busy());
  const auto* found = std::get_if<PlaceSearchOutcome>(&result->outcome);
  ASSERT_NE(found, nullptr);
  ASSERT_TRUE(found->ok()) << found->error().full_text();
  // The server's answer holds a city and a house: only the city is a match.
  ASSERT_EQ((*found)->size(), 1u);
  EXPECT_EQ(candidate_label((*found)->front()), "東京都 / 東京都 / 日本");
  EXPECT_EQ(coordinates_text((*found)->front().latitude, (*found)->front().longitude), "35.6812, 139.7671");
  EXPECT_EQ(server_.requests("/api/").back(),
            "/api/?q=%E6%9D%B1%E4%BA%AC&lang=default&limit=8\tVESSA/1.5.0 (+https://github.com/vessa-monitor/vessa)");
  EXPECT_FALSE(lookup.take().has_value()) << "a result is taken once";
}

// The one slow pair: the server takes the request and never answers, so the worker waits for
// the receive time-out (10 seconds) while the window goes on handling its messages.
TEST_F(Shell_HttpsPlaceLookup, AServerThatNeverAnswersLeavesTheWindowResponsive) {
  server_.hang("places");
  PlaceLookup lookup;
  const std::uint64_t request = lookup.start_search("Tokyo", true, window_.get(), kLookupDone);
  ASSERT_TRUE(wait_until([&] { return !server_.requests("/api/?q=Tokyo").empty(); }, 10s)) << "no request";
  EXPECT_FALSE(lookup.take().has_value());
  EXPECT_TRUE(lookup.busy());

  // Another thread's message reaches the window at once while the search hangs.
  std::optional<LRESULT> answer;
  std::thread sender([&] {
    DWORD_PTR reply = 0;
    if (SendMessageTimeoutW(window_.get(), kPing, 0, 0, SMTO_NORMAL, 5000, &reply) != 0) {
      answer = static_cast<LRESULT>(reply);
    }
  });
  wait_until([&] { return answer.has_value(); }, 6s);
  sender.join();
  EXPECT_EQ(answer, std::optional<LRESULT>(42));
  EXPECT_TRUE(window_.wake_ups().empty());

  const auto result = wait_and_take(lookup, window_, request, 25s);
  ASSERT_TRUE(result.has_value()) << "the receive time-out did not end the search";
  const std::string text = error_text(*result);
  EXPECT_EQ(text.rfind("天気の応答を受け取れません: ", 0), 0u) << text;
  EXPECT_NE(text.find("0x80072EE2"), std::string::npos) << text;  // ERROR_WINHTTP_TIMEOUT
}

TEST_F(Shell_HttpsPlaceLookup, LateResultsOfSupersededOrDroppedLookupsAreNeverSeen) {
  server_.hang("places");
  // A lookup dropped (its window closed) while its request hangs: its worker must post nothing.
  NotifyWindow closed_window;
  {
    PlaceLookup dropped;
    (void)dropped.start_search("Dropped", true, closed_window.get(), kLookupDone);
    ASSERT_TRUE(wait_until([&] { return !server_.requests("/api/?q=Dropped").empty(); }, 10s));
  }
  PlaceLookup lookup;
  const std::uint64_t slow = lookup.start_search("Slow", true, window_.get(), kLookupDone);
  ASSERT_TRUE(wait_until([&] { return !server_.requests("/api/?q=Slow").empty(); }, 10s));

  server_.reset("places");
  const std::uint64_t newer = lookup.start_search("Tokyo", true, window_.get(), kLookupDone);
  const auto result = wait_and_take(lookup, window_, newer);
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(result->request, newer);
  EXPECT_EQ(error_text(*result), "");

  // The hanging request times out after the newer one finished: its result is dropped.
  ASSERT_TRUE(wait_until([&] { return window_.woken_for(slow); }, 25s)) << "the slow search never ended";
  EXPECT_FALSE(lookup.take().has_value());
  // The dropped lookup's request started first, so it has timed out by now too: unheard.
  wait_until([] { return false; }, 2s);
  EXPECT_TRUE(closed_window.wake_ups().empty());
}

// The geolocation interfaces declared by hand sit in their published slots (IUnknown's three
// and IInspectable's three first): a slip would corrupt the stack on Windows, not under Wine.
TEST(Shell_DeviceLocation, CalledGeolocationMethodsSitInTheirPublishedSlots) {
  namespace abi = geolocation_abi;
  using Access = abi::GeolocationAccessStatus;
  using Position = abi::IGeoposition*;
  EXPECT_EQ(vtable_slot(&abi::IAsyncOperationCompletedHandler<Access>::Invoke), 3u);
  EXPECT_EQ(vtable_slot(&abi::IAsyncOperation<Access>::put_Completed), 6u);
  EXPECT_EQ(vtable_slot(&abi::IAsyncOperation<Position>::GetResults), 8u);
  EXPECT_EQ(vtable_slot(&abi::IGeolocatorStatics::RequestAccessAsync), 6u);
  EXPECT_EQ(vtable_slot(&abi::IGeolocator::put_DesiredAccuracy), 7u);
  EXPECT_EQ(vtable_slot(&abi::IGeolocator::GetGeopositionAsyncWithAgeAndTimeout), 14u);
  EXPECT_EQ(vtable_slot(&abi::IGeolocator::remove_StatusChanged), 18u);  // the last
  EXPECT_EQ(vtable_slot(&abi::IGeoposition::get_Coordinate), 6u);
  EXPECT_EQ(vtable_slot(&abi::IGeocoordinate::get_Timestamp), 13u);  // the last
  EXPECT_EQ(vtable_slot(&abi::IGeocoordinateWithPoint::get_Point), 6u);
  EXPECT_EQ(vtable_slot(&abi::IGeopoint::get_Position), 6u);
}

TEST(Shell_DeviceLocation, WithoutALocationServiceTheAccessCheckFailsWithItsCause) {
  // Twice: a failed activation is not cached, and the second attempt fails the same way.
  for (int attempt = 0; attempt < 2; ++attempt) {
    const Result<Coordinates> position = locate_device();
    ASSERT_FALSE(position.ok()) << "Wine has no working Windows.Devices.Geolocation";
    EXPECT_EQ(position.error().message(), "位置情報の利用許可を確認できません");
    ASSERT_NE(position.error().cause(), nullptr);
    // The cause is the failed call's code: Wine 8 lacks the Geolocator class, Wine 10 an interface of it.
    const std::string cause = position.error().cause()->full_text();
    EXPECT_TRUE(test::ends_with_failure_code(cause)) << cause;
  }
}

TEST(Shell_DeviceLocation, TheLookupReportsTheFailureWithoutHoldingTheWindow) {
  NotifyWindow window;
  PlaceLookup lookup;
  const std::uint64_t request = lookup.start_location(window.get(), kLookupDone);
  const auto result = wait_and_take(lookup, window, request);
  ASSERT_TRUE(result.has_value()) << "no wake-up";
  const auto* position = std::get_if<LocationOutcome>(&result->outcome);
  ASSERT_NE(position, nullptr);
  ASSERT_FALSE(position->ok());
  EXPECT_EQ(position->error().full_text().rfind("位置情報の利用許可を確認できません: ", 0), 0u)
      << position->error().full_text();

  // A location request superseded by a search gives the search's result only.
  const std::uint64_t location = lookup.start_location(window.get(), kLookupDone);
  const std::uint64_t search = lookup.start_search("  ", false, window.get(), kLookupDone);
  ASSERT_TRUE(wait_until([&] { return window.woken_for(location) && window.woken_for(search); }, 15s));
  const auto newest = lookup.take();
  ASSERT_TRUE(newest.has_value());
  EXPECT_EQ(newest->request, search);
  EXPECT_TRUE(std::holds_alternative<PlaceSearchOutcome>(newest->outcome));
  EXPECT_FALSE(lookup.take().has_value());
}

}  // namespace
}  // namespace vessa::test
