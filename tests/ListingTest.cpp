#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Basins.h"
#include "output/ResultsListing.h"

namespace rh {
namespace {

std::vector<std::string> GoldenLines(const std::string& name) {
  std::ifstream in(std::string(RH_GOLDEN_DIR) + "/" + name);
  EXPECT_TRUE(in) << name;
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

std::vector<std::string> ComputeResults(double tc, double p6, double area, double coef, double peak,
                                        bool hec1 = false) {
  return BuildResultLines(test::ComputedBasin({tc, p6, area, coef, peak, hec1}));
}

TEST(ResultLines, Tc10MatchesTheCheckedListing) {
  const auto lines = ComputeResults(10, 2.5, 100, 0.85, 250);
  EXPECT_EQ(lines, GoldenLines("listing_tc10.txt"));
  ASSERT_EQ(lines.size(), 44u);
  EXPECT_EQ(lines[0], "TIME OF CONCENTRATION  10 MIN.");
  EXPECT_EQ(lines[3], "RUNOFF COEFFICIENT  .85");
  EXPECT_EQ(lines[4], "PEAK DISCHARGE  250 CFS");
  EXPECT_EQ(lines[5], " ");
  EXPECT_EQ(lines[6], "    TIME (MIN) =  0     DISCHARGE (CFS) =  0");
  EXPECT_EQ(lines[6 + 25], "    TIME (MIN) =  250     DISCHARGE (CFS) =  250");
  EXPECT_EQ(lines.back(), "    TIME (MIN) =  370     DISCHARGE (CFS) =  0");
}

TEST(ResultLines, LineCountFollowsTheTail) {
  struct {
    double tc;
    bool hec1;
    std::size_t lines;
  } cases[] = {{5, false, 80}, {5, true, 89}, {10, true, 53}, {15, false, 32}};
  for (const auto& c : cases) {
    const auto lines = ComputeResults(c.tc, 2.5, 100, 0.85, 250, c.hec1);
    EXPECT_EQ(lines.size(), c.lines) << "Tc " << c.tc << (c.hec1 ? " with HEC-1" : "");
    EXPECT_EQ(lines.back().substr(lines.back().size() - 4), "=  0") << c.tc;
  }
}

TEST(ResultLines, NegativeInputKeepsItsSign) {
  const auto lines = ComputeResults(10, 2.5, -5, -0.85, 250);
  EXPECT_EQ(lines[2], "BASIN AREA -5 ACRES");
  EXPECT_EQ(lines[3], "RUNOFF COEFFICIENT -.85");
}

}  // namespace
}  // namespace rh
