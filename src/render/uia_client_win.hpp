#pragma once
// The few UI Automation client interfaces the clock search and the taskbar-button scan call. MinGW's headers do not
// declare them (and uiautomation.h does not compile as C++), so they are declared here with
// their published identifiers. Only the methods called are declared with their parameters;
// every slot before them holds a placeholder named for the method that sits there, in the
// published order, so that each called method lands in its vtable slot (tests/win checks
// the slot numbers). Placeholders are never called.

#include <windows.h>
#include <oaidl.h>
#include <unknwn.h>

// COM objects end through Release, never through a destructor: IUnknown declares none.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

namespace vessa::uia {

// CLSID_CUIAutomation, IID_IUIAutomation, IID_IUIAutomation2.
inline constexpr GUID kClsidCuiAutomation{0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
inline constexpr GUID kIidAutomation{0x30cbe57d, 0xd9d0, 0x452a, {0xab, 0x13, 0x7a, 0xc5, 0xac, 0x48, 0x25, 0xee}};
inline constexpr GUID kIidAutomation2{0x34723aff, 0x0c9d, 0x49d0, {0x98, 0x96, 0x7a, 0xb5, 0x2d, 0xf8, 0xcd, 0x8a}};

inline constexpr GUID kIidCacheRequest{0xb32a92b5, 0xbc25, 0x4078, {0x9c, 0x08, 0xd7, 0xee, 0x95, 0xc4, 0x8e, 0x03}};

inline constexpr int kBoundingRectanglePropertyId = 30001;  // UIA_BoundingRectanglePropertyId
inline constexpr int kControlTypePropertyId = 30003;        // UIA_ControlTypePropertyId
inline constexpr int kAutomationIdPropertyId = 30011;       // UIA_AutomationIdPropertyId
inline constexpr int kTreeScopeDescendants = 4;             // TreeScope_Descendants

struct IUIAutomationElement;

// The properties a search fetches with the elements it finds, in the same round trip.
struct IUIAutomationCacheRequest : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE AddProperty(int property_id) = 0;  // slot 3
};

// A condition is only handed back to the element that searches with it.
struct IUIAutomationCondition : IUnknown {};

struct IUIAutomationElementArray : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Length(int* length) = 0;                                // slot 3
  virtual HRESULT STDMETHODCALLTYPE GetElement(int index, IUIAutomationElement** element) = 0;  // slot 4
};

