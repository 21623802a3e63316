#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/LicenseText.h"

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

}  // namespace
}  // namespace rh
