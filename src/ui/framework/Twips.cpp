#include "ui/framework/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace rh::ui {

namespace {
constexpr double kFallbackDpi = 96.0;
}

int TwipsToPixels(double twips, double dotsPerInch) {
  return static_cast<int>(std::lround(twips * dotsPerInch / kTwipsPerInch));
}

double PixelsToTwips(double pixels, double dotsPerInch) {
  return pixels * kTwipsPerInch / dotsPerInch;
}

TwipPoint CentredPosition(double screenWidth, double screenHeight, double windowWidth,
                          double windowHeight) {
  TwipPoint point;
  point.top = screenHeight / 2 - windowHeight / 2;
  point.left = screenWidth / 2 - windowWidth / 2;
  return point;
}

double ScreenDpiX() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->logicalDotsPerInchX() : kFallbackDpi;
}

double ScreenDpiY() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->logicalDotsPerInchY() : kFallbackDpi;
}

QRect ToPixels(const TwipRect& rect) {
  const double x = ScreenDpiX();
  const double y = ScreenDpiY();
  return QRect(TwipsToPixels(rect.left, x), TwipsToPixels(rect.top, y),
               TwipsToPixels(rect.width, x), TwipsToPixels(rect.height, y));
}

}  // namespace rh::ui
