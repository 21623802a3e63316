#include "output/StudyDocument.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/Faults.h"
#include "core/NumberForms.h"
#include "engine/Checked.h"
#include "engine/Pond.h"
#include "engine/PondDesign.h"
#include "output/Plot.h"
#include "output/PondReport.h"
#include "platform/Paths.h"

namespace rh {

namespace {

// Sizes in points.
constexpr double kLineHeight = 1.3;   // a line's height, in font sizes
constexpr double kHeaderHeight = 34;  // the header's lines and rule, and the gap below them
constexpr double kFooterHeight = 18;
constexpr double kLabelWidth = 150;  // the labels of the input and pond figures
constexpr double kCellPadding = 4;
constexpr Color kBlack{0, 0, 0};
constexpr Color kRule{110, 110, 110};
constexpr Color kShade{232, 232, 232};

struct Style {
  double size;
  bool bold;
  TextFace face;
  double Height() const { return size * kLineHeight; }
  double Width(const std::string& text) const { return TextWidth(text, size, bold, face); }
};

constexpr Style kTitle{14, true, TextFace::Sans};
constexpr Style kHeading{11, true, TextFace::Sans};
constexpr Style kBody{9, false, TextFace::Sans};
constexpr Style kMono{8, false, TextFace::Mono};
constexpr Style kSmall{8, false, TextFace::Sans};
constexpr Style kSmallBold{8, true, TextFace::Sans};

// The characters of a UTF-8 text, one string each.
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> characters;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) == 0x80 && !characters.empty())
      characters.back() += c;
    else
      characters.emplace_back(1, c);
  }
  return characters;
}

// The text without control characters: tabs and line breaks become spaces, others go.
std::string Clean(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\t' || c == '\n' || c == '\r')
      out += ' ';
    else if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
      out += c;
  }
  return out;
}

// The text, cut with "..." when it is wider than `width`: its longest part, ending between
// characters, that fits with the "..." (none when nothing does).
std::string Fit(const std::string& text, const Style& style, double width) {
  if (style.Width(text) <= width)
    return text;
  std::vector<std::size_t> ends{0};  // the lengths of the parts: 0 and where each character starts
  for (std::size_t i = 1; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
      ends.push_back(i);
  }
  // A longer part is never narrower, so the longest that fits is found by halving: a name pasted
  // a megabyte long is measured some twenty times, not once per character.
  const auto fits = [&](std::size_t end) {
    return style.Width(text.substr(0, end) + "...") <= width;
  };
  std::size_t fitting = 0;  // index into ends of a part that fits, or of the empty one
  std::size_t tooWide = ends.size();
  while (tooWide - fitting > 1) {
    const std::size_t middle = fitting + (tooWide - fitting) / 2;
    (fits(ends[middle]) ? fitting : tooWide) = middle;
  }
  return text.substr(0, ends[fitting]) + "...";
}

// The text broken into lines at spaces: the first at most `first` wide, the others at most `rest`.
// A word wider than a line is broken between characters. Spaces that lead the text are kept (an
// indent); those at a break go.
std::vector<std::string> Wrap(const std::string& text, const Style& style, double first,
                              double rest) {
  std::vector<std::string> lines;
  std::string line;
  double limit = first;
  const auto fits = [&](const std::string& t) { return style.Width(t) <= limit; };
  const auto flush = [&] {
    while (!line.empty() && line.back() == ' ')
      line.pop_back();
    lines.push_back(line);
    line.clear();
    limit = rest;
  };
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t start = i;
    while (i < text.size() && text[i] == ' ')
      ++i;
    const std::size_t word = i;
    while (i < text.size() && text[i] != ' ')
      ++i;
    const std::string piece = text.substr(start, i - start);
    if (fits(line + piece)) {
      line += piece;
      continue;
    }
    std::string rest_of_word = text.substr(word, i - word);
    if (line.find_first_not_of(' ') != std::string::npos) {
      flush();
      if (fits(rest_of_word)) {
        line = rest_of_word;
        continue;
      }
    }
    for (const std::string& c : Characters(rest_of_word)) {
      if (!fits(line + c) && line.find_first_not_of(' ') != std::string::npos)
        flush();
      line += c;
    }
  }
  if (!line.empty() || lines.empty())
    flush();
  return lines;
}

// The decimals a table needs to show every value as the listing does: at least 1, at most 3.
int DecimalsOf(const std::vector<double>& values) {
  int most = 1;
  for (const double value : values) {
    const std::string text = PlainNumber(value);
    const std::size_t point = text.find('.');
    if (point != std::string::npos && text.find('e') == std::string::npos)
      most = std::max(most, static_cast<int>(text.size() - point - 1));
  }
  return std::min(most, 3);
}

// Pages filled from the top down; a block that does not fit below the last one starts a page.
class Flow {
 public:
  explicit Flow(PageSize paper) : page_(PointsOf(paper)) { Break(); }

  double Left() const { return kStudyMarginPoints; }
  double Width() const { return page_.width - 2 * kStudyMarginPoints; }
  double Top() const { return kStudyMarginPoints + kHeaderHeight; }
  double Bottom() const { return page_.height - kStudyMarginPoints - kFooterHeight; }
  const PagePoints& Page() const { return page_; }

  void Break() {
    Drawing page;
    page.width = page_.width;
    page.height = page_.height;
    pages_.push_back(std::move(page));
    y_ = Top();
  }
  // Starts a page unless `height` fits below the cursor (or the page is still empty).
  void Need(double height) {
    if (y_ + height > Bottom() && y_ > Top())
      Break();
  }
  // The top of `height` points of room, below which the cursor moves.
  double Take(double height) {
    Need(height);
    const double top = y_;
    y_ += height;
    return top;
  }
  double Cursor() const { return y_; }
  void Gap(double height) {
    if (y_ > Top())
      y_ += height;
  }

