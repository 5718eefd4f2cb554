#include "sdk/statistics/GADStatisticsCore.h"

#include "StatisticsTestSupport.h"

namespace {

using GADStatisticsCoreTest = StatisticsTest;

TEST_F(GADStatisticsCoreTest, KeptUnderItsIdentifiersKeyAndReadBackByANewCore) {
  {
    auto core = GADStatisticsCore::create("GADObjectPrivate");
    core->setDateForKey(pf::Value::date(12345.5), "expireDate");
    core->setNumberForKey(7, "n");
    core->synchronize();
  }
  auto saved = defaultsOnDisk()->dictionaryForKey("diziva_stats_GADObjectPrivate");
  ASSERT_TRUE(saved);
  EXPECT_EQ((*saved)["expireDate"], pf::Value::date(12345.5));
  auto again = GADStatisticsCore::create("GADObjectPrivate", defaultsOnDisk());
  EXPECT_EQ(again->dateForKey("expireDate"), pf::Value::date(12345.5));
  EXPECT_EQ(again->numberForKey("n"), pf::Value(7));
  EXPECT_TRUE(GADStatisticsCore::create("shared", defaultsOnDisk())->dictionary().size() == 0);
}

TEST_F(GADStatisticsCoreTest, TypedSettersDropTheWrongKind) {
  auto core = GADStatisticsCore::create("t");
  core->setStringForKey("s", "k");
  core->setNumberForKey("not a number", "k");
  core->setDateForKey(5, "k");
  core->setArrayForKey(pf::Value::dictionary(), "k");
  core->setDictionaryForKey(pf::Value::array(), "k");
  core->setNumberForKey(pf::Value(), "k");  // a missing value changes nothing either
  EXPECT_EQ(core->stringForKey("k"), pf::Value("s"));
  core->setNumberForKey(2.5, "k");
  EXPECT_EQ(core->numberForKey("k"), pf::Value(2.5));
  // Readers do not check the kind.
  EXPECT_EQ(core->dateForKey("k"), pf::Value(2.5));
  EXPECT_TRUE(core->numberForKey("absent").isNull());
}

TEST_F(GADStatisticsCoreTest, AValueTheDefaultsCannotSaveIsRefusedAndSavingGoesOn) {
  auto core = GADStatisticsCore::create("t");
  core->setNumberForKey(1, "good");
  core->setArrayForKey(pf::Value::array({1, pf::Value()}), "bad");        // a null element
  core->setStringForKey(pf::Value(std::string("\xff\xfe")), "bad");       // not UTF-8
  core->setNumberForKey(1, std::string("\xc3"));                          // key not UTF-8
  EXPECT_FALSE(core->dictionary().contains("bad"));
  EXPECT_EQ(core->dictionary().size(), 1u);
  core->synchronize();
  auto saved = defaultsOnDisk()->dictionaryForKey("diziva_stats_t");
  ASSERT_TRUE(saved);
  EXPECT_EQ((*saved)["good"], pf::Value(1));
}

TEST_F(GADStatisticsCoreTest, AddValueReadsWhatIsThereAsAnInteger) {
  auto core = GADStatisticsCore::create("t");
  EXPECT_EQ(core->addValueNumberForKey(5, "a"), 5);
  EXPECT_EQ(core->addValueNumberForKey(-7, "a"), -2);
  core->setStringForKey("41 apples", "s");
  EXPECT_EQ(core->addValueNumberForKey(1, "s"), 42);
  EXPECT_EQ(core->numberForKey("s"), pf::Value(42));  // replaced by a number
  core->setStringForKey("apples", "t");
  EXPECT_EQ(core->addValueNumberForKey(1, "t"), 1);
  core->setNumberForKey(9.9, "r");
  EXPECT_EQ(core->addValueNumberForKey(0, "r"), 9);
  core->setNumberForKey(true, "b");
  EXPECT_EQ(core->addValueNumberForKey(1, "b"), 2);
  core->setDateForKey(pf::Value::date(100), "d");
  EXPECT_EQ(core->addValueNumberForKey(1, "d"), 1);
}

TEST_F(GADStatisticsCoreTest, AddValueStopsAtTheEndsOfTheRange) {
  auto core = GADStatisticsCore::create("t");
  core->setNumberForKey(pf::Value(static_cast<long long>(INT64_MAX - 1)), "a");
  EXPECT_EQ(core->addValueNumberForKey(5, "a"), INT64_MAX);
  core->setStringForKey("-99999999999999999999999", "b");
  EXPECT_EQ(core->addValueNumberForKey(-1, "b"), INT64_MIN);
  core->setNumberForKey(1e300, "c");
  EXPECT_EQ(core->addValueNumberForKey(-1, "c"), INT64_MAX - 1);
}

TEST_F(GADStatisticsCoreTest, LoadAddsToWhatIsThere) {
  defaultsOnDisk();
  auto defaults = pf::UserDefaults::standardUserDefaults();
  defaults->setObject("diziva_stats_t", pf::Value::dictionary({{"a", 1}, {"b", 2}}));
  auto core = GADStatisticsCore::create("t");
  core->setNumberForKey(5, "b");
  core->setNumberForKey(6, "c");
  core->loadPersistentStatistics();
  EXPECT_EQ(core->dictionary(), pf::Value::dictionary({{"a", 1}, {"b", 2}, {"c", 6}}));
}

}  // namespace
