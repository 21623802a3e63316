// What the host file system's operations say when they fail: shared by the StdFileSystem sources.
#pragma once

#include <sys/stat.h>

#include <string>

#include "core/Faults.h"

namespace rh::files {

// Why an operation failed (an errno value), in words a user can act on.
std::string Reason(int err);

// "Cannot VERB PATH: REASON." with the path shortened for showing.
FileFault Fault(const char* verb, const std::string& path, const std::string& reason);

// Throws unless `info` is a regular file's.
void CheckRegular(const char* verb, const std::string& path, const struct stat& info);

// Throws when no path was given at all, or one holding a NUL character. Every read, write,
// removal and folder lock starts here.
void CheckPathGiven(const std::string& path);

}  // namespace rh::files