  void Add(Shape shape) { pages_.back().shapes.push_back(std::move(shape)); }
  void Append(const Drawing& picture, double left, double top) {
    AppendShapes(pages_.back(), picture, left, top);
  }
  void Text(double x, double baseline, std::string text, const Style& s,
            TextAlign align = TextAlign::Left) {
    Add(TextShape{{x, baseline}, std::move(text), s.size, s.bold, align, 0, kBlack, s.face});
  }
  void Rule(double top, double left, double width, double thickness = 0.5) {
    Add(LineShape{{left, top}, {left + width, top}, kRule, thickness});
  }
  // One line of text at `x`, on its own line.
  void Line(double x, std::string text, const Style& s) {
    const double top = Take(s.Height());
    Text(x, Baseline(top, s), std::move(text), s);
  }
  static double Baseline(double top, const Style& s) {
    return top + s.size * ((kLineHeight - kDrawingAscent - kDrawingDescent) / 2 + kDrawingAscent);
  }

  std::vector<Drawing>& Pages() { return pages_; }

 private:
  PagePoints page_;
  std::vector<Drawing> pages_;
  double y_ = 0;
};

void Heading(Flow& flow, const std::string& text, double keepWith) {
  flow.Gap(10);
  flow.Need(kHeading.Height() + keepWith);
  for (const std::string& line : Wrap(Clean(text), kHeading, flow.Width(), flow.Width()))
    flow.Line(flow.Left(), line, kHeading);
  flow.Gap(2);
}

// A text wrapped to the width, continuation lines indented by `hang`.
void Paragraph(Flow& flow, const std::string& text, const Style& s, double hang = 0) {
  bool first = true;
  for (const std::string& line : Wrap(text, s, flow.Width(), flow.Width() - hang)) {
    flow.Line(flow.Left() + (first ? 0 : hang), line, s);
    first = false;
  }
}

// A label and its value, the value wrapped beside the label.
void Field(Flow& flow, const std::string& label, const std::string& value) {
  const double width = flow.Width() - kLabelWidth;
  bool first = true;
  for (const std::string& line : Wrap(Clean(value), kBody, width, width)) {
    const double top = flow.Take(kBody.Height());
    const double baseline = Flow::Baseline(top, kBody);
    if (first)
      flow.Text(flow.Left(), baseline, label, kBody);
    flow.Text(flow.Left() + kLabelWidth, baseline, line, kBody);
    first = false;
  }
}

struct Column {
  std::vector<std::string> head;  // its lines
  double width;                   // points, before the table is fitted to the page
  TextAlign align = TextAlign::Right;
  const Style* style = &kMono;
};

// A table with its column heads repeated on every page it reaches; a row is never split.
void Table(Flow& flow, std::vector<Column> columns,
           const std::vector<std::vector<std::string>>& rows) {
  double total = 0;
  std::size_t headLines = 1;
  for (const Column& c : columns) {
    total += c.width;
    headLines = std::max(headLines, c.head.size());
  }
  if (total > flow.Width()) {
    for (Column& c : columns)
      c.width *= flow.Width() / total;
    total = flow.Width();
  }
  const double headHeight = static_cast<double>(headLines) * kSmallBold.Height() + 3;
  const double rowHeight = kMono.Height();
  const auto cellX = [&](std::size_t i, double left) {
    const Column& c = columns[i];
    return c.align == TextAlign::Left     ? left + kCellPadding
           : c.align == TextAlign::Centre ? left + c.width / 2
                                          : left + c.width - kCellPadding;
  };
  const auto head = [&] {
    const double top = flow.Take(headHeight);
    flow.Add(RectShape{flow.Left(), top, total, headHeight, kShade, false, {}, 0});
    double left = flow.Left();
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const Column& c = columns[i];
      // Heads sit on the bottom line, so one-line heads line up with the last line of others.
      const std::size_t skip = headLines - c.head.size();
      for (std::size_t l = 0; l < c.head.size(); ++l) {
        const double lineTop = top + static_cast<double>(skip + l) * kSmallBold.Height() + 1.5;
        flow.Text(cellX(i, left), Flow::Baseline(lineTop, kSmallBold),
                  Fit(c.head[l], kSmallBold, c.width - 2), kSmallBold, c.align);
      }
      left += c.width;
    }
    flow.Rule(top + headHeight, flow.Left(), total);
  };
  flow.Need(headHeight + rowHeight);
  head();
  for (const std::vector<std::string>& row : rows) {
    if (flow.Cursor() + rowHeight > flow.Bottom()) {
      flow.Break();
      head();
    }
    const double top = flow.Take(rowHeight);
    double left = flow.Left();
    for (std::size_t i = 0; i < columns.size() && i < row.size(); ++i) {
      const Column& c = columns[i];
      flow.Text(cellX(i, left), Flow::Baseline(top, *c.style),
                Fit(row[i], *c.style, c.width - 2 * kCellPadding), *c.style, c.align);
      left += c.width;
    }
  }
  flow.Rule(flow.Cursor(), flow.Left(), total);
}

// ", 100-year storm" after a section's title when the study has several runs.
std::string StormSuffix(const Study& study, const Run& run) {
  return study.Runs.size() > 1 ? ", " + StormName(run) + " storm" : "";
}

