#include "platform/ui/Label.h"

#include "platform/ui/UIBackend.h"

namespace pf {

std::shared_ptr<Label> Label::create(const Rect& frame) { return std::shared_ptr<Label>(new Label(frame)); }

Label::Label(const Rect& frame) : View(frame, UIBackend::current().makeLabelPeer(*this)) {
  labelPeer_ = static_cast<LabelPeer*>(&peer());
  setBackgroundColor(Color::white());
}

void Label::setText(std::string text) {
  text_ = std::move(text);
  labelPeer_->setText(text_);
}
void Label::setTextColor(const Color& color) {
  textColor_ = color;
  labelPeer_->setTextColor(color);
}
void Label::setFontSize(double points) {
  fontSize_ = points;
  labelPeer_->setFontSize(points);
}
void Label::setTextAlignment(TextAlignment alignment) {
  alignment_ = alignment;
  labelPeer_->setTextAlignment(alignment);
}
void Label::setNumberOfLines(int lines) {
  lines_ = lines;
  labelPeer_->setNumberOfLines(lines);
}

}  // namespace pf
