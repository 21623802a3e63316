#include "output/SwmmInput.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/Faults.h"
#include "core/NumberChars.h"
#include "core/NumberForms.h"
#include "core/ShownText.h"
#include "engine/PondDesign.h"

namespace rh {

namespace {

// Depths, areas and flows are printed with this many significant digits: a volume integrated from
// them differs from the rating's by less than a part in a billion.
constexpr int kCurveDigits = 10;

// How far, as a share of the pond's area at a row, the area that closes an interval's volume may
// lie from that area before the interval gets a point of its own halfway (see SwmmStorageCurve).
constexpr double kAreaShare = 1e-3;
// No area at a row is taken above this many times the mean area of either interval beside it, so
// that the point halfway through an interval never needs a negative area.
constexpr double kMostAreaPerMean = 1.5;

// The simulation starts at midnight on this date; SWMM's calendar ends with the year 9999.
constexpr int kStartYear = 2000;
constexpr int kLastYear = 9999;
constexpr long long kMinutesPerDay = 1440;

// `value` in fixed notation with `digits` significant digits, no exponent and no trailing zeros:
// 82764.31, 0.07, 250.
std::string FixedNumber(double value, int digits) {
  if (value == 0 || !std::isfinite(value))
    return "0";
  // The power of ten of the rounded value, from its scientific form (exact on every host).
  char buffer[400];
  std::to_chars_result written =
      ToChars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, digits - 1);
  const std::string scientific(buffer, written.ptr);
  const int magnitude = std::stoi(scientific.substr(scientific.find('e') + 1));
  const int decimals = std::max(0, digits - 1 - magnitude);
  written = ToChars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string text(buffer, written.ptr);
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.')
      text.pop_back();
  }
  return text == "-0" ? "0" : text;
}

double ReadBack(const std::string& text) {
  double value = 0;
  FromChars(text.data(), text.data() + text.size(), value);
  return value;
}

// `value` as a curve prints it, read back.
double Rounded(double value) {
  return ReadBack(FixedNumber(value, kCurveDigits));
}

// The text of a curve's number: its fixed form when that reads back as `value` (every rounded
// value), else the shortest form that does (a depth kept unrounded, see RowDepths).
std::string CurveNumber(double value) {
  std::string text = FixedNumber(value, kCurveDigits);
  if (ReadBack(text) == value)
    return text;
  char buffer[64];
  return {buffer, ToChars(buffer, buffer + sizeof buffer, value).ptr};
}

// The depth of every row above the first, as the curves print it: rounded where that keeps them
// rising, else unrounded. FileFault when two stages are one and the same depth.
std::vector<double> RowDepths(const std::vector<PondRow>& rows) {
  std::vector<double> depths;
  depths.reserve(rows.size());
  depths.push_back(0);
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const double exact = rows[i].StageFeet - rows.front().StageFeet;
    const double rounded = Rounded(exact);
    if (rounded > depths.back())
      depths.push_back(rounded);
    else if (exact > depths.back())
      depths.push_back(exact);
    else
      throw FileFault(messages::kSwmmCloseStagesText);
  }
  return depths;
}

double CubicFeet(const PondRow& row) {
  return row.StorageAcreFeet * kCubicFeetPerAcreFoot;
}

// What a run is called in the file, without line breaks or SWMM's comment mark.
std::string TitleText(const std::string& text) {
  std::string shown = ShownText(text, 60);
  std::replace(shown.begin(), shown.end(), ';', ',');
  return shown;
}

// The pond as the title names it: its design's name, else its file's own name.
std::string PondName(const TablePond& pond) {
  if (pond.Design && !pond.Design->Design.Name.empty())
    return TitleText(pond.Design->Design.Name);
  const std::size_t slash = pond.File.find_last_of("/\\");
  return TitleText(slash == std::string::npos ? pond.File : pond.File.substr(slash + 1));
}

// `value` rounded half up to 1 / `per` (the listing's figures), in the plain form.
std::string FigureText(double value, double per) {
  return PlainNumber(RoundedHalfUp(value, per, WholeAtScale::Computed));
}

bool LeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// `value` (0 or more) with leading zeros to `width` digits.
std::string Padded(long long value, std::size_t width) {
  std::string digits = std::to_string(value);
  return std::string(width > digits.size() ? width - digits.size() : 0, '0') + digits;
}

int YearDays(int year) {
  return LeapYear(year) ? 366 : 365;
}

