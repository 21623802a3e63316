#include "platform/Drawing.h"

#include <cstdio>

#include "core/NumberForms.h"
#include "platform/StandardFonts.h"

namespace rh {

namespace {

void AppendColor(std::string& out, const Color& c) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", c.red, c.green, c.blue);
  out.append(buffer);
}

// Text for an XML document: markup characters escaped, control characters (not allowed in XML)
// left out.
void AppendEscaped(std::string& out, const std::string& text) {
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n')
          out += c;
    }
  }
}

struct Attributes {
  std::string& out;
  Attributes& Number(const char* name, double value) {
    out.append(" ").append(name).append("=\"");
    AppendDrawingCoordinate(out, value);
    out += '"';
    return *this;
  }
  Attributes& Paint(const char* name, const Color& color) {
    out.append(" ").append(name).append("=\"");
    AppendColor(out, color);
    out += '"';
    return *this;
  }
  Attributes& Text(const char* name, const char* value) {
    out.append(" ").append(name).append("=\"").append(value).append("\"");
    return *this;
  }
};

struct SvgWriter {
  std::string& out;

  void operator()(const LineShape& s) const {
    const bool upright = s.from.x == s.to.x || s.from.y == s.to.y;
    out += "<line";
    Attributes{out}
        .Number("x1", s.from.x)
        .Number("y1", s.from.y)
        .Number("x2", s.to.x)
        .Number("y2", s.to.y)
        .Paint("stroke", s.color)
        .Number("stroke-width", s.width);
    if (upright)
      Attributes{out}.Text("shape-rendering", "crispEdges");
    out += "/>\n";
  }
  void operator()(const PolylineShape& s) const {
    out += "<polyline fill=\"none\" stroke-linejoin=\"round\" points=\"";
    for (std::size_t i = 0; i < s.points.size(); ++i) {
      if (i > 0)
        out += ' ';
      AppendDrawingCoordinate(out, s.points[i].x);
      out += ',';
      AppendDrawingCoordinate(out, s.points[i].y);
    }
    out += '"';
    Attributes{out}.Paint("stroke", s.color).Number("stroke-width", s.width);
    out += "/>\n";
  }
  void operator()(const RectShape& s) const {
    out += "<rect";
    Attributes{out}
        .Number("x", s.left)
        .Number("y", s.top)
        .Number("width", s.width)
        .Number("height", s.height)
        .Paint("fill", s.fill);
    if (s.outlined)
      Attributes{out}.Paint("stroke", s.outline).Number("stroke-width", s.outlineWidth);
    Attributes{out}.Text("shape-rendering", "crispEdges");
    out += "/>\n";
  }
  void operator()(const CircleShape& s) const {
    out += "<circle";
    Attributes{out}
        .Number("cx", s.centre.x)
        .Number("cy", s.centre.y)
        .Number("r", s.radius)
        .Paint("fill", s.fill);
    out += "/>\n";
  }
  void operator()(const TextShape& s) const {
    out += "<text";
    Attributes{out}.Number("x", s.at.x).Number("y", s.at.y).Number("font-size", s.pixelSize);
    if (s.bold)
      Attributes{out}.Text("font-weight", "bold");
    if (s.align != TextAlign::Left)
      Attributes{out}.Text("text-anchor", s.align == TextAlign::Centre ? "middle" : "end");
    if (s.color.red != 0 || s.color.green != 0 || s.color.blue != 0)
      Attributes{out}.Paint("fill", s.color);
    if (s.face == TextFace::Mono)
      Attributes{out}.Text("font-family", "DejaVu Sans Mono, monospace");
    if (s.degrees != 0) {
      out += " transform=\"rotate(";
      AppendDrawingCoordinate(out, -s.degrees);
      out += ' ';
      AppendDrawingCoordinate(out, s.at.x);
      out += ' ';
      AppendDrawingCoordinate(out, s.at.y);
      out += ")\"";
    }
    out += '>';
    AppendEscaped(out, s.text);
    out += "</text>\n";
  }
};

}  // namespace

double ApproximateTextWidth(const std::string& text, double pixelSize, bool bold) {
  // Average advance of digits, capitals and small letters in the face: about 0.6 em, a little
  // more in bold. Continuation bytes of UTF-8 sequences do not count.
  long characters = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
      ++characters;
  }
  return static_cast<double>(characters) * pixelSize * (bold ? 0.66 : 0.6);
}

double TextWidth(const std::string& text, double pixelSize, bool bold, TextFace face) {
  long units = 0;
  for (const char c : WinAnsiText(text))
    units += StandardAdvance(static_cast<unsigned char>(c), bold, face == TextFace::Mono);
  return static_cast<double>(units) / 1000.0 * pixelSize;
}

namespace {

struct Mover {
  double dx, dy;
  Point operator()(Point p) const { return {p.x + dx, p.y + dy}; }
  Shape operator()(LineShape s) const {
    s.from = (*this)(s.from);
    s.to = (*this)(s.to);
    return s;
  }
  Shape operator()(PolylineShape s) const {
    for (Point& p : s.points)
      p = (*this)(p);
    return s;
  }
  Shape operator()(RectShape s) const {
    s.left += dx;
    s.top += dy;
    return s;
  }
  Shape operator()(CircleShape s) const {
    s.centre = (*this)(s.centre);
    return s;
  }
  Shape operator()(TextShape s) const {
    s.at = (*this)(s.at);
    return s;
  }
};

}  // namespace

void AppendShapes(Drawing& into, const Drawing& picture, double left, double top) {
  into.shapes.reserve(into.shapes.size() + picture.shapes.size());
  for (const Shape& shape : picture.shapes)
    into.shapes.push_back(std::visit(Mover{left, top}, shape));
}

std::string DrawingSvg(const Drawing& d) {
  std::string out;
  out.reserve(512 + d.shapes.size() * 96);
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"";
  Attributes{out}.Number("width", d.width).Number("height", d.height);
  out += " viewBox=\"0 0 ";
  AppendDrawingCoordinate(out, d.width);
  out += ' ';
  AppendDrawingCoordinate(out, d.height);
  out += "\" font-family=\"";
  out += kDrawingFace;
  out += ", sans-serif\">\n<title>";
  AppendEscaped(out, d.title);
  out += "</title>\n<desc>";
  AppendEscaped(out, d.description);
  out += "</desc>\n";
  SvgWriter{out}(RectShape{0, 0, d.width, d.height, d.background, false, {}, 0});
  for (const Shape& shape : d.shapes)
    std::visit(SvgWriter{out}, shape);
  out += "</svg>\n";
  return out;
}

}  // namespace rh
