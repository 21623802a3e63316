#include "platform/PdfWriter.h"

#include <cmath>
#include <variant>

#include "core/NumberForms.h"
#include "platform/StandardFonts.h"

namespace rh {

namespace {

struct Numbers {
  std::string& out;
  Numbers& operator<<(double value) {
    AppendPageNumber(out, value);
    out += ' ';
    return *this;
  }
  Numbers& operator<<(const char* op) {
    out += op;
    out += '\n';
    return *this;
  }
};

double Channel(std::uint8_t value) {
  return static_cast<double>(value) / 255.0;
}

// A string of WinAnsi bytes as a PDF literal string.
void AppendLiteral(std::string& out, const std::string& bytes) {
  out += '(';
  for (const char c : bytes) {
    if (c == '(' || c == ')' || c == '\\')
      out += '\\';
    out += c;
  }
  out += ')';
}

// A UTF-8 text as a PDF text string (UTF-16BE with its byte order mark, in hex), for the
// document's information.
void AppendTextString(std::string& out, const std::string& utf8) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const auto unit = [&](unsigned value) {
    for (int shift = 12; shift >= 0; shift -= 4)
      out += kHex[(value >> shift) & 0xF];
  };
  out += "<FEFF";
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
    int taken = 1;
    for (; taken < length && i + static_cast<std::size_t>(taken) < utf8.size(); ++taken) {
      const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(taken)]);
      if ((next & 0xC0) != 0x80)
        break;
      c = (c << 6) | (next & 0x3F);
    }
    i += static_cast<std::size_t>(taken);
    if (taken < length || (length == 1 && lead >= 0x80) || c > 0x10FFFF ||
        (c >= 0xD800 && c < 0xE000))
      c = 0xFFFD;
    if (c >= 0x10000) {
      unit(0xD800 + ((c - 0x10000) >> 10));
      unit(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      unit(c);
    }
  }
  out += '>';
}

// The font resource names: Helvetica, Helvetica-Bold, Courier, Courier-Bold.
constexpr const char* kFontNames[4] = {"Helvetica", "Helvetica-Bold", "Courier", "Courier-Bold"};

const char* FontResource(const TextShape& s) {
  static constexpr const char* kResources[4] = {"/F1", "/F2", "/F3", "/F4"};
  return kResources[(s.face == TextFace::Mono ? 2 : 0) + (s.bold ? 1 : 0)];
}

// Bezier control distance for a quarter circle, as a fraction of the radius.
constexpr double kQuarterCircle = 0.5522847498;
constexpr double kPi = 3.14159265358979323846;

// Writes a page's shapes as content stream operators. Drawings run y downwards from the top
// left; the page runs y upwards from the bottom left, so every y is turned over here.
struct ContentWriter {
  std::string& out;
  double height;

  double Y(double y) const { return height - y; }
  void Stroke(const Color& c, double width) const {
    Numbers{out} << Channel(c.red) << Channel(c.green) << Channel(c.blue) << "RG";
    Numbers{out} << width << "w";
  }
  void Fill(const Color& c) const {
    Numbers{out} << Channel(c.red) << Channel(c.green) << Channel(c.blue) << "rg";
  }

  void operator()(const LineShape& s) const {
    Stroke(s.color, s.width);
    Numbers{out} << s.from.x << Y(s.from.y) << "m";
    Numbers{out} << s.to.x << Y(s.to.y) << "l";
    out += "S\n";
  }
  void operator()(const PolylineShape& s) const {
    if (s.points.size() < 2)
      return;
    Stroke(s.color, s.width);
    out += "1 j\n";
    for (std::size_t i = 0; i < s.points.size(); ++i)
      Numbers{out} << s.points[i].x << Y(s.points[i].y) << (i == 0 ? "m" : "l");
    out += "S\n0 j\n";
  }
  void operator()(const RectShape& s) const {
    Fill(s.fill);
    if (s.outlined)
      Stroke(s.outline, s.outlineWidth);
    Numbers{out} << s.left << Y(s.top + s.height) << s.width << s.height << "re";
    out += s.outlined ? "B\n" : "f\n";
  }
  void operator()(const CircleShape& s) const {
    const double r = s.radius;
    const double k = r * kQuarterCircle;
    const double x = s.centre.x;
    const double y = Y(s.centre.y);
    Fill(s.fill);
    Numbers{out} << x + r << y << "m";
    Numbers{out} << x + r << y + k << x + k << y + r << x << y + r << "c";
    Numbers{out} << x - k << y + r << x - r << y + k << x - r << y << "c";
    Numbers{out} << x - r << y - k << x - k << y - r << x << y - r << "c";
    Numbers{out} << x + k << y - r << x + r << y - k << x + r << y << "c";
    out += "f\n";
  }
  void operator()(const TextShape& s) const {
    const std::string text = WinAnsiText(s.text);
    if (text.empty())
      return;
    // Quarter turns exactly, so that no host's sine and cosine change the figures.
    double cosine = 1;
    double sine = 0;
    const double quarters = s.degrees / 90.0;
    if (quarters == std::floor(quarters)) {
      const long turn = static_cast<long>(std::fmod(quarters, 4.0) + 4) % 4;
      cosine = turn == 0 ? 1 : turn == 2 ? -1 : 0;
      sine = turn == 1 ? 1 : turn == 3 ? -1 : 0;
    } else {
      cosine = std::cos(s.degrees * kPi / 180.0);
      sine = std::sin(s.degrees * kPi / 180.0);
    }
    double shift = 0;
    if (s.align != TextAlign::Left) {
      const double width = TextWidth(s.text, s.pixelSize, s.bold, s.face);
      shift = s.align == TextAlign::Centre ? width / 2 : width;
    }
    Fill(s.color);
    out += "BT\n";
    out += FontResource(s);
    out += ' ';
    Numbers{out} << s.pixelSize << "Tf";
    Numbers{out} << cosine << sine << -sine << cosine << s.at.x - shift * cosine
                 << Y(s.at.y) - shift * sine << "Tm";
    AppendLiteral(out, text);
    out += " Tj\nET\n";
  }
};