// Minutes from the start to the end of SWMM's calendar.
double CalendarMinutes() {
  long long days = 0;
  for (int year = kStartYear; year <= kLastYear; ++year)
    days += YearDays(year);
  return static_cast<double>(days * kMinutesPerDay);
}

// A date and time as [OPTIONS] gives them: "MM/DD/YYYY" and "HH:MM:SS".
struct DateTimeText {
  std::string Date;
  std::string Time;
};

// The date and time `minutes` (at most CalendarMinutes()) after the start.
DateTimeText AfterStart(long long minutes) {
  static const int kMonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                        {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};
  long long days = minutes / kMinutesPerDay;
  const long long ofDay = minutes % kMinutesPerDay;
  int year = kStartYear;
  while (days >= YearDays(year)) {
    days -= YearDays(year);
    ++year;
  }
  int month = 0;
  while (month < 11 && days >= kMonthDays[LeapYear(year) ? 1 : 0][month]) {
    days -= kMonthDays[LeapYear(year) ? 1 : 0][month];
    ++month;
  }
  return {Padded(month + 1, 2) + "/" + Padded(days + 1, 2) + "/" + Padded(year, 4),
          Padded(ofDay / 60, 2) + ":" + Padded(ofDay % 60, 2) + ":00"};
}

// Hours and minutes since the start, "H:MM" (hours may pass 24): a time series' time.
std::string HoursMinutes(long long minutes) {
  return std::to_string(minutes / 60) + (minutes % 60 < 10 ? ":0" : ":") +
         std::to_string(minutes % 60);
}

void AppendLine(std::string& text, std::initializer_list<std::string> items) {
  bool first = true;
  for (const std::string& item : items) {
    if (!first)
      text += "  ";
    text += item;
    first = false;
  }
  text += '\n';
}

void AppendCurve(std::string& text, const char* name, const char* type,
                 const std::vector<SwmmCurvePoint>& points) {
  for (std::size_t i = 0; i < points.size(); ++i) {
    text += name;
    if (i == 0)
      text.append("  ").append(type);
    text.append("  ").append(CurveNumber(points[i].DepthFeet));
    text.append("  ").append(CurveNumber(points[i].Value));
    text += '\n';
  }
}

[[noreturn]] void CannotWrite(const std::string& path, const std::string& why) {
  throw FileFault(messages::kCannotWriteText + ShownText(path) + ": " + why, path);
}

}  // namespace

