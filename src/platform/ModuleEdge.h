// The edge between the companion and its devices module. The companion carries a C++ runtime of
// its own (linked in, so that a listing loads no runtime library), while the module and Qt use the
// system's: an exception may not unwind from one runtime into the other. So every call into the
// module runs inside it under a guard that catches what it raises and leaves it in a FaultSlot as
// plain data, and the companion's side raises it again as the same kind of fault with the same
// words.
#pragma once

#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "core/Faults.h"
#include "platform/OutputDevices.h"

namespace rh {

// A fault raised on one side of the edge, as data both sides can read.
struct FaultSlot {
  bool Raised = false;
  FaultKind Kind = FaultKind::Other;
  std::string Text;   // what()
  std::string Title;  // a refusal's warning title
  std::string Key;    // a refusal's key path
  RunEntry Entry = RunEntry::None;
  std::string Path;  // a file fault's file
};

// `slot` filled from `fault`.
void CarryFault(const std::exception& fault, FaultSlot& slot);

// Raises the fault `slot` holds, emptying it: Refused, UsageError, FileFault, PrinterFault, Fault,
// std::bad_alloc or std::runtime_error, as it was raised on the other side. Nothing when it holds
// none.
void RaiseCarried(FaultSlot& slot);

// Runs `call` on the module's side: what it raises is left in `slot` and a default value returned.
struct CatchInto {
  FaultSlot* slot;
  template <class Call>
  auto operator()(Call&& call) const noexcept -> decltype(call()) {
    using Result = decltype(call());
    try {
      return call();
    } catch (const std::exception& fault) {
      CarryFault(fault, *slot);
    } catch (...) {
      slot->Raised = true;
      slot->Kind = FaultKind::Other;
      slot->Text = "an unknown fault in the devices module";
    }
    if constexpr (!std::is_void_v<Result>)
      return Result();
  }
};

// Runs `call` on the companion's side: what the module left in `slot` is raised here.
struct RaiseFrom {
  FaultSlot* slot;
  template <class Call>
  auto operator()(Call&& call) const -> decltype(call()) {
    if constexpr (std::is_void_v<decltype(call())>) {
      call();
      RaiseCarried(*slot);
    } else {
      auto result = call();
      RaiseCarried(*slot);
      return result;
    }
  }
};

// A print job whose every call goes through `Around` (CatchInto or RaiseFrom).
template <class Base, class Around>
class TargetThrough : public Base {
 public:
  TargetThrough(std::unique_ptr<Base> inner, Around around)
      : inner_(std::move(inner)), around_(around) {}

  void Write(std::string_view text) override {
    around_([&] { inner_->Write(text); });
  }
  void EndLine() override {
    around_([&] { inner_->EndLine(); });
  }
  double CurrentX() const override {
    return around_([&] { return inner_->CurrentX(); });
  }
  void MoveToX(double x) override {
    around_([&] { inner_->MoveToX(x); });
  }
  double ColumnWidth() const override {
    return around_([&] { return inner_->ColumnWidth(); });
  }
  char DecimalPoint() const override {
    return around_([&] { return inner_->DecimalPoint(); });
  }
  void EndDoc() override {
    around_([&] { inner_->EndDoc(); });
  }
  void AbortDoc() override {
    around_([&] { inner_->AbortDoc(); });
  }

 protected:
  std::unique_ptr<Base> inner_;
  Around around_;
};

template <class Around>
class PdfThrough final : public TargetThrough<PdfDocument, Around> {
 public:
  using TargetThrough<PdfDocument, Around>::TargetThrough;
  std::string PdfBytes() const override {
    return this->around_([&] { return this->inner_->PdfBytes(); });
  }
};

// Output devices whose every call, and every call of the jobs they open, goes through `Around`.
template <class Around>
class DevicesThrough final : public OutputDevices {
 public:
  DevicesThrough(std::unique_ptr<OutputDevices> inner, Around around)
      : inner_(std::move(inner)), around_(around) {}

  std::unique_ptr<Printer> OpenDefaultPrinter() override {
    return around_([&]() -> std::unique_ptr<Printer> {
      std::unique_ptr<Printer> job = inner_->OpenDefaultPrinter();
      if (!job)
        return nullptr;
      return std::make_unique<TargetThrough<Printer, Around>>(std::move(job), around_);
    });
  }
  std::unique_ptr<PdfDocument> OpenPdf() override {
    return around_([&]() -> std::unique_ptr<PdfDocument> {
      std::unique_ptr<PdfDocument> job = inner_->OpenPdf();
      if (!job)
        return nullptr;
      return std::make_unique<PdfThrough<Around>>(std::move(job), around_);
    });
  }
  std::string PngBytes(const Drawing& drawing) override {
    return around_([&] { return inner_->PngBytes(drawing); });
  }
  PageSize LocalePageSize() override {
    return around_([&] { return inner_->LocalePageSize(); });
  }

 private:
  std::unique_ptr<OutputDevices> inner_;
  Around around_;
};

}  // namespace rh
