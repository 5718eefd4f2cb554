#pragma once
/// @file
/// pf::ValueAllocator: the allocator of pf::Value's containers.
#include <cstddef>
#include <new>

#include "platform/base/ValueBlockCache.h"

namespace pf {

/// The standard-library allocator over pf::ValueBlockCache, for the
/// element storage of pf::Value's arrays and dictionaries. Stateless: any two compare equal,
/// so containers move and swap their storage freely.
template <typename T>
class ValueAllocator {
 public:
  using value_type = T;  ///< What it allocates.

  /// The allocator (stateless).
  ValueAllocator() noexcept = default;
  /// The allocator of another element type (the same, being stateless).
  template <typename U>
  ValueAllocator(const ValueAllocator<U>&) noexcept {}

  /// Room for `n` elements, from pf::ValueBlockCache.
  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(ValueBlockCache::allocate(n * sizeof(T)));
  }
  /// Gives back the room for `n` elements at `p`.
  void deallocate(T* p, std::size_t n) noexcept { ValueBlockCache::deallocate(p, n * sizeof(T)); }

  /// Always true: any two are interchangeable.
  template <typename U>
  bool operator==(const ValueAllocator<U>&) const noexcept { return true; }
};

}  // namespace pf
