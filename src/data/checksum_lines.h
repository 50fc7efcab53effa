// The sums of the data to be programmed (ACC32 and the 16-bit sums of the
// parameter block) and the log lines that show them, after loading data and
// after a read-back from a chip. Every range is cut to its image.
#pragma once

// Over the programmed main range: MainSum16, MainSum and MainSumLow; then an
// empty line and "Chip Main Flash ACC32 CheckSum = ...". A chip without EEP
// also gets its EEP sums cleared here, so no sum of an earlier chip stays in
// the chip checksum.
void ComputeMainChecksum();

// Over the EEP area: EepSum16, EepSum and EepSumLow (all 0 without EEP);
// then "Chip EEP Data ACC32 CheckSum   = ...".
void ComputeEepChecksum();

// After a main-flash read-back: logs the ACC32 of the programmed range,
// while MainSum16 and MainSumLow cover the whole main area. MainSum stays.
void ShowReadMainChecksum();

// After an EEP read-back: EepSum16 and EepSumLow of the data read, and its
// ACC32 logged. EepSum stays.
void ShowReadEepChecksum();
