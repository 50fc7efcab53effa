// A load's working copy of the job: the four images that a file's records may
// reach and the object-state fields that a load sets. A load reads into it
// while its boxes are open, so the images a programmer may be sending stay
// as they were; PutInPlace then changes the job in one step, at the end.
#pragma once

#include <cstdint>
#include <vector>

#include "data/object_file.h"
#include "data/program_state.h"

class TJobCopy {
 public:
  // Of the job as it is now.
  TJobCopy();
  TJobCopy(const TJobCopy&) = delete;
  TJobCopy& operator=(const TJobCopy&) = delete;

  TAreaImages Images() { return {option_, main_, eep_, aux_}; }
  // The load's fields, as the job holds them until the load sets them:
  // ObjectLoaded, OptionLoaded, LoadedDataEnd, ObjectStart, ObjectEnd,
  // FileChecksum, EepFileSum and BinOffsetAddress. Only these are put in
  // place; what follows from the images (MainDataLength, the sums, the
  // CRC-32) is computed from the job once they are there.
  TObjectState& Object() { return object_; }

  // The four images and the load's fields into the job.
  void PutInPlace() const;

 private:
  std::vector<std::uint8_t> option_, main_, eep_, aux_;
  TObjectState object_;
};