// SWMM 5.2 (table_getStorageVolume) finds a storage unit's volume at depth d by the average-end-
// area rule: the areas of the curve's points, straight between them, integrated from depth 0, so
// an interval of height h between areas a1 and a2 holds h (a1 + a2) / 2. (It inverts the same
// rule for the depth, table_getStorageDepth.) Here the points' depths are those of the rating's
// rows, and the area at each row is chosen so that every interval holds exactly the rating's
// storage between its rows, dV: the rating's storage comes back at every row.
//
// Solving each interval for the area at its top, a2 = 2 dV / h - a1, alone would do that, but any
// error in an area then comes back with the opposite sign in the next one: the areas zigzag about
// the pond's, without bound on coarse or rounded tables (mean areas of 10, 1, 10, 1 ... sq ft need
// a first area both above 36 and below 20 to keep every area positive). So each row also has an
// area the pond holds there: the mean areas dV / h of the two intervals beside it, placed at their
// middles, interpolated to the row (extrapolated at the first and the last row, and never below 0).
// The area that closes an interval's volume is kept when it lies within kAreaShare (0.1 %) of that
// area; otherwise the row takes that area and the interval gets a point at its middle whose area
// closes its volume, am = (2 dV - h1 a1 - h2 a2) / h. No area at a row is above kMostAreaPerMean
// (1.5) times the mean area of an interval beside it, so am is always at least 2 - 1.5 x 1.001,
// about half, the interval's mean area: every area is 0 or more. The 0.01-ft rows of a pond file
// close within the share, but for the two intervals beside a contour of conic storage (which rises
// faster just above a contour than just below it); half-foot rows of a prismatic table close too;
// coarse rows of a curved bowl, or a table whose storage jumps, get points where they turn.
//
// The pond's own shape is not used, even where its design gives it: the conic rule's storage does
// not rise at the rate of the contours' straight-line areas (up to about 1 % less between them),
// so those areas would miss the rating's storage; the areas the storage itself implies do not.
std::vector<SwmmCurvePoint> SwmmStorageCurve(const PondTable& pond) {
  const std::vector<PondRow>& rows = pond.Rows();
  const std::vector<double> depths = RowDepths(rows);
  const std::size_t last = rows.size() - 1;  // the intervals are 1..last, between rows j-1 and j
  std::vector<double> mean(rows.size());
  for (std::size_t j = 1; j <= last; ++j)
    mean[j] = (CubicFeet(rows[j]) - CubicFeet(rows[j - 1])) / (depths[j] - depths[j - 1]);
  const auto height = [&](std::size_t j) { return depths[j] - depths[j - 1]; };

  // The pond's area at each row, from the mean areas beside it.
  std::vector<double> area(rows.size());
  if (last == 1) {
    area[0] = area[1] = mean[1];
  } else {
    area[0] = mean[1] - (mean[2] - mean[1]) * height(1) / (height(1) + height(2));
    for (std::size_t i = 1; i < last; ++i)
      area[i] = mean[i] + (mean[i + 1] - mean[i]) * height(i) / (height(i) + height(i + 1));
    area[last] = mean[last] +
                 (mean[last] - mean[last - 1]) * height(last) / (height(last - 1) + height(last));
  }
  area[0] = std::clamp(area[0], 0.0, kMostAreaPerMean * mean[1]);
  for (std::size_t i = 1; i < last; ++i)
    area[i] = std::min(area[i], kMostAreaPerMean * std::min(mean[i], mean[i + 1]));
  area[last] = std::clamp(area[last], 0.0, kMostAreaPerMean * mean[last]);

  std::vector<SwmmCurvePoint> points;
  points.reserve(rows.size() + 16);
  points.push_back({0, Rounded(area[0])});
  for (std::size_t j = 1; j <= last; ++j) {
    const double below = points.back().Value;
    const double volume = CubicFeet(rows[j]) - CubicFeet(rows[j - 1]);
    const double closing = 2 * volume / height(j) - below;
    if (std::fabs(closing - area[j]) <= kAreaShare * area[j]) {
      points.push_back({depths[j], Rounded(closing)});
      continue;
    }
    double middle = Rounded(depths[j - 1] + height(j) / 2);
    if (!(middle > depths[j - 1] && middle < depths[j]))
      middle = depths[j - 1] + height(j) / 2;
    if (!(middle > depths[j - 1] && middle < depths[j])) {
      // No depth between two rows a hair apart: the closing area must do, when it can.
      if (closing < 0)
        throw FileFault(messages::kSwmmCloseStagesText);
      points.push_back({depths[j], Rounded(closing)});
      continue;
    }
    const double above = Rounded(area[j]);
    const double lower = middle - depths[j - 1];
    const double upper = depths[j] - middle;
    points.push_back(
        {middle, Rounded((2 * volume - lower * below - upper * above) / (lower + upper))});
    points.push_back({depths[j], above});
  }
  return points;
}

std::vector<SwmmCurvePoint> SwmmRatingCurve(const PondTable& pond) {
  const std::vector<PondRow>& rows = pond.Rows();
  const std::vector<double> depths = RowDepths(rows);
  std::vector<SwmmCurvePoint> points;
  points.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i)
    points.push_back({depths[i], Rounded(rows[i].OutflowCfs)});
  return points;
}