// A file's name without its folders: the document names the tables it used, not where they lay.
std::string NameOf(const std::string& path) {
  return path.substr(FolderPart(path).size());
}

// An outlet device in words: its kind, dimensions and coefficients, and whether the barrel
// carries it.
std::string OutletWords(const Outlet& o, bool barrel) {
  const SpacedUnitWords units(kTextUnits);
  const auto ft = [&](double v) { return Decimals(v, 2) + units.Feet; };
  const auto in = [&](double v) { return PlainNumber(v) + units.Inches; };
  const auto coefficient = [](const char* name, double v) {
    return std::string(", ") + name + " " + Decimals(v, 2);
  };
  std::string words;
  switch (o.Kind) {
    case Outlet::Type::Orifice:
      words = o.Form == Outlet::Shape::Circular
                  ? "circular orifice, " + in(o.DiameterInches) + " diameter"
                  : "rectangular orifice, " + in(o.WidthInches) + " wide by " + in(o.HeightInches) +
                        " high";
      words += ", invert " + ft(o.InvertFeet) + coefficient("Cd", o.Cd);
      break;
    case Outlet::Type::Weir:
      words = o.Form == Outlet::Shape::VNotch
                  ? "v-notch weir, " + PlainNumber(o.AngleDegrees) + " degrees"
                  : "rectangular weir, " + PlainNumber(o.LengthFeet) + units.Feet + " long, " +
                        std::to_string(o.Contractions) + " end contraction" +
                        (o.Contractions == 1 ? "" : "s");
      words += ", crest " + ft(o.CrestFeet) + coefficient("Cw", o.Cw);
      break;
    case Outlet::Type::Riser:
      words = o.Form == Outlet::Shape::Circular
                  ? "circular riser, " + in(o.DiameterInches) + " diameter"
                  : "box riser, " + in(o.SideInches) + " square";
      words += ", crest " + ft(o.CrestFeet) + coefficient("Cw", o.Cw) + coefficient("Cd", o.Cd);
      break;
    case Outlet::Type::Spillway:
      words = "spillway, " + PlainNumber(o.LengthFeet) + units.Feet + " long, crest " +
              ft(o.CrestFeet) + coefficient("Cw", o.Cw);
      break;
  }
  if (o.Count != 1)
    words += ", " + std::to_string(o.Count) + " alike";
  if (barrel)
    words += o.ThroughBarrel && o.Kind != Outlet::Type::Spillway ? "; through the barrel"
                                                                 : "; beside the barrel";
  return words;
}

// The pond's rating as the document tabulates it: every 0.1 ft, with the rows at each device's
// invert, crown and crest and the barrel's control stage; a table pond's own rows.
PondRating DocumentRating(const TablePond& pond) {
  if (!pond.Design) {
    PondRating rows;
    rows.Rows = pond.Table.Rows();
    return rows;
  }
  PondDesign design = pond.Design->Design;
  design.RatingStepFeet = 0.1;
  try {
    return RatePond(design);
  } catch (const Refused&) {
    return pond.Design->Rating;  // the rows routing used
  }
}

