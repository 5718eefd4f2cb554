#pragma once
// GADWebViewPrivate: a GADWebView's own state, kept in the private-object registry under the
// web view: whether a touch has reached the view since the flag was last cleared.
struct GADWebViewPrivate {
  bool touched_ = false;
};
