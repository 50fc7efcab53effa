// A valid flash-driver file (the demo job's) put into a program folder, for
// window tests whose chip needs its driver.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "demo_job.h"

// Writes it as QuorixDRVs/fileName in folder (which ends in '/') and returns its path.
inline std::string WriteDriverFile(const std::string& folder, const std::string& fileName) {
  std::filesystem::create_directories(folder + "QuorixDRVs");
  const std::string path = folder + "QuorixDRVs/" + fileName;
  const TDemoBytes file = DemoDriverFile();
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return path;
}
