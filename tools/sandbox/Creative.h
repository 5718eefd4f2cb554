#pragma once

#include <functional>
#include <string>
#include <vector>

// One test ad the ad server can answer with: how it is delivered (kind), how it looks
// (for the kinds that show a banner) and what it does when tapped (href).
struct Creative {
  enum class Kind {
    Banner,     // 200 with a 320x50 ad page
    Redirect,   // two 302 hops, tracking headers on the first, then the ad page
    NoFill,     // 200 with a body of white space only
    Status,     // the given HTTP status, no ad
    Truncated,  // 200 whose connection closes in the middle of the body
    Slow,       // the ad page after a delay
    NotUtf8,    // 200 with a Latin-1 body
  };

  std::string name;
  Kind kind = Kind::Banner;
  std::string summary;      // one line for --help, the dashboard and /creatives.json
  bool rotates = false;     // served when no creative is asked for
  int status = 200;         // Kind::Status only
  std::string orientation;  // X-Vize-Orientation; empty: header left out
  bool clickTracking = false;
  std::string secondPing;   // optional second impression-time URL (path + query)

  // Look of the banner.
  std::string headline;
  std::string subline;
  std::string cta;
  std::string glyph;
  std::string colorA;
  std::string colorB;
  // Where a tap goes, given the ad server's origin ("http://127.0.0.1:47312").
  std::function<std::string(const std::string& origin)> href;
  bool touchScript = false;  // the tap reports its coordinates in a "touch" message
  // Where the page goes by itself, with no touch, one after another from just after its
  // load (each a navigation of the whole page); none for a well-behaved banner.
  std::function<std::vector<std::string>(const std::string& origin)> leavesOnLoad;

  static const char* kindName(Kind kind);
};
