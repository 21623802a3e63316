#include "platform/ModuleEdge.h"

#include <new>
#include <stdexcept>

namespace rh {

void CarryFault(const std::exception& fault, FaultSlot& slot) {
  slot = FaultSlot();
  slot.Raised = true;
  slot.Kind = KindOf(fault);
  slot.Text = fault.what();
  if (const auto* refusal = dynamic_cast<const Refused*>(&fault)) {
    slot.Title = refusal->Title();
    slot.Entry = refusal->Entry();
    slot.Key = refusal->Key();
  } else if (const auto* usage = dynamic_cast<const UsageError*>(&fault)) {
    slot.Entry = usage->Entry();
  } else if (const auto* file = dynamic_cast<const FileFault*>(&fault)) {
    slot.Path = file->Path();
  }
}

void RaiseCarried(FaultSlot& slot) {
  if (!slot.Raised)
    return;
  const FaultSlot fault = std::move(slot);
  slot = FaultSlot();
  switch (fault.Kind) {
    case FaultKind::Refused:
      throw Refused(fault.Title, fault.Text, fault.Entry, fault.Key);
    case FaultKind::Usage:
      throw UsageError(fault.Text, fault.Entry);
    case FaultKind::File:
      throw FileFault(fault.Text, fault.Path);
    case FaultKind::Printer:
      throw PrinterFault(fault.Text);
    case FaultKind::Fault:
      throw Fault(fault.Text);
    case FaultKind::OutOfMemory:
      throw std::bad_alloc();
    case FaultKind::Other:
      break;
  }
  throw std::runtime_error(fault.Text);
}

}  // namespace rh
