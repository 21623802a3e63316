#include <gtest/gtest.h>

#include <string>

#include "Version.h"
#include "app/window/Maker.h"
#include "ui/framework/Fonts.h"
#include "ui/framework/Twips.h"

namespace rh {
namespace {

TEST(Twips, ToPixelsRoundsToTheNearestPixel) {
  struct {
    const char* name;
    double twips;
    double dpi;
    int pixels;
  } cases[] = {
      {"main screen width at 96 dpi", 8415, 96, 561},
      {"results list height at 96 dpi", 4860, 96, 324},
      {"half pixel rounds up", 7.5, 96, 1},
      {"just under half rounds down", 7.4, 96, 0},
      {"one inch at 120 dpi", 1440, 120, 120},
      {"label height at 144 dpi", 255, 144, 26},  // 25.5 rounds away from zero
      {"negative position", -225, 96, -15},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ui::TwipsToPixels(c.twips, c.dpi), c.pixels) << c.name;
}

TEST(Twips, PixelsToTwipsIsExactInverseAtWholeTwips) {
  EXPECT_DOUBLE_EQ(ui::PixelsToTwips(561, 96), 8415);
  EXPECT_DOUBLE_EQ(ui::PixelsToTwips(1, 120), 12);
  EXPECT_DOUBLE_EQ(ui::PixelsToTwips(1, 96), 15);
}

TEST(Twips, CentredPositionUsesHalfTheScreenMinusHalfTheWindow) {
  struct {
    const char* name;
    double screenW, screenH, windowW, windowH;
    double left, top;
  } cases[] = {
      {"main screen on 800x600 px at 96 dpi", 12000, 9000, 8415, 6105, 1792.5, 1447.5},
      {"odd sizes keep fractions", 15360, 11520, 7905, 6705, 3727.5, 2407.5},
      {"window as big as the screen", 12000, 9000, 12000, 9000, 0, 0},
      {"window larger than the screen goes off screen", 6000, 4000, 8415, 6105, -1207.5, -1052.5},
  };
  for (const auto& c : cases) {
    const ui::TwipPoint at = ui::CentredPosition(c.screenW, c.screenH, c.windowW, c.windowH);
    EXPECT_DOUBLE_EQ(at.left, c.left) << c.name;
    EXPECT_DOUBLE_EQ(at.top, c.top) << c.name;
  }
}

TEST(Fonts, DesignFacesMapToInstalledFacesOfTheSameKind) {
  struct {
    const char* design;
    const char* host;
  } cases[] = {
      {"Times New Roman", "Liberation Serif"}, {"MS Sans Serif", "Liberation Sans"},
      {"Courier", "Liberation Mono"},          {"courier", "Liberation Mono"},
      {"DejaVu Sans", "DejaVu Sans"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ui::HostFace(QString::fromLatin1(c.design)).toStdString(), c.host) << c.design;
}

TEST(Maker, TextsNameTheMakerAndTheRelease) {
  EXPECT_NE(std::string(maker::kRightsNotice).find("Orvane Engineering Company"),
            std::string::npos);
  EXPECT_NE(std::string(maker::kRightsNotice).find("2026"), std::string::npos);
  EXPECT_NE(std::string(maker::kContactLine).find("support"), std::string::npos);
  // A reserved example domain, so no real site is implied.
  const std::string web = maker::kWebAddress;
  EXPECT_EQ(web.substr(web.size() - 8), ".example");
  EXPECT_EQ(web.find("://"), std::string::npos);
  const std::string revision = maker::RevisionNote();
  EXPECT_NE(revision.find(kVersion), std::string::npos);
  EXPECT_NE(revision.find(kReleaseDate), std::string::npos);
}

}  // namespace
}  // namespace rh
