#include "data/job_copy.h"

#include <algorithm>
#include <span>

namespace {

std::vector<std::uint8_t> CopyOf(std::span<const std::uint8_t> image) { return {image.begin(), image.end()}; }

}  // namespace

TJobCopy::TJobCopy() {
  const TAreaImages job = JobImages();
  option_ = CopyOf(job.Option);
  main_ = CopyOf(job.Main);
  eep_ = CopyOf(job.Eep);
  aux_ = CopyOf(job.Aux);
  object_ = ObjectState;
}

void TJobCopy::PutInPlace() const {
  const TAreaImages job = JobImages();
  std::ranges::copy(option_, job.Option.begin());
  std::ranges::copy(main_, job.Main.begin());
  std::ranges::copy(eep_, job.Eep.begin());
  std::ranges::copy(aux_, job.Aux.begin());
  TObjectState& o = ObjectState;
  o.ObjectLoaded = object_.ObjectLoaded;
  o.OptionLoaded = object_.OptionLoaded;
  o.LoadedDataEnd = object_.LoadedDataEnd;
  o.ObjectStart = object_.ObjectStart;
  o.ObjectEnd = object_.ObjectEnd;
  o.FileChecksum = object_.FileChecksum;
  o.EepFileSum = object_.EepFileSum;
  o.BinOffsetAddress = object_.BinOffsetAddress;
}