struct IUIAutomationElement : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetFocus() = 0;      // slot 3
  virtual HRESULT STDMETHODCALLTYPE GetRuntimeId() = 0;  // 4
  virtual HRESULT STDMETHODCALLTYPE FindFirst() = 0;     // 5
  virtual HRESULT STDMETHODCALLTYPE FindAll(int scope, IUIAutomationCondition* condition,
                                            IUIAutomationElementArray** found) = 0;  // slot 6
  virtual HRESULT STDMETHODCALLTYPE FindFirstBuildCache() = 0;              // 7
  virtual HRESULT STDMETHODCALLTYPE FindAllBuildCache(int scope, IUIAutomationCondition* condition,
                                                      IUIAutomationCacheRequest* cache_request,
                                                      IUIAutomationElementArray** found) = 0;  // slot 8
  virtual HRESULT STDMETHODCALLTYPE BuildUpdatedCache() = 0;                // 9
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValue() = 0;          // 10
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValueEx() = 0;        // 11
  virtual HRESULT STDMETHODCALLTYPE GetCachedPropertyValue() = 0;           // 12
  virtual HRESULT STDMETHODCALLTYPE GetCachedPropertyValueEx() = 0;         // 13
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPatternAs() = 0;              // 14
  virtual HRESULT STDMETHODCALLTYPE GetCachedPatternAs() = 0;               // 15
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPattern() = 0;                // 16
  virtual HRESULT STDMETHODCALLTYPE GetCachedPattern() = 0;                 // 17
  virtual HRESULT STDMETHODCALLTYPE GetCachedParent() = 0;                  // 18
  virtual HRESULT STDMETHODCALLTYPE GetCachedChildren() = 0;                // 19
  virtual HRESULT STDMETHODCALLTYPE get_CurrentProcessId() = 0;             // 20
  virtual HRESULT STDMETHODCALLTYPE get_CurrentControlType(int* control_type) = 0;  // slot 21
  virtual HRESULT STDMETHODCALLTYPE get_CurrentLocalizedControlType() = 0;  // 22
  virtual HRESULT STDMETHODCALLTYPE get_CurrentName() = 0;                  // 23
  virtual HRESULT STDMETHODCALLTYPE get_CurrentAcceleratorKey() = 0;        // 24
  virtual HRESULT STDMETHODCALLTYPE get_CurrentAccessKey() = 0;             // 25
  virtual HRESULT STDMETHODCALLTYPE get_CurrentHasKeyboardFocus() = 0;      // 26
  virtual HRESULT STDMETHODCALLTYPE get_CurrentIsKeyboardFocusable() = 0;   // 27
  virtual HRESULT STDMETHODCALLTYPE get_CurrentIsEnabled() = 0;             // 28
  virtual HRESULT STDMETHODCALLTYPE get_CurrentAutomationId() = 0;          // 29
  virtual HRESULT STDMETHODCALLTYPE get_CurrentClassName() = 0;             // 30
  virtual HRESULT STDMETHODCALLTYPE get_CurrentHelpText() = 0;              // 31
  virtual HRESULT STDMETHODCALLTYPE get_CurrentCulture() = 0;               // 32
  virtual HRESULT STDMETHODCALLTYPE get_CurrentIsControlElement() = 0;      // 33
  virtual HRESULT STDMETHODCALLTYPE get_CurrentIsContentElement() = 0;      // 34
  virtual HRESULT STDMETHODCALLTYPE get_CurrentIsPassword() = 0;            // 35
  virtual HRESULT STDMETHODCALLTYPE get_CurrentNativeWindowHandle() = 0;    // 36
  virtual HRESULT STDMETHODCALLTYPE get_CurrentItemType() = 0;              // 37
  virtual HRESULT STDMETHODCALLTYPE get_CurrentIsOffscreen() = 0;           // 38
  virtual HRESULT STDMETHODCALLTYPE get_CurrentOrientation() = 0;           // 39
  virtual HRESULT STDMETHODCALLTYPE get_CurrentFrameworkId() = 0;           // 40
  virtual HRESULT STDMETHODCALLTYPE get_CurrentIsRequiredForForm() = 0;     // 41
  virtual HRESULT STDMETHODCALLTYPE get_CurrentItemStatus() = 0;            // 42
  virtual HRESULT STDMETHODCALLTYPE get_CurrentBoundingRectangle(RECT* rect) = 0;  // slot 43
  virtual HRESULT STDMETHODCALLTYPE get_CurrentLabeledBy() = 0;  // 44
  virtual HRESULT STDMETHODCALLTYPE get_CurrentAriaRole() = 0;  // 45
  virtual HRESULT STDMETHODCALLTYPE get_CurrentAriaProperties() = 0;  // 46
  virtual HRESULT STDMETHODCALLTYPE get_CurrentIsDataValidForForm() = 0;  // 47
  virtual HRESULT STDMETHODCALLTYPE get_CurrentControllerFor() = 0;  // 48
  virtual HRESULT STDMETHODCALLTYPE get_CurrentDescribedBy() = 0;  // 49
  virtual HRESULT STDMETHODCALLTYPE get_CurrentFlowsTo() = 0;  // 50
  virtual HRESULT STDMETHODCALLTYPE get_CurrentProviderDescription() = 0;  // 51
  virtual HRESULT STDMETHODCALLTYPE get_CachedProcessId() = 0;  // 52
  virtual HRESULT STDMETHODCALLTYPE get_CachedControlType(int* control_type) = 0;  // slot 53
  virtual HRESULT STDMETHODCALLTYPE get_CachedLocalizedControlType() = 0;  // 54
  virtual HRESULT STDMETHODCALLTYPE get_CachedName() = 0;  // 55
  virtual HRESULT STDMETHODCALLTYPE get_CachedAcceleratorKey() = 0;  // 56
  virtual HRESULT STDMETHODCALLTYPE get_CachedAccessKey() = 0;  // 57
  virtual HRESULT STDMETHODCALLTYPE get_CachedHasKeyboardFocus() = 0;  // 58
  virtual HRESULT STDMETHODCALLTYPE get_CachedIsKeyboardFocusable() = 0;  // 59
  virtual HRESULT STDMETHODCALLTYPE get_CachedIsEnabled() = 0;  // 60
  virtual HRESULT STDMETHODCALLTYPE get_CachedAutomationId() = 0;  // 61
  virtual HRESULT STDMETHODCALLTYPE get_CachedClassName() = 0;  // 62
  virtual HRESULT STDMETHODCALLTYPE get_CachedHelpText() = 0;  // 63
  virtual HRESULT STDMETHODCALLTYPE get_CachedCulture() = 0;  // 64
  virtual HRESULT STDMETHODCALLTYPE get_CachedIsControlElement() = 0;  // 65
  virtual HRESULT STDMETHODCALLTYPE get_CachedIsContentElement() = 0;  // 66
  virtual HRESULT STDMETHODCALLTYPE get_CachedIsPassword() = 0;  // 67
  virtual HRESULT STDMETHODCALLTYPE get_CachedNativeWindowHandle() = 0;  // 68
  virtual HRESULT STDMETHODCALLTYPE get_CachedItemType() = 0;  // 69
  virtual HRESULT STDMETHODCALLTYPE get_CachedIsOffscreen() = 0;  // 70
  virtual HRESULT STDMETHODCALLTYPE get_CachedOrientation() = 0;  // 71
  virtual HRESULT STDMETHODCALLTYPE get_CachedFrameworkId() = 0;  // 72
  virtual HRESULT STDMETHODCALLTYPE get_CachedIsRequiredForForm() = 0;  // 73
  virtual HRESULT STDMETHODCALLTYPE get_CachedItemStatus() = 0;  // 74
  virtual HRESULT STDMETHODCALLTYPE get_CachedBoundingRectangle(RECT* rect) = 0;  // slot 75
};

