// A tick whose figures did not change must not allocate: the sampler reads into storage it
// keeps and compares before it stores. This binary's global operator new counts the
// allocations made while a counting scope is open; it is a binary of its own, so the other
// host tests keep AddressSanitizer's checks of new and delete.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "sampler_rig.hpp"

namespace {

std::atomic<bool> g_counting{false};
std::atomic<long> g_allocations{0};

void* counted_alloc(std::size_t size) {
  if (g_counting.load(std::memory_order_relaxed)) g_allocations.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(size == 0 ? 1 : size);
}

void* counted_aligned_alloc(std::size_t size, std::align_val_t align) {
  if (g_counting.load(std::memory_order_relaxed)) g_allocations.fetch_add(1, std::memory_order_relaxed);
  const auto alignment = static_cast<std::size_t>(align);
  const std::size_t rounded = (size + alignment - 1) / alignment * alignment;
  return std::aligned_alloc(alignment, rounded == 0 ? alignment : rounded);
}

// Counts the allocations made in its scope.
class AllocationCount {
 public:
  AllocationCount() {
    g_allocations = 0;
    g_counting = true;
  }
  ~AllocationCount() { g_counting = false; }
  AllocationCount(const AllocationCount&) = delete;
  AllocationCount& operator=(const AllocationCount&) = delete;
  [[nodiscard]] long count() const { return g_allocations.load(); }
};

}  // namespace

void* operator new(std::size_t size) {
  if (void* p = counted_alloc(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  if (void* p = counted_alloc(size)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return counted_alloc(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return counted_alloc(size); }
void* operator new(std::size_t size, std::align_val_t align) {
  if (void* p = counted_aligned_alloc(size, align)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t align) {
  if (void* p = counted_aligned_alloc(size, align)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
  return counted_aligned_alloc(size, align);
}
void* operator new[](std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
  return counted_aligned_alloc(size, align);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }

namespace vessa {
namespace {

using testing::SamplerRig;
using testing::script_busy_machine;

TEST(SamplerAllocation, UnchangedTickAllocatesNothing) {
  SamplerRig rig(3000.0);
  script_busy_machine(rig);
  rig.open();
  // The first ticks size the scratch storage and light the lamps.
  for (int i = 0; i < 3; ++i) rig.tick();
  ASSERT_TRUE(rig.stored.lamp_lit);
  ASSERT_EQ(rig.stored.disks.size(), 4u);
  ASSERT_GT(rig.bar(MetricKind::Gpu), 0.0);

  for (int i = 0; i < 5; ++i) {
    bool changed = true;
    long allocations = 0;
    {
      const AllocationCount count;
      changed = rig.tick();
      allocations = count.count();
    }
    EXPECT_FALSE(changed);
    EXPECT_EQ(allocations, 0) << "tick " << i;
  }
}

TEST(SamplerAllocation, ChangedFiguresOfTheSameShapeAllocateNothingEither) {
  SamplerRig rig(3000.0);
  script_busy_machine(rig);
  rig.open();
  for (int i = 0; i < 3; ++i) rig.tick();
  for (int i = 0; i < 4; ++i) {
    rig.memory_load = 40 + static_cast<std::uint32_t>(i);
    bool changed = false;
    long allocations = 0;
    {
      const AllocationCount count;
      changed = rig.tick();
      allocations = count.count();
    }
    EXPECT_TRUE(changed);
    EXPECT_EQ(allocations, 0) << "tick " << i;
  }
}

// The counter really counts, so the zeros above mean something.
TEST(SamplerAllocation, TheCountSeesAnAllocationInTheTick) {
  SamplerRig rig(3000.0);
  script_busy_machine(rig);
  rig.open();
  long allocations = 0;
  {
    const AllocationCount count;
    (void)rig.tick();  // the first tick sizes every buffer
    allocations = count.count();
  }
  EXPECT_GT(allocations, 0);
}

}  // namespace
}  // namespace vessa
