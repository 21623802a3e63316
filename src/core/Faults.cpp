#include "core/Faults.h"

#include <new>

namespace rh {

FaultKind KindOf(const std::exception& fault) {
  if (dynamic_cast<const Refused*>(&fault) != nullptr)
    return FaultKind::Refused;
  if (dynamic_cast<const UsageError*>(&fault) != nullptr)
    return FaultKind::Usage;
  if (dynamic_cast<const FileFault*>(&fault) != nullptr)
    return FaultKind::File;
  if (dynamic_cast<const PrinterFault*>(&fault) != nullptr)
    return FaultKind::Printer;
  if (dynamic_cast<const Fault*>(&fault) != nullptr)
    return FaultKind::Fault;
  if (dynamic_cast<const std::bad_alloc*>(&fault) != nullptr)
    return FaultKind::OutOfMemory;
  return FaultKind::Other;
}

std::string FaultReport::Line() const {
  return Kind == FaultKind::Refused ? Title + ": " + Text : Text;
}

FaultReport ReportFault(const std::exception& fault, const FaultTitles& titles) {
  FaultReport report;
  report.Kind = KindOf(fault);
  switch (report.Kind) {
    case FaultKind::Refused: {
      const auto& refusal = static_cast<const Refused&>(fault);
      report.Title = refusal.Title();
      report.Text = refusal.Text();
      report.Entry = refusal.Entry();
      report.ExitStatus = kExitRefused;
      break;
    }
    case FaultKind::Usage: {
      const auto& error = static_cast<const UsageError&>(fault);
      report.Entry = error.Entry();
      report.Title = report.Entry == RunEntry::ReturnPeriod ? titles.ReturnPeriod : titles.Usage;
      report.Text = error.what();
      report.ExitStatus = kExitUsage;
      break;
    }
    case FaultKind::OutOfMemory:
      report.Title = titles.Fault;
      report.Text = messages::kOutOfMemoryText;
      break;
    case FaultKind::File:
    case FaultKind::Printer:
    case FaultKind::Fault:
    case FaultKind::Other:
      report.Title = titles.Fault;
      report.Text = fault.what();
      if (report.Text == messages::kDivisionByZeroText)
        report.Text += messages::kDivisionHintText;
      break;
  }
  return report;
}

FaultReport ReportFault(const std::exception& fault) {
  return ReportFault(
      fault, {messages::kRunChoicesTitle, messages::kReturnPeriodTitle, messages::kRunFaultTitle});
}

}  // namespace rh
