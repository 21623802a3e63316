// The program's faults: errors raised by runtime operations (files, printer, arithmetic, array
// subscripts, drives and lists). They travel up to the event handler or command that started the
// operation, which reports them once and keeps the program usable.
#pragma once

#include <stdexcept>
#include <string>

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

}  // namespace rh
