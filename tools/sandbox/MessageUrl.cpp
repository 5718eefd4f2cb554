#include "MessageUrl.h"

std::string MessageUrl::gmsg(const std::string& name, const QueryString::Pairs& params) {
  std::string url = "gmsg://sandbox/" + name;
  if (!params.empty()) url += "?" + QueryString::build(params);
  return url;
}

std::string MessageUrl::rodud(const std::string& verb, const QueryString::Pairs& params) {
  std::string url = "rodud://" + verb + "/";
  if (!params.empty()) url += "?" + QueryString::build(params);
  return url;
}
