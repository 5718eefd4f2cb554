#include "sdk/browser/GADIntrinsicImages.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "TestData.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/ui/Image.h"
#include "sdk/encoding/GAD_DOZStringEncoding.h"

namespace {

struct Device {
  const char* profile;
  double scale;  // how many pixels a point of the handed-out image holds
};
void PrintTo(const Device& d, std::ostream* os) { *os << d.profile; }

// The same tests on a device whose images carry a scale factor and on one whose do not.
class GADIntrinsicImagesTest : public ::testing::TestWithParam<Device> {
 protected:
  GADIntrinsicImagesTest() : sim(GetParam().profile) { GADIntrinsicImages::forgetCachedImagesForTesting(); }
  ~GADIntrinsicImagesTest() override { GADIntrinsicImages::forgetCachedImagesForTesting(); }

  pf::SimEnvironment sim;
};

using test_data::pngHeader;

std::string base64(const std::string& bytes) {
  return GAD_DOZStringEncoding::rfc4648Base64StringEncoding().encode(bytes);
}

TEST_P(GADIntrinsicImagesTest, GettersGiveTheirPictureAtHalfItsPixelsInPointsOnceForTheProcess) {
  static const struct {
    const char* name;
    std::shared_ptr<const pf::Image> (*get)();
    double points;  // square
  } kImages[] = {
      {"closeButton", GADIntrinsicImages::closeButton, 25},
      {"browserBackButton", GADIntrinsicImages::browserBackButton, 27},
      {"browserForwardButton", GADIntrinsicImages::browserForwardButton, 27},
  };
  const double scale = GetParam().scale;
  for (const auto& c : kImages) {
    SCOPED_TRACE(c.name);
    auto image = c.get();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->sourcePixelSize(), (pf::Size{2 * c.points, 2 * c.points}));
    EXPECT_EQ(image->size(), (pf::Size{c.points, c.points}));
    EXPECT_EQ(image->scale(), scale);  // with the size, the pixels drawn
    // The stored PNG is 8 bits a channel, red, green, blue and alpha.
    ASSERT_GE(image->data().size(), 26u);
    EXPECT_EQ(image->data()[24], 8);
    EXPECT_EQ(image->data()[25], 6);
    EXPECT_EQ(c.get(), image);
  }
}

TEST_P(GADIntrinsicImagesTest, OddPixelSizesRoundToTheNearestPoint) {
  static const struct {
    uint32_t width, height;
    pf::Size points;
  } kCases[] = {
      {51, 33, {26, 17}},  // halves round away from zero
      {50, 2, {25, 1}},
      {1, 3, {1, 2}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    auto image = GADIntrinsicImages::createImageFromEncoding(base64(pngHeader(c.width, c.height)));
    ASSERT_TRUE(image);
    if (GetParam().scale == 1) {
      EXPECT_EQ(image->size(), c.points);  // redrawn at the rounded size
    } else {
      EXPECT_EQ(image->size(), (pf::Size{c.width / 2.0, c.height / 2.0}));  // the same bitmap
      EXPECT_EQ(image->pixelSize(), (pf::Size{double(c.width), double(c.height)}));
    }
  }
}

TEST_P(GADIntrinsicImagesTest, TextThatIsNoBase64PngGivesNoImage) {
  const std::string header = base64(pngHeader(50, 50));
  const struct {
    const char* what;
    std::string text;
  } kCases[] = {
      {"empty", ""},
      {"not Base64", "iVBORw0KGgo*AAAANSUhEUgAAADI"},
      {"web-safe alphabet", "_-" + header},
      {"Base64 of another format", base64(std::string("GIF89a\x32\0\x32\0\x80\0\0", 13) + std::string(32, 'x'))},
      {"PNG header cut short", header.substr(0, 32)},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(GADIntrinsicImages::createImageFromEncoding(c.text));
  }
  EXPECT_TRUE(GADIntrinsicImages::createImageFromEncoding(header));  // the cases fail for their fault only
}

INSTANTIATE_TEST_SUITE_P(Devices, GADIntrinsicImagesTest,
                         ::testing::Values(Device{"phone-3.1.3", 1.0}, Device{"phone-4.0", 2.0}),
                         [](const auto& info) { return info.param.scale == 1 ? "NoImageScale" : "ImageScale"; });

}  // namespace
