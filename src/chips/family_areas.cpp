#include "chips/family_areas.h"

#include "chips/chip_families.h"

TAreaBounds FamilyOptionArea(std::uint8_t vendorIndex) { return FamilyFor(vendorIndex).OptionArea; }
