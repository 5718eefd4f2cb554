#pragma once
// pf::GtkTabBarPeer: the strip of tabs as a row of equal GTK buttons (icon over title); the
// selected one is marked. A click tells the tab bar, whose owner decides.
#include <vector>

#include "platform/gtk/GtkViewPeer.h"
#include "platform/ui/TabBarPeer.h"

namespace pf {

class TabBar;

class GtkTabBarPeer : public GtkViewPeerOf<TabBarPeer> {
 public:
  explicit GtkTabBarPeer(TabBar& tabBar);
  ~GtkTabBarPeer() override;

  void setItems(const std::vector<TabBarItem>& items) override;
  void setSelectedIndex(size_t index) override;

  const std::vector<GtkWidget*>& buttons() const { return buttons_; }

 private:
  static void onClicked(GtkButton* button, gpointer self);
  void markSelected();

  TabBar& tabBar_;                  // owns us
  GtkWidget* row_;                  // owned by our box
  std::vector<GtkWidget*> buttons_;  // owned by row_
  size_t selected_ = 0;
};

}  // namespace pf