std::string PageContent(const Drawing& page) {
  std::string out;
  out.reserve(256 + page.shapes.size() * 64);
  ContentWriter writer{out, page.height};
  writer(RectShape{0, 0, page.width, page.height, page.background, false, {}, 0});
  for (const Shape& shape : page.shapes)
    std::visit(writer, shape);
  return out;
}

// The file as it is assembled: objects numbered from 1 in the order they are begun, each one's
// offset kept for the cross-reference table.
struct PdfFile {
  std::string out;
  std::vector<std::size_t> offsets;

  void Begin(std::size_t number) {
    if (offsets.size() < number)
      offsets.resize(number);
    offsets[number - 1] = out.size();
    out += std::to_string(number) + " 0 obj\n";
  }
  void Object(std::size_t number, const std::string& body) {
    Begin(number);
    out += body;
    out += "\nendobj\n";
  }
};

// A count written with leading zeros to `digits` digits (the C library's forms differ by host).
std::string Padded(std::int64_t value, std::size_t digits) {
  std::string text = std::to_string(value < 0 ? 0 : value);
  if (text.size() < digits)
    text.insert(0, digits - text.size(), '0');
  return text;
}

std::string Reference(std::size_t number) {
  return std::to_string(number) + " 0 R";
}

}  // namespace

std::string PdfDate(std::int64_t seconds) {
  // Days and seconds of the day, then the civil date of the day count (proleptic Gregorian).
  std::int64_t days = seconds / 86400;
  std::int64_t rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  const std::int64_t z = days + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t dayOfEra = z - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  const std::int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
  const std::int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
  const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  return "D:" + Padded(year, 4) + Padded(month, 2) + Padded(day, 2) + Padded(rest / 3600, 2) +
         Padded(rest / 60 % 60, 2) + Padded(rest % 60, 2) + "Z";
}

std::string DrawingsPdf(const std::vector<Drawing>& pages, std::int64_t created) {
  // Objects: 1 catalog, 2 page tree, 3 information, 4-7 fonts, then each page and its content.
  constexpr std::size_t kFirstPage = 8;
  PdfFile file;
  file.out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  file.Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  std::string kids;
  for (std::size_t i = 0; i < pages.size(); ++i)
    kids += (i > 0 ? " " : "") + Reference(kFirstPage + 2 * i);
  file.Object(
      2, "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages.size()) + " >>");
  std::string info = "<< /Title ";
  AppendTextString(info, pages.empty() ? std::string() : pages.front().title);
  const std::string date = PdfDate(created);
  info += std::string(" /Creator (") + kPdfCreator + ") /Producer (" + kPdfCreator +
          ") /CreationDate (" + date + ") /ModDate (" + date + ") >>";
  file.Object(3, info);
  for (std::size_t f = 0; f < 4; ++f)
    file.Object(4 + f, std::string("<< /Type /Font /Subtype /Type1 /BaseFont /") + kFontNames[f] +
                           " /Encoding /WinAnsiEncoding >>");
  for (std::size_t i = 0; i < pages.size(); ++i) {
    const Drawing& page = pages[i];
    const std::size_t number = kFirstPage + 2 * i;
    std::string box;
    Numbers{box} << 0.0 << 0.0 << page.width;
    AppendPageNumber(box, page.height);
    file.Object(number, "<< /Type /Page /Parent 2 0 R /MediaBox [" + box +
                            "] /Resources << /Font << /F1 4 0 R /F2 5 0 R /F3 6 0 R /F4 7 0 R >> "
                            ">> /Contents " +
                            Reference(number + 1) + " >>");
    const std::string content = PageContent(page);
    file.Begin(number + 1);
    file.out += "<< /Length " + std::to_string(content.size()) + " >>\nstream\n";
    file.out += content;
    file.out += "endstream\nendobj\n";
  }
  const std::size_t xref = file.out.size();
  const std::size_t count = file.offsets.size() + 1;
  file.out += "xref\n0 " + std::to_string(count) + "\n0000000000 65535 f \n";
  for (const std::size_t offset : file.offsets) {
    file.out += Padded(static_cast<std::int64_t>(offset), 10) + " 00000 n \n";
  }
  file.out += "trailer\n<< /Size " + std::to_string(count) +
              " /Root 1 0 R /Info 3 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  return file.out;
}

}  // namespace rh
