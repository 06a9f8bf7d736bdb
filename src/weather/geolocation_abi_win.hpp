#pragma once
// The few Windows.Devices.Geolocation interfaces the device location calls. MinGW ships no
// header for them, so they are declared here with their published interface IDs and their
// exact method order; every one starts with IInspectable's three methods after IUnknown's.
// Methods the program never calls keep their slots with the types they really take, so the
// ones after them land where the system expects.

#include <windows.h>
#include <asyncinfo.h>
#include <inspectable.h>

#include <cstdint>

// COM interfaces are never deleted through a pointer to them, only released: their lack of a
// virtual destructor is their binary layout, not a fault.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

namespace vessa::geolocation_abi {

// Windows.Foundation.TimeSpan: 100-nanosecond units. A struct of one 64-bit field, passed
// by value as the field itself.
struct TimeSpan {
  std::int64_t duration;
};
struct DateTime {
  std::int64_t universal_time;
};
struct EventRegistrationToken {
  std::int64_t value;
};

struct BasicGeoposition {
  double latitude;
  double longitude;
  double altitude;
};

enum class GeolocationAccessStatus : std::int32_t { unspecified = 0, allowed = 1, denied = 2 };
enum class PositionAccuracy : std::int32_t { default_accuracy = 0, high = 1 };
enum class PositionStatus : std::int32_t {};

// Windows.Foundation.IAsyncOperation<T> and its completion handler. Their interface IDs are
// derived from T, so each instance names its own (AsyncTraits below).
template <typename T>
struct IAsyncOperation;

template <typename T>
struct IAsyncOperationCompletedHandler : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(IAsyncOperation<T>* operation, AsyncStatus status) = 0;
};

template <typename T>
struct IAsyncOperation : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE put_Completed(IAsyncOperationCompletedHandler<T>* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Completed(IAsyncOperationCompletedHandler<T>** handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetResults(T* results) = 0;
};

struct IGeopoint : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Position(BasicGeoposition* value) = 0;
};

struct IGeocoordinateWithPoint : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Point(IGeopoint** value) = 0;
};

// Read only through IGeocoordinateWithPoint: its own latitude and longitude are deprecated.
struct IGeocoordinate : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Latitude(double* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Longitude(double* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Altitude(IInspectable** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Accuracy(double* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AltitudeAccuracy(IInspectable** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Heading(IInspectable** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Speed(IInspectable** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Timestamp(DateTime* value) = 0;
};

struct IGeoposition : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Coordinate(IGeocoordinate** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CivicAddress(IInspectable** value) = 0;
};

struct IGeolocator : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_DesiredAccuracy(PositionAccuracy* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_DesiredAccuracy(PositionAccuracy value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MovementThreshold(double* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MovementThreshold(double value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ReportInterval(UINT32* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ReportInterval(UINT32 value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_LocationStatus(PositionStatus* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetGeopositionAsync(IAsyncOperation<IGeoposition*>** operation) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetGeopositionAsyncWithAgeAndTimeout(TimeSpan maximum_age, TimeSpan timeout,
                                                                         IAsyncOperation<IGeoposition*>** operation) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_PositionChanged(IUnknown* handler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_PositionChanged(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_StatusChanged(IUnknown* handler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_StatusChanged(EventRegistrationToken token) = 0;
};

struct IGeolocatorStatics : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE RequestAccessAsync(IAsyncOperation<GeolocationAccessStatus>** operation) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetGeopositionHistoryAsync(DateTime start_time, IInspectable** operation) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetGeopositionHistoryWithDurationAsync(DateTime start_time, TimeSpan duration,
                                                                          IInspectable** operation) = 0;
};

inline constexpr wchar_t kGeolocatorClass[] = L"Windows.Devices.Geolocation.Geolocator";

inline constexpr GUID kIidGeolocatorStatics = {
    0x9a8e7571, 0x2df5, 0x4591, {0x9f, 0x87, 0xeb, 0x5f, 0xd8, 0x94, 0xe9, 0xb7}};
inline constexpr GUID kIidGeolocator = {0xa9c3bf62, 0x4524, 0x4989, {0x8a, 0xa9, 0xde, 0x01, 0x9d, 0x2e, 0x55, 0x1f}};
inline constexpr GUID kIidGeoposition = {0xc18d0454, 0x7d41, 0x4ff7, {0xa9, 0x57, 0x9d, 0xff, 0xb4, 0xef, 0x7f, 0x5b}};
inline constexpr GUID kIidGeocoordinateWithPoint = {
    0xfeea0525, 0xd22c, 0x4d46, {0xb5, 0x27, 0x0b, 0x96, 0x06, 0x6f, 0xc7, 0xdb}};
// MinGW declares these two but its libraries do not define their IDs.
inline constexpr GUID kIidActivationFactory = {
    0x00000035, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr GUID kIidAsyncInfo = {0x00000036, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr GUID kIidAgileObject = {0x94ea2b94, 0xe9cc, 0x49e0, {0xc0, 0xff, 0xee, 0x64, 0xca, 0x8f, 0x5b, 0x90}};

// The interface IDs of the two IAsyncOperation instances and their handlers: version-5 UUIDs
// of their type signatures, as the Windows Runtime derives them.
template <typename T>
struct AsyncTraits;

template <>
struct AsyncTraits<GeolocationAccessStatus> {
  // pinterface({9fc2b0bb-…};enum(Windows.Devices.Geolocation.GeolocationAccessStatus;i4)) and
  // the same with the handler's {fcdcf02c-…}.
  static constexpr GUID operation = {0xde2b24d0, 0xb726, 0x57b1, {0xa7, 0xc5, 0xe5, 0xa1, 0x39, 0x32, 0xb7, 0xde}};
  static constexpr GUID handler = {0xf3524c93, 0xe5c7, 0x5b88, {0xbe, 0xdb, 0xd3, 0xe6, 0x37, 0xcf, 0xf2, 0x71}};
};

template <>
struct AsyncTraits<IGeoposition*> {
  // The same over rc(Windows.Devices.Geolocation.Geoposition;{c18d0454-…}).
  static constexpr GUID operation = {0xee73ecf0, 0x099d, 0x57e5, {0x84, 0x07, 0x5b, 0x32, 0xe5, 0xaf, 0x1c, 0xc4}};
  static constexpr GUID handler = {0x7668a704, 0x244e, 0x5e12, {0x8d, 0xcb, 0x92, 0xa3, 0x29, 0x9e, 0xba, 0x26}};
};

}  // namespace vessa::geolocation_abi

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
