#include "chips/chip_families.h"

#include "chips/option_presets.h"

namespace {

constexpr std::uint32_t K = 1024;

constexpr std::uint32_t kLowMegabyte = 0xFFFFF;
constexpr std::uint32_t kLow16Megabytes = 0xFFFFFF;
constexpr std::uint32_t kWholeAddress = 0xFFFFFFFF;

// AC78xx: the series by prefix, the size by one letter of the name. A name of
// neither series is refused.
constexpr TNameRule kAC78xRules[] = {
    {.Prefix = "AC7801", .CharAt = 8, .Char = 'A', .Result = {.MainSize = 16 * K, .SubType = SubTypeCode(0)}},
    {.Prefix = "AC7801", .CharAt = 8, .Char = 'B', .Result = {.MainSize = 32 * K, .SubType = SubTypeCode(0)}},
    {.Prefix = "AC7801", .CharAt = 8, .Char = 'C', .Result = {.MainSize = 64 * K, .SubType = SubTypeCode(0)}},
    {.Prefix = "AC7801", .CharAt = 8, .Char = 'D', .Result = {.MainSize = 128 * K, .SubType = SubTypeCode(0)}},
    {.Prefix = "AC7801", .Result = {.MainSize = 128 * K, .SubType = SubTypeCode(0)}},
    {.Prefix = "AC781", .CharAt = 6, .Char = 'J', .Result = {.MainSize = 32 * K, .SubType = SubTypeCode(1)}},
    {.Prefix = "AC781", .CharAt = 6, .Char = 'M', .Result = {.MainSize = 64 * K, .SubType = SubTypeCode(1)}},
    {.Prefix = "AC781", .CharAt = 6, .Char = 'O', .Result = {.MainSize = 128 * K, .SubType = SubTypeCode(1)}},
    {.Prefix = "AC781", .CharAt = 6, .Char = 'Q', .Result = {.MainSize = 256 * K, .SubType = SubTypeCode(1)}},
    {.Prefix = "AC781", .Result = {.MainSize = 256 * K, .SubType = SubTypeCode(1)}},
    {.Result = {.Refuse = true}},
};

constexpr TNameRule kIndieRules[] = {
    {.Prefix = "IND832",
     .Result = {.MainSize = 64 * K, .SubType = kRowIndexSubType, .PifSpeedFlags = 0x80, .ResetPowerFlags = 0x40}},
    {.Result = {.MainSize = 0x27F00, .SubType = SubTypeCode(0x10), .PifSpeedFlags = 0x82, .ResetPowerFlags = 0x00}},
};

constexpr TNameRule kLapisSizeRules[] = {
    {.Prefix = "ML630Q464", .Exact = true, .Result = {.MainSize = 32 * K}},
    {.Prefix = "ML630Q466", .Exact = true, .Result = {.MainSize = 64 * K}},
    {.Prefix = "ML630Q448", .Exact = true, .Result = {.MainSize = 512 * K}},
    {.Result = {.MainSize = 512 * K}},
};

constexpr TNameRule kLapisEepRules[] = {
    {.Prefix = "ML630Q448",
     .Exact = true,
     .Result = {.SubType = SubTypeCode(0x10), .Eep = TEepArea{0x18000000, 8 * K}}},
    {.Result = {.SubType = kRowIndexSubType, .Eep = TEepArea{0x18000000, 2 * K}}},
};

constexpr TNameRule kAUCUxRules[] = {{.Result = {.MainSize = 32 * K}}};

// MR88F: the interface (and sub-type) by character 7, the size by character 8.
constexpr TNameRule kMR88FInterfaceRules[] = {
    {.CharAt = 7, .Char = '5', .Result = {.SubType = SubTypeCode(0), .PifSpeedFlags = 0x80}},
    {.Result = {.SubType = SubTypeCode(4), .PifSpeedFlags = 0x81}},
};

constexpr TNameRule kMR88FSizeRules[] = {
    {.CharAt = 8, .Char = 'B', .Result = {.MainSize = 64 * K}},
    {.CharAt = 8, .Char = 'C', .Result = {.MainSize = 128 * K}},
    {.CharAt = 8, .Char = 'D', .Result = {.MainSize = 256 * K}},
    {.Result = {.MainSize = 256 * K}},
};

constexpr TNameRule kLCMPxRules[] = {
    {.Prefix = "LCP037", .Result = {.MainSize = 32 * K}},
    {.CharAt = 10, .Char = '4', .Result = {.MainSize = 16 * K}},
    {.CharAt = 10, .Char = '6', .Result = {.MainSize = 32 * K}},
    {.CharAt = 10, .Char = '8', .Result = {.MainSize = 64 * K}},
    {.Result = {.MainSize = 128 * K}},
};

constexpr TNameRule kBAT32Rules[] = {
    {.Prefix = "BAT32G127", .Result = {.MainSize = 128 * K, .Eep = TEepArea{0x500200, 0xA00}}},
    {.Prefix = "BAT32G133", .Result = {.MainSize = 32 * K, .Eep = TEepArea{0x500000, 0x600}}},
    {.Prefix = "BAT32G135", .Result = {.MainSize = 64 * K, .Eep = TEepArea{0x500000, 0x600}}},
    {.Prefix = "BAT32G137", .Result = {.MainSize = 128 * K, .Eep = TEepArea{0x500000, 0x600}}},
    {.Prefix = "BAT32G179", .Result = {.MainSize = 512 * K, .Eep = TEepArea{0x501000, 0x5000}}},
    {.Prefix = "BAT32A239", .Result = {.MainSize = 256 * K, .Eep = TEepArea{0x500200, 0xA00}}},
    {.Prefix = "BAT32A279", .Result = {.MainSize = 512 * K, .Eep = TEepArea{0x501000, 0x5000}}},
    {.Result = {.MainSize = 128 * K, .Eep = TEepArea{0x500000, 0x400}}},
};

constexpr TNameRule kSonicRules[] = {
    {.Prefix = "SN32F774", .Result = {.MainSize = 32 * K}}, {.Prefix = "SN32F773", .Result = {.MainSize = 32 * K}},
    {.Prefix = "SN32F70", .Result = {.MainSize = 32 * K}},  {.Prefix = "SN32F80", .Result = {.MainSize = 32 * K}},
    {.Prefix = "SN32F24", .Result = {.MainSize = 64 * K}},  {.Prefix = "SN32F26", .Result = {.MainSize = 32 * K}},
    {.Prefix = "SN32F75", .Result = {.MainSize = 32 * K}},  {.Prefix = "SN32F76", .Result = {.MainSize = 64 * K}},
    {.Prefix = "SN32F78", .Result = {.MainSize = 128 * K}}, {.Prefix = "SN32F79", .Result = {.MainSize = 128 * K}},
    {.Prefix = "SN32F28", .Result = {.MainSize = 128 * K}}, {.Result = {.MainSize = 64 * K}},
};

// The listed SPD1176/SPD1179 parts match none of the 64K prefixes and take
// the 128K default.
constexpr TNameRule kSpctrolRules[] = {
    {.Prefix = "SPC1169", .Result = {.MainSize = 128 * K}},
    {.Prefix = "SPC1176Z", .Result = {.MainSize = 64 * K}},
    {.Prefix = "SPC1179", .Result = {.MainSize = 64 * K}},
    {.Result = {.MainSize = 128 * K}},
};

constexpr TNameRule kLE5x10Rules[] = {{.Result = {.MainSize = 512 * K}}};

constexpr TNameRule kSA32BRules[] = {
    {.CharAt = 6, .Char = '6', .Result = {.MainSize = 512 * K}},
    {.CharAt = 6, .Char = '4', .Result = {.MainSize = 256 * K}},
    {.CharAt = 6, .Char = '2', .Result = {.MainSize = 128 * K}},
    {.Result = {.MainSize = 512 * K}},
};

// Control byte presets, in the order PifSpeedFlags, VoltageFlags,
// ResetPowerFlags, ProgramStepFlags, EraseFlags, ControlByte5..7.
constexpr TFamilyRow kFamilies[] = {
    // AC78xx: SetAC78xChipParams
    {.NameRules = {kAC78xRules},
     .MainStart = 0x08000000,
     .BaseOffsetMask = kLowMegabyte,
     .MainPageSize = 2048,
     .Eep = kNoEep,
     .OptionArea = kNoArea,
     .ChipFamilyCode = 0x00,
     .SubType = kKeepSubType,
     .OptionFormat = 0x08,
     .BlankIsZero = 0,
     .UseFlashDriver = 1,
     .ControlBytes = {0x80, 0x81, 0x00, 0x17, 0x00, 0, 0, 0},
     .OptionPreset = ResetAC78xOptionImage},
    // Indie: SetIndieChipParams
    {.NameRules = {kIndieRules},
     .MainStart = 0x00000000,
     .BaseOffsetMask = kWholeAddress,
     .MainPageSize = 512,
     .Eep = kNoEep,
     .OptionArea = kNoArea,
     .ChipFamilyCode = 0x01,
     .SubType = kKeepSubType,
     .OptionFormat = 0x00,
     .BlankIsZero = 0,
     .UseFlashDriver = 1,
     .ControlBytes = {0x80, 0x80, 0x00, 0x17, 0x00, 0, 0, 0},
     .OptionPreset = ClearIndieOptionImage},
    // LAPIS ML630Q: SetLapisChipParams
    {.NameRules = {kLapisSizeRules, kLapisEepRules},
     .MainStart = 0x10000000,
     .BaseOffsetMask = kLow16Megabytes,
     .MainPageSize = 1024,
     .Eep = kNoEep,  // by name
     .OptionArea = kNoArea,
     .ChipFamilyCode = 0x10,
     .SubType = kKeepSubType,
     .OptionFormat = 0x00,
     .BlankIsZero = 0,
     .UseFlashDriver = 1,
     .ControlBytes = {0x80, 0x00, 0x00, 0x17, 0x00, 0, 0, 0},
     .OptionPreset = ClearLapisOptionImage},
    // AU30x: SetAUCUxChipParams
    {.NameRules = {kAUCUxRules},
     .MainStart = 0x03000000,
     .BaseOffsetMask = kLowMegabyte,
     .MainPageSize = 512,
     .Eep = {0x03026000, 8 * K},
     .OptionArea = {0x03802000, 0x03803FFF},
     .ChipFamilyCode = 0x18,
     .SubType = kKeepSubType,
     .OptionFormat = 0xFF,
     .BlankIsZero = 0,
     .UseFlashDriver = 0,
     .ControlBytes = {0x08, 0x81, 0x00, 0x17, 0x80, 0, 0, 0},
     .OptionPreset = ResetAUCUxConfigImage},
    // MR88F: SetMR88FChipParams
    {.NameRules = {kMR88FInterfaceRules, kMR88FSizeRules},
     .MainStart = 0x00000000,
     .BaseOffsetMask = kWholeAddress,
     .MainPageSize = 512,
     .Eep = {0x1FFFE000, 0x1A00},
     .OptionArea = kNoArea,
     .ChipFamilyCode = 0x04,
     .SubType = kKeepSubType,
     .OptionFormat = 0x00,
     .BlankIsZero = 0,
     .UseFlashDriver = 1,
     .ControlBytes = {0x80, 0x81, 0x00, 0x17, 0x00, 0, 0, 0},
     .OptionPreset = ClearIndieOptionImage},
    // LCP037/LCM32F037: SetLCMPxChipParams
    {.NameRules = {kLCMPxRules},
     .MainStart = 0x08000000,
     .BaseOffsetMask = kLowMegabyte,
     .MainPageSize = 512,
     .Eep = kNoEep,
     .OptionArea = {0x1FFFF600, 0x1FFFF7FF},
     .ChipFamilyCode = 0x18,
     .SubType = kKeepSubType,
     .OptionFormat = 0x0A,
     .BlankIsZero = 0,
     .UseFlashDriver = 1,
     .ControlBytes = {0x80, 0x81, 0x00, 0x17, 0x00, 1, 0, 0},
     .OptionPreset = ResetLCMPxOptionImage},
    // BAT32: SetBAT32ChipParams
    {.NameRules = {kBAT32Rules},
     .MainStart = 0x00000000,
     .BaseOffsetMask = kLow16Megabytes,
     .MainPageSize = 256,
     .EepPageSize = 256,
     .Eep = kNoEep,  // by name
     .OptionArea = kNoArea,
     .ChipFamilyCode = 0x08,
     .SubType = kKeepSubType,
     .OptionFormat = 0x00,
     .BlankIsZero = 0,
     .UseFlashDriver = 1,
     .ControlBytes = {0x80, 0x00, 0x00, 0x17, 0x00, 0, 0, 0},
     .OptionPreset = ClearBAT32OptionImage},
    // SN32F: SetSonicChipParams
    {.NameRules = {kSonicRules},
     .MainStart = 0x00000000,
     .BaseOffsetMask = kLow16Megabytes,
     .MainPageSize = 64,
     .EepPageSize = 64,
     .Eep = {0x1FFF0000, 0},  // no EEP, yet its bounds are set
     .OptionArea = kNoArea,
     .ChipFamilyCode = 0x02,
     .SubType = kKeepSubType,
     .OptionFormat = 0x00,
     .BlankIsZero = 1,
     .UseFlashDriver = 1,
     .ControlBytes = {0x80, 0x00, 0x00, 0x17, 0x00, 0, 0, 0},
     .OptionPreset = ClearSonicOptionImage},
    // SPC/SPD: SetSpctrolChipParams
    {.NameRules = {kSpctrolRules},
     .MainStart = 0x10000000,
     .BaseOffsetMask = kLow16Megabytes,
     .MainPageSize = 4096,
     .EepPageSize = 4096,
     .Eep = {0x11002000, 0x3000},
     .OptionArea = kNoArea,
     .ChipFamilyCode = 0x20,
     .SubType = kKeepSubType,
     .OptionFormat = 0x00,
     .BlankIsZero = 0,
     .UseFlashDriver = 1,
     .ControlBytes = {0x80, 0x01, 0x40, 0x17, 0x00, 0, 0, 0},
     .OptionPreset = ResetSpctrolOptionImage},
    // LE5010/LE5110: SetLE5x10ChipParams
    {.NameRules = {kLE5x10Rules},
     .MainStart = 0x18000000,
     .BaseOffsetMask = kLow16Megabytes,
     .MainPageSize = 512,
     .Eep = kNoEep,
     .OptionArea = kNoArea,
     .ChipFamilyCode = 0x01,
     .SubType = SubTypeCode(0xFE),
     .OptionFormat = 0x00,
     .BlankIsZero = 0,
     .UseFlashDriver = 1,
     .ControlBytes = {0x80, 0x81, 0x00, 0x15, 0x00, 0, 0, 0},
     .OptionPreset = nullptr},
    // SA32B: SetSA32BChipParams
    {.NameRules = {kSA32BRules},
     .MainStart = 0x00000000,
     .BaseOffsetMask = kWholeAddress,
     .MainPageSize = 4096,
     .EepPageSize = 4096,
     .Eep = {0x20020000, 128 * K},
     .OptionArea = kNoArea,
     .ChipFamilyCode = 0x14,
     .SubType = kRowIndexSubType,
     .OptionFormat = 0x00,
     .BlankIsZero = 0,
     .UseFlashDriver = 1,
     .ControlBytes = {0x80, 0x81, 0x00, 0x17, 0x00, 0, 0, 0},
     .OptionPreset = ClearIndieOptionImage},
};
static_assert(std::size(kFamilies) == kVendorCount);

}  // namespace

const TFamilyRow& FamilyFor(std::uint8_t vendorIndex) { return kFamilies[VendorRow(vendorIndex)]; }
