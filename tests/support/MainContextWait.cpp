#include "MainContextWait.h"

#include <glib.h>

namespace {
gboolean markExpired(gpointer expired) {
  *static_cast<bool*>(expired) = true;
  return G_SOURCE_REMOVE;
}
}  // namespace

bool runMainContextUntil(const std::function<bool()>& done, double seconds) {
  bool expired = false;
  // A source at the deadline, so a blocking iteration always wakes up in time.
  GSource* deadline = g_timeout_source_new(static_cast<guint>(seconds * 1000));
  g_source_set_callback(deadline, markExpired, &expired, nullptr);
  g_source_attach(deadline, nullptr);
  while (!done() && !expired) g_main_context_iteration(nullptr, TRUE);
  g_source_destroy(deadline);
  g_source_unref(deadline);
  return done();
}

void runMainContextFor(double seconds) {
  runMainContextUntil([] { return false; }, seconds);
}

void drainMainContext() {
  for (int i = 0; i < 1000 && g_main_context_pending(nullptr); ++i)
    g_main_context_iteration(nullptr, FALSE);
}