// The pond itself, once for every storm: its shape, outlets and barrel, and its rating.
void PondDesignSection(Flow& flow, const TablePond& pond) {
  const SpacedUnitWords units(kTextUnits);
  Heading(flow, "Pond", 4 * kBody.Height());
  Field(flow, "Pond file", NameOf(pond.File));
  const std::vector<PondRow>& table = pond.Table.Rows();
  if (const DesignedPond* designed = pond.Design.get()) {
    const PondDesign& d = designed->Design;
    if (!d.Name.empty())
      Field(flow, "Name", d.Name);
    const PondStorage& storage = d.Storage;
    std::vector<std::vector<std::string>> shape;
    if (storage.Form == PondStorage::Kind::Contours) {
      Field(flow, "Storage",
            std::string("from its contours, the area straight in stage between them; ") +
                (storage.Method == ContourMethod::Conic ? "conic (frustum) volumes"
                                                        : "average-end-area volumes"));
      for (const Contour& c : storage.Contours)
        shape.push_back({Decimals(c.StageFeet, 2), PlainNumber(c.AreaAcres)});
      Table(flow, {{{"Stage", "(ft)"}, 70}, {{"Area", "(acres)"}, 70}}, shape);
      flow.Gap(4);
    } else if (storage.Form == PondStorage::Kind::Box) {
      Field(flow, "Storage",
            "a box, bottom at " + Decimals(storage.BottomFeet, 2) + units.Feet + ", " +
                PlainNumber(storage.LengthFeet) + units.Feet + " by " +
                PlainNumber(storage.WidthFeet) + units.Feet + " at the bottom, side slopes " +
                PlainNumber(storage.SideSlope) + " horizontal to 1 vertical, " +
                PlainNumber(storage.DepthFeet) + units.Feet + " deep");
    } else {
      Field(flow, "Storage", "from its table, straight in stage between rows");
      for (const PondRow& row : storage.Table)
        shape.push_back({Decimals(row.StageFeet, 2), Decimals(row.StorageAcreFeet, 4)});
      Table(flow, {{{"Stage", "(ft)"}, 70}, {{"Storage", "(ac-ft)"}, 70}}, shape);
      flow.Gap(4);
    }
    for (std::size_t i = 0; i < d.Outlets.size(); ++i) {
      std::string name = designed->Rating.Columns[i];
      name.erase(name.size() - 4);  // "_cfs"
      Field(flow, "Outlet " + name, OutletWords(d.Outlets[i], d.Pipe.has_value()));
    }
    if (d.Pipe) {
      const Barrel& b = *d.Pipe;
      Field(flow, "Barrel",
            PlainNumber(b.DiameterInches) + units.Inches + " diameter, " + std::to_string(b.Count) +
                (b.Count == 1 ? " pipe, " : " pipes, ") + PlainNumber(b.LengthFeet) + units.Feet +
                " long, Manning's n " + PlainNumber(b.ManningN) + ", ke " + PlainNumber(b.Ke) +
                ", outlet invert " + Decimals(b.OutletInvertFeet, 2) + units.Feet +
                "; it carries at most count x A x sqrt(2g h / (1 + ke + 29 n^2 L / "
                "(D/4)^(4/3))), h above the outlet invert + D/2");
    }
  } else {
    Field(flow, "Storage and outflow", "the table's rows, straight in storage between them");
  }
  Field(flow, "Top of embankment", Decimals(table.back().StageFeet, 2) + units.Feet);
  Field(
      flow, "Dead storage",
      Decimals(pond.Table.DeadStorageAcreFeet(), 4) + units.AcreFeet + ", below the lowest outlet");
  Field(flow, "Drawdown",
        "from the first step of maximum storage to the first later step at or below the dead "
        "storage plus 1 % of the maximum above it");

  const PondRating rating = DocumentRating(pond);
  std::vector<Column> columns = {
      {{"Stage", "(ft)"}, 56}, {{"Storage", "(ac-ft)"}, 60}, {{"Outflow", "(cfs)"}, 60}};
  for (std::string name : rating.Columns) {
    name.erase(name.size() - 4);
    columns.push_back({{name, "(cfs)"}, 56});
  }
  if (!rating.BarrelCfs.empty())
    columns.push_back({{"Barrel", "capacity", "(cfs)"}, 60});
  const std::size_t devices = rating.Columns.size();
  std::vector<std::vector<std::string>> rows;
  rows.reserve(rating.Rows.size());
  for (std::size_t i = 0; i < rating.Rows.size(); ++i) {
    const PondRow& row = rating.Rows[i];
    std::vector<std::string> cells = {Decimals(row.StageFeet, 2), Decimals(row.StorageAcreFeet, 4),
                                      Decimals(row.OutflowCfs, 2)};
    for (std::size_t k = 0; k < devices; ++k)
      cells.push_back(Decimals(rating.DeviceCfs[i * devices + k], 2));
    if (!rating.BarrelCfs.empty())
      cells.push_back(Decimals(rating.BarrelCfs[i], 2));
    rows.push_back(std::move(cells));
  }
  Heading(flow,
          pond.Design ? "Rating, every 0.1 ft and at each outlet's invert, crown and crest"
                      : "Rating, the table's rows",
          kSmallBold.Height() * 3 + 3 * kMono.Height());
  if (pond.Design)
    Paragraph(flow,
              "Each device's flow times its count, before the barrel's cap. Routing reads the "
              "same formulas every " +
                  PlainNumber(pond.Design->Design.RatingStepFeet) + units.Feet + ".",
              kBody);
  Table(flow, std::move(columns), rows);
}

// The design check first: the figures per return period, each verdict, the result, the sizing.
void CriteriaSection(Flow& flow, const DesignCheckText& c) {
  Heading(flow, "Design criteria", 6 * kMono.Height());
  if (!c.Pond.empty())
    Field(flow, "Pond", c.Pond);
  std::vector<Column> columns = {{{"Storm"}, 58, TextAlign::Left, &kSmall}};
  for (const auto& [name, unit] : CriteriaHeads())
    columns.push_back({{name, unit}, std::string(unit) == "h min" ? 62.0 : 48.0});
  Table(flow, std::move(columns), c.Rows);
  flow.Gap(6);
  if (!c.Verdicts.empty()) {
    std::vector<std::vector<std::string>> rows;
    rows.reserve(c.Verdicts.size());
    // The standard fonts have no sign for "at most" or "at least".
    const auto plain = [](std::string text) {
      for (const auto& [sign, words] : {std::pair{"≤", "<="}, std::pair{"≥", ">="}}) {
        for (std::size_t at = text.find(sign); at != std::string::npos; at = text.find(sign, at))
          text.replace(at, std::string(sign).size(), words);
      }
      return text;
    };
    for (const DesignCheckText::Verdict& v : c.Verdicts)
      rows.push_back({v.Storm, v.Criterion, v.Word, plain(v.Margin)});
    Table(flow,
          {{{"Storm"}, 58, TextAlign::Left, &kSmall},
           {{"Criterion"}, 62, TextAlign::Left, &kSmall},
           {{"Verdict"}, 42, TextAlign::Left, &kSmallBold},
           {{"Margin"}, 340, TextAlign::Left, &kSmall}},
          rows);
    flow.Gap(4);
  }
  Paragraph(flow, c.Result, kHeading);
  if (!c.Sizing.empty())
    Paragraph(flow, c.Sizing, kBody);
}

void Inputs(Flow& flow, const Study& study) {
  const SpacedUnitWords units(kTextUnits);
  const Run& run = study.Runs.front().Run;
  const RunInputs& in = run.Inputs;
  Heading(flow, "Basin", 4 * kBody.Height());
  Field(flow, "Time of concentration, Tc", PlainNumber(in.TimeOfConcentration) + units.Minutes);
  Field(flow, "Basin area, A", PlainNumber(in.BasinArea) + units.Acres);
  Field(flow, "Runoff coefficient, C", PlainNumber(in.RunoffCoefficient));
  Field(flow, "Hydrograph ordinates",
        std::to_string(run.Result.OrdinateCount + 1) + ", one every " +
            PlainNumber(in.TimeOfConcentration) + units.Minutes + ", closing with " +
            std::to_string(in.ZeroTail) + " zero ordinate" + (in.ZeroTail == 1 ? "" : "s") +
            (in.ZeroTail == kZeroTailHec1 ? " as a HEC-1 inflow hydrograph" : ""));
}

