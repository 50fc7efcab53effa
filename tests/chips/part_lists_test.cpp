#include "chips/part_lists.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>

namespace {

struct TListCase {
  std::uint8_t Vendor;
  const char* Caption;
  std::size_t Rows;
  std::string_view First, Last;
};

// Catches a list that lost, gained or reordered rows at either end.
const TListCase kLists[] = {
    {kVendorAC78xx, "AutoChip（杰发）", 31, "AC78010xAxx", "AC7815QBxx"},
    {kVendorIndie, "Indie（英迪芯）", 6, "IND83204xx", "IND86201xx"},
    {kVendorLapis, "LAPIS", 3, "ML630Q464", "ML630Q448"},
    {kVendorAUCUx, "AUCUiC(奥库）", 3, "AU301LDF51xx", "AU302PDF51xx"},
    {kVendorMR88F, "上海美仁", 53, "MR88F005BI", "MR88FE02Cx"},
    {kVendorLCMPx, "杭州领芯微", 17, "LCP037AKxxx", "LCM32F037R8xx"},
    {kVendorBAT32, "中微半导体", 23, "BAT32G127GH40xx", "BAT32A279KM100xx"},
    {kVendorSonic, "SONIC（松翰）", 15, "SN32F774xx", "SN32F7661BJG"},
    {kVendorSpctrol, "旋智科技", 10, "SPC1168xxx", "SPD1179DPW48"},
    {kVendorLE5x10, "凌思微电子", 14, "LE5010AI", "LE5110SI"},
    {kVendorSA32B, "矽力杰-Silergy", 3, "SA32B16xx", "SA32B12xx"},
};

TEST(PartLists, EveryVendorListInOrderWithItsCaption) {
  std::size_t total = 0;
  std::set<std::string_view> distinct;
  for (const TListCase& c : kLists) {
    SCOPED_TRACE(c.Caption);
    const TPartList& list = PartListFor(c.Vendor);
    EXPECT_STREQ(list.VendorCaption, c.Caption);
    ASSERT_EQ(list.Names.size(), c.Rows);
    EXPECT_EQ(list.Names.front(), c.First);
    EXPECT_EQ(list.Names.back(), c.Last);
    total += list.Names.size();
    distinct.insert(list.Names.begin(), list.Names.end());
  }
  EXPECT_EQ(total, 178u);
  EXPECT_EQ(distinct.size(), total) << "a part name is listed twice";
}

TEST(PartLists, IndexAboveTheLastVendorSelectsSA32B) {
  for (std::uint8_t vendor : {10, 11, 42, 255}) EXPECT_EQ(&PartListFor(vendor), &PartListFor(kVendorSA32B));
}

}  // namespace
