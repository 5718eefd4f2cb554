#include "sdk/utility/GADLocation.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <regex>
#include <string>

#include "RequestTestSupport.h"
#include "platform/base/Crypto.h"
#include "sdk/encoding/GAD_DOZStringEncoding.h"
#include "sdk/utility/GADConfiguration.h"

namespace {

constexpr const char* kHead = "role: 6 producer: 24 historical_role: 1 historical_producer: 12 timestamp: ";

class GADLocationTest : public RequestTest {
 protected:
  static std::string decodeWebsafe(const std::string& text) {
    return GAD_DOZStringEncoding::rfc4648Base64WebsafeStringEncoding().decode(text).value_or("<undecodable>");
  }
  // A precise value without its "e1+": the vector, then the padded record sealed with `key`
  // under it. Answers the vector and the opened record (OpenSSL reads it the same way: the
  // gadutil "uule" checks show that).
  static std::pair<std::string, std::string> opened(const std::string& value, const std::string& key) {
    std::string bytes = decodeWebsafe(value);
    if (bytes.size() < 32) return {};
    auto plain = pf::Crypto::aes128CbcDecrypt(bytes.substr(16), key, bytes.substr(0, 16));
    return {bytes.substr(0, 16), plain.value_or("<unopened>")};
  }
};

TEST_F(GADLocationTest, OnlyPreciseCoordinatesMakeALocation) {
  // The epsilon itself is "not set"; the next float above it is a place.
  for (auto [latitude, longitude] : {std::pair{0.0f, 10.0f}, {10.0f, 0.0f}, {90.5f, 10.0f}, {10.0f, -180.5f},
                                     {std::nanf(""), 10.0f}, {FLT_EPSILON, 10.0f}}) {
    EXPECT_FALSE(GADLocation::createWithLatitudeLongitudeAccuracy(latitude, longitude, 5)) << latitude << "," << longitude;
  }
  EXPECT_TRUE(GADLocation::createWithLatitudeLongitudeAccuracy(std::nextafter(FLT_EPSILON, 1.0f), 10.0f, 5));

  auto corner = GADLocation::createWithLatitudeLongitudeAccuracy(90.0f, -180.0f, 5);
  ASSERT_TRUE(corner);
  EXPECT_TRUE(corner->isPreciseLocation());

  EXPECT_FALSE(GADLocation::createWithDescription(""));
  auto town = GADLocation::createWithDescription("Whitby");
  ASSERT_TRUE(town);
  EXPECT_FALSE(town->isPreciseLocation());
}


TEST_F(GADLocationTest, DescriptionAndEquality) {
  EXPECT_EQ(GADLocation::createWithLatitudeLongitudeAccuracy(45.5f, -7.25f, 10)->description(), "45.500000,-7.250000");

  auto a = GADLocation::createWithLatitudeLongitudeAccuracy(54.5f, -0.6f, 30);
  auto b = GADLocation::createWithLatitudeLongitudeAccuracy(54.5f, -0.6f, 30);
  b->setTimestamp(a->timestamp() + 3600);
  EXPECT_TRUE(a->isEqual(*b));
  EXPECT_FALSE(a->isEqual(*GADLocation::createWithLatitudeLongitudeAccuracy(54.5f, -0.6f, 31)));
  // Within the float epsilon: near 54.5 the next float is already further away than that,
  // near 0.5 it is not.
  EXPECT_FALSE(a->isEqual(*GADLocation::createWithLatitudeLongitudeAccuracy(std::nextafter(54.5f, 90.0f), -0.6f, 30)));
  auto half = GADLocation::createWithLatitudeLongitudeAccuracy(0.5f, -0.6f, 30);
  EXPECT_TRUE(half->isEqual(*GADLocation::createWithLatitudeLongitudeAccuracy(std::nextafter(0.5f, 1.0f), -0.6f, 30)));

  auto text = GADLocation::createWithDescription("54.500000,-0.600000");
  EXPECT_FALSE(a->isEqual(*text));  // a description that reads like coordinates is still text
  EXPECT_FALSE(text->isEqual(*a));
  EXPECT_TRUE(text->isEqual(*GADLocation::createWithDescription("54.500000,-0.600000")));
  EXPECT_FALSE(text->isEqual(*GADLocation::createWithDescription("54.5,-0.6")));
}

TEST_F(GADLocationTest, CopyKeepsContentsAndTimestamp) {
  auto town = GADLocation::createWithDescription("Goathland");
  town->setTimestamp(1234567890.25);
  auto copied = town->copy();
  ASSERT_TRUE(copied);
  EXPECT_NE(copied.get(), town.get());
  EXPECT_EQ(copied->oolongRepresentation(), town->oolongRepresentation());  // the timestamp to the microsecond

  auto here = GADLocation::createWithLatitudeLongitudeAccuracy(54.39f, -0.68f, 12);
  here->setTimestamp(1111);
  EXPECT_EQ(here->copy()->oolongRepresentation(), here->oolongRepresentation());
}

// To whole blocks with n bytes of value n; a whole block of 16 when the text fills its blocks.
TEST_F(GADLocationTest, PaddingFillsToWholeBlocks) {
  for (auto [length, pad] : {std::pair{128, 16}, {127, 1}, {0, 16}, {11, 5}}) {
    EXPECT_EQ(GADLocation::padded(std::string(length, 'x')), std::string(length, 'x') + std::string(pad, char(pad)))
        << length;
  }
}

TEST_F(GADLocationTest, VectorFromTheTimestampSaturates) {
  // Each multiple is taken of the exact timestamp, then truncated: 1000, 2001, 3002, 4003.
  EXPECT_EQ(GADLocation::initializationVector(1000.9),
            std::string("\xe8\x03\x00\x00\xd1\x07\x00\x00\xba\x0b\x00\x00\xa3\x0f\x00\x00", 16));
  // After early 2004 only the first word is not the int32 maximum.
  EXPECT_EQ(GADLocation::initializationVector(1300000000),
            std::string("\x00\x6d\x7c\x4d\xff\xff\xff\x7f\xff\xff\xff\x7f\xff\xff\xff\x7f", 16));
  // Toward zero below zero too: -5, -11, -16, -22.
  EXPECT_EQ(GADLocation::initializationVector(-5.5),
            std::string("\xfb\xff\xff\xff\xf5\xff\xff\xff\xf0\xff\xff\xff\xea\xff\xff\xff", 16));
  EXPECT_EQ(GADLocation::initializationVector(-3e9),
            std::string("\x00\x00\x00\x80\x00\x00\x00\x80\x00\x00\x00\x80\x00\x00\x00\x80", 16));
  EXPECT_EQ(GADLocation::initializationVector(std::nan("")), std::string(16, '\0'));
}

TEST_F(GADLocationTest, PreciseRecordTruncatesAndSaturates) {
  auto here = GADLocation::createWithLatitudeLongitudeAccuracy(-33.8568f, 151.2153f, 1e9f);
  here->setTimestamp(1300000000.1234567);
  char expected[256];
  // Single-precision values widened to double, times 1e7, truncated toward zero.
  std::snprintf(expected, sizeof expected, "%s1300000000123457 latlng <latitude_e7: %d longitude_e7: %d> radius: 2147483647",
                kHead, static_cast<int>(static_cast<double>(-33.8568f) * 1e7), static_cast<int>(static_cast<double>(151.2153f) * 1e7));
  EXPECT_EQ(here->record(), expected);

  auto negative = GADLocation::createWithLatitudeLongitudeAccuracy(1.0f, 2.0f, -1e9f);
  negative->setTimestamp(0);
  EXPECT_EQ(negative->record(),
            std::string(kHead) + "0 latlng <latitude_e7: 10000000 longitude_e7: 20000000> radius: -2147483648");
}

TEST_F(GADLocationTest, DescriptiveValueIsPlainWebsafeBase64) {
  auto town = GADLocation::createWithDescription("The \"Moor\" Inn, Goathland");
  town->setTimestamp(1300000000.5);
  auto value = town->oolongRepresentation();
  ASSERT_TRUE(value);
  ASSERT_EQ(value->rfind("a+", 0), 0u);
  EXPECT_TRUE(std::regex_match(value->substr(2), std::regex("[A-Za-z0-9_-]+")));
  // The quotes of the text become apostrophes, so the record's own quotes stay the only ones.
  EXPECT_EQ(decodeWebsafe(value->substr(2)),
            std::string(kHead) + "1300000000500000 loc: \"The 'Moor' Inn, Goathland\"");

  // Stamped at creation, not when the value is asked for.
  auto first = *town->oolongRepresentation();
  sim.clock().advance(60);
  EXPECT_EQ(*town->oolongRepresentation(), first);
}

TEST_F(GADLocationTest, PreciseValueIsTheVectorThenThePaddedRecordSealedWithTheKey) {
  auto here = GADLocation::createWithLatitudeLongitudeAccuracy(54.4858f, -0.6206f, 30.0f);
  here->setTimestamp(1300000000);
  auto value = here->oolongRepresentation();
  ASSERT_TRUE(value);
  ASSERT_EQ(value->rfind("e1+", 0), 0u);
  EXPECT_TRUE(std::regex_match(value->substr(3), std::regex("[A-Za-z0-9_-]+")));

  std::string text = std::string(kHead) + "1300000000000000 latlng <latitude_e7: 544858016 longitude_e7: -6205999> radius: 30000";
  ASSERT_EQ(text.size(), 160u);  // a whole number of blocks: a full block of padding
  auto [iv, plain] = opened(value->substr(3), *GADConfiguration::keyFromHex(GADConfiguration::kDefaultUuleKeyHex));
  EXPECT_EQ(iv, std::string("\x00\x6d\x7c\x4d\xff\xff\xff\x7f\xff\xff\xff\x7f\xff\xff\xff\x7f", 16));
  EXPECT_EQ(plain, text + std::string(16, '\x10'));
}

TEST_F(GADLocationTest, ConfiguredKeyIsUsedAndAMistypedOneSendsNothing) {
  auto here = GADLocation::createWithLatitudeLongitudeAccuracy(-12.5f, 130.75f, 1.5f);
  here->setTimestamp(987654321.75);
  {
    ScopedEnvironment key("ASHENMOOR_UULE_KEY", "00112233445566778899AABBCCDDEEFF");
    auto value = here->oolongRepresentation();
    ASSERT_TRUE(value);
    EXPECT_EQ(opened(value->substr(3), *GADConfiguration::keyFromHex("00112233445566778899aabbccddeeff")).second,
              GADLocation::padded(here->record()));
  }
  {
    ScopedEnvironment key("ASHENMOOR_UULE_KEY", "0011223344556677");  // 16 digits: too short
    LogCapture log;
    EXPECT_FALSE(here->oolongRepresentation());
    EXPECT_EQ(log.countEndingWith("<Diziva> ASHENMOOR_UULE_KEY is not 32 hexadecimal digits; locations are not sent"), 1u);
    // A descriptive location is not enciphered: the key does not matter to it.
    EXPECT_TRUE(GADLocation::createWithDescription("Whitby")->oolongRepresentation());
  }
}


}  // namespace
