// A file to load is read before anything changes: what the load learns of a
// file that cannot be read, of an empty one and of one longer than it wants.
#include "data/file_input.h"

#include <gtest/gtest.h>

#include <string>
#include <system_error>

#include "object_test_support.h"

namespace {

TEST(ReadFileContent, TellsWhyAFileCannotBeReadAndReadsNoMoreThanAsked) {
  TempDir dir;
  WriteFile(dir.Path("empty.hex"), std::string());
  WriteFile(dir.Path("ten.bin"), Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  struct Case {
    std::string name;
    std::uint64_t maxBytes;
    std::errc error;  // std::errc() for none
    std::uint64_t size;
    Bytes bytes;
  };
  const Case cases[] = {
      {dir.Path("missing.hex"), 100, std::errc::no_such_file_or_directory, 0, {}},
      {dir.Path(""), 100, std::errc::is_a_directory, 0, {}},  // the folder itself
      {dir.Path("empty.hex"), 100, std::errc(), 0, {}},
      {dir.Path("ten.bin"), 100, std::errc(), 10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {dir.Path("ten.bin"), 4, std::errc(), 10, {1, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + " " + std::to_string(c.maxBytes));
    const TFileContent content = ReadFileContent(c.name, c.maxBytes);
    if (c.error == std::errc()) {
      EXPECT_FALSE(content.Error) << content.Error.message();
    } else {
      EXPECT_EQ(content.Error, c.error) << content.Error.message();
    }
    EXPECT_EQ(content.Size, c.size);
    EXPECT_EQ(Bytes(content.Bytes.begin(), content.Bytes.end()), c.bytes);
  }
}

}  // namespace
