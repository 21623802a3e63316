// The study document as a PDF file: what the study window's "Save Study PDF..." and the
// companion's study option both write, with the same bytes from every edition.
#pragma once

#include <string>

#include "output/StudyDocument.h"
#include "platform/Clock.h"

namespace rh {

// The bytes of the study's PDF file, made and dated at `clock`'s now (the date written out in
// full, "December 8, 2026"), on the study's paper or, when it names none, the paper of the host's
// locale (Letter where the locale names no territory). ArithmeticFault when the chart's ranges
// overflow.
std::string StudyPdfBytes(const Study& study, Clock& clock);

}  // namespace rh
