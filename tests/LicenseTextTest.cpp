#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Fakes.h"
#include "app/window/LicenseText.h"
#include "core/Faults.h"

namespace rh {
namespace {

TEST(LicenseLines, ControlCharactersEndLines) {
  using Lines = std::vector<std::string>;
  struct {
    const char* name;
    std::string text;
    Lines lines;
  } cases[] = {
      {"empty file", "", {}},
      {"CR LF lines", "one\r\ntwo\r\n", {"one", "two"}},
      {"empty lines left out", "one\r\n\r\n\r\ntwo\r\n", {"one", "two"}},
      {"tab splits a line", "left\tright\r\n", {"left", "right"}},
      {"line of spaces kept", "a\r\n   \r\nb\r\n", {"a", "   ", "b"}},
      {"spaces at the ends stay", "  x  \n", {"  x  "}},
      {"final line without ending", "one\r\nlast", {"one", "last"}},
      {"other control characters",
       std::string("a\x01"
                   "b\x1f"
                   "c"),
       {"a", "b", "c"}},
      {"bytes above 127 are text", "caf\xC3\xA9\n", {"caf\xC3\xA9"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LicenseLines(c.text), c.lines) << c.name;
}

// Any licence file opens at once: a long one shows its first MiB and says the rest is not shown; a
// folder is the licence fault, not an empty viewer.
TEST(ReadLicense, LongFilesAndFolders) {
  test::MemoryFileSystem files;
  std::string line(99, 'x');
  line += "\n";
  std::string big;
  while (big.size() < kLicenseMostBytes + 5000)
    big += line;
  files.files["/opt/rh/LICENSE.txt"] = big;
  const auto lines = ReadLicense(files, "/opt/rh/LICENSE.txt");
  ASSERT_EQ(lines.size(), kLicenseMostBytes / line.size() + 1);
  EXPECT_EQ(lines[lines.size() - 2], std::string(99, 'x')) << "no cut line";
  EXPECT_NE(lines.back().find("the rest"), std::string::npos) << lines.back();
  EXPECT_NE(lines.back().find("/opt/rh/LICENSE.txt"), std::string::npos);

  files.files["/opt/rh/SHORT.txt"] = "one\ntwo\n";
  EXPECT_EQ(ReadLicense(files, "/opt/rh/SHORT.txt"), (std::vector<std::string>{"one", "two"}));

  StdFileSystem disk;
  EXPECT_THROW(ReadLicense(disk, "/"), FileFault);
}

}  // namespace
}  // namespace rh
