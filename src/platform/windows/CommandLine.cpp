// The command line read as UTF-16 and handed on as UTF-8.
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include "platform/CommandLine.h"
#include "platform/windows/WideText.h"

namespace rh {

std::vector<std::string> CommandArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr)
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i)
    args.push_back(windows::Narrow(wide[i]));
  ::LocalFree(wide);
  return args;
}

}  // namespace rh
