// What the host's locale says about documents: the paper its territory prints on, and today's
// date written out in full, the same on every edition.
#pragma once

#include <cstdint>
#include <string>

#include "platform/PageSize.h"

namespace rh {

// The paper of the locale named by the first of `lcAll`, `lcPaper` and `lang` that is set and
// not empty (null for one that is not set): Letter for a territory that prints on Letter (the
// United States, Canada, Mexico, ...) and for a locale that names no territory (C, POSIX, or none
// at all, as on most servers); A4 for every other territory.
PageSize PaperForLocale(const char* lcAll, const char* lcPaper, const char* lang);

// The paper of the host's locale: PaperForLocale of its LC_ALL, LC_PAPER and LANG.
PageSize HostPaper();

// A date written out in full: "December 8, 2026" (`month` from 1).
std::string LongDateOf(int year, int month, int day);

// The host's local date at `utcSeconds` after 1970-01-01 00:00 UTC, written out in full.
std::string LongDate(std::int64_t utcSeconds);

}  // namespace rh
