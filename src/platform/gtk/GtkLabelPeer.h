#pragma once
// pf::GtkLabelPeer: a GtkLabel filling the label's view: its text, colour, size in points,
// alignment and number of lines (0: as many as fit, wrapping at words).
#include "platform/gtk/GtkViewPeer.h"
#include "platform/ui/LabelPeer.h"

namespace pf {

class GtkLabelPeer : public GtkViewPeerOf<LabelPeer> {
 public:
  GtkLabelPeer();

  GtkLabel* label() const { return label_; }

  void setText(const std::string& text) override;
  void setTextColor(const Color& color) override;
  void setFontSize(double points) override;
  void setTextAlignment(TextAlignment alignment) override;
  void setNumberOfLines(int lines) override;

 private:
  void applyAttributes();

  GtkLabel* label_;  // owned by our box
  Color color_ = Color::black();
  double points_ = 17;
};

}  // namespace pf
