// The interrupt cleanup's POSIX side: SIGINT and SIGTERM handlers.
#include <unistd.h>

#include <csignal>
#include <ctime>
#include <initializer_list>

#include "platform/WriteCleanup.h"

namespace rh {

namespace {

void RemoveAndExit(int signal) {
  EndWritesAndRemoveTemporaries();
  ::_exit(128 + signal);
}

}  // namespace

void RemoveTemporaryFile(const char* path) noexcept {
  ::unlink(path);
}

void PauseOneMillisecond() noexcept {
  const timespec millisecond{0, 1000000};
  ::nanosleep(&millisecond, nullptr);
}

void InstallWriteSignalCleanup() {
  for (const int signal : {SIGINT, SIGTERM}) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN)
      continue;
    struct sigaction action {};
    action.sa_handler = RemoveAndExit;
    sigemptyset(&action.sa_mask);
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace rh
