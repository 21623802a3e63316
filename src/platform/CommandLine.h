// The program's command line as the program reads it: UTF-8 text.
#pragma once

#include <string>
#include <vector>

namespace rh {

// The arguments after the program's name. On POSIX they are `argv` as given; on Windows they are
// read from the UTF-16 command line, since `argv` there is in the ANSI code page and loses every
// character outside it.
std::vector<std::string> CommandArguments(int argc, char** argv);

}  // namespace rh
