// Where print statements go: a text file or a printer page. Positions are measured in the target's
// own horizontal unit (characters in a file, device units on a printer); a column is one average
// character width, and print zones start every 14 columns.
#pragma once

#include <string_view>

namespace rh {

class PrintTarget {
 public:
  virtual ~PrintTarget() = default;

  // Writes text at the current print position and moves the position past it.
  virtual void Write(std::string_view text) = 0;
  // Ends the current line (CR LF in a file, a new line or page on a printer).
  virtual void EndLine() = 0;
  // Current horizontal print position, in target units from the start of the line.
  virtual double CurrentX() const = 0;
  // Moves the print position right to `x` (a file pads with spaces).
  virtual void MoveToX(double x) = 0;
  // Width of one print column: the average character width of the target's font.
  virtual double ColumnWidth() const = 0;
  // Decimal separator for numbers printed to this target.
  virtual char DecimalPoint() const = 0;
};

// A printer job: a print target that is released to the printer by EndDoc or discarded by
// AbortDoc. A page that is full continues on a new page.
class Printer : public PrintTarget {
 public:
  virtual void EndDoc() = 0;
  virtual void AbortDoc() = 0;
};

}  // namespace rh
