#pragma once
// pf::LabelPeer: draws a label's text.
#include <string>

#include "platform/ui/Color.h"
#include "platform/ui/ViewPeer.h"

namespace pf {

enum class TextAlignment { Left = 0, Center = 1, Right = 2 };

class LabelPeer : public ViewPeer {
 public:
  virtual void setText(const std::string& /*text*/) {}
  virtual void setTextColor(const Color& /*color*/) {}
  virtual void setFontSize(double /*points*/) {}
  virtual void setTextAlignment(TextAlignment /*alignment*/) {}
  virtual void setNumberOfLines(int /*lines*/) {}  // 0: as many as needed
};

}  // namespace pf
