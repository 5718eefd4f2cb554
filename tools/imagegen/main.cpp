// imagegen: draws the ad layer's built-in button pictures and writes them where the build
// takes them from, or shows the pictures the library carries on light and dark pages.
//
//   imagegen write <source-root>    PNGs into tools/imagegen/png/, their Base64 text into
//                                   src/sdk/browser/GADIntrinsicImagesData.cpp
//   imagegen preview <out-dir>      the images GADIntrinsicImages hands out, decoded and drawn
//                                   at 1× (a device without image scale: redrawn at the point
//                                   size) and 2× (native) on light, grey and dark pages, one
//                                   PNG each, and sheet.png with all of them magnified
//
// Not run by the build: after `write`, rebuild and commit the data file and the PNGs.
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "ButtonPictures.h"
#include "platform/ui/Device.h"
#include "platform/ui/Image.h"
#include "sdk/browser/GADIntrinsicImages.h"
#include "sdk/encoding/GAD_DOZStringEncoding.h"

namespace {

struct Picture {
  const char* fileName;  // under tools/imagegen/png/ and in the preview's file names
  const char* constant;  // in GADIntrinsicImagesData.cpp
  const char* looks;     // one line in the data file
  cairo_surface_t* (*draw)();
  std::shared_ptr<const pf::Image> (*shipped)();
};

const Picture kPictures[] = {
    {"close-button", "kGADIntrinsicCloseButtonPNGBase64",
     "50 × 50: black disc, white rim, white diagonal cross, soft drop shadow",
     ButtonPictures::closeButton, GADIntrinsicImages::closeButton},
    {"browser-back-button", "kGADIntrinsicBrowserBackButtonPNGBase64",
     "54 × 54: white triangle pointing left, dark edge along its upper side",
     ButtonPictures::browserBackButton, GADIntrinsicImages::browserBackButton},
    {"browser-forward-button", "kGADIntrinsicBrowserForwardButtonPNGBase64",
     "54 × 54: the back button mirrored, pointing right",
     ButtonPictures::browserForwardButton, GADIntrinsicImages::browserForwardButton},
};

std::string pngBytes(cairo_surface_t* surface) {
  std::string out;
  auto append = [](void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
  };
  if (cairo_surface_write_to_png_stream(surface, append, &out) != CAIRO_STATUS_SUCCESS) return {};
  return out;
}

cairo_surface_t* decodePng(const std::string& bytes) {
  struct Reader {
    const std::string& bytes;
    size_t at = 0;
  } reader{bytes};
  auto read = [](void* closure, unsigned char* data, unsigned int length) {
    auto* r = static_cast<Reader*>(closure);
    if (r->bytes.size() - r->at < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, r->bytes.data() + r->at, length);
    r->at += length;
    return CAIRO_STATUS_SUCCESS;
  };
  return cairo_image_surface_create_from_png_stream(read, &reader);
}

bool writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(out.flush());
}

int write(const std::filesystem::path& root) {
  const auto pngDir = root / "tools/imagegen/png";
  const auto dataFile = root / "src/sdk/browser/GADIntrinsicImagesData.cpp";
  if (!std::filesystem::is_directory(root / "src/sdk/browser")) {
    std::fprintf(stderr, "imagegen: %s is not the source root\n", root.c_str());
    return 1;
  }
  std::filesystem::create_directories(pngDir);
  const auto base64 = GAD_DOZStringEncoding::rfc4648Base64StringEncoding();

  std::string data =
      "// Written by tools/imagegen; do not edit. The PNG files of GADIntrinsicImages as Base64\n"
      "// text. To draw them afresh (needs cairo: libcairo2-dev), from the source root:\n"
      "//\n"
      "//   cmake --build build --target imagegen && build/tools/imagegen/imagegen write .\n"
      "//   cmake --build build -j2 && build/tools/imagegen/imagegen preview build/test-output/images\n"
      "//\n"
      "// then look at build/test-output/images/sheet.png and commit this file with\n"
      "// tools/imagegen/png/. The drawing is in tools/imagegen/ButtonPictures.cpp.\n"
      "#include \"sdk/browser/GADIntrinsicImagesData.h\"\n";
  for (const Picture& p : kPictures) {
    cairo_surface_t* surface = p.draw();
    std::string png = pngBytes(surface);
    cairo_surface_destroy(surface);
    if (png.empty() || !writeFile(pngDir / (std::string(p.fileName) + ".png"), png)) {
      std::fprintf(stderr, "imagegen: cannot write %s.png\n", p.fileName);
      return 1;
    }
    std::string text = base64.encode(png);
    data += "\n// " + std::string(p.looks) + "; " + std::to_string(png.size()) + " bytes of PNG.\n";
    data += "const char " + std::string(p.constant) + "[] =";
    for (size_t at = 0; at < text.size(); at += 96) data += "\n    \"" + text.substr(at, 96) + "\"";
    data += ";\n";
  }
  if (!writeFile(dataFile, data)) {
    std::fprintf(stderr, "imagegen: cannot write %s\n", dataFile.c_str());
    return 1;
  }
  std::printf("imagegen: wrote %s and %s\n", dataFile.c_str(), pngDir.c_str());
  return 0;
}