std::string SwmmInputText(const Run& run, const std::string& path) {
  const SpacedUnitWords units(kTextUnits);
  if (!run.Inputs.Pond || !run.Routing)
    CannotWrite(path, messages::kNoPondText);
  const TablePond& pond = *run.Inputs.Pond;
  const PondRouting& routing = *run.Routing;
  const RunInputs& in = run.Inputs;
  const RunResult& result = run.Result;
  const std::vector<PondRow>& rows = pond.Table.Rows();

  std::vector<SwmmCurvePoint> storage;
  std::vector<SwmmCurvePoint> rating;
  try {
    storage = SwmmStorageCurve(pond.Table);
    rating = SwmmRatingCurve(pond.Table);
  } catch (const FileFault& fault) {
    CannotWrite(path, fault.what());
  }
  if (!(routing.EndMinutes < CalendarMinutes()))
    CannotWrite(path, messages::kSwmmTooLongText);
  const DateTimeText start = AfterStart(0);
  const DateTimeText end = AfterStart(static_cast<long long>(routing.EndMinutes));

  std::string text;
  text.reserve(4096 + 48 * (storage.size() + rating.size() +
                            static_cast<std::size_t>(result.OrdinateCount) + 1));
  text += "[TITLE]\n";
  text += "Rational-method hydrograph routed through the pond " + PondName(pond) + "\n";
  text += "Tc " + PlainNumber(in.TimeOfConcentration) + units.Minutes + ", P6 " +
          PlainNumber(in.SixHourRainfall) + units.Inches + ", A " + PlainNumber(in.BasinArea) +
          " ac, C " + PlainNumber(in.RunoffCoefficient) + ", Qp " + PlainNumber(in.PeakDischarge) +
          units.Cfs + "\n";
  text += "Storage indication, " + std::to_string(routing.StepMinutes) +
          "-min step: peak outflow " + FigureText(routing.PeakOutflowCfs, 10) + units.Cfs + " at " +
          PlainNumber(routing.PeakOutflowMinutes) + units.Minutes + ", highest stage " +
          FigureText(routing.MaxStageFeet, 100) + units.Feet + "\n";

  // Kinematic-wave routing routes a storage node by its volume balance over each step, the
  // inflows and outflows taken as straight lines, with the depth found from the volume and the
  // outflow from the depth: level-pool routing, as the program's storage indication does it.
  text += "\n[OPTIONS]\n";
  const std::pair<const char*, std::string> options[] = {
      {"FLOW_UNITS", "CFS"},
      {"FLOW_ROUTING", "KINWAVE"},
      {"LINK_OFFSETS", "DEPTH"},
      {"IGNORE_RAINFALL", "YES"},
      {"ALLOW_PONDING", "NO"},
      {"SKIP_STEADY_STATE", "NO"},
      {"START_DATE", start.Date},
      {"START_TIME", start.Time},
      {"REPORT_START_DATE", start.Date},
      {"REPORT_START_TIME", start.Time},
      {"END_DATE", end.Date},
      {"END_TIME", end.Time},
      {"REPORT_STEP", "00:01:00"},
      {"ROUTING_STEP", "0:00:01"},
  };
  for (const auto& [name, value] : options) {
    text += name;
    text.append(20 - std::string(name).size(), ' ');
    text += value + "\n";
  }

  text += "\n[STORAGE]\n;;Name  Elev  MaxDepth  InitDepth  Shape  Curve  SurDepth  Fevap\n";
  AppendLine(text, {"Pond", PlainNumber(rows.front().StageFeet),
                    CurveNumber(storage.back().DepthFeet), "0", "TABULAR", "PondArea", "0", "0"});

  text += "\n[OUTFALLS]\n;;Name  Elev  Type  Gated\n";
  AppendLine(text, {"Outfall", PlainNumber(rows.front().StageFeet), "FREE", "NO"});

  text += "\n[OUTLETS]\n;;Name  From  To  Offset  Type  Curve  Gated\n";
  AppendLine(text, {"Outlet", "Pond", "Outfall", "0", "TABULAR/DEPTH", "PondRating", "NO"});

  text += "\n[INFLOWS]\n;;Node  Constituent  TimeSeries  Type  Mfactor  Sfactor\n";
  AppendLine(text, {"Pond", "FLOW", "Hydrograph", "FLOW", "1.0", "1.0"});

  text += "\n[CURVES]\n;;Name  Type  Depth  Area (sq ft) / Outflow (cfs)\n";
  AppendCurve(text, "PondArea", "STORAGE", storage);
  AppendCurve(text, "PondRating", "RATING", rating);

  // The inflow as the routing takes it: the ordinates at k x Tc to the first zero after the last
  // non-zero one; SWMM's time series is straight between them and zero after the last.
  text += "\n[TIMESERIES]\n;;Name  Time (h:mm)  Inflow (cfs)\n";
  long lastFlowing = -1;
  for (long i = 0; i <= result.OrdinateCount; ++i) {
    if (result.Hydrograph(i) != 0)
      lastFlowing = i;
  }
  const auto tc = static_cast<long long>(in.TimeOfConcentration);
  for (long i = 0; i <= lastFlowing + 1; ++i) {
    const double q = i <= result.OrdinateCount ? result.Hydrograph(i) : 0.0;
    AppendLine(text, {"Hydrograph", HoursMinutes(tc * static_cast<long long>(i)), PlainNumber(q)});
  }

  text += "\n[REPORT]\nINPUT       NO\nCONTINUITY  YES\nFLOWSTATS   YES\nCONTROLS    NO\n";

  text += "\n[COORDINATES]\n;;Node  X  Y\n";
  AppendLine(text, {"Pond", "0", "0"});
  AppendLine(text, {"Outfall", "100", "0"});
  return text;
}

}  // namespace rh
