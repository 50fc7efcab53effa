#include "platform/file_bytes.h"

#include <gtest/gtest.h>

#include <system_error>

#include "temp_folder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ReadFileBytes, ReadsTheFrontOfAFileUpToTheLimit) {
  TempFolder folder;
  const std::string path = (folder.Path() / "data.bin").string();
  std::string content(200'000, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
  WriteFile(path, content);
  const Bytes all = ReadFileBytes(path, 1'000'000);
  EXPECT_EQ(std::string(all.begin(), all.end()), content);
  const Bytes front = ReadFileBytes(path, 70'001);
  EXPECT_EQ(std::string(front.begin(), front.end()), content.substr(0, 70'001));
  EXPECT_TRUE(ReadFileBytes(path, 0).empty());
}

TEST(ReadFileBytes, MissingFileOrFolderThrowsNamingIt) {
  TempFolder folder;
  for (const std::string& path : {(folder.Path() / "missing").string(), folder.Path().string()}) {
    try {
      ReadFileBytes(path, 100);
      ADD_FAILURE() << "no error for " << path;
    } catch (const std::system_error& e) {
      EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
  }
}

TEST(ReplaceFileBytes, NewFileInAFolderThatDoesNotExistThrowsNamingIt) {
  TempFolder folder;
  const std::string path = (folder.Path() / "no" / "file.bin").string();
  const Bytes bytes{1, 2, 3};
  try {
    ReplaceFileBytes(path, bytes);
    ADD_FAILURE() << "no error";
  } catch (const std::system_error& e) {
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
  }
}

}  // namespace
