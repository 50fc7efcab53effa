// The demo job's own guard: a job whose data would run past the memory
// images is refused before anything is copied into them.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "data/program_state.h"
#include "demo_job.h"

namespace {

TEST(DemoJob, DataBeyondTheImagesIsRefused) {
  const auto path = std::filesystem::temp_directory_path() / ("velmot-demo-" + std::to_string(::getpid()) + ".pqx");
  TDemoJob job;
  // Far past the main image, so that a copy without the guard would leave
  // the program's images altogether.
  job.MainDataLength = static_cast<std::uint32_t>(2 * sizeof MemoryImages);
  EXPECT_THROW(WriteDemoProject(path, job), std::runtime_error);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(ObjectState.ChipSelected, 0);  // the program state cleared again
}

}  // namespace