void Storm(Flow& flow, const Study& study) {
  const SpacedUnitWords units(kTextUnits);
  const Run& run = study.Runs.front().Run;
  const RunInputs& in = run.Inputs;
  const bool several = study.Runs.size() > 1;
  Heading(flow, "Design storm", 4 * kBody.Height());
  if (!in.Rainfall) {
    Field(flow, "Rainfall", "County of San Diego Intensity-Duration Design Chart");
    Field(flow, "Intensity", "I = 7.44 P6 D^-0.645 in/hr, D in minutes");
    Field(flow, "6-hour rainfall, P6", PlainNumber(in.SixHourRainfall) + units.Inches);
  } else {
    Field(flow, "Rainfall", "depth-duration table " + NameOf(in.Rainfall->File));
    if (!in.Rainfall->Location.empty())
      Field(flow, "Source", in.Rainfall->Location);
    std::string periods;
    for (const StudyRun& r : study.Runs) {
      if (r.Run.Inputs.Rainfall && !r.Run.Inputs.Rainfall->Ari.empty())
        periods += (periods.empty() ? "" : ", ") + r.Run.Inputs.Rainfall->Ari;
    }
    if (!periods.empty())
      Field(flow, several ? "Return periods" : "Return period", periods + " years");
    Field(flow, "6-hour rainfall, P6",
          several ? "the table's 6-hour depth for each return period, in the summary"
                  : PlainNumber(in.SixHourRainfall) + units.Inches + ", the table's 6-hour depth");
    Field(flow, "Intensity",
          "I(D) = P(D) x 60 / D in/hr, the depth P(D) log-log between the table's durations");
  }
  Field(flow, "Distribution",
        std::to_string(run.Result.BlockCount) +
            " blocks one Tc long; the peak block near two thirds of the 6 hours, two blocks "
            "before it for each one after it");
  if (!study.PeakFromChart) {
    Field(flow, "Peak discharge, Qp", PlainNumber(in.PeakDischarge) + units.Cfs + ", as entered");
  } else if (several) {
    Field(flow, "Peak discharge, Qp",
          "C x I(Tc) x A from each return period's storm, rounded half up to 0.1 cfs, in the "
          "summary");
  } else {
    const VolumeCheck& c = study.Runs.front().Check;
    Field(flow, "Peak discharge, Qp",
          "C x I(Tc) x A = " + PlainNumber(c.RunoffCoefficient) + " x " +
              Fixed(c.ChartIntensity, 4) + units.InchesPerHour + " x " + PlainNumber(c.BasinArea) +
              " ac = " + PlainNumber(in.PeakDischarge) + units.Cfs +
              ", from the storm, rounded half up to 0.1 cfs");
  }
}

void Summary(Flow& flow, const Study& study) {
  bool routed = false;
  for (const StudyRun& r : study.Runs)
    routed = routed || r.Run.Routing != nullptr;
  std::vector<Column> columns = {{{"Storm"}, 62, TextAlign::Left, &kSmall},
                                 {{"P6", "(in)"}, 36},
                                 {{"Peak", "(cfs)"}, 48},
                                 {{"Time to", "peak", "(min)"}, 46},
                                 {{"Volume", "(ac-ft)"}, 48},
                                 {{"Volume", "ratio"}, 42}};
  if (routed) {
    columns.push_back({{"Peak", "outflow", "(cfs)"}, 46});
    columns.push_back({{"Maximum", "storage", "(ac-ft)"}, 52});
    columns.push_back({{"Maximum", "stage", "(ft)"}, 46});
    columns.push_back({{"Drawdown"}, 96, TextAlign::Right, &kSmall});
  }
  std::vector<std::vector<std::string>> rows;
  for (const StudyRun& r : study.Runs) {
    const RunResult& result = r.Run.Result;
    const double tc = r.Run.Inputs.TimeOfConcentration;
    std::vector<std::string> row = {
        StormName(r.Run),
        PlainNumber(r.Run.Inputs.SixHourRainfall),
        PlainNumber(result.Hydrograph(result.PeakIndex)),
        PlainNumber(checked::Mul(tc, result.PeakIndex)),
        Decimals(r.Check.HydrographAcreFeet, 3),
        r.Check.VolumeRatio ? Decimals(*r.Check.VolumeRatio, 4) : "none"};
    if (const PondRouting* p = r.Run.Routing.get()) {
      row.push_back(Decimals(p->PeakOutflowCfs, 1));
      row.push_back(Decimals(p->MaxStorageAcreFeet, 3));
      row.push_back(Decimals(p->MaxStageFeet, 2));
      row.push_back(DrawdownText(*p) + (p->Overtopped ? ", OVERTOPPED" : ""));
    }
    rows.push_back(std::move(row));
  }
  Heading(flow, "Summary", 4 * kMono.Height());
  Table(flow, std::move(columns), rows);
  flow.Gap(4);
  for (const StudyRun& r : study.Runs) {
    Paragraph(flow,
              "Check" + (study.Runs.size() > 1 ? ", " + StormName(r.Run) : std::string()) + ": " +
                  CheckWords(r.Check) + ".",
              kBody, 12);
  }
}

