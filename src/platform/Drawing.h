// A picture as a list of simple shapes, so that one drawing can be written as SVG text, painted
// on a window or rasterized to PNG by whichever side has the means.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace rh {

struct Color {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
};

struct Point {
  double x = 0;
  double y = 0;
};

// Coordinates are pixels from the picture's top left corner, y downwards. Upright shapes are drawn
// without antialiasing, so their edges stay crisp; slanted lines and text are smoothed.
struct LineShape {
  Point from, to;
  Color color;
  double width = 1;
};

struct PolylineShape {
  std::vector<Point> points;
  Color color;
  double width = 1;
};

struct RectShape {
  double left = 0, top = 0, width = 0, height = 0;
  Color fill;
  bool outlined = false;
  Color outline;
  double outlineWidth = 1;
};

struct CircleShape {
  Point centre;
  double radius = 0;
  Color fill;
};

enum class TextAlign { Left, Centre, Right };

// The faces of the pictures: the sans-serif face, and a fixed-pitch face for figures that must
// line up in columns.
enum class TextFace { Sans, Mono };

// One line of text in a face of the pictures (DejaVu Sans or DejaVu Sans Mono; in PDF documents
// the standard Helvetica or Courier). `at` is a point on the text's baseline: its left end, centre
// or right end as `align` says. Rotated texts turn counter-clockwise by `degrees` about `at`.
struct TextShape {
  Point at;
  std::string text;  // UTF-8
  double pixelSize = 12;
  bool bold = false;
  TextAlign align = TextAlign::Left;
  double degrees = 0;
  Color color;
  TextFace face = TextFace::Sans;
};

using Shape = std::variant<LineShape, PolylineShape, RectShape, CircleShape, TextShape>;

struct Drawing {
  double width = 0;
  double height = 0;
  Color background{255, 255, 255};
  std::string title;        // a document title where the format keeps one (SVG)
  std::string description;  // likewise
  std::vector<Shape> shapes;
};

// The face every picture uses, and its ascent and descent as fractions of the pixel size, so that
// a text can be placed on its baseline with the same result on every side.
inline constexpr const char* kDrawingFace = "DejaVu Sans";
inline constexpr const char* kDrawingMonoFace = "DejaVu Sans Mono";
inline constexpr double kDrawingAscent = 0.928;
inline constexpr double kDrawingDescent = 0.236;

// About how wide a text is drawn in the pictures' face, pixels (for keeping labels inside a frame;
// the sides draw the real glyphs).
double ApproximateTextWidth(const std::string& text, double pixelSize, bool bold);

// How wide a text is drawn in `face` in a PDF document, pixels (points there): the advance widths
// of the standard faces that DrawingsPdf writes it in (Helvetica for Sans, Courier for Mono),
// exact for the WinAnsi characters and for the "?" that stands for any other. For laying out
// documents whose texts must stay inside the page.
double TextWidth(const std::string& text, double pixelSize, bool bold, TextFace face);

// The shapes of `picture` added to `into`, moved right by `left` and down by `top`.
void AppendShapes(Drawing& into, const Drawing& picture, double left, double top);

// The drawing as a standalone SVG document.
std::string DrawingSvg(const Drawing& drawing);

}  // namespace rh
