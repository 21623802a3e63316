// Screen geometry in twips (1/1440 inch). Forms and controls are laid out in twips and placed on
// the screen in pixels at 1440 twips per logical inch of the screen.
#pragma once

#include <QRect>

namespace rh::ui {

inline constexpr double kTwipsPerInch = 1440.0;

// Pixels for a length in twips at `dotsPerInch` logical dots per inch, rounded to the nearest
// pixel (halves away from zero).
int TwipsToPixels(double twips, double dotsPerInch);

// Twips for a length in pixels at `dotsPerInch`; not rounded.
double PixelsToTwips(double pixels, double dotsPerInch);

// A rectangle in twips: left, top, width, height.
struct TwipRect {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};

// A window position in twips.
struct TwipPoint {
  double left = 0;
  double top = 0;
};

// Where a window goes to sit in the middle of the screen: top = screen height / 2 - window
// height / 2, then left = screen width / 2 - window width / 2, in floating point. The window size
// is its outer size (frame included). A window larger than the screen gets a negative position.
TwipPoint CentredPosition(double screenWidth, double screenHeight, double windowWidth,
                          double windowHeight);

// Logical dots per inch of the primary screen, horizontally and vertically (96 when there is no
// screen).
double ScreenDpiX();
double ScreenDpiY();

// A rectangle in twips as pixels on the primary screen.
QRect ToPixels(const TwipRect& rect);

}  // namespace rh::ui