void CheckSection(Flow& flow, const Study& study, const StudyRun& r) {
  Heading(flow, "Volume and peak check" + StormSuffix(study, r.Run), 4 * kMono.Height());
  for (const std::string& line : CheckLines(r.Check)) {
    if (line.empty())
      continue;
    // Wrapped lines continue under the figure they belong to.
    const std::size_t indent = std::min(line.find_first_not_of(' '), std::size_t{40});
    Paragraph(flow, Clean(line), kMono, kMono.Width(std::string(indent + 2, ' ')));
  }
}

void PondSection(Flow& flow, const Study& study, const StudyRun& r) {
  const SpacedUnitWords units(kTextUnits);
  const PondRouting& p = *r.Run.Routing;
  const auto at = [&](double minutes) { return " at " + PlainNumber(minutes) + units.Minutes; };
  Heading(flow, "Pond routing" + StormSuffix(study, r.Run), 4 * kBody.Height());
  if (r.Run.Inputs.Pond)
    Field(flow, "Pond", NameOf(r.Run.Inputs.Pond->File));
  Field(flow, "Method",
        "storage indication (modified Puls), level pool, steps of " +
            std::to_string(p.StepMinutes) + units.Minutes);
  Field(flow, "Peak inflow", Decimals(p.PeakInflowCfs, 1) + units.Cfs + at(p.PeakInflowMinutes));
  std::string outflow = Decimals(p.PeakOutflowCfs, 1) + units.Cfs + at(p.PeakOutflowMinutes);
  if (p.PeakInflowCfs > 0)
    outflow += ", " + Decimals((1 - p.PeakOutflowCfs / p.PeakInflowCfs) * 100, 1) +
               " % below the peak inflow";
  Field(flow, "Peak outflow", outflow);
  Field(flow, "Maximum storage",
        Decimals(p.MaxStorageAcreFeet, 3) + units.AcreFeet + at(p.MaxStorageMinutes));
  Field(flow, "Maximum stage", Decimals(p.MaxStageFeet, 2) + units.Feet + at(p.MaxStorageMinutes));
  Field(flow, "Freeboard",
        Decimals(p.TopStageFeet - p.MaxStageFeet, 2) + units.Feet + " below the top at " +
            Decimals(p.TopStageFeet, 2) + units.Feet);
  const OutletsAtPeak outlets = OutletFlowsAtPeak(r.Run);
  if (!outlets.Devices.empty()) {
    std::string each;
    for (const OutletsAtPeak::Device& d : outlets.Devices)
      each += (each.empty() ? "" : ", ") + d.Name + " " + Decimals(d.Cfs, 2) + units.Cfs;
    if (outlets.BarrelCfs)
      each += "; barrel capacity " + Decimals(*outlets.BarrelCfs, 2) + units.Cfs;
    Field(flow, "At the peak outflow", each);
  }
  Field(flow, "Drawdown",
        p.DrainMinutes ? DrawdownText(p) + " from the maximum storage" + at(p.MaxStorageMinutes)
                       : DrawdownText(p) + "; routing ends" + at(p.EndMinutes));
  if (p.Overtopped)
    Field(flow, "OVERTOPPED",
          Decimals(p.OverflowAcreFeet, 4) + units.AcreFeet + " over the top, peak " +
              Decimals(p.OverflowPeakCfs, 2) + units.Cfs + ", from " +
              PlainNumber(p.OverflowStartMinutes) + " to " + PlainNumber(p.OverflowEndMinutes) +
              units.Minutes);
  const double over = p.Overtopped ? p.OverflowAcreFeet : 0;
  Field(flow, "Volume balance",
        std::string(p.Overtopped ? "inflow = outflow + over the top + storage left: "
                                 : "inflow = outflow + storage left: ") +
            Decimals(p.InflowAcreFeet, 4) + " = " + Decimals(p.OutflowAcreFeet, 4) + " + " +
            (p.Overtopped ? Decimals(over, 4) + " + " : std::string()) +
            Decimals(p.StorageLeftAcreFeet, 4) + units.AcreFeet + ", a difference of " +
            Decimals(p.InflowAcreFeet - p.OutflowAcreFeet - over - p.StorageLeftAcreFeet, 4) +
            units.AcreFeet);
}

void Chart(Flow& flow, const Study& study) {
  // The chart's smallest text is 19 of its 900 units of height: tall enough for it to print at
  // 8 pt or more, which a 16:9 chart across the page is not.
  constexpr double kLeastText = 8.0 / 19.0 * 900.0;
  const double height = std::ceil(std::max(flow.Width() * 9.0 / 16.0, kLeastText));
  Heading(flow, "Hydrograph", height);
  const double top = flow.Take(height);
  flow.Append(StudyChart(study.Runs, flow.Width(), height), flow.Left(), top);
}

