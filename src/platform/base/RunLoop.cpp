#include "platform/base/RunLoop.h"

#include <cassert>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/base/Clock.h"

namespace pf {

namespace {

// Run-queue key: fire time, then scheduling order (ids only grow).
struct Key {
  double fireAt;
  RunLoop::CallId id;
  bool operator<(const Key& o) const { return fireAt < o.fireAt || (fireAt == o.fireAt && id < o.id); }
};

struct Entry {
  const void* owner;
  std::function<void()> fn;
};

using Pool = std::vector<std::shared_ptr<const void>>;

// Wakes a thread waiting in performOnMainThread. It signals when the call's function is let go,
// whether it ran or was dropped by reset(), so a waiter can never be left hanging.
struct Completion {
  std::mutex mutex;
  std::condition_variable cv;
  bool done = false;

  void wait() {
    std::unique_lock lock(mutex);
    cv.wait(lock, [this] { return done; });
  }
};

struct CompletionSignal {
  explicit CompletionSignal(std::shared_ptr<Completion> c) : completion(std::move(c)) {}
  CompletionSignal(const CompletionSignal&) = delete;
  CompletionSignal& operator=(const CompletionSignal&) = delete;

  std::shared_ptr<Completion> completion;
  ~CompletionSignal() {
    {
      std::lock_guard lock(completion->mutex);
      completion->done = true;
    }
    completion->cv.notify_all();
  }
};

}  // namespace

struct RunLoop::State {
  std::thread::id mainThread = std::this_thread::get_id();
  std::shared_ptr<RunLoopDriver> driver;

  std::map<Key, Entry> queue;
  std::unordered_map<CallId, double> fireTimes;  // id -> fire time, to find its key
  std::unordered_map<const void*, std::unordered_set<CallId>> byOwner;
  CallId nextId = 1;

  std::vector<Pool*> pools;  // one per running (possibly nested) pass, innermost last
  Pool waitingPool;          // autoreleased outside a pass: let go at the end of the next one
  std::vector<double> passTimes;

  // The wake-up last told to the driver, so it hears only of changes.
  bool wakeUpKnown = false;
  std::optional<double> lastWakeUp;

  // Cross-thread inbox: the only state touched off the main thread.
  mutable std::mutex inboxMutex;
  std::vector<std::function<void()>> inbox;
  std::shared_ptr<RunLoopDriver> inboxDriver;

