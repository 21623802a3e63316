#include "app/run/StudyPdf.h"

#include "core/Faults.h"

namespace rh {

std::string StudyPdfBytes(const Study& study, OutputDevices* devices) {
  if (devices == nullptr)
    throw PrinterFault(messages::kStudyNoDevicesText);
  const PageSize paper = study.Paper ? *study.Paper : devices->LocalePageSize();
  return devices->PdfFromPages(StudyPages(study, paper), paper);
}

}  // namespace rh
