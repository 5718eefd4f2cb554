#pragma once
// pf::GtkToolbarPeer: a pf::Toolbar's items as flat GTK buttons at the slots the toolbar
// computed (custom views are subviews and draw themselves; spaces draw nothing). A click on
// an enabled item runs its action. Buttons are kept per item across re-layouts, so an
// action that changes its own item does not lose the button it runs in.
#include <memory>
#include <vector>

#include "platform/gtk/GObjectRef.h"
#include "platform/gtk/GtkViewPeer.h"
#include "platform/ui/ToolbarPeer.h"

namespace pf {

class GtkToolbarPeer : public GtkViewPeerOf<ToolbarPeer> {
 public:
  GtkToolbarPeer();
  ~GtkToolbarPeer() override;

  void setItems(const std::vector<std::shared_ptr<BarButtonItem>>& items, const std::vector<Rect>& frames) override;
  void itemChanged(const BarButtonItem& item) override;
  void setTintColor(const std::optional<Color>& tint) override;

  // The button drawn for `item`, if it has one.
  GtkButton* buttonFor(const BarButtonItem& item) const;

 private:
  struct Slot {
    std::weak_ptr<BarButtonItem> item;
    const BarButtonItem* key;
    GObjectRef<GtkWidget> button;
    std::shared_ptr<const Image> shownImage;  // what the button's picture shows (decoded once)
  };
  static void onClicked(GtkButton* button, gpointer self);
  // Puts the item's look on the slot's button; a picture already showing the item's image is
  // kept (decoding it again at every enabling would cost the main thread each time).
  static void dress(Slot& slot, const BarButtonItem& item);

  std::vector<Slot> slots_;
};

}  // namespace pf
