// The study document as a PDF file: what the study window's "Save Study PDF..." and the
// companion's study option both write.
#pragma once

#include <string>

#include "output/StudyDocument.h"
#include "platform/OutputDevices.h"

namespace rh {

// The bytes of the study's PDF file, on the study's paper or, when it names none, the paper of
// the host's locale. PrinterFault when there are no `devices` or the document fails;
// ArithmeticFault when the chart's ranges overflow.
std::string StudyPdfBytes(const Study& study, OutputDevices* devices);

}  // namespace rh
