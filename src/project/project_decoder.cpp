#include "project/project_decoder.h"

#include <cstring>
#include <utility>

#include "project/project_bytes.h"
#include "project/project_file.h"
#include "project/project_sizes.h"
#include "text/format_text.h"
#include "text/text_id.h"

namespace {

std::string TextField(TProjectReader& r, std::size_t width) {
  std::string text = r.PrjReadString(width, kProjectTextKey);
  text.resize(std::strlen(text.c_str()));
  return text;
}

bool TagIs(TProjectReader& r, const char* tag, std::uint8_t key) { return r.PrjReadString(kTagSize, key) == tag; }

// The header after the magic, up to the CFG tag.
void ReadHeader(TProjectReader& r, TProjectHeader& h, std::span<std::uint8_t> pad) {
  r.PrjSkip(1);  // the version, never checked
  h.ChipCode = r.PrjReadByte();
  h.ModelName = TextField(r, kModelNameWidth);
  h.ChipName = TextField(r, kChipNameWidth);
  h.ChipText2 = TextField(r, kChipText2Width);
  r.PrjSkip(32);
  h.ChipChecksum = r.PrjReadLongWord();
  h.FileChecksum = r.PrjReadLongWord();
  h.EepFileSum = r.PrjReadLongWord();
  r.PrjSkip(24);  // zeros and CountLimit, which the chip-data block restores
  h.ObjectStart = r.PrjReadLongWord();
  h.ObjectEnd = r.PrjReadLongWord();
  h.SnGain = r.PrjReadWord();
  r.PrjSkip(86);
  h.ProjectOptionBits = r.PrjReadByte();
  h.ChipFamilyIndex = r.PrjReadByte();
  h.MainSize = r.PrjReadLongWord();
  h.EepSize = r.PrjReadLongWord();
  h.MainDataLength = r.PrjReadLongWord();
  r.PrjSkip(10);
  h.MainStart = r.PrjReadLongWord();
  h.EepStart = r.PrjReadLongWord();
  h.OptionStart = r.PrjReadLongWord();
  h.AuxStart = r.PrjReadLongWord();
  r.PrjSkip(10);
  for (std::uint16_t* sum : {&h.MainSumLow, &h.MainSum16, &h.EepSumLow, &h.EepSum16, &h.OptionSum, &h.OptionSum16})
    *sum = static_cast<std::uint16_t>(r.PrjReadLongWord());
  r.PrjSkip(24);
  for (std::uint8_t& b : pad) b = r.PrjReadByte();
}

// Decodes section after section. A wrong tag is remembered and the next one
// read where the reader stands, as the format has always been read; sizes
// that do not fit, or a file that ends before what its header and sections
// announce, stop the decoding.
class TDecoder {
 public:
  explicit TDecoder(std::span<const std::uint8_t> file) : r_(file) {}

  TProjectDecoding Run() {
    if (!r_.Has(kProjectMagicSize) || r_.PrjReadString(kProjectMagicSize, 0) != kProjectMagic)
      return Stop(kProjectBadMagic);
    if (!Need(kProjectHeaderSize - kProjectMagicSize, Text(TTextId::ProjectHeaderPart))) return Stopped();
    TProjectHeader& h = d_.Content.Header;
    ReadHeader(r_, h, pad_);
    if (std::string sizes = CheckProjectSizes({h.MainSize, h.EepSize, h.MainDataLength, h.MainStart});
        !sizes.empty())
      return Stop(kProjectDamaged, std::move(sizes));
    if (!CfgSection() || !MfmSection() || !EepSection()) return Stopped();
    // The stored sum covers every byte before it.
    const std::uint32_t sum = r_.ProjectSum();
    if (!Need(4, Text(TTextId::ProjectSumPart))) return Stopped();
    if (r_.PrjReadLongWord() != sum && d_.Result == kProjectOpenOk) d_.Result = kProjectSumMismatch;
    return Stopped();
  }

 private:
  bool CfgSection() {
    if (!Need(kTagSize, Text(TTextId::ProjectCfgPart))) return false;
    if (!TagIs(r_, kCfgTag, kCfgTagKey)) return WrongTag(kProjectNoCfgTag);
    if (!Need(1 + kCfgDataSize, Text(TTextId::ProjectCfgPart))) return false;
    const std::uint8_t kc = r_.PrjReadByte();
    auto& cfg = d_.Content.ChipData;
    for (std::size_t i = 0; i < cfg.size(); ++i) cfg[i] = r_.PrjReadByte() ^ pad_[i] ^ kc;
    return true;
  }

  bool MfmSection() {
    if (!Need(kTagSize, Text(TTextId::ProjectMfmPart))) return false;
    if (!TagIs(r_, kMfmTag, kMfmTagKey)) return WrongTag(kProjectNoMfmTag);
    const std::uint32_t n = d_.Content.Header.MainDataLength;
    if (!Need(RunCodedSize(n), Text(TTextId::ProjectMfmPart))) return false;
    d_.Content.MainData.resize(n);
    PrjReadRunCoded(r_, d_.Content.MainData, pad_);
    return true;
  }

  bool EepSection() {
    if (!Need(kTagSize, Text(TTextId::ProjectEepPart))) return false;
    if (!TagIs(r_, kEepTag, kEepTagKey)) return WrongTag(kProjectNoEepTag);
    if (!Need(4, Text(TTextId::ProjectEepPart))) return false;
    const std::uint32_t length = d_.Content.EepDataLength = r_.PrjReadLongWord();
    if (length == 0) return true;
    const std::uint32_t m = EepStoredLength(length);
    if (!Need(RunCodedSize(m), Text(TTextId::ProjectEepPart))) return false;
    d_.Content.EepData.resize(m);
    PrjReadRunCoded(r_, d_.Content.EepData, pad_);
    return true;
  }

  bool WrongTag(std::uint8_t code) {
    d_.Result = code;
    return true;
  }

  // Whether count more bytes are there; if not, the file is damaged.
  bool Need(std::size_t count, const char* part) {
    if (r_.Has(count)) return true;
    d_.Result = kProjectDamaged;
    d_.Reason = FormatText(TTextId::ProjectEndsInsideFormat, static_cast<unsigned>(r_.Size()), part);
    return false;
  }

  TProjectDecoding Stop(std::uint8_t code, std::string reason = {}) {
    d_.Result = code;
    d_.Reason = std::move(reason);
    return Stopped();
  }
  TProjectDecoding Stopped() { return std::move(d_); }

  TProjectReader r_;
  std::array<std::uint8_t, kProjectPadStored> pad_{};
  TProjectDecoding d_;
};

}  // namespace

TProjectDecoding DecodeProjectFile(std::span<const std::uint8_t> file) { return TDecoder(file).Run(); }
