// The step handlers: the reply of a programmer in one state decides whether
// its step went well, and the handler sends the next 4 KB block, starts the
// next step of the operation or ends it. A reply is used only as far as it
// came: a data reply that lacks the bytes its step uses ends the step with
// "Packet Error!".
#pragma once

#include "link/reply_dispatch.h"

// Download for stand-alone programming: chip data, flash driver, main data, EEP data.
void HandleChipDataReply(const TReply& reply, int ch);
void HandleDriverReply(const TReply& reply, int ch);
void HandleMainDownloadReply(const TReply& reply, int ch);
void HandleEepDownloadReply(const TReply& reply, int ch);

// Blank check, erase, programming and the option write.
void HandleBlankCheckReply(const TReply& reply, int ch);
void HandleEraseReply(const TReply& reply, int ch);
void HandleMainProgramReply(const TReply& reply, int ch);
void HandleEepProgramReply(const TReply& reply, int ch);
void HandleOptionWriteReply(const TReply& reply, int ch);

// Verification: each differing byte is shown in a Yes/Abort box (Abort
// stops the listing) and any difference ends the step with "Data Verify
// error!". While a box is open the programmer's reply time-out is held.
void HandleMainVerifyReply(const TReply& reply, int ch);
void HandleEepVerifyReply(const TReply& reply, int ch);

// The reads.
void HandleOptionReadReply(const TReply& reply, int ch);
void HandleMainReadReply(const TReply& reply, int ch);
void HandleEepReadReply(const TReply& reply, int ch);
void HandleChecksumReply(const TReply& reply, int ch);
void HandleChipInfoReply(const TReply& reply, int ch);
void HandleMemoryReadReply(const TReply& reply, int ch);
