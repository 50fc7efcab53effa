// make-demo-project: writes the demo job as a project file, for trying the
// program on simulated units (scripts/run --simulate).
//   make-demo-project PROJECT.pqx [--program-folder DIR]
// With --program-folder, DIR also gets the chip's flash driver and the
// firmware image that match the simulated units.
#include <cstdio>
#include <exception>
#include <string>

#include "demo_job.h"

int main(int argc, char** argv) {
  std::string project;
  std::string programFolder;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "--program-folder" && i + 1 < argc) {
      programFolder = argv[++i];
    } else if (project.empty() && !word.starts_with("--")) {
      project = word;
    } else {
      project.clear();
      break;
    }
  }
  if (project.empty()) {
    std::fputs("usage: make-demo-project PROJECT.pqx [--program-folder DIR]\n", stderr);
    return 2;
  }
  try {
    const TDemoLayout layout = WriteDemoProject(project);
    if (!programFolder.empty()) WriteDemoProgramFiles(programFolder);
    std::printf("%s: %s, %u bytes of main flash and %u bytes of EEP data\n", project.c_str(),
                TDemoJob{}.PartName.c_str(), layout.MainDataLength, layout.EepDataLength);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make-demo-project: %s\n", error.what());
    return 1;
  }
  return 0;
}
