#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>

#include "Fakes.h"
#include "core/Faults.h"
#include "platform/ModuleEdge.h"

namespace rh {
namespace {

using test::RecordingPrinter;

// Devices whose picture raises `fault` and whose printer is a RecordingPrinter.
class RaisingDevices final : public OutputDevices {
 public:
  std::function<void()> fault;
  RecordingPrinter* printer = nullptr;
  std::unique_ptr<Printer> OpenDefaultPrinter() override {
    auto job = std::make_unique<RecordingPrinter>();
    job->failAtEndDoc = true;
    printer = job.get();
    return job;
  }
  std::unique_ptr<PdfDocument> OpenPdf() override { throw FileFault("no pdf", "r.pdf"); }
  std::string PngBytes(const Drawing&) override {
    fault();
    return "png";
  }
  PageSize LocalePageSize() override { return PageSize::Letter; }
};

// The devices as the companion sees them: the module's side catches, the companion's raises.
struct Edge {
  FaultSlot slot;
  RaisingDevices* inner = nullptr;
  std::unique_ptr<OutputDevices> devices;
  Edge() {
    auto raising = std::make_unique<RaisingDevices>();
    inner = raising.get();
    devices = std::make_unique<DevicesThrough<RaiseFrom>>(
        std::make_unique<DevicesThrough<CatchInto>>(std::move(raising), CatchInto{&slot}),
        RaiseFrom{&slot});
  }
};

// A fault raised inside the module comes out as the same kind, with the same words and details.
TEST(ModuleEdge, RaisesEachFaultAgainOnTheCompanionsSide) {
  struct {
    const char* name;
    std::function<void()> raise;
    FaultKind kind;
    std::string text;
  } cases[] = {
      {"refusal", [] { throw Refused("ERROR T", "refused", RunEntry::BasinArea, "a.b"); },
       FaultKind::Refused, "refused"},
      {"usage", [] { throw UsageError("usage", RunEntry::DeckPath); }, FaultKind::Usage, "usage"},
      {"file", [] { throw FileFault("cannot write", "p.png"); }, FaultKind::File, "cannot write"},
      {"printer", [] { throw PrinterFault("no printer"); }, FaultKind::Printer, "no printer"},
      {"arithmetic", [] { throw ArithmeticFault("overflow"); }, FaultKind::Fault, "overflow"},
      {"memory", [] { throw std::bad_alloc(); }, FaultKind::OutOfMemory, std::bad_alloc().what()},
      {"other", [] { throw std::logic_error("odd"); }, FaultKind::Other, "odd"},
  };
  for (const auto& c : cases) {
    Edge edge;
    edge.inner->fault = c.raise;
    try {
      edge.devices->PngBytes(Drawing());
      ADD_FAILURE() << c.name << ": nothing raised";
    } catch (const std::exception& fault) {
      EXPECT_EQ(KindOf(fault), c.kind) << c.name;
      EXPECT_EQ(std::string(fault.what()), c.text) << c.name;
      if (const auto* refusal = dynamic_cast<const Refused*>(&fault)) {
        EXPECT_EQ(refusal->Title(), "ERROR T");
        EXPECT_EQ(refusal->Entry(), RunEntry::BasinArea);
        EXPECT_EQ(refusal->Key(), "a.b");
      }
      if (const auto* usage = dynamic_cast<const UsageError*>(&fault)) {
        EXPECT_EQ(usage->Entry(), RunEntry::DeckPath);
      }
      if (const auto* file = dynamic_cast<const FileFault*>(&fault)) {
        EXPECT_EQ(file->Path(), "p.png");
      }
    }
    // The slot is empty again: the next call goes through.
    edge.inner->fault = [] {};
    EXPECT_EQ(edge.devices->PngBytes(Drawing()), "png") << c.name;
  }
}

// A print job's calls reach the module's printer, and its faults come back out.
TEST(ModuleEdge, PrintJobsPassThroughBothSides) {
  Edge edge;
  const std::unique_ptr<Printer> job = edge.devices->OpenDefaultPrinter();
  job->Write("12");
  job->MoveToX(50);
  EXPECT_EQ(job->CurrentX(), 50);
  EXPECT_EQ(job->DecimalPoint(), '.');
  EXPECT_THROW(job->EndDoc(), PrinterFault);
  EXPECT_EQ(RecordingPrinter::Texts(edge.inner->printer->jobs.at(0)).at(0), "12");
  EXPECT_THROW(edge.devices->OpenPdf(), FileFault);
  EXPECT_EQ(edge.devices->LocalePageSize(), PageSize::Letter);
}

}  // namespace
}  // namespace rh
