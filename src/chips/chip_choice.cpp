#include "chips/chip_choice.h"

#include <string>

#include "chips/family_setters.h"
#include "chips/part_lists.h"
#include "data/program_state.h"

bool AcceptChipChoice(std::uint8_t vendorIndex, std::size_t row) {
  const TPartList& list = PartListFor(vendorIndex);
  if (row >= list.Names.size()) return false;

  ObjectState.ObjectLoaded = 0;
  ObjectState.ChipSelected = 1;
  SelectedChip.ChipFamilyIndex = vendorIndex;
  SessionTexts.ChipName = std::string(list.Names[row]);
  SetChipParamsForVendor(vendorIndex, SessionTexts.ChipName, static_cast<std::uint8_t>(row));
  ObjectState.MainDataLength = SelectedChip.MainSize;
  ObjectState.EepDataLength = SelectedChip.EepSize;
  return true;
}
