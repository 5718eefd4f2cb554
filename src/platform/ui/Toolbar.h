#pragma once
// pf::Toolbar: a bar of items (UIToolbar on the phone). It lays its items out left to
// right: fixed items at their width (their natural width when 0), flexible spaces sharing
// what is left equally; custom views become its subviews at their slots.
#include <memory>
#include <optional>
#include <vector>

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/ToolbarPeer.h"
#include "platform/ui/View.h"

namespace pf {

class Toolbar : public View {
 public:
  static constexpr double kEdgePadding = 6;
  static constexpr double kItemSpacing = 10;
  static constexpr double kNaturalItemWidth = 30;
  static constexpr double kNaturalTextItemWidth = 50;  // "Done", "Cancel", a short title

  static std::shared_ptr<Toolbar> create(const Rect& frame);

  const std::vector<std::shared_ptr<BarButtonItem>>& items() const { return items_; }
  void setItems(std::vector<std::shared_ptr<BarButtonItem>> items, bool animated = false);
  const std::optional<Color>& tintColor() const { return tint_; }
  void setTintColor(std::optional<Color> tint);
  // Each item's slot, in the toolbar's coordinates (index as items()).
  const std::vector<Rect>& itemFrames() const { return frames_; }

  void itemChanged(const BarButtonItem& item);

 protected:
  explicit Toolbar(const Rect& frame);
  void layoutSubviews() override { layout(); }

 private:
  void layout();

  ToolbarPeer* toolbarPeer_;
  std::vector<std::shared_ptr<BarButtonItem>> items_;
  std::vector<Rect> frames_;
  std::optional<Color> tint_;
};

}  // namespace pf
