#include "CreativePage.h"

#include "TextEscape.h"

#include <utility>
#include <vector>

namespace {

void replaceAll(std::string& text, const std::string& key, const std::string& value) {
  for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size())) {
    text.replace(at, key.size(), value);
  }
}

}  // namespace

std::string CreativePage::render(const Creative& creative, const std::string& origin) const {
  std::string page = www_.read("ad/creative.html").value_or("<html><body>creative template missing</body></html>");
  std::string href = creative.href ? creative.href(origin) : origin + "/landing/browser.html";
  // A JavaScript array of strings; "<" escaped so no value can end the script element.
  std::string leaves = "[";
  for (const auto& url : creative.leavesOnLoad ? creative.leavesOnLoad(origin) : std::vector<std::string>()) {
    if (leaves.size() > 1) leaves += ", ";
    leaves += TextEscape::json(url);
  }
  leaves += "]";
  replaceAll(leaves, "<", "\\u003c");
  const std::vector<std::pair<std::string, std::string>> fields = {
      {"{{NAME}}", TextEscape::html(creative.name)},
      {"{{HEADLINE}}", TextEscape::html(creative.headline)},
      {"{{SUBLINE}}", TextEscape::html(creative.subline)},
      {"{{CTA}}", TextEscape::html(creative.cta)},
      {"{{GLYPH}}", TextEscape::html(creative.glyph)},
      {"{{COLOR_A}}", TextEscape::html(creative.colorA)},
      {"{{COLOR_B}}", TextEscape::html(creative.colorB)},
      {"{{HREF}}", TextEscape::html(href)},
      {"{{TOUCH}}", creative.touchScript ? "true" : "false"},
      {"{{LEAVES}}", leaves},
  };
  for (const auto& [key, value] : fields) replaceAll(page, key, value);
  return page;
}

std::string CreativePage::latin1Page() {
  // "é", "à", "«" and "»" as single Latin-1 bytes: invalid as UTF-8.
  return "<!DOCTYPE html><html><head><meta charset=\"iso-8859-1\"></head>"
         "<body style=\"margin:0;font:14px sans-serif\"><p>Caf\xE9 de la lande \xAB l\xE0-bas \xBB</p></body></html>";
}
