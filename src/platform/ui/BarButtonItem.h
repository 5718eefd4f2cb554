#pragma once
// pf::BarButtonItem: one item of a toolbar (UIBarButtonItem on the phone): a system item
// (done, refresh, action, flexible or fixed space…), an image, a title or a custom view.
// Not a view; the toolbar that shows it draws it and hears its changes.
//
// The action is a function run when the user taps the enabled item; the phone toolkit does not
// retain targets, so capture the target weakly.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Image.h"
#include "platform/ui/View.h"

namespace pf {

class Toolbar;

enum class BarButtonSystemItem {
  Done = 0, Cancel = 1, Edit = 2, Save = 3, Add = 4, FlexibleSpace = 5, FixedSpace = 6,
  Compose = 7, Reply = 8, Action = 9, Organize = 10, Bookmarks = 11, Search = 12,
  Refresh = 13, Stop = 14, Camera = 15, Trash = 16, Play = 17, Pause = 18, Rewind = 19,
  FastForward = 20,
};
enum class BarButtonItemStyle { Plain = 0, Bordered = 1, Done = 2 };

class BarButtonItem : public std::enable_shared_from_this<BarButtonItem> {
 public:
  using Action = std::function<void()>;

  static std::shared_ptr<BarButtonItem> withSystemItem(BarButtonSystemItem item, Action action = {});
  static std::shared_ptr<BarButtonItem> withImage(std::shared_ptr<const Image> image, BarButtonItemStyle style,
                                                  Action action = {});
  static std::shared_ptr<BarButtonItem> withTitle(std::string title, BarButtonItemStyle style, Action action = {});
  static std::shared_ptr<BarButtonItem> withCustomView(std::shared_ptr<View> view);

  std::optional<BarButtonSystemItem> systemItem() const { return systemItem_; }
  bool isSpace() const {
    return systemItem_ == BarButtonSystemItem::FlexibleSpace || systemItem_ == BarButtonSystemItem::FixedSpace;
  }
  const std::shared_ptr<const Image>& image() const { return image_; }
  const std::string& title() const { return title_; }
  const std::shared_ptr<View>& customView() const { return customView_; }

  BarButtonItemStyle style() const { return style_; }
  void setStyle(BarButtonItemStyle style);
  double width() const { return width_; }  // 0: the item's natural width
  void setWidth(double width);
  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled);
  void setAction(Action action) { action_ = std::move(action); }
  bool isAccessibilityElement() const { return accessibilityElement_; }
  void setIsAccessibilityElement(bool on);
  const std::string& accessibilityLabel() const { return accessibilityLabel_; }
  void setAccessibilityLabel(std::string label);

  // The user tapped the item (a backend or a test): runs the action when enabled.
  void performAction();

 private:
  friend class Toolbar;
  BarButtonItem() = default;
  void changed();

  std::optional<BarButtonSystemItem> systemItem_;
  std::shared_ptr<const Image> image_;
  std::string title_;
  std::shared_ptr<View> customView_;
  BarButtonItemStyle style_ = BarButtonItemStyle::Plain;
  double width_ = 0;
  bool enabled_ = true;
  Action action_;
  bool accessibilityElement_ = false;
  std::string accessibilityLabel_;
  std::vector<std::weak_ptr<Toolbar>> toolbars_;  // who shows us
};

}  // namespace pf