struct Page {
  const char* name;
  double grey;
};
// White and black pages, and a middle grey where a white picture and its dark edge both show.
constexpr Page kPages[] = {{"light", 1.0}, {"grey", 0.45}, {"dark", 0.0}};
constexpr int kMarginPoints = 6;

// `picture` drawn at `pixels` on a page with a margin around it, as a screen of `scale`
// pixels a point would show it.
cairo_surface_t* render(cairo_surface_t* picture, pf::Size pixels, double scale, const Page& page) {
  const int margin = int(kMarginPoints * scale);
  const int w = int(pixels.width) + 2 * margin, h = int(pixels.height) + 2 * margin;
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cairo_t* cr = cairo_create(out);
  cairo_set_source_rgb(cr, page.grey, page.grey, page.grey);
  cairo_paint(cr);
  cairo_translate(cr, margin, margin);
  cairo_scale(cr, pixels.width / cairo_image_surface_get_width(picture),
              pixels.height / cairo_image_surface_get_height(picture));
  cairo_set_source_surface(cr, picture, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint(cr);
  cairo_destroy(cr);
  return out;
}

int preview(const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  struct Screen {
    const char* name;
    const char* profile;  // a device with (4.0) or without (3.1.3) image scale
    double scale;
  };
  const Screen screens[] = {{"1x", "phone-3.1.3", 1.0}, {"2x", "phone-4.0", 2.0}};
  // Rows: pictures; columns: screens × pages. Each render magnified so a point is 8 pixels.
  constexpr int kPointPixels = 8, kCell = (27 + 2 * kMarginPoints) * kPointPixels, kGap = 8;
  const int columns = int(std::size(screens) * std::size(kPages)), rows = int(std::size(kPictures));
  cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, columns * (kCell + kGap) + kGap,
                                                      rows * (kCell + kGap) + kGap);
  cairo_t* sheetCr = cairo_create(sheet);
  cairo_set_source_rgb(sheetCr, 0.5, 0.2, 0.6);  // a colour neither page has
  cairo_paint(sheetCr);

  int failures = 0;
  for (int column = 0; const Screen& screen : screens) {
    pf::Device::setProfile(*pf::DeviceProfile::named(screen.profile));
    GADIntrinsicImages::forgetCachedImagesForTesting();
    for (const Page& page : kPages) {
      for (int row = 0; const Picture& p : kPictures) {
        auto image = p.shipped();
        cairo_surface_t* decoded = image ? decodePng(image->data()) : nullptr;
        if (!decoded || cairo_surface_status(decoded) != CAIRO_STATUS_SUCCESS) {
          std::fprintf(stderr, "imagegen: %s does not decode\n", p.fileName);
          ++failures;
        } else {
          cairo_surface_t* shot = render(decoded, image->pixelSize(), screen.scale, page);
          auto name = std::string(p.fileName) + "-" + screen.name + "-" + page.name + ".png";
          if (cairo_surface_write_to_png(shot, (dir / name).c_str()) != CAIRO_STATUS_SUCCESS) ++failures;
          const double magnify = kPointPixels / screen.scale;
          cairo_save(sheetCr);
          cairo_translate(sheetCr, kGap + column * (kCell + kGap), kGap + row * (kCell + kGap));
          const double inset = (kCell - magnify * cairo_image_surface_get_width(shot)) / 2;
          cairo_translate(sheetCr, inset, inset);
          cairo_scale(sheetCr, magnify, magnify);
          cairo_set_source_surface(sheetCr, shot, 0, 0);
          cairo_pattern_set_filter(cairo_get_source(sheetCr), CAIRO_FILTER_NEAREST);
          cairo_paint(sheetCr);
          cairo_restore(sheetCr);
          cairo_surface_destroy(shot);
        }
        if (decoded) cairo_surface_destroy(decoded);
        ++row;
      }
      ++column;
    }
  }
  GADIntrinsicImages::forgetCachedImagesForTesting();
  cairo_destroy(sheetCr);
  if (cairo_surface_write_to_png(sheet, (dir / "sheet.png").c_str()) != CAIRO_STATUS_SUCCESS) ++failures;
  cairo_surface_destroy(sheet);
  if (failures == 0) std::printf("imagegen: renders in %s\n", dir.c_str());
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc == 3 ? argv[1] : "";
  if (command == "write") return write(argv[2]);
  if (command == "preview") return preview(argv[2]);
  std::fprintf(stderr, "usage: imagegen write <source-root> | imagegen preview <out-dir>\n");
  return 2;
}