// The routed run to the end of routing: a row at every Tc and at the steps a reviewer looks for,
// each named in the note column.
void RoutingTable(Flow& flow, const Study& study, const StudyRun& r, int decimals) {
  const SpacedUnitWords units(kTextUnits);
  const Run& run = r.Run;
  const PondRouting& p = *run.Routing;
  const double tc = run.Inputs.TimeOfConcentration;
  std::vector<std::pair<double, std::string>> marks = {{p.PeakOutflowMinutes, "peak outflow"},
                                                       {p.MaxStorageMinutes, "max storage"}};
  if (p.Overtopped) {
    marks.emplace_back(p.OverflowStartMinutes, "overtopping starts");
    marks.emplace_back(p.OverflowEndMinutes, "overtopping ends");
  }
  std::vector<double> times;
  for (double k = 0;; ++k) {
    const double minutes = checked::Mul(tc, k);
    if (minutes > p.EndMinutes)
      break;
    times.push_back(minutes);
  }
  times.push_back(p.EndMinutes);
  for (const auto& mark : marks)
    times.push_back(mark.first);
  std::sort(times.begin(), times.end());
  times.erase(std::unique(times.begin(), times.end()), times.end());
  std::vector<Column> columns = {
      {{"Time", "(min)"}, 56},    {{"Inflow", "(cfs)"}, 66},
      {{"Outflow", "(cfs)"}, 66}, {{"Storage", "(ac-ft)"}, 66},
      {{"Stage", "(ft)"}, 60},    {{"Note"}, 120, TextAlign::Left, &kSmall}};
  std::vector<std::vector<std::string>> rows;
  rows.reserve(times.size());
  for (const double minutes : times) {
    const PondState* s = RoutedStateAt(p, minutes);
    if (s == nullptr)
      continue;
    std::string note;
    for (const auto& mark : marks) {
      if (mark.first == minutes)
        note += (note.empty() ? "" : ", ") + mark.second;
    }
    rows.push_back({PlainNumber(minutes), Decimals(s->InflowCfs, decimals),
                    Decimals(s->OutflowCfs, 2), Decimals(s->StorageAcreFeet, 4),
                    Decimals(s->StageFeet, 3), note});
  }
  Heading(flow, "Hydrograph and pond routing" + StormSuffix(study, run),
          kSmallBold.Height() * 2 + 4 * kMono.Height());
  Paragraph(flow,
            "Routing ends at " + PlainNumber(p.EndMinutes) + units.Minutes + ", " +
                (p.DrainMinutes ? "when the pond has drawn down, " + DrawdownText(p) +
                                      " after the maximum storage."
                 : p.PeakOutflowCfs > 0 ? "10 days after the inflow: the pond does not drain."
                                        : "with the inflow: the pond releases nothing."),
            kBody);
  Table(flow, std::move(columns), rows);
}

void HydrographTable(Flow& flow, const Study& study, const StudyRun& r) {
  const Run& run = r.Run;
  const RunResult& result = run.Result;
  const double tc = run.Inputs.TimeOfConcentration;
  std::vector<double> ordinates;
  for (long k = 0; k <= result.OrdinateCount; ++k)
    ordinates.push_back(result.Hydrograph(k));
  const int decimals = DecimalsOf(ordinates);
  if (run.Routing) {
    RoutingTable(flow, study, r, std::max(decimals, 2));
    return;
  }
  std::vector<Column> columns = {{{"Time", "(min)"}, 60}, {{"Discharge", "(cfs)"}, 90}};
  std::vector<std::vector<std::string>> rows;
  rows.reserve(ordinates.size());
  for (std::size_t k = 0; k < ordinates.size(); ++k) {
    const double minutes = checked::Mul(tc, static_cast<double>(k));
    rows.push_back({PlainNumber(minutes), Decimals(ordinates[k], decimals)});
  }
  Heading(flow, "Hydrograph table" + StormSuffix(study, run),
          kSmallBold.Height() * 2 + 3 * kMono.Height());
  Table(flow, std::move(columns), rows);
}

// The block the engineer responsible signs, kept whole on the last page.
void SignatureBlock(Flow& flow, const ProjectDetails& project) {
  constexpr double kSignatureRoom = 28;  // the space above the signature line
  flow.Gap(18);
  flow.Need(kHeading.Height() + 3 * kBody.Height() + kSignatureRoom + kSmall.Height());
  Heading(flow, "Engineer responsible", 0);
  Field(flow, "Name", project.Engineer);
  Field(flow, "License number", project.License);
  const double top = flow.Take(kSignatureRoom);
  const double line = top + kSignatureRoom - 4;
  const double half = flow.Width() / 2;
  flow.Rule(line, flow.Left(), half - 24);
  flow.Rule(line, flow.Left() + half, half / 2);
  const double below = flow.Take(kSmall.Height());
  flow.Text(flow.Left(), Flow::Baseline(below, kSmall), "Signature", kSmall);
  flow.Text(flow.Left() + half, Flow::Baseline(below, kSmall), "Date", kSmall);
}

// The header and footer of every page.
void Frame(std::vector<Drawing>& pages, const Study& study, const Flow& flow) {
  const double left = flow.Left();
  const double width = flow.Width();
  const double right = left + width;
  const auto field = [](const char* label, const std::string& value) {
    return std::string(label) + ": " + Clean(value);
  };
  const std::string date = Fit(field("Date", study.Date), kSmall, width * 0.4);
  const std::string engineer = Fit(field("Engineer", study.Project.Engineer), kSmall, width * 0.4);
  const double leftWidth =
      width - std::max(kSmall.Width(date), kSmall.Width(engineer)) - 2 * kCellPadding;
  const std::string project =
      Fit(field("Project", study.Project.ProjectName), kSmallBold, leftWidth);
  const std::string basin = Fit(field("Basin", study.Project.BasinName), kSmall, leftWidth);
  const std::string count = std::to_string(pages.size());
  const double top = kStudyMarginPoints;
  const double foot = flow.Page().height - kStudyMarginPoints;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    Drawing& page = pages[i];
    const auto text = [&](double x, double baseline, const std::string& t, const Style& s,
                          TextAlign align) {
      page.shapes.emplace_back(
          TextShape{{x, baseline}, t, s.size, s.bold, align, 0, kBlack, s.face});
    };
    text(left, Flow::Baseline(top, kSmallBold), project, kSmallBold, TextAlign::Left);
    text(right, Flow::Baseline(top, kSmall), date, kSmall, TextAlign::Right);
    text(left, Flow::Baseline(top + kSmall.Height(), kSmall), basin, kSmall, TextAlign::Left);
    text(right, Flow::Baseline(top + kSmall.Height(), kSmall), engineer, kSmall, TextAlign::Right);
    const double headerRule = top + 2 * kSmall.Height() + 3;
    page.shapes.emplace_back(LineShape{{left, headerRule}, {right, headerRule}, kRule, 0.5});
    const double footRule = foot - kSmall.Height() - 2;
    page.shapes.emplace_back(LineShape{{left, footRule}, {right, footRule}, kRule, 0.5});
    const double baseline = foot - kSmall.size * kDrawingDescent;
    text(left, baseline, "Rational Method Hydrograph", kSmall, TextAlign::Left);
    text(right, baseline, "Page " + std::to_string(i + 1) + " of " + count, kSmall,
         TextAlign::Right);
    page.title = "Hydrograph study" +
                 (study.Project.ProjectName.empty() ? "" : ": " + Clean(study.Project.ProjectName));
    page.description = "Rational-method design-storm runoff hydrograph study";
  }
}

}  // namespace

