#pragma once
// pf::ToolbarPeer: draws a toolbar's items at the frames pf::Toolbar computed (custom views
// are subviews of the toolbar and draw themselves). A tapped item is reported with
// BarButtonItem::performAction.
#include <memory>
#include <optional>
#include <vector>

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/ViewPeer.h"

namespace pf {

class ToolbarPeer : public ViewPeer {
 public:
  virtual void setItems(const std::vector<std::shared_ptr<BarButtonItem>>& /*items*/,
                        const std::vector<Rect>& /*frames*/) {}
  // Enabled state, width, style or label of a shown item changed.
  virtual void itemChanged(const BarButtonItem& /*item*/) {}
  virtual void setTintColor(const std::optional<Color>& /*tint*/) {}
};

}  // namespace pf
