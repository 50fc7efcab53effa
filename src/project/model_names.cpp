#include <cstddef>
#include <string_view>

#include "project/project_file.h"
#include "text/texts.h"

namespace {

struct TModelName {
  std::uint8_t Code;
  std::string_view Name;
};

// By model code, ascending. 0x55 ('U') is the code every chip sends.
constexpr TModelName kModelNames[] = {
    {3, "Velmot200A3"},    {5, "Velmot200A5"},   {8, "Velmot200B8"},   {11, "Velmot200C1"},
    {13, "Velmot200C3"},   {16, "Velmot200D6"},  {19, "Velmot200E9"},  {21, "Velmot200F1"},
    {24, "Velmot200F4"},   {27, "Velmot200G7"},  {30, "Velmot200H0"},  {32, "Velmot200H2"},
    {35, "Velmot200J5"},   {38, "Velmot200K8"},  {40, "Velmot200L0"},  {43, "Velmot200M3"},
    {46, "Velmot200N6"},   {48, "Velmot200P8"},  {51, "Velmot200R1"},  {54, "Velmot200S4"},
    {57, "Velmot200T7"},   {64, "Velmot200ARM"}, {66, "Velmot200ARM"}, {70, "Velmot200W0"},
    {73, "Velmot200W0"},   {77, "Velmot200GX"},  {79, "Velmot200GX"},  {83, "Velmot200PRO"},
    {85, "Velmot200IND"},
};

constexpr bool Ascending() {
  for (std::size_t i = 1; i < std::size(kModelNames); ++i)
    if (kModelNames[i - 1].Code >= kModelNames[i].Code) return false;
  return true;
}
static_assert(Ascending(), "one row per code, in order");

}  // namespace

std::string ModelNameForCode(std::uint8_t code) {
  for (const TModelName& row : kModelNames)
    if (row.Code == code) return std::string(row.Name);
  return std::string(kDefaultModelName);
}
