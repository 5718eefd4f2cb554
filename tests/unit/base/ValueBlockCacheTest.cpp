// The block cache behind pf::Value's containers: blocks come back for the next request of
// their size, the bytes kept stay under the cap, a thread's blocks go when it ends, and
// blocks may cross threads. (Sanitizer builds bypass the cache: the reuse checks skip there.)
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "platform/base/Value.h"
#include "platform/base/ValueBlockCache.h"

using pf::Value;
using pf::ValueBlockCache;

namespace {
bool cacheBypassed() {
  ValueBlockCache::releaseCached();
  void* block = ValueBlockCache::allocate(1000);
  ValueBlockCache::deallocate(block, 1000);
  const bool bypassed = ValueBlockCache::cachedBytes() == 0;
  ValueBlockCache::releaseCached();
  return bypassed;
}
}  // namespace

TEST(ValueBlockCache, BlocksComeBackForTheirSizeOnly) {
  if (cacheBypassed()) GTEST_SKIP() << "sanitizer build: no cache";
  void* a = ValueBlockCache::allocate(1000);
  std::memset(a, 0xab, 1000);  // the whole size is usable
  ValueBlockCache::deallocate(a, 1000);
  EXPECT_EQ(ValueBlockCache::cachedBytes(), 1024u);  // rounded up to whole steps
  void* other = ValueBlockCache::allocate(3000);     // another size: a new block
  EXPECT_NE(other, a);
  EXPECT_EQ(ValueBlockCache::allocate(1010), a);  // same step: the block freed last
  EXPECT_EQ(ValueBlockCache::cachedBytes(), 0u);
  ValueBlockCache::deallocate(a, 1010);
  ValueBlockCache::deallocate(other, 3000);
  ValueBlockCache::releaseCached();

  // Blocks larger than the largest cached size go straight back to the heap.
  void* big = ValueBlockCache::allocate(ValueBlockCache::kLargestCached + 1);
  ValueBlockCache::deallocate(big, ValueBlockCache::kLargestCached + 1);
  EXPECT_EQ(ValueBlockCache::cachedBytes(), 0u);
}

TEST(ValueBlockCache, KeepsNoMoreThanItsCap) {
  if (cacheBypassed()) GTEST_SKIP() << "sanitizer build: no cache";
  const size_t size = 32 * 1024;
  std::vector<void*> blocks;
  for (size_t i = 0; i < ValueBlockCache::kKeptBytes / size + 20; ++i)
    blocks.push_back(ValueBlockCache::allocate(size));
  for (void* b : blocks) ValueBlockCache::deallocate(b, size);
  EXPECT_EQ(ValueBlockCache::cachedBytes(), ValueBlockCache::kKeptBytes);
  ValueBlockCache::releaseCached();
  EXPECT_EQ(ValueBlockCache::cachedBytes(), 0u);
}

TEST(ValueBlockCache, ValuesCrossThreadsAndOutliveTheirThread) {
  // A tree made on one thread and freed on another; then one freed by a thread's exit.
  Value tree;
  std::thread maker([&] {
    for (int i = 0; i < 200; ++i) tree.append(Value::dictionary({{"n", i}, {"s", std::string(40, 'x')}}));
  });
  maker.join();
  EXPECT_EQ(tree.size(), 200u);
  EXPECT_EQ(tree[size_t{199}]["n"], Value(199));
  std::thread taker([tree = std::move(tree)]() mutable {
    // Made before the thread's lists, so destroyed after them when the thread ends.
    thread_local Value late;
    late = Value();
    Value copy = tree;
    copy.append(1);  // copy on write, on this thread
    tree = Value();
    EXPECT_EQ(copy.size(), 201u);
    late = Value::array({Value::dictionary({{"late", true}})});
  });
  taker.join();
  ValueBlockCache::releaseCached();
}
