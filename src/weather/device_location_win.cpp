#include "weather/device_location_win.hpp"

#include <activation.h>
#include <roapi.h>
#include <winstring.h>

#include <atomic>
#include <string>

#include "base/unique_handle_win.hpp"
#include "base/win_error_win.hpp"
#include "weather/geolocation_abi_win.hpp"

namespace vessa {
namespace {

namespace abi = geolocation_abi;

// What GetGeopositionAsync may use and how long it may take, in 100-nanosecond units.
constexpr abi::TimeSpan kMaximumAge{6000000000};  // 10 minutes
constexpr abi::TimeSpan kPositionTimeout{150000000};  // 15 seconds

Error failed(std::string_view message, HRESULT hr) { return Error(std::string(message), hresult_error(hr)); }

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"  // a COM object: released, never deleted by its interface
#endif
// Signals an event when an asynchronous operation completes. Reference counted: the
// operation keeps it alive for as long as it may still call, even after the waiter gave up.
template <typename T>
class CompletionSignal final : public abi::IAsyncOperationCompletedHandler<T> {
 public:
  CompletionSignal() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

  [[nodiscard]] HANDLE event() const noexcept { return event_.get(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    // Agile: the operation may complete on any thread.
    if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, abi::AsyncTraits<T>::handler) ||
        IsEqualGUID(iid, abi::kIidAgileObject)) {
      AddRef();
      *object = this;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return references_.fetch_add(1, std::memory_order_relaxed) + 1; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = references_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE Invoke(abi::IAsyncOperation<T>* /*operation*/, AsyncStatus /*status*/) override {
    SetEvent(event_.get());
    return S_OK;
  }

 private:
  ~CompletionSignal() = default;

  std::atomic<ULONG> references_{1};
  UniqueHandle event_;
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

// Waits up to `timeout_ms` for `operation` and takes its result. A time-out cancels the
// operation and reads as ERROR_TIMEOUT; a failed operation gives its own error.
template <typename T>
HRESULT wait_for_result(abi::IAsyncOperation<T>* operation, DWORD timeout_ms, T* result) {
  ComPtr<IAsyncInfo> info;
  HRESULT hr = operation->QueryInterface(abi::kIidAsyncInfo, info.put_void());
  if (FAILED(hr)) return hr;
  AsyncStatus status = Started;
  if (hr = info->get_Status(&status); FAILED(hr)) return hr;
  if (status == Started) {
    ComPtr<CompletionSignal<T>> signal;
    *signal.put() = new CompletionSignal<T>();
    if (signal->event() == nullptr) return HRESULT_FROM_WIN32(GetLastError());
    if (hr = operation->put_Completed(signal.get()); FAILED(hr)) return hr;
    if (WaitForSingleObject(signal->event(), timeout_ms) != WAIT_OBJECT_0) {
      info->Cancel();  // nothing more to wait for; the result, should it come, is dropped
      return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
    }
    if (hr = info->get_Status(&status); FAILED(hr)) return hr;
  }
  if (status == Canceled) return HRESULT_FROM_WIN32(ERROR_CANCELLED);
  if (status == AsyncStatus::Error) {
    HRESULT code = S_OK;
    if (hr = info->get_ErrorCode(&code); FAILED(hr)) return hr;
    return FAILED(code) ? code : E_FAIL;
  }
  return operation->GetResults(result);
}

// The Geolocator's activation factory, obtained once for the process and kept to its end (the
// system may already have torn the runtime down when static objects are destroyed, so it is
// never released). Threads race to fill it without locks; the loser releases its copy.
std::atomic<IActivationFactory*> g_geolocator_factory{nullptr};

HRESULT request_geolocator_factory(IActivationFactory** factory) {
  HSTRING_HEADER header{};
  HSTRING class_name = nullptr;
  HRESULT hr = WindowsCreateStringReference(abi::kGeolocatorClass,
                                            static_cast<UINT32>(std::size(abi::kGeolocatorClass) - 1), &header,
                                            &class_name);
  if (FAILED(hr)) return hr;
  hr = RoGetActivationFactory(class_name, abi::kIidActivationFactory, reinterpret_cast<void**>(factory));
  if (hr == CO_E_NOTINITIALIZED) {
    // A worker thread that never joined an apartment: keep the multithreaded apartment alive
    // for the rest of the process (the cached factory lives in it) and try again.
    CO_MTA_USAGE_COOKIE cookie = nullptr;
    if (SUCCEEDED(CoIncrementMTAUsage(&cookie))) {
      hr = RoGetActivationFactory(class_name, abi::kIidActivationFactory, reinterpret_cast<void**>(factory));
    }
  }
  return hr;
}

HRESULT geolocator_factory(ComPtr<IActivationFactory>& factory) {
  IActivationFactory* cached = g_geolocator_factory.load(std::memory_order_acquire);
  if (cached == nullptr) {
    IActivationFactory* fresh = nullptr;
    if (const HRESULT hr = request_geolocator_factory(&fresh); FAILED(hr)) return hr;
    if (fresh == nullptr) return E_POINTER;
    if (g_geolocator_factory.compare_exchange_strong(cached, fresh, std::memory_order_acq_rel)) {
      cached = fresh;
    } else {
      fresh->Release();  // another thread stored its factory first
    }
  }
  return cached->QueryInterface(abi::kIidActivationFactory, factory.put_void());
}

Result<bool> access_allowed(IActivationFactory* factory) {
  ComPtr<abi::IGeolocatorStatics> statics;
  HRESULT hr = factory->QueryInterface(abi::kIidGeolocatorStatics, statics.put_void());
  if (FAILED(hr)) return failed(location_message::kAccessUnavailable, hr);
  ComPtr<abi::IAsyncOperation<abi::GeolocationAccessStatus>> request;
  if (hr = statics->RequestAccessAsync(request.put()); FAILED(hr) || !request) {
    return failed(location_message::kAccessUnavailable, FAILED(hr) ? hr : E_POINTER);
  }
  auto status = abi::GeolocationAccessStatus::unspecified;
  if (hr = wait_for_result(request.get(), kLocationAccessWaitMs, &status); FAILED(hr)) {
    return failed(location_message::kAccessUnfinished, hr);
  }
  return status == abi::GeolocationAccessStatus::allowed;
}

Result<ComPtr<abi::IGeoposition>> current_position(IActivationFactory* factory) {
  ComPtr<IInspectable> instance;
  HRESULT hr = factory->ActivateInstance(instance.put());
  ComPtr<abi::IGeolocator> locator;
  if (SUCCEEDED(hr)) hr = instance ? instance->QueryInterface(abi::kIidGeolocator, locator.put_void()) : E_POINTER;
  if (FAILED(hr)) return failed(location_message::kServiceUnavailable, hr);

  if (hr = locator->put_DesiredAccuracy(abi::PositionAccuracy::default_accuracy); FAILED(hr)) {
    return failed(location_message::kAccuracy, hr);
  }
  ComPtr<abi::IAsyncOperation<abi::IGeoposition*>> request;
  if (hr = locator->GetGeopositionAsyncWithAgeAndTimeout(kMaximumAge, kPositionTimeout, request.put());
      FAILED(hr) || !request) {
    return failed(location_message::kStart, FAILED(hr) ? hr : E_POINTER);
  }
  ComPtr<abi::IGeoposition> position;
  if (hr = wait_for_result(request.get(), kLocationPositionWaitMs, position.put()); FAILED(hr) || !position) {
    return failed(location_message::kUnfinished, FAILED(hr) ? hr : E_POINTER);
  }
  return position;
}

Result<abi::BasicGeoposition> read_position(abi::IGeoposition* position) {
  ComPtr<abi::IGeocoordinate> coordinate;
  HRESULT hr = position->get_Coordinate(coordinate.put());
  if (FAILED(hr) || !coordinate) return failed(location_message::kNoCoordinate, FAILED(hr) ? hr : E_POINTER);

  ComPtr<abi::IGeocoordinateWithPoint> with_point;
  ComPtr<abi::IGeopoint> point;
  abi::BasicGeoposition basic{};
  hr = coordinate->QueryInterface(abi::kIidGeocoordinateWithPoint, with_point.put_void());
  if (SUCCEEDED(hr)) hr = with_point->get_Point(point.put());
  if (SUCCEEDED(hr) && !point) hr = E_POINTER;
  if (SUCCEEDED(hr)) hr = point->get_Position(&basic);
  if (FAILED(hr)) return failed(location_message::kNoPosition, hr);
  return basic;
}

}  // namespace

Result<Coordinates> locate_device() {
  ComPtr<IActivationFactory> factory;
  if (const HRESULT hr = geolocator_factory(factory); FAILED(hr)) {
    return failed(location_message::kAccessUnavailable, hr);
  }
  Result<bool> allowed = access_allowed(factory.get());
  if (!allowed) return allowed.error();
  if (!*allowed) return Error(std::string(location_message::kAccessDenied));

  Result<ComPtr<abi::IGeoposition>> position = current_position(factory.get());
  if (!position) return position.error();
  Result<abi::BasicGeoposition> basic = read_position(position->get());
  if (!basic) return basic.error();
  return checked_device_position(basic->latitude, basic->longitude);
}

}  // namespace vessa
