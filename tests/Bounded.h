// Runs a step in a child process under limits of memory and processor time, for tests that a
// reader's memory stays bounded whatever its input.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <fstream>
#include <functional>

namespace rh::test {

// AddressSanitizer reserves terabytes of address space and inflates every allocation, so memory
// bounds cannot be checked in the sanitizer build (GCC's macro; clang's feature test).
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// What `step` returned (0 to 125) when it ran in a child process allowed `moreMiB` of address
// space beyond what this process has mapped and `cpuSeconds` of processor time; 126 when an
// exception left it (std::bad_alloc: out of memory), -1 when the child was killed (out of time).
inline int RunBounded(const std::function<int()>& step, std::size_t moreMiB, int cpuSeconds) {
  std::size_t pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  const rlim_t mapped = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
  const pid_t child = ::fork();
  if (child == 0) {
    const rlimit memory{mapped + (rlim_t{moreMiB} << 20), mapped + (rlim_t{moreMiB} << 20)};
    const rlimit cpu{static_cast<rlim_t>(cpuSeconds), static_cast<rlim_t>(cpuSeconds)};
    int code = 127;
    try {
      if (::setrlimit(RLIMIT_AS, &memory) == 0 && ::setrlimit(RLIMIT_CPU, &cpu) == 0)
        code = step();
    } catch (...) {
      code = 126;  // out of memory, most likely; never back into the test in this child
    }
    ::_exit(code);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
    return -1;
  return WEXITSTATUS(status);
}

}  // namespace rh::test
