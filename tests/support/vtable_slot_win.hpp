#pragma once
// The vtable slot of a virtual method, for the tests that check hand-declared COM and Windows
// Runtime interfaces against the slots Microsoft publishes.

#include <cstdint>
#include <cstring>

namespace vessa::test {

// Read from the method's member pointer as the Itanium C++ ABI that MinGW's g++ follows lays
// it out: one plus the slot's byte offset.
template <typename Method>
std::uintptr_t vtable_slot(Method method) {
  static_assert(sizeof(Method) == 2 * sizeof(std::uintptr_t));
  std::uintptr_t words[2];
  std::memcpy(words, &method, sizeof(words));
  return (words[0] - 1) / sizeof(void*);
}

}  // namespace vessa::test
