#include "platform/base/ValueBlockCache.h"

#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define PF_VALUE_BLOCK_CACHE 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PF_VALUE_BLOCK_CACHE 0
#endif
#endif
#ifndef PF_VALUE_BLOCK_CACHE
#define PF_VALUE_BLOCK_CACHE 1
#endif

namespace pf {

namespace {

constexpr std::size_t kClasses = ValueBlockCache::kLargestCached / ValueBlockCache::kStep;

// Size class c (1…kClasses) holds blocks of c × kStep bytes; 0 means "not cached".
std::size_t classOf(std::size_t bytes) {
  if (bytes == 0 || bytes > ValueBlockCache::kLargestCached) return 0;
  return (bytes + ValueBlockCache::kStep - 1) / ValueBlockCache::kStep;
}

struct FreeBlock {
  FreeBlock* next;
};

struct Lists {
  FreeBlock* heads[kClasses + 1] = {};
  std::size_t bytes = 0;

  void release() noexcept {
    for (auto& head : heads) {
      while (head) {
        FreeBlock* block = head;
        head = block->next;
        ::operator delete(block);
      }
    }
    bytes = 0;
  }
  ~Lists();
};

thread_local Lists tLists;
// Set once this thread's lists are gone: values destroyed later in the thread's exit (static
// or thread-local ones) go straight to the heap. Constant-initialised, so always usable.
thread_local bool tListsGone = false;

Lists::~Lists() {
  release();
  tListsGone = true;
}

}  // namespace

void* ValueBlockCache::allocate(std::size_t bytes) {
  const std::size_t c = classOf(bytes);
  if (c == 0) return ::operator new(bytes);
#if PF_VALUE_BLOCK_CACHE
  if (!tListsGone) {
    Lists& lists = tLists;
    if (FreeBlock* block = lists.heads[c]) {
      lists.heads[c] = block->next;
      lists.bytes -= c * kStep;
      return block;
    }
  }
#endif
  return ::operator new(c * kStep);
}

void ValueBlockCache::deallocate(void* block, std::size_t bytes) noexcept {
  if (!block) return;
  const std::size_t c = classOf(bytes);
#if PF_VALUE_BLOCK_CACHE
  if (c != 0 && !tListsGone) {
    Lists& lists = tLists;
    if (lists.bytes + c * kStep <= kKeptBytes) {
      auto* freed = static_cast<FreeBlock*>(block);
      freed->next = lists.heads[c];
      lists.heads[c] = freed;
      lists.bytes += c * kStep;
      return;
    }
  }
#endif
  (void)c;
  ::operator delete(block);
}

void ValueBlockCache::releaseCached() noexcept {
  if (!tListsGone) tLists.release();
}

std::size_t ValueBlockCache::cachedBytes() noexcept { return tListsGone ? 0 : tLists.bytes; }

}  // namespace pf
