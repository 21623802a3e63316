// The only ways numbers become text in the program's outputs and the unit words each output writes
// after them. The half-up rounding the figures are shown with, and the figures in a fault's words,
// are declared with the faults (core/Faults.h), where the arithmetic can reach them too.
#pragma once

#include <cstdint>
#include <string>

#include "core/Faults.h"

namespace rh {

// Str-form: a sign position (space for zero and positive values, "-" for negative ones) followed
// by the general decimal form with at most 15 significant digits, no trailing zeros, no leading
// zero before the point and "." as the decimal point: 15 -> " 15", 0.85 -> " .85", -1.25 ->
// "-1.25".
std::string StrForm(double value);

// A number for data files (CSV): the general form with 15 significant digits, "." as point, a
// leading zero below 1 and no padding: 0.85 -> "0.85", -2.5 -> "-2.5", 12 -> "12".
std::string PlainNumber(double value);

// The same forms appended to `out`, without temporary strings: for listings and decks that build
// many lines into reused buffers. The bytes are exactly those of StrForm and PlainNumber; the
// Print-form is the Str-form with `decimalPoint` as separator and one trailing space (" 12.3 ").
void AppendStrForm(std::string& out, double value);
void AppendPrintForm(std::string& out, double value, char decimalPoint = '.');
void AppendPlainNumber(std::string& out, double value);

// The Print-form of a whole number: its sign position, its digits and one trailing space
// ("-200 ", " 1155 ").
void AppendPrintForm(std::string& out, std::int16_t value);

// A number with `decimals` digits after the point, "." as the point, no padding; from 1E+15 up, as
// PlainNumber writes it.
std::string Fixed(double value, int decimals);

// `value` rounded half up to `decimals` places (as the listing rounds) and written with exactly
// that many, as Fixed writes them.
std::string Decimals(double value, int decimals);

// A change in per cent to 0.1 with its sign: "+1.2", "-30.2", and "0.0" for one that shows as zero.
std::string SignedPercent(double percent);

// A coordinate of a drawing (SVG): at most two decimals, no trailing zeros, "0" for a value that
// is not finite or rounds to zero. Ties round away from zero, as std::round does.
void AppendDrawingCoordinate(std::string& out, double value);

// A number of a PDF page's content: at most three decimals and no trailing zeros, from integer
// arithmetic so that every host writes the same characters. Ties round away from zero; values
// beyond any page, and non-finite ones, are 0.
void AppendPageNumber(std::string& out, double value);

// The unit words as one output spells them after its numbers, without the space before them. The
// words of another system of units would be one more of these.
struct UnitWords {
  const char* Minutes;
  const char* Hours;
  const char* Inches;
  const char* Acres;
  const char* Cfs;
  const char* AcreFeet;
  const char* Feet;
  const char* CubicFeet;
  const char* InchesPerHour;
};

// The same words, each after the space that separates it from its number (" cfs"): for text
// built by concatenation.
struct SpacedUnitWords {
  explicit SpacedUnitWords(const UnitWords& words);
  std::string Minutes;
  std::string Hours;
  std::string Inches;
  std::string Acres;
  std::string Cfs;
  std::string AcreFeet;
  std::string Feet;
  std::string CubicFeet;
  std::string InchesPerHour;
};

// The listing, the printed report, the HEC-1 deck's comments and the pond's section of the
// listing: capitals, minutes with a period.
inline constexpr UnitWords kListingUnits{"MIN.",  "H",  "INCHES", "ACRES", "CFS",
                                         "AC-FT", "FT", "CU FT",  "IN/HR"};
// The study document, the check, the plots, the companion's files and the program's messages.
inline constexpr UnitWords kTextUnits{"min",   "h",  "in",    "acres", "cfs",
                                      "ac-ft", "ft", "cu ft", "in/hr"};
// The units named in full, as the messages about entries name them.
inline constexpr UnitWords kNamedUnits{"minutes",   "hours", "inches",     "acres",          "cfs",
                                       "acre-feet", "feet",  "cubic feet", "inches per hour"};

}  // namespace rh
