// The study document as a PDF file: what the study window's "Save Study PDF..." and the
// companion's study option both write, with the same bytes from every edition.
#pragma once

#include <string>

#include "output/StudyDocument.h"
#include "platform/Clock.h"
#include "platform/OutputDevices.h"

namespace rh {

// The bytes of the study's PDF file, dated `clock`'s now, on the study's paper or, when it names
// none, the paper of the host's locale as `devices` tell it (A4 without them: an edition with no
// devices module). ArithmeticFault when the chart's ranges overflow.
std::string StudyPdfBytes(const Study& study, OutputDevices* devices, Clock& clock);

}  // namespace rh
