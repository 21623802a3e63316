// Val: the number parser for every entry box.
#pragma once

#include <optional>
#include <string_view>

namespace rh {

// Reads the longest leading number of `text`: an optional sign, digits with at most one "." as
// decimal point, and an optional exponent introduced by E or D (either case) with optional sign
// and digits. Spaces, tabs and line feeds are skipped wherever they occur; whatever follows the
// number is ignored; text that starts with no number gives 0. The decimal point is "." in every
// locale. A value beyond the double range raises ArithmeticFault (overflow); one too small to
// represent reads as 0.
double Val(std::string_view text);

// The same number, or nothing when no number starts the text ("abc", "x2.5", a tab alone), which
// Val reads as 0.
std::optional<double> LeadingNumber(std::string_view text);

// What follows the leading number of `text`, without the blanks around it: "ha" for "40.5 ha ",
// "" for "40.5". The whole text when no number starts it. Raises as LeadingNumber does.
std::string_view TextAfterNumber(std::string_view text);

}  // namespace rh
