#pragma once
// pf::GtkStyleSheet: the look of the phone-sized screen — black status bar strip, dark tab
// bar, toolbar, alert box, spinner colours — installed once for the display.
namespace pf {

class GtkStyleSheet {
 public:
  static void install();
  GtkStyleSheet() = delete;
};

}  // namespace pf
