#pragma once
// pf::Label: static text (UILabel on the phone); what a static page shows.
#include <memory>
#include <string>

#include "platform/ui/LabelPeer.h"
#include "platform/ui/View.h"

namespace pf {

class Label : public View {
 public:
  static std::shared_ptr<Label> create(const Rect& frame = {});

  const std::string& text() const { return text_; }
  void setText(std::string text);
  const Color& textColor() const { return textColor_; }
  void setTextColor(const Color& color);
  double fontSize() const { return fontSize_; }
  void setFontSize(double points);
  TextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(TextAlignment alignment);
  int numberOfLines() const { return lines_; }
  void setNumberOfLines(int lines);

 protected:
  explicit Label(const Rect& frame);

 private:
  LabelPeer* labelPeer_;
  std::string text_;
  Color textColor_ = Color::black();
  double fontSize_ = 17;
  TextAlignment alignment_ = TextAlignment::Left;
  int lines_ = 1;
};

}  // namespace pf
