#pragma once

#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <functional>
#include <string>
#include <vector>

// A real WebKitGTK web view in its own window, driven synchronously for tests: load a
// page and wait for it, collect the message URLs ("gmsg", "rodud") the page navigates to
// (they are refused, as the application refuses them), and save snapshots as PNG. With
// stayOnPage, every navigation but the load asked for is refused and collected too.
class WebViewHarness {
 public:
  WebViewHarness(int width, int height);
  ~WebViewHarness();
  WebViewHarness(const WebViewHarness&) = delete;
  WebViewHarness& operator=(const WebViewHarness&) = delete;

  bool loadUri(const std::string& uri, int timeoutMs = 15000);
  // Starts loading and returns; the page's script may answer at any time afterwards.
  void loadHtml(const std::string& html, const std::string& baseUri);
  // Waits until at least `count` message URLs were seen; returns them all.
  const std::vector<std::string>& waitForMessages(size_t count, int timeoutMs = 15000);
  const std::vector<std::string>& messages() const { return messages_; }
  void clearMessages() { messages_.clear(); }
  // On: a page can go nowhere by itself; its navigations are collected with the messages.
  void stayOnPage(bool on) { stayOnPage_ = on; }
  std::string title() const;

  struct Snapshot {
    bool saved = false;
    int width = 0;
    int height = 0;
    size_t colours = 0;  // distinct colours among sampled pixels: a blank page has one
    std::string error;
  };
  Snapshot snapshot(const std::string& pngPath, bool fullDocument);

  // Runs the main loop until done() or the time-out; returns done().
  static bool spin(const std::function<bool()>& done, int timeoutMs);

 private:
  static gboolean onDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                                 gpointer self);
  static void onLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self);
  static gboolean onLoadFailed(WebKitWebView*, WebKitLoadEvent, const char*, GError*, gpointer self);

  GtkWindow* window_ = nullptr;
  WebKitWebView* view_ = nullptr;  // owned by the window
  bool finished_ = false;
  bool failed_ = false;
  bool stayOnPage_ = false;
  std::string asked_;  // the URI of the last loadUri()
  std::vector<std::string> messages_;
};
