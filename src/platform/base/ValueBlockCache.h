#pragma once
/// @file
/// pf::ValueBlockCache: where pf::Value's containers keep their elements.
#include <cstddef>

namespace pf {

/// Where the arrays and dictionaries of pf::Value keep their elements.
///
/// A tree read from JSON is thousands of container blocks made together and freed together.
/// Through the general heap each block freed is merged with its neighbours and each one made
/// is searched for again, which for a large tree cost a quarter of the reading. Blocks freed
/// here wait instead in per-thread lists by size (steps of kStep bytes), up to kKeptBytes per
/// thread, and the next block of that size is the last one freed — warm in the cache, with no
/// search. Larger blocks and any overflow go to the heap as usual.
///
/// A block may be freed on another thread than the one that made it (it is an ordinary heap
/// block). A thread's lists go back to the heap when it ends, or on releaseCached() (the
/// application calls it on a memory warning). Sanitizer builds bypass the lists, so that a
/// use after free is still caught.
class ValueBlockCache {
 public:
  static constexpr std::size_t kStep = 64;                         ///< Size classes are multiples of this.
  static constexpr std::size_t kLargestCached = 64 * 1024;         ///< Larger blocks always go to the heap.
  static constexpr std::size_t kKeptBytes = std::size_t{8} << 20;  ///< At most this much waits per thread.

  /// A block of at least `bytes` bytes, aligned for any value; never null (throws
  /// std::bad_alloc like operator new).
  static void* allocate(std::size_t bytes);
  /// Takes back a block from allocate() with the same `bytes`.
  static void deallocate(void* block, std::size_t bytes) noexcept;

  /// Gives this thread's waiting blocks back to the heap.
  static void releaseCached() noexcept;
  /// Bytes this thread keeps waiting (for tests and memory reports).
  static std::size_t cachedBytes() noexcept;
};

}  // namespace pf
