#include "chips/part_lists.h"

#include "text/vendor_captions.h"

namespace {

constexpr std::string_view kAC78xParts[] = {
    "AC78010xAxx", "AC78010xBxx", "AC78010xCxx", "AC78012xAxx", "AC78012xBxx", "AC78012xCxx", "AC78012xDxx",
    "AC78013xAxx", "AC78013xBxx", "AC78013xCxx", "AC78013xDxx", "AC78016xAxx", "AC78016xBxx", "AC78016xCxx",
    "AC78016xDxx", "AC7811JBxx",  "AC7811MBxx",  "AC7811OBxx",  "AC7811QBxx",  "AC7811JJxx",  "AC7811MJxx",
    "AC7811OJxx",  "AC7811QJxx",  "AC7813JBxx",  "AC7813MBxx",  "AC7813OBxx",  "AC7813QBxx",  "AC7815JBxx",
    "AC7815MBxx",  "AC7815OBxx",  "AC7815QBxx",
};

constexpr std::string_view kIndieParts[] = {
    "IND83204xx", "IND83205xx", "IND83209xx", "IND83212xx", "IND83213A", "IND86201xx",
};

constexpr std::string_view kLapisParts[] = {"ML630Q464", "ML630Q466", "ML630Q448"};

constexpr std::string_view kAUCUxParts[] = {"AU301LDF51xx", "AU302NDF51xx", "AU302PDF51xx"};

constexpr std::string_view kMR88FParts[] = {
    "MR88F005BI", "MR88F005CI", "MR88F005DI", "MR88F105BI", "MR88F105CI", "MR88F105DI", "MR88F205BI", "MR88F205CI",
    "MR88F205DI", "MR88F305BI", "MR88F305CI", "MR88F305DI", "MR88F505BI", "MR88F505CI", "MR88F505DI", "MR88F605BI",
    "MR88F605CI", "MR88F605DI", "MR88F705BI", "MR88F705CI", "MR88F705DI", "MR88F805BI", "MR88F805CI", "MR88F805DI",
    "MR88FD05BI", "MR88FD05CI", "MR88FD05DI", "MR88FE05BI", "MR88FE05CI", "MR88FE05DI", "MR88FF05BI", "MR88FF05CI",
    "MR88FF05DI", "MR88FG05BI", "MR88FG05CI", "MR88FG05DI", "MR88FH05BI", "MR88FH05CI", "MR88FH05DI", "MR88F002Bx",
    "MR88F002Cx", "MR88F102Cx", "MR88F202Cx", "MR88F302Cx", "MR88F502Cx", "MR88F602Cx", "MR88F702Cx", "MR88F802Cx",
    "MR88FA02Cx", "MR88FB02Cx", "MR88FC02Cx", "MR88FD02Cx", "MR88FE02Cx",
};

constexpr std::string_view kLCMPxParts[] = {
    "LCP037AKxxx",   "LCP037ATxxx",   "LCP037AHxxx",   "LCP037BxKxx",   "LCP037BTxxx",   "LCP037BHxxx",
    "LCP037CxKxx",   "LCP037CTxxx",   "LCP037CHxxx",   "LCM32F037K6xx", "LCM32F037H6xx", "LCM32F037C6xx",
    "LCM32F037R6xx", "LCM32F037K8xx", "LCM32F037H8xx", "LCM32F037C8xx", "LCM32F037R8xx",
};

constexpr std::string_view kBAT32Parts[] = {
    "BAT32G127GH40xx", "BAT32G127GH48xx",  "BAT32G127GH64xx", "BAT32G133GC20xx", "BAT32G133GC24xx",  "BAT32G135GE32xx",
    "BAT32G135GE40xx", "BAT32G135GE48xx",  "BAT32G137GH32xx", "BAT32G137GH40xx", "BAT32G137GH48xx",  "BAT32G137GH64xx",
    "BAT32G157GK48xx", "BAT32G157GK64xx",  "BAT32G179GM64xx", "BAT32G179GM80xx", "BAT32G179GM100xx", "BAT32A239KK48xx",
    "BAT32A239KK80xx", "BAT32A239KK100xx", "BAT32A279KM64xx", "BAT32A279KM80xx", "BAT32A279KM100xx",
};

constexpr std::string_view kSonicParts[] = {
    "SN32F774xx",  "SN32F7741xx", "SN32F773xx",   "SN32F755JG",   "SN32F756JG",
    "SN32F757FG",  "SN32F765JG",  "SN32F766JG",   "SN32F767FG",   "SN32F766BJG",
    "SN32F767BJG", "SN32F768BJG", "SN32F7651BJG", "SN32F7652BJG", "SN32F7661BJG",
};

constexpr std::string_view kSpctrolParts[] = {
    "SPC1168xxx",   "SPC1169xxx",    "SPD1176API56",  "SPD1176ZAPW48", "SPD1176APW48",
    "SPD1179DPI56", "SPD1179XDPW48", "SPD1179YDPW48", "SPD1179ZDPW48", "SPD1179DPW48",
};

constexpr std::string_view kLE5x10Parts[] = {
    "LE5010AI", "LE5010AIE", "LE5010AJ", "LE5010BI", "LE5010BIE", "LE5010BJ", "LE5010TI",
    "LE5010SI", "LE5110AI",  "LE5110AJ", "LE5110BI", "LE5110BJ",  "LE5110TI", "LE5110SI",
};

constexpr std::string_view kSA32BParts[] = {"SA32B16xx", "SA32B14xx", "SA32B12xx"};

const TPartList kPartLists[] = {
    {kVendorCaptions[kVendorAC78xx], kAC78xParts},    {kVendorCaptions[kVendorIndie], kIndieParts},
    {kVendorCaptions[kVendorLapis], kLapisParts},     {kVendorCaptions[kVendorAUCUx], kAUCUxParts},
    {kVendorCaptions[kVendorMR88F], kMR88FParts},     {kVendorCaptions[kVendorLCMPx], kLCMPxParts},
    {kVendorCaptions[kVendorBAT32], kBAT32Parts},     {kVendorCaptions[kVendorSonic], kSonicParts},
    {kVendorCaptions[kVendorSpctrol], kSpctrolParts}, {kVendorCaptions[kVendorLE5x10], kLE5x10Parts},
    {kVendorCaptions[kVendorSA32B], kSA32BParts},
};
static_assert(std::size(kPartLists) == kVendorCount);
static_assert(std::size(kVendorCaptions) == kVendorCount);

}  // namespace

const TPartList& PartListFor(std::uint8_t vendorIndex) { return kPartLists[VendorRow(vendorIndex)]; }
