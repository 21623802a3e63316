// Print statements: items in their Print-form, print zones, and a target that collects the text.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/PrintTarget.h"

namespace rh {

// A date already in the system's short date form.
struct DateItem {
  std::string text;
};

using PrintValue = std::variant<double, std::int16_t, std::string, DateItem>;

// Print-form of one item. Numbers: the Str-form digits with `decimalPoint` as separator and one
// trailing space (" 12.3 "); strings and dates: the text exactly.
std::string PrintItem(const PrintValue& item, char decimalPoint = '.');

// What follows an item in a print statement.
enum class Ending {
  Join,      // ";": the next item follows directly; after the last item the line stays open
  NextZone,  // ",": move on to the start of the next 14-column print zone
  EndLine,   // the statement ends and so does the line (CR LF)
};

struct PrintPart {
  PrintPart(PrintValue value, Ending ending = Ending::EndLine)
      : item(std::move(value)), ending(ending) {}
  PrintPart(const char* text, Ending ending = Ending::EndLine)
      : item(std::string(text)), ending(ending) {}
  PrintValue item;
  Ending ending;
};

constexpr int kPrintZoneColumns = 14;

// Writes one print statement to `target`, numbers in Print-form with the target's decimal point.
// An empty statement just ends the line.
void PrintStatement(PrintTarget& target, const std::vector<PrintPart>& parts);

// A print target that collects text in memory, one column per character (UTF-8 code points).
// Lines end in CR LF.
class TextPrintTarget final : public PrintTarget {
 public:
  explicit TextPrintTarget(char decimalPoint = '.') : decimalPoint_(decimalPoint) {}
  void Write(std::string_view text) override;
  void EndLine() override;
  double CurrentX() const override { return static_cast<double>(column_); }
  void MoveToX(double x) override;
  double ColumnWidth() const override { return 1.0; }
  char DecimalPoint() const override { return decimalPoint_; }

  const std::string& Text() const { return text_; }

 private:
  std::string text_;
  long column_ = 0;
  char decimalPoint_;
};

}  // namespace rh
