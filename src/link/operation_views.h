// What the operation path shows in the main window besides log lines and
// gauges: the serial-number advance, the checksum lines and memory viewers
// after a read, the read-option display of the chip family and the info
// panel of the device search. The window installs its routines; until then
// every call does nothing, and tests install a recording fake.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class IOperationViews {
 public:
  virtual ~IOperationViews() = default;
  // A programmer ended an auto run well: the next chip gets the next number.
  virtual void AdvanceSerialNumber() {}
  virtual void ShowReadMainChecksum() {}
  // The main viewer from address first to last.
  virtual void FillHexViewer(std::uint32_t /*first*/, std::uint32_t /*last*/) {}
  virtual void ShowReadEepChecksum() {}
  virtual void FillEepViewer() {}
  // The option bytes programmer ch read back: payloadLength bytes from byte 8
  // of its packet buffer (0 when the reply carried none).
  virtual void ShowReadOption(int /*ch*/, std::size_t /*payloadLength*/) {}
  virtual void SetInfoPanelCaption(const std::string& /*text*/) {}
};

IOperationViews& OperationViews();
// nullptr installs the views that do nothing.
void SetOperationViews(IOperationViews* views);
