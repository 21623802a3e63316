// Reading a detention pond's stage-storage-outflow table from a CSV file.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "engine/Pond.h"
#include "platform/FileSystem.h"

namespace rh {

// The most of a pond table's file that is read: 1 MiB, some 40,000 rows.
constexpr std::size_t kMostPondFileBytes = 1 << 20;

// The pond table in `text`, the contents of the file `name` (used in messages and outputs).
//
// The header stage_ft,storage_acft,outflow_cfs on the first line that is not blank, then one row a
// stage: three numbers, each finite and >= 0; stage and storage strictly increasing, outflow never
// falling; the first row the empty pond (storage 0, outflow 0); at least two rows. Blank lines and
// a UTF-8 byte-order mark are ignored; lines end in LF or CR LF; spaces around fields and trailing
// empty fields (as spreadsheets write them) are ignored.
//
// Throws Refused (the pond table's warning) naming the file, the line and what is wrong; messages
// quote at most 80 characters of any text from the file. The pond's Path is left empty.
TablePond ReadPondTable(std::string_view text, const std::string& name);

// The pond table of the file at `path`, read through `files` (at most kMostPondFileBytes; a larger
// file is refused), called `name`, its Path `path`: a JSON pond file when `path` ends in .json
// (ReadPondJson), a CSV table otherwise. FileFault when the file cannot be read; Refused as the
// readers.
std::shared_ptr<const TablePond> LoadPond(FileSystem& files, const std::string& path,
                                          const std::string& name);

}  // namespace rh