struct IUIAutomation : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CompareElements() = 0;    // slot 3
  virtual HRESULT STDMETHODCALLTYPE CompareRuntimeIds() = 0;  // 4
  virtual HRESULT STDMETHODCALLTYPE GetRootElement() = 0;     // 5
  virtual HRESULT STDMETHODCALLTYPE ElementFromHandle(HWND window, IUIAutomationElement** element) = 0;  // slot 6
  virtual HRESULT STDMETHODCALLTYPE ElementFromPoint() = 0;             // 7
  virtual HRESULT STDMETHODCALLTYPE GetFocusedElement() = 0;            // 8
  virtual HRESULT STDMETHODCALLTYPE GetRootElementBuildCache() = 0;     // 9
  virtual HRESULT STDMETHODCALLTYPE ElementFromHandleBuildCache() = 0;  // 10
  virtual HRESULT STDMETHODCALLTYPE ElementFromPointBuildCache() = 0;   // 11
  virtual HRESULT STDMETHODCALLTYPE GetFocusedElementBuildCache() = 0;  // 12
  virtual HRESULT STDMETHODCALLTYPE CreateTreeWalker() = 0;             // 13
  virtual HRESULT STDMETHODCALLTYPE get_ControlViewWalker() = 0;        // 14
  virtual HRESULT STDMETHODCALLTYPE get_ContentViewWalker() = 0;        // 15
  virtual HRESULT STDMETHODCALLTYPE get_RawViewWalker() = 0;            // 16
  virtual HRESULT STDMETHODCALLTYPE get_RawViewCondition() = 0;         // 17
  virtual HRESULT STDMETHODCALLTYPE get_ControlViewCondition() = 0;     // 18
  virtual HRESULT STDMETHODCALLTYPE get_ContentViewCondition() = 0;     // 19
  virtual HRESULT STDMETHODCALLTYPE CreateCacheRequest(IUIAutomationCacheRequest** request) = 0;  // slot 20
  virtual HRESULT STDMETHODCALLTYPE CreateTrueCondition(IUIAutomationCondition** condition) = 0;  // slot 21
  virtual HRESULT STDMETHODCALLTYPE CreateFalseCondition() = 0;         // 22
  // The value is passed by value, as declared.
  virtual HRESULT STDMETHODCALLTYPE CreatePropertyCondition(int property_id, VARIANT value,
                                                            IUIAutomationCondition** condition) = 0;  // slot 23
  virtual HRESULT STDMETHODCALLTYPE CreatePropertyConditionEx() = 0;                  // 24
  virtual HRESULT STDMETHODCALLTYPE CreateAndCondition() = 0;                         // 25
  virtual HRESULT STDMETHODCALLTYPE CreateAndConditionFromArray() = 0;                // 26
  virtual HRESULT STDMETHODCALLTYPE CreateAndConditionFromNativeArray() = 0;          // 27
  virtual HRESULT STDMETHODCALLTYPE CreateOrCondition() = 0;                          // 28
  virtual HRESULT STDMETHODCALLTYPE CreateOrConditionFromArray() = 0;                 // 29
  virtual HRESULT STDMETHODCALLTYPE CreateOrConditionFromNativeArray() = 0;           // 30
  virtual HRESULT STDMETHODCALLTYPE CreateNotCondition() = 0;                         // 31
  virtual HRESULT STDMETHODCALLTYPE AddAutomationEventHandler() = 0;                  // 32
  virtual HRESULT STDMETHODCALLTYPE RemoveAutomationEventHandler() = 0;               // 33
  virtual HRESULT STDMETHODCALLTYPE AddPropertyChangedEventHandlerNativeArray() = 0;  // 34
  virtual HRESULT STDMETHODCALLTYPE AddPropertyChangedEventHandler() = 0;             // 35
  virtual HRESULT STDMETHODCALLTYPE RemovePropertyChangedEventHandler() = 0;          // 36
  virtual HRESULT STDMETHODCALLTYPE AddStructureChangedEventHandler() = 0;            // 37
  virtual HRESULT STDMETHODCALLTYPE RemoveStructureChangedEventHandler() = 0;         // 38
  virtual HRESULT STDMETHODCALLTYPE AddFocusChangedEventHandler() = 0;                // 39
  virtual HRESULT STDMETHODCALLTYPE RemoveFocusChangedEventHandler() = 0;             // 40
  virtual HRESULT STDMETHODCALLTYPE RemoveAllEventHandlers() = 0;                     // 41
  virtual HRESULT STDMETHODCALLTYPE IntNativeArrayToSafeArray() = 0;                  // 42
  virtual HRESULT STDMETHODCALLTYPE IntSafeArrayToNativeArray() = 0;                  // 43
  virtual HRESULT STDMETHODCALLTYPE RectToVariant() = 0;                              // 44
  virtual HRESULT STDMETHODCALLTYPE VariantToRect() = 0;                              // 45
  virtual HRESULT STDMETHODCALLTYPE SafeArrayToRectNativeArray() = 0;                 // 46
  virtual HRESULT STDMETHODCALLTYPE CreateProxyFactoryEntry() = 0;                    // 47
  virtual HRESULT STDMETHODCALLTYPE get_ProxyFactoryMapping() = 0;                    // 48
  virtual HRESULT STDMETHODCALLTYPE GetPropertyProgrammaticName() = 0;                // 49
  virtual HRESULT STDMETHODCALLTYPE GetPatternProgrammaticName() = 0;                 // 50
  virtual HRESULT STDMETHODCALLTYPE PollForPotentialSupportedPatterns() = 0;          // 51
  virtual HRESULT STDMETHODCALLTYPE PollForPotentialSupportedProperties() = 0;        // 52
  virtual HRESULT STDMETHODCALLTYPE CheckNotSupported() = 0;                          // 53
  virtual HRESULT STDMETHODCALLTYPE get_ReservedNotSupportedValue() = 0;              // 54
  virtual HRESULT STDMETHODCALLTYPE get_ReservedMixedAttributeValue() = 0;            // 55
  virtual HRESULT STDMETHODCALLTYPE ElementFromIAccessible() = 0;                     // 56
  virtual HRESULT STDMETHODCALLTYPE ElementFromIAccessibleBuildCache() = 0;           // 57
};

// Windows 8 and later: time-outs for calls into a provider (the shell, here).
struct IUIAutomation2 : IUIAutomation {
  virtual HRESULT STDMETHODCALLTYPE get_AutoSetFocus() = 0;                         // 58
  virtual HRESULT STDMETHODCALLTYPE put_AutoSetFocus() = 0;                         // 59
  virtual HRESULT STDMETHODCALLTYPE get_ConnectionTimeout() = 0;                    // 60
  virtual HRESULT STDMETHODCALLTYPE put_ConnectionTimeout(DWORD milliseconds) = 0;  // slot 61
  virtual HRESULT STDMETHODCALLTYPE get_TransactionTimeout() = 0;                   // 62
  virtual HRESULT STDMETHODCALLTYPE put_TransactionTimeout(DWORD milliseconds) = 0;  // slot 63
};

}  // namespace vessa::uia

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
