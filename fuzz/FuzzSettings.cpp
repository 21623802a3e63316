// The settings-file reader over arbitrary file contents.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "OneFile.h"
#include "app/window/Init.h"
#include "app/window/Settings.h"
#include "core/Faults.h"

namespace {

using rh::fuzz::OneFile;  // the settings file

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  // Every field read moves the reader on, so it reaches the end.
  rh::FieldReader reader(text);
  std::size_t fields = 0;
  while (!reader.AtEnd()) {
    reader.ReadField();
    if (++fields > size + 1)
      __builtin_trap();
  }

  rh::Init state;
  rh::InitializeState(state, true, "/opt/rh/", "/");
  OneFile files(text);
  try {
    rh::ReadSettings(state, files);
  } catch (const rh::FileFault&) {
    return 0;
  }
  // A path written back reads back the same.
  const std::string path = state.ReportPath;
  rh::WriteSettings(state, files);
  rh::ReadSettings(state, files);
  if (state.ReportPath != path && path.find_first_of("\"\r\n") == std::string::npos)
    __builtin_trap();
  return 0;
}
