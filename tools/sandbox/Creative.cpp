#include "Creative.h"

const char* Creative::kindName(Kind kind) {
  switch (kind) {
    case Kind::Banner: return "banner";
    case Kind::Redirect: return "redirect";
    case Kind::NoFill: return "nofill";
    case Kind::Status: return "status";
    case Kind::Truncated: return "truncated";
    case Kind::Slow: return "slow";
    case Kind::NotUtf8: return "not-utf8";
  }
  return "?";
}
