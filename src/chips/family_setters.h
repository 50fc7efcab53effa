// The family setters: from the chosen part name (and, for three families,
// its row in the part list) they write the whole selected-chip record, the
// device address and the control byte presets, and preset the option image.
// None of them writes ChipFamilyIndex, ChipName or the data lengths.
#pragma once

#include <cstdint>
#include <string_view>

void SetAC78xChipParams(std::string_view name);  // refuses a name of neither series: ChipSelected := 0
void SetIndieChipParams(std::string_view name, std::uint8_t row);
void SetLapisChipParams(std::string_view name, std::uint8_t row);
void SetAUCUxChipParams();
void SetMR88FChipParams(std::string_view name);
void SetLCMPxChipParams(std::string_view name);
void SetBAT32ChipParams(std::string_view name);
void SetSonicChipParams(std::string_view name);
void SetSpctrolChipParams(std::string_view name);
void SetLE5x10ChipParams();
void SetSA32BChipParams(std::string_view name, std::uint8_t row);

// The setter of a vendor index (10 and above: SA32B). The families that take
// no row index, or no name, ignore them.
void SetChipParamsForVendor(std::uint8_t vendorIndex, std::string_view name, std::uint8_t row);
