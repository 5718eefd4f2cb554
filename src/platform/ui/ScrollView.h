#pragma once
// pf::ScrollView: the scrolling part of a view; here only what the web view's scroller
// offers: whether a tap on the status bar scrolls it to the top.
#include <functional>
#include <memory>

#include "platform/ui/View.h"

namespace pf {

class ScrollView : public View {
 public:
  static std::shared_ptr<ScrollView> create(const Rect& frame = {});
  bool scrollsToTop() const { return scrollsToTop_; }
  void setScrollsToTop(bool on);
  // The owner that draws the scrolling (a web view) hears the changes.
  void setScrollsToTopHandler(std::function<void(bool)> handler) { onChange_ = std::move(handler); }

 protected:
  ScrollView(const Rect& frame, std::unique_ptr<ViewPeer> peer) : View(frame, std::move(peer)) {}

 private:
  friend class WebView;
  bool scrollsToTop_ = true;
  std::function<void(bool)> onChange_;
};

}  // namespace pf
