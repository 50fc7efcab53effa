#include "chips/option_displays.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "chips/option_presets.h"
#include "chips/vendor_index.h"
#include "link/channel_fixture.h"

namespace {

using Lines = std::vector<std::string>;

class OptionDisplays : public ChannelTest {
 protected:
  // A reply of programmer ch whose payload byte n is n; the rest of the
  // buffer holds 0xEE, bytes of an older packet.
  static void PlantReply(int ch) {
    std::uint8_t* packet = CommBuffers.PacketBuffers[ch];
    std::memset(packet, 0xEE, kPacketBufferSize);
    for (int n = 0; n < 256; ++n) packet[8 + n] = static_cast<std::uint8_t>(n);
  }
  // The same reply, of which only payloadLength bytes were received.
  static void PlantShortReply(int ch, std::size_t payloadLength) {
    PlantReply(ch);
    std::memset(CommBuffers.PacketBuffers[ch] + 8 + payloadLength, 0xEE, 256 - payloadLength);
  }
};

TEST_F(OptionDisplays, AC78xxCurrentOptionOfTheDefaultImage) {
  ResetAC78xOptionImage();
  ShowAC78xCurrentOption();
  EXPECT_EQ(memo.Lines, Lines{"> 10:21:07 Current Option: FFAC FFFF FFFF FFFF FFFF FFFF FFFF FFFF"});
}

TEST_F(OptionDisplays, AC78xxWordsAreLittleEndianAtTheirOffsets) {
  ResetAC78xOptionImage();
  std::uint8_t* image = MemoryImages.OptionImage;
  const std::uint8_t words[] = {0xCD, 0xAB, 0x34, 0x12, 0x78, 0x56};
  std::memcpy(image + 20, words, 2);
  std::memcpy(image + 40, words + 2, 2);
  std::memcpy(image + 44, words + 4, 2);
  image[24] = image[36] = 0x00;  // no word there
  ShowCurrentOptionForVendor(kVendorAC78xx);
  EXPECT_EQ(memo.Lines, Lines{"> 10:21:07 Current Option: FFAC FFFF FFFF FFFF FFFF ABCD 1234 5678"});
}

TEST_F(OptionDisplays, AUCUxCurrentConfigIsSixteenLinesWithoutHeading) {
  ResetAUCUxConfigImage();
  MemoryImages.OptionImage[0xFF] = 0x0C;
  MemoryImages.OptionImage[0x100] = 0x00;  // past the listed bytes
  ShowAUCUxCurrentConfig();
  ASSERT_EQ(memo.Lines.size(), 16u);
  EXPECT_EQ(memo.Lines[0], "  0x03802000 : FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF");
  EXPECT_EQ(memo.Lines[1], "  0x03802010 : FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF");
  EXPECT_EQ(memo.Lines[15], "  0x038020F0 : FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF 0C");
}

TEST_F(OptionDisplays, LCMPxCurrentOptionOfTheDefaultImage) {
  ResetLCMPxOptionImage();
  ShowLCMPxCurrentOption();
  EXPECT_EQ(memo.Lines, (Lines{
                            "",
                            "> Chip Option Data:",
                            "      FB 04 FF 00 FF 00 FF 00 FF 00 FF 00 FF 00 FF 00",
                            "      00 FF 00 FF 00 FF 00 FF 00 FF 00 FF 00 FF 00 FF",
                            "      00 FF 00 FF 00 FF 00 FF FF FF FF FF FF FF FF FF",
                        }));
}

TEST_F(OptionDisplays, ReadDisplaysOfAWholeReply) {
  PlantReply(2);
  ShowAC78xReadOption(2, 256);
  EXPECT_EQ(memo.Lines, Lines{"> 10:21:07  C3 Read Option: 0100 0504 0908 0D0C 1110 1514 2928 2D2C"});

  memo.Lines.clear();
  PlantReply(0);
  ShowAUCUxReadConfig(0, 256);
  ASSERT_EQ(memo.Lines.size(), 17u);
  EXPECT_EQ(memo.Lines[0], ">     C1 Read Chip Config Data:");
  EXPECT_EQ(memo.Lines[1], "  0x03802000 : 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F");
  EXPECT_EQ(memo.Lines[2], "  0x03802010 : 10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F");
  EXPECT_EQ(memo.Lines[16], "  0x038020F0 : F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF");

  memo.Lines.clear();
  PlantReply(9);
  ShowLCMPxReadOption(9, 256);
  EXPECT_EQ(memo.Lines, (Lines{
                            "",
                            "> Read Chip 10 Option Data : ",
                            "    USER = 0x18. DATA0 = 0x19. DATA1 = 0x1A. DATA2 = 0x1B. ",
                            "    ROP  = 0x20  ROP2= 0x21",
                            "    WRP0 = 0x24. WRP1 = 0x25. WRP2 = 0x26. ",
                        }));
}

// A reply shorter than the display shows only what arrived: the heading and
// the words or lines whose bytes are all there; a short reply shows nothing.
TEST_F(OptionDisplays, ShortRepliesShowNoStaleByte) {
  const struct {
    std::uint8_t Vendor;
    std::size_t PayloadLength;
    Lines Expected;
  } cases[] = {
      {kVendorAC78xx, 0, {}},
      {kVendorAC78xx, 2, {}},
      {kVendorAC78xx, 3, {"> 10:21:07  C1 Read Option: 0100"}},
      {kVendorAC78xx, 41, {"> 10:21:07  C1 Read Option: 0100 0504 0908 0D0C 1110 1514"}},
      {kVendorAUCUx, 1, {}},
      {kVendorAUCUx, 15, {">     C1 Read Chip Config Data:"}},
      {kVendorAUCUx,
       40,
       {">     C1 Read Chip Config Data:", "  0x03802000 : 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F",
        "  0x03802010 : 10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F"}},
      {kVendorLCMPx, 2, {}},
      {kVendorLCMPx, 27, {"", "> Read Chip 1 Option Data : "}},
      {kVendorLCMPx,
       34,
       {"", "> Read Chip 1 Option Data : ", "    USER = 0x18. DATA0 = 0x19. DATA1 = 0x1A. DATA2 = 0x1B. ",
        "    ROP  = 0x20  ROP2= 0x21"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << int{c.Vendor} << " with " << c.PayloadLength << " bytes");
    memo.Lines.clear();
    PlantShortReply(0, c.PayloadLength);
    ShowReadOptionForVendor(c.Vendor, 0, c.PayloadLength);
    EXPECT_EQ(memo.Lines, c.Expected);
  }
}

TEST_F(OptionDisplays, AClaimedLengthBeyondTheBufferStaysInside) {
  PlantReply(9);
  ShowAUCUxReadConfig(9, std::numeric_limits<std::size_t>::max());
  EXPECT_EQ(memo.Lines.size(), 17u);
  memo.Lines.clear();
  ShowAC78xReadOption(kProgrammerMax, 256);  // no such programmer
  EXPECT_TRUE(memo.Lines.empty());
}

TEST_F(OptionDisplays, FamiliesWithoutOptionDataShowNothing) {
  ResetAC78xOptionImage();
  PlantReply(0);
  for (std::uint8_t vendor : {1, 2, 4, 6, 7, 8, 9, 10, 11, 255}) {
    ShowCurrentOptionForVendor(vendor);
    ShowReadOptionForVendor(vendor, 0, 256);
  }
  EXPECT_TRUE(memo.Lines.empty());
  ShowCurrentOptionForVendor(kVendorAUCUx);
  ShowReadOptionForVendor(kVendorLCMPx, 0, 256);
  EXPECT_EQ(memo.Lines.size(), 16u + 5u);
}

}  // namespace