const std::vector<std::pair<const char*, const char*>>& CriteriaHeads() {
  static const std::vector<std::pair<const char*, const char*>> heads = {
      {"Existing", "peak cfs"}, {"Proposed", "peak cfs"}, {"Routed", "peak cfs"},
      {"Allowable", "cfs"},     {"Max stage", "ft"},      {"Freeboard", "ft"},
      {"Drawdown", "h min"},    {"Overtop", ""},          {"Storage", "ac-ft"}};
  return heads;
}

std::string StormName(const Run& run) {
  if (!run.Inputs.Rainfall)
    return "County chart";
  if (run.Inputs.Rainfall->Ari.empty())
    return "Rainfall table";
  return run.Inputs.Rainfall->Ari + "-year";
}

std::string CheckWords(const VolumeCheck& c) {
  std::string words;
  if (!c.VolumeRatio)
    words = "no volume ratio (the design-storm volume is 0)";
  else if (c.VolumeWarning)
    words = "volume ratio " + Decimals(*c.VolumeRatio, 4) + ", outside 0.98 to 1.02";
  else
    words = "volume within 2 % (ratio " + Decimals(*c.VolumeRatio, 4) + ")";
  if (!c.PeakDifference) {
    words += "; no chart peak to compare the peak with";
  } else {
    const double percent = *c.PeakDifference * 100.0;
    words += "; peak " + SignedPercent(percent) + " % from the chart peak, " +
             (c.PeakWarning ? "outside" : "within") + " 10 %";
  }
  return words;
}

StudyRun MakeStudyRun(rh::Run run) {
  VolumeCheck check = CheckVolumes(run);
  return StudyRun{std::move(run), std::move(check)};
}

namespace {

std::vector<const Run*> EachRun(const std::vector<StudyRun>& runs) {
  std::vector<const Run*> each;
  each.reserve(runs.size());
  for (const StudyRun& run : runs)
    each.push_back(&run.Run);
  return each;
}

}  // namespace

Drawing StudyChart(const std::vector<StudyRun>& runs, double width, double height,
                   const std::vector<std::optional<double>>& allowableCfs) {
  if (runs.size() == 1)
    return PlotDrawing(runs.front().Run, width, height,
                       allowableCfs.empty() ? std::nullopt : allowableCfs.front());
  // Several return periods: their hydrographs (and outflows) over each other on one chart.
  return PlotDrawing(EachRun(runs), width, height, allowableCfs);
}

PlotArea StudyChartArea(const std::vector<StudyRun>& runs, double width, double height,
                        const std::vector<std::optional<double>>& allowableCfs) {
  // The chart of a single run frames it as the overlay of that one run would.
  return PlotAreaOf(EachRun(runs), width, height, allowableCfs);
}

std::vector<Drawing> StudyPages(const Study& study, PageSize paper) {
  Flow flow(paper);
  flow.Line(flow.Left(), "Design-Storm Runoff Hydrograph Study", kTitle);
  if (study.Criteria)
    CriteriaSection(flow, *study.Criteria);
  std::string notes = study.Project.Notes;
  std::replace(notes.begin(), notes.end(), '\r', '\n');
  if (notes.find_first_not_of(" \t\n") != std::string::npos) {
    Heading(flow, "Notes", kBody.Height());
    std::size_t start = 0;
    while (start <= notes.size()) {
      std::size_t end = notes.find('\n', start);
      if (end == std::string::npos)
        end = notes.size();
      const std::string paragraph = Clean(notes.substr(start, end - start));
      if (paragraph.find_first_not_of(' ') != std::string::npos)
        Paragraph(flow, paragraph, kBody);
      start = end + 1;
    }
  }
  if (!study.Runs.empty()) {
    Inputs(flow, study);
    Storm(flow, study);
    Summary(flow, study);
    if (const TablePond* pond = study.Runs.front().Run.Inputs.Pond.get())
      PondDesignSection(flow, *pond);
    for (const StudyRun& r : study.Runs) {
      CheckSection(flow, study, r);
      if (r.Run.Routing)
        PondSection(flow, study, r);
    }
    Chart(flow, study);
    for (const StudyRun& r : study.Runs)
      HydrographTable(flow, study, r);
  }
  SignatureBlock(flow, study.Project);
  Frame(flow.Pages(), study, flow);
  return std::move(flow.Pages());
}

}  // namespace rh
