#include "link/comm_settings.h"

TCommLineSettings ProgrammerLineSettings() {
  TCommLineSettings s;
  s.BaudRate = 1'000'000;
  s.DtrControl = TDtrControl::DtrDisable;
  s.TxContinueOnXoff = false;
  s.Outx_XonXoffFlow = false;
  s.Inx_XonXoffFlow = false;
  s.RtsControl = TRtsControl::RtsDisable;
  s.StopBits = TStopBits::_2;
  return s;
}

TCommTimeouts ProgrammerTimeouts() {
  TCommTimeouts t;
  t.ReadIntervalTimeout = 3;
  return t;
}

TSerialLineSettings ToSerialLineSettings(const TCommLineSettings& line, TParity parity) {
  constexpr TSerialParity kParity[] = {TSerialParity::None, TSerialParity::Odd, TSerialParity::Even,
                                       TSerialParity::Mark, TSerialParity::Space};
  TSerialLineSettings s;
  s.BaudRate = line.BaudRate;
  s.DataBits = 5 + static_cast<int>(line.ByteSize);
  s.Parity = kParity[static_cast<int>(parity)];
  // The second stop bit is sent as one and a half with 5 data bits; other
  // sizes have no one-and-a-half here and get two.
  s.TwoStopBits = line.StopBits != TStopBits::_1;
  s.CheckParity = line.ParityCheck;
  // With RTS handshake the driver drives RTS for the CTS/RTS flow control.
  s.RtsCtsFlow = line.Outx_CtsFlow || line.RtsControl == TRtsControl::RtsHandshake;
  s.XonXoffOutput = line.Outx_XonXoffFlow;
  s.XonXoffInput = line.Inx_XonXoffFlow;
  s.XonChar = static_cast<std::uint8_t>(line.XonChar);
  s.XoffChar = static_cast<std::uint8_t>(line.XoffChar);
  // No DTR handshake on this platform: DTR stays raised as when ready.
  // Transmission-toggled RTS has no driver support either: RTS stays low,
  // its level while nothing is sent.
  s.Dtr = line.DtrControl != TDtrControl::DtrDisable;
  s.Rts = line.RtsControl == TRtsControl::RtsEnable || line.RtsControl == TRtsControl::RtsHandshake;
  return s;
}

TLineEvents LineEventsBetween(const TSerialLineCounters& before, const TSerialLineCounters& after) {
  struct TCount {
    std::uint32_t TSerialLineCounters::*Count;
    std::uint32_t Flag;
  };
  constexpr TCount kErrors[] = {
      {&TSerialLineCounters::BufferOverrun, kCommErrorRxOver}, {&TSerialLineCounters::Overrun, kCommErrorOverrun},
      {&TSerialLineCounters::Parity, kCommErrorRxParity},      {&TSerialLineCounters::Frame, kCommErrorFrame},
      {&TSerialLineCounters::Break, kCommErrorBreak},
  };
  constexpr TCount kModem[] = {{&TSerialLineCounters::CarrierDetect, kModemCarrierDetect},
                               {&TSerialLineCounters::Ring, kModemRing}};
  constexpr std::uint32_t kLineErrors = kCommErrorOverrun | kCommErrorRxParity | kCommErrorFrame;

  TLineEvents events;
  for (const auto& e : kErrors)
    if (after.*e.Count != before.*e.Count) events.ErrorFlags |= e.Flag;
  if (!(events.ErrorFlags & kLineErrors)) events.ErrorFlags = 0;
  for (const auto& m : kModem)
    if (after.*m.Count != before.*m.Count) events.ModemBits |= m.Flag;
  return events;
}
