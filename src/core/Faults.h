// The program's faults and refusals, one small hierarchy.
//
// A Fault is an error raised by a runtime operation (files, printer, arithmetic, array subscripts,
// drives and lists). A Refused is input the program declines to run, answered by the program's
// warning (a title that begins with "ERROR" and a text that says what to do). A UsageError is a
// command line that asks for something that cannot be done. All three travel up to the event
// handler or command that started the operation, which reports them once and keeps the program
// usable; the companion's exit status is 3, 2 and 64 for them.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace rh {

class Fault : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file that cannot be opened, read, written or replaced.
class FileFault : public Fault {
 public:
  explicit FileFault(const std::string& message, std::string path = {})
      : Fault(message), path_(std::move(path)) {}
  // The file the fault is about, when it is known.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// No printer, or the printer failed while a report was being sent.
class PrinterFault : public Fault {
 public:
  using Fault::Fault;
};

// Invalid operation, division by zero or overflow in a floating-point or 16-bit integer step.
class ArithmeticFault : public Fault {
 public:
  using Fault::Fault;
};

// An ordinate index outside 0..MaxOrdinates.
class SubscriptFault : public Fault {
 public:
  using Fault::Fault;
};

// A drive or directory that cannot be read by the file selection lists.
class DriveFault : public Fault {
 public:
  using Fault::Fault;
};

// Input the program refuses to run, with the title and text of its warning. Nothing has been
// written when it is raised.
class Refused : public std::runtime_error {
 public:
  Refused(std::string title, const std::string& text)
      : std::runtime_error(text), title_(std::move(title)) {}
  const std::string& Title() const { return title_; }
  std::string Text() const { return what(); }

 private:
  std::string title_;
};

// A command line that asks for what cannot be done (an option's value that does not fit, two
// outputs on one file). The message says what to change.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace rh
