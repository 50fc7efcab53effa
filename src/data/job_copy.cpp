#include "data/job_copy.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace {

std::vector<std::uint8_t> CopyOf(std::span<const std::uint8_t> image) { return {image.begin(), image.end()}; }

// One block move, also where the build instruments every loop (the fuzz build).
void PutBack(const std::vector<std::uint8_t>& copy, std::span<std::uint8_t> image) {
  std::memcpy(image.data(), copy.data(), std::min(copy.size(), image.size()));
}

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
  PutBack(option_, job.Option);
  PutBack(main_, job.Main);
  PutBack(eep_, job.Eep);
  PutBack(aux_, job.Aux);
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
