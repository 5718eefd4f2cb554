#pragma once
// pf::ValueAllocator: the standard-library allocator over pf::ValueBlockCache, for the
// element storage of pf::Value's arrays and dictionaries. Stateless: any two compare equal,
// so containers move and swap their storage freely.
#include <cstddef>
#include <new>

#include "platform/base/ValueBlockCache.h"

namespace pf {

template <typename T>
class ValueAllocator {
 public:
  using value_type = T;

  ValueAllocator() noexcept = default;
  template <typename U>
  ValueAllocator(const ValueAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(ValueBlockCache::allocate(n * sizeof(T)));
  }
  void deallocate(T* p, std::size_t n) noexcept { ValueBlockCache::deallocate(p, n * sizeof(T)); }

  template <typename U>
  bool operator==(const ValueAllocator<U>&) const noexcept { return true; }
};

}  // namespace pf