  std::function<void()> take(std::map<Key, Entry>::iterator it) {
    const CallId id = it->first.id;
    const void* owner = it->second.owner;
    std::function<void()> fn = std::move(it->second.fn);
    queue.erase(it);
    fireTimes.erase(id);
    if (owner) {
      auto o = byOwner.find(owner);
      if (o != byOwner.end()) {
        o->second.erase(id);
        if (o->second.empty()) byOwner.erase(o);
      }
    }
    return fn;
  }
};

RunLoop& RunLoop::main() {
  // Never destroyed: calls still waiting at exit may hold objects whose destructors would
  // come back here during static destruction.
  static RunLoop* loop = new RunLoop();
  return *loop;
}

RunLoop::RunLoop() : state_(std::make_unique<State>()) {}
RunLoop::~RunLoop() = default;

void RunLoop::setDriver(std::shared_ptr<RunLoopDriver> driver) {
  {
    std::lock_guard lock(state_->inboxMutex);
    state_->inboxDriver = driver;
  }
  state_->driver = std::move(driver);
  state_->wakeUpKnown = false;  // the new driver knows nothing yet
  updateWakeUp();
}

bool RunLoop::isMainThread() const { return std::this_thread::get_id() == state_->mainThread; }

RunLoop::CallId RunLoop::performAfter(const void* owner, double delay, std::function<void()> fn) {
  if (!(delay > 0)) delay = 0;  // also NaN
  return performAt(owner, Clock::monotonic() + delay, std::move(fn));
}

RunLoop::CallId RunLoop::performAt(const void* owner, double monotonicTime, std::function<void()> fn) {
  assert(isMainThread() && "RunLoop: schedule on the main thread (performOnMainThread from others)");
  if (!fn) return 0;
  State& s = *state_;
  // Never before now, nor before the running pass's time: a new entry must sort after every
  // entry the pass is running, which is what keeps it for a later pass.
  double floor = Clock::monotonic();
  if (!s.passTimes.empty() && s.passTimes.back() > floor) floor = s.passTimes.back();
  if (!(monotonicTime >= floor)) monotonicTime = floor;
  const CallId id = s.nextId++;
  s.queue.emplace(Key{monotonicTime, id}, Entry{owner, std::move(fn)});
  s.fireTimes.emplace(id, monotonicTime);
  if (owner) s.byOwner[owner].insert(id);
  updateWakeUp();
  return id;
}

void RunLoop::cancelPendingCalls(const void* owner) {
  if (!owner) return;
  State& s = *state_;
  auto o = s.byOwner.find(owner);
  if (o == s.byOwner.end()) return;
  // Unlink everything first: destroying a function may run destructors that come back here.
  std::vector<std::function<void()>> dropped;
  const std::unordered_set<CallId> ids = std::move(o->second);
  s.byOwner.erase(o);
  dropped.reserve(ids.size());
  for (CallId id : ids) {
    auto f = s.fireTimes.find(id);
    if (f == s.fireTimes.end()) continue;
    auto node = s.queue.extract(Key{f->second, id});
    s.fireTimes.erase(f);
    if (node) dropped.push_back(std::move(node.mapped().fn));
  }
  updateWakeUp();
}

bool RunLoop::cancel(CallId id) {
  State& s = *state_;
  auto f = s.fireTimes.find(id);
  if (f == s.fireTimes.end()) return false;
  auto it = s.queue.find(Key{f->second, id});
  if (it == s.queue.end()) return false;
  std::function<void()> dropped = s.take(it);
  updateWakeUp();
  return true;  // `dropped` is destroyed after the state is consistent again
}

bool RunLoop::isPending(CallId id) const { return state_->fireTimes.count(id) != 0; }

size_t RunLoop::pendingCallCount() const { return state_->queue.size(); }

void RunLoop::autorelease(std::shared_ptr<const void> object) {
  if (!object) return;
  State& s = *state_;
  if (!s.pools.empty()) {
    s.pools.back()->push_back(std::move(object));
  } else {
    s.waitingPool.push_back(std::move(object));
    updateWakeUp();
  }
}

void RunLoop::performOnMainThread(std::function<void()> fn, bool waitUntilDone) {
  if (!fn) return;
  if (isMainThread()) {
    if (waitUntilDone) {
      fn();
    } else {
      performNextPass(nullptr, std::move(fn));
    }
    return;
  }
  std::shared_ptr<Completion> completion;
  std::function<void()> call;
  if (waitUntilDone) {
    completion = std::make_shared<Completion>();
    auto signal = std::make_shared<CompletionSignal>(completion);
    // Let go of the function's captures before the waiter wakes up.
    call = [fn = std::move(fn), signal = std::move(signal)]() mutable {
      fn();
      fn = nullptr;
      signal.reset();
    };
  } else {
    call = std::move(fn);
  }
  std::shared_ptr<RunLoopDriver> driver;
  {
    std::lock_guard lock(state_->inboxMutex);
    state_->inbox.push_back(std::move(call));
    driver = state_->inboxDriver;
  }
  if (driver) driver->wakeUpFromAnyThread();
  if (completion) completion->wait();
}

size_t RunLoop::runPass() {
  State& s = *state_;
  const double t = Clock::monotonic();

  // What other threads posted joins this pass, after what was already due.
  std::vector<std::function<void()>> inbound;
  {
    std::lock_guard lock(s.inboxMutex);
    inbound.swap(s.inbox);
  }
  for (auto& fn : inbound) {
    const CallId id = s.nextId++;
    s.queue.emplace(Key{t, id}, Entry{nullptr, std::move(fn)});
    s.fireTimes.emplace(id, t);
  }
  inbound.clear();

  const CallId cutoff = s.nextId;
  Pool pool = std::move(s.waitingPool);
  s.waitingPool.clear();
  s.pools.push_back(&pool);
  s.passTimes.push_back(t);

  size_t ran = 0;
  for (;;) {
    auto it = s.queue.begin();
    if (it == s.queue.end() || it->first.fireAt > t || it->first.id >= cutoff) break;
    std::function<void()> fn = s.take(it);
    fn();
    ++ran;
  }

  s.passTimes.pop_back();
  s.pools.pop_back();
  // Destructors run here may autorelease again (next pass) or schedule calls.
  pool.clear();
  updateWakeUp();
  return ran;
}

size_t RunLoop::runDuePasses() {
  size_t ran = 0;
  while (hasDueWork()) ran += runPass();
  return ran;
}

std::optional<double> RunLoop::nextFireTime() const {
  if (state_->queue.empty()) return std::nullopt;
  return state_->queue.begin()->first.fireAt;
}

bool RunLoop::hasDueWork() const {
  const State& s = *state_;
  if (!s.waitingPool.empty()) return true;
  if (!s.queue.empty() && s.queue.begin()->first.fireAt <= Clock::monotonic()) return true;
  std::lock_guard lock(s.inboxMutex);
  return !s.inbox.empty();
}

bool RunLoop::isInPass() const { return !state_->pools.empty(); }

void RunLoop::reset() {
  State& s = *state_;
  // Dropped functions and objects may schedule again from their destructors; a few rounds
  // clear that too.
  for (int round = 0; round < 8; ++round) {
    std::map<Key, Entry> queue;
    queue.swap(s.queue);
    s.fireTimes.clear();
    s.byOwner.clear();
    Pool pool = std::move(s.waitingPool);
    s.waitingPool.clear();
    std::vector<std::function<void()>> inbound;
    {
      std::lock_guard lock(s.inboxMutex);
      inbound.swap(s.inbox);
    }
    const bool empty = queue.empty() && pool.empty() && inbound.empty();
    queue.clear();
    pool.clear();
    inbound.clear();  // releases waiting threads unrun
    if (empty) break;
  }
  s.wakeUpKnown = false;
  updateWakeUp();
}

void RunLoop::updateWakeUp() {
  State& s = *state_;
  if (!s.pools.empty() || !s.driver) return;  // a running pass reports when it ends
  std::optional<double> wanted;
  if (!s.queue.empty()) wanted = s.queue.begin()->first.fireAt;
  if (!s.waitingPool.empty()) {
    const double now = Clock::monotonic();
    if (!wanted || *wanted > now) wanted = now;
  }
  if (s.wakeUpKnown && s.lastWakeUp == wanted) return;
  s.wakeUpKnown = true;
  s.lastWakeUp = wanted;
  auto driver = s.driver;  // the driver may replace itself while being told
  driver->scheduleWakeUp(wanted);
}

}  // namespace pf
