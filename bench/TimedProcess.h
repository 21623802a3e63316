// Timing a whole process: what the benchmarks that run the companion beside its floor share.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

extern char** environ;

namespace rh::bench {

// Seconds one run of `args` takes (-1 when it cannot start), its standard output thrown away
// unless `keepOutput`.
inline double TimeProcess(const std::vector<std::string>& args, bool keepOutput = false) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (const std::string& arg : args)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!keepOutput)
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const bool started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
  int status = 0;
  if (started)
    waitpid(pid, &status, 0);
  const auto end = std::chrono::steady_clock::now();
  posix_spawn_file_actions_destroy(&actions);
  return started ? std::chrono::duration<double>(end - start).count() : -1;
}

}  // namespace rh::bench
