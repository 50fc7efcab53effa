// Damaged and foreign files: each is refused with its code and its message,
// and the job that was open before stays exactly as it was.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <system_error>

#include "data/operator_io.h"
#include "data/program_state.h"
#include "project/project_file.h"
#include "project_job.h"

namespace {

// The fixture job's file: 0x9300 main bytes, 0x800 EEP bytes.
const TFileLayout kLayout = LayoutFor(0x9300, 0x800);

constexpr std::size_t kMainSizeAt = 258, kEepSizeAt = 262, kMainDataLengthAt = 266, kMainStartAt = 280;

struct TDamage {
  const char* name;
  std::function<void(Bytes&)> damage;
  std::uint8_t code;
};

void PrintTo(const TDamage& t, std::ostream* os) { *os << t.name; }

auto Flip(std::size_t at) {
  return [at](Bytes& b) { b[at] ^= 0x01; };
}
auto CutTo(std::size_t size) {
  return [size](Bytes& b) { b.resize(size); };
}
// A header field changed, with the file's sum made right again, so only the
// size check can refuse it.
auto SetField(std::size_t at, std::uint32_t value) {
  return [at, value](Bytes& b) {
    PutLe32(b, at, value);
    Resum(b, kLayout.Sum);
  };
}

const TDamage kDamages[] = {
    {"bad magic", Flip(0), kProjectBadMagic},
    {"empty file", CutTo(0), kProjectBadMagic},
    {"shorter than the magic", CutTo(4), kProjectBadMagic},
    // A wrong tag leaves the reader where it stands, so the following tags
    // are read out of place and fail in turn.
    {"no CFG tag", Flip(2403), kProjectNoEepTag},
    {"no MFM tag", Flip(kLayout.MfmTag + 2), kProjectNoEepTag},
    {"no EEP tag", Flip(kLayout.EepTag + 1), kProjectNoEepTag},
    {"sum off by one", [](Bytes& b) { PutLe32(b, kLayout.Sum, GetLe32(b, kLayout.Sum) + 1); }, kProjectSumMismatch},
    {"main data byte changed", Flip(kLayout.MfmTag + 500), kProjectSumMismatch},
    {"reserved header byte changed", Flip(200), kProjectSumMismatch},
    {"chip-data byte changed", Flip(2500), kProjectSumMismatch},
    {"cut inside the header", CutTo(1000), kProjectDamaged},
    {"cut inside the CFG tag", CutTo(2405), kProjectDamaged},
    {"cut inside the chip-data block", CutTo(3000), kProjectDamaged},
    {"cut inside the main data", CutTo(kLayout.MfmTag + 0x4000), kProjectDamaged},
    {"cut inside the EEP length", CutTo(kLayout.EepTag + 5), kProjectDamaged},
    {"cut inside the EEP data", CutTo(kLayout.Sum - 10), kProjectDamaged},
    {"cut inside the sum", CutTo(kLayout.Sum + 2), kProjectDamaged},
    {"main size past the main image", SetField(kMainSizeAt, 4'198'401), kProjectDamaged},
    {"EEP size past the EEP image", SetField(kEepSizeAt, 0x40001), kProjectDamaged},
    {"main data length 0", SetField(kMainDataLengthAt, 0), kProjectDamaged},
    {"main data length past the main size", SetField(kMainDataLengthAt, 0x10001), kProjectDamaged},
    {"main data length of 4 GB", SetField(kMainDataLengthAt, 0xFFFFFFFF), kProjectDamaged},
    {"main flash past the image's end", [](Bytes& b) {
       PutLe32(b, kMainStartAt, 0x000F0000);
       SetField(kMainSizeAt, 0x400000)(b);
     }, kProjectDamaged},
    {"main flash past 4 GB", SetField(kMainStartAt, 0xFFFF8000), kProjectDamaged},
};

class ProjectDamageTest : public ProjectTest, public ::testing::WithParamInterface<TDamage> {};

TEST_P(ProjectDamageTest, IsRefusedAndChangesNothing) {
  const TDamage& t = GetParam();
  Bytes file = ReadFile(Save());
  ASSERT_EQ(file.size(), kLayout.Size);
  t.damage(file);
  const std::string path = dir.Path("damaged.pqx");
  WriteFile(path, file);

  SetPreviousJob();
  const TStateSnapshot before = TStateSnapshot::Take();
  prompts.boxes.clear();
  memo.Lines.clear();
  EXPECT_EQ(ReadProjectFile(path, MayPlace), t.code);
  EXPECT_TRUE(TStateSnapshot::Take() == before) << "the previous job was changed";
  EXPECT_EQ(SessionTexts.ChipName, "previous chip");

  std::vector<std::string> lines;
  if (t.code == kProjectBadMagic) {
    lines = {"> 10:21:07 Not Valid Quorix Project File!"};
  } else if (t.code == kProjectDamaged) {
    ASSERT_EQ(memo.Lines.size(), 2u);
    EXPECT_EQ(memo.Lines[0].rfind("> 10:21:07 Project File Check Failed: ", 0), 0u) << memo.Lines[0];
    lines = {memo.Lines[0], "> 10:21:07 Project File \"" + path + "\" Is Corrupted and Has Not Been Loaded!"};
  } else {
    lines = {"> 10:21:07 Project File Data Has Been Corrupted!"};
  }
  EXPECT_EQ(memo.Lines, lines);
  // One box that says what the log says, without the times.
  std::string box;
  for (const std::string& line : lines) box += (box.empty() ? "" : "\n") + line.substr(11);
  EXPECT_EQ(prompts.boxes, std::vector<std::string>{"info: " + box});
}

INSTANTIATE_TEST_SUITE_P(Files, ProjectDamageTest, ::testing::ValuesIn(kDamages),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

// The log says which check refused the file.
TEST_F(ProjectTest, RefusalLogSaysWhichCheckFailed) {
  struct TCase {
    std::function<void(Bytes&)> damage;
    std::string reason;
  };
  const TCase cases[] = {
      {SetField(kMainDataLengthAt, 0), "Main Data Length 0x00000000 is not within 1 .. Main Size 0x00010000."},
      {SetField(kEepSizeAt, 0x40001), "EEP Size 0x00040001 is larger than the EEP image (0x00040000 bytes)."},
      {CutTo(3000), "the file ends after 3000 bytes, inside the CFG section."},
      {CutTo(kLayout.Sum + 2), "the file ends after " + std::to_string(kLayout.Sum + 2) + " bytes, inside the file sum."},
  };
  const Bytes good = ReadFile(Save());
  for (const TCase& t : cases) {
    Bytes file = good;
    t.damage(file);
    WriteFile(dir.Path("damaged.pqx"), file);
    memo.Lines.clear();
    EXPECT_EQ(ReadProjectFile(dir.Path("damaged.pqx"), MayPlace), kProjectDamaged);
    ASSERT_FALSE(memo.Lines.empty());
    EXPECT_EQ(memo.Lines[0], "> 10:21:07 Project File Check Failed: " + t.reason);
  }
}

// Nothing after the sum is read: the random tail may change, go or grow.
TEST_F(ProjectTest, TailAfterTheSumDoesNotMatter) {
  const Bytes good = ReadFile(Save());
  const std::function<void(Bytes&)> changes[] = {
      [](Bytes& b) { b.back() ^= 0xFF; },
      CutTo(kLayout.Sum + 4),
      [](Bytes& b) { b.insert(b.end(), 5000, 0x33); },
  };
  for (const auto& change : changes) {
    Bytes file = good;
    change(file);
    WriteFile(dir.Path("tail.pqx"), file);
    SetPreviousJob();
    EXPECT_EQ(Open(dir.Path("tail.pqx")), kProjectOpenOk);
    EXPECT_EQ(SessionTexts.ChipName, "LCM32F037K8T7");
  }
}

// A file that passed every check is put in place only once its message has
// been answered; refused then (a programmer started while the box was open),
// it leaves the job as it was.
TEST_F(ProjectTest, AFileRefusedAfterItsMessageChangesNothing) {
  const std::string path = Save();
  SetPreviousJob();
  const TStateSnapshot before = TStateSnapshot::Take();
  prompts.boxes.clear();
  memo.Lines.clear();
  std::vector<std::string> shownWhenAsked;
  const auto refuse = [&] {
    shownWhenAsked = prompts.boxes;
    return false;
  };
  EXPECT_EQ(ReadProjectFile(path, refuse), kProjectNotPlaced);
  EXPECT_EQ(shownWhenAsked, std::vector<std::string>{"info: Project File Open Success!"});
  EXPECT_TRUE(TStateSnapshot::Take() == before);
  EXPECT_EQ(memo.Lines, std::vector<std::string>{"> 10:21:07 Project File Open Success!"});
}

// A file that cannot be opened or read is the file system's error, not a code.
TEST_F(ProjectTest, UnreadableFileThrowsNamingItAndChangesNothing) {
  std::filesystem::create_directory(dir.Path("folder.pqx"));
  for (const std::string& path : {dir.Path("missing.pqx"), dir.Path("folder.pqx")}) {
    SetPreviousJob();
    const TStateSnapshot before = TStateSnapshot::Take();
    try {
      ReadProjectFile(path, MayPlace);
      ADD_FAILURE() << "no error for " << path;
    } catch (const std::system_error& e) {
      EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
    EXPECT_TRUE(TStateSnapshot::Take() == before);
  }
}

// The reader's message is logged and shown; while boxes are silenced (the
// command line's own open, an "OFF" run) it is logged once and not shown.
TEST_F(ProjectTest, TheMessageIsLoggedOnceAndShownUnlessBoxesAreSilenced) {
  const std::string path = Save();
  Bytes bad = ReadFile(path);
  bad[0] = 'q';
  WriteFile(dir.Path("bad.pqx"), bad);
  SessionState.CmdLineMode = 1;  // a project on the command line silences nothing by itself
  for (const bool silenced : {false, true}) {
    SCOPED_TRACE(silenced);
    prompts.boxes.clear();
    memo.Lines.clear();
    std::optional<TSilencedPrompts> silence;
    if (silenced) silence.emplace();
    EXPECT_EQ(ReadProjectFile(dir.Path("bad.pqx"), MayPlace), kProjectBadMagic);
    EXPECT_EQ(ReadProjectFile(path, MayPlace), kProjectOpenOk);
    const std::vector<std::string> shown = {"info: Not Valid Quorix Project File!", "info: Project File Open Success!"};
    EXPECT_EQ(prompts.boxes, silenced ? std::vector<std::string>() : shown);
    EXPECT_EQ(memo.Lines, (std::vector<std::string>{"> 10:21:07 Not Valid Quorix Project File!",
                                                    "> 10:21:07 Project File Open Success!"}));
  }
}

}  // namespace
