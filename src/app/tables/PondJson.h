// Reading a detention pond designed from its shape and outlet devices from a JSON pond file, and
// making its rating.
#pragma once

#include <string>
#include <string_view>

#include "app/tables/JsonKeys.h"
#include "engine/Pond.h"

namespace rh {

// True when `name` is a JSON pond file (it ends in .json, in any case).
bool IsJsonPondName(std::string_view name);

// The pond in `text`, the contents of the JSON pond file `name` (used in messages and outputs):
// its design, and its table made from it at the rating step.
//
// Every key must be one the pond file knows at its place; every value must be of its kind and in
// its range; a value without a default must be there. Throws Refused (the pond table's warning)
// naming the file, the key path (outlets[2].diameter_in, lists counted from 0) and what is wrong;
// messages quote at most 80 characters of any text from the file. The pond's Path is left empty.
TablePond ReadPondJson(std::string_view text, const std::string& name);

// The same from `value`, a pond object at `path` ("" for a whole pond file) of a file read with
// `r` (a study file holds its pond inline): key paths in refusals start at `path`.
TablePond ReadPondObject(const json::Reader& r, const json::Json& value, const std::string& path,
                         const std::string& name);

}  // namespace rh
