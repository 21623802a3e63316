#include "app/run/StudyPdf.h"

#include "platform/HostLocale.h"
#include "platform/PdfWriter.h"

namespace rh {

std::string StudyPdfBytes(const Study& study, Clock& clock) {
  const std::int64_t now = clock.UtcSeconds();
  Study dated = study;
  dated.Date = LongDate(now);
  return DrawingsPdf(StudyPages(dated, study.Paper ? *study.Paper : HostPaper()), now);
}

}  // namespace rh
