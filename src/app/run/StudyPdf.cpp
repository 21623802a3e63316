#include "app/run/StudyPdf.h"

#include "platform/PdfWriter.h"

namespace rh {

std::string StudyPdfBytes(const Study& study, OutputDevices* devices, Clock& clock) {
  const PageSize paper = study.Paper          ? *study.Paper
                         : devices != nullptr ? devices->LocalePageSize()
                                              : PageSize::A4;
  return DrawingsPdf(StudyPages(study, paper), clock.UtcSeconds());
}

}  // namespace rh
