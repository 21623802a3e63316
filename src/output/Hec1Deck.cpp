#include "output/Hec1Deck.h"

#include <algorithm>
#include <cmath>

#include "core/Faults.h"
#include "core/NumberForms.h"
#include "engine/Checked.h"
#include "output/MakerNotice.h"
#include "output/TextForms.h"

namespace rh {

namespace {

constexpr double kAcresPerSquareMile = 640.0;
constexpr double kPeakCentreMinutes = 240.0;  // the 4-hour point of the 6-hour storm
constexpr double kDayStartHours = 12.0;       // the 1200 start of the IT record

// A whole number as a 16-bit integer; values outside -32768..32767 overflow.
std::int16_t ToInt16(double whole) {
  if (!(whole >= -32768.0 && whole <= 32767.0))
    throw ArithmeticFault(messages::kOverflowText);
  return static_cast<std::int16_t>(whole);
}

std::int16_t Int16(long value) {
  return ToInt16(static_cast<double>(value));
}

}  // namespace

std::int16_t Hec1StartTime(double tc, std::int16_t peakIndex) {
  using namespace checked;
  const double h = Floor(Add(Div(tc, 2), 0.5));  // half a Tc, whole minutes
  const double x =
      Add(Div(Add(h, Sub(kPeakCentreMinutes, Mul(peakIndex, tc))), 60), kDayStartHours);  // hours
  const std::int16_t hh = ToInt16(Floor(x));
  const std::int16_t mm = ToInt16(Floor(Add(Mul(Sub(x, hh), 60), 0.5)));
  return Int16(Int16(long{hh} * 100) + long{mm});
}

std::string Hec1StationName(const std::string& path) {
  const auto separator = path.find_last_of("\\/");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

bool Hec1StationNameBreaksRecord(const std::string& path) {
  const std::string station = Hec1StationName(path);
  return std::any_of(station.begin(), station.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

double Hec1AreaSquareMiles(double acres) {
  return checked::RoundHalfUp(checked::Div(acres, kAcresPerSquareMile), 10000);
}

std::string Hec1DeckText(const Run& run, const std::string& deckPath, const std::string& date) {
  const RunInputs& in = run.Inputs;
  const RunResult& r = run.Result;
  const double tc = in.TimeOfConcentration;
  // Everything that can fault is worked out before the first record.
  if (Hec1StationNameBreaksRecord(deckPath))
    throw FileFault(messages::kDeckControlCharText, deckPath);
  const std::int16_t start = Hec1StartTime(tc, r.PeakIndex);
  const double area = Hec1AreaSquareMiles(in.BasinArea);

  // HEC-1 reads numbers with a point whatever the host's number settings are.
  TextPrintTarget deck('.');
  using E = Ending;
  PrintStatement(deck, {{"KK ", E::Join}, {Hec1StationName(deckPath)}});
  PrintStatement(deck, {{"KM RUN DATE   ", E::Join}, {DateItem{date}}});
  PrintStatement(deck, {{"KM RATIONAL METHOD HYDROGRAPH PROGRAM"}});
  PrintStatement(deck, {{std::string("KM ") + kMakerNotice}});
  PrintStatement(deck, {{"KM 6HR RAINFALL IS ", E::Join},
                        {in.SixHourRainfall, E::Join},
                        {std::string(" ") + kListingUnits.Inches}});
  PrintStatement(deck,
                 {{"KM RATIONAL METHOD RUNOFF COEFFICIENT IS ", E::Join}, {in.RunoffCoefficient}});
  PrintStatement(deck, {{"KM RATIONAL METHOD TIME OF CONCENTRATION IS ", E::Join},
                        {tc, E::Join},
                        {std::string(" ") + kListingUnits.Minutes}});
  PrintStatement(deck,
                 {{"KM FOR THIS DATA TO RUN PROPERLY THIS IT CARD MUST BE ADDED TO YOUR HEC-1"}});
  PrintStatement(deck, {{"KM IT 2 01JAN90 1200 200"}});
  PrintStatement(deck, {{"BA", E::Join}, {area}});
  PrintStatement(deck, {{"IN", E::Join}});
  PrintStatement(deck, {{tc, E::Join}, {"01JAN90 ", E::Join}, {start}});

  // Inflow ordinates, ten to a QI record; the closing 0 follows the last one.
  PrintStatement(deck, {{"QI", E::Join}});
  std::int16_t onLine = 0;
  for (long n = 0; n <= r.OrdinateCount; ++n) {
    if (onLine == 9) {
      PrintStatement(deck, {{r.Hydrograph(n)}});
      PrintStatement(deck, {{"QI", E::Join}});
      onLine = 0;
    } else {
      PrintStatement(deck, {{r.Hydrograph(n), E::Join}});
      ++onLine;
    }
  }
  const std::int16_t closing = 0;
  PrintStatement(deck, {{closing}});
  return deck.Text();
}

}  // namespace rh
