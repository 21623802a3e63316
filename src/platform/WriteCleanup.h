// Temporary files in flight, and their removal when the program is interrupted. Every temporary
// file the program writes beside a target is registered here before it is created and forgotten
// once it is renamed into place or removed, so an interrupted program leaves none behind.
#pragma once

#include <cstddef>

namespace rh {

// Installs SIGINT and SIGTERM handlers that remove every registered temporary file and end the
// process with 128 + the signal's number (130, 143). A signal the process was started with
// ignored (a background job of a script) stays ignored. On Windows a console control handler does
// the same: Ctrl+C and Ctrl+Break end with 130, closing the console, logging off and shutting down
// with 143. Call it first thing in main.
void InstallWriteSignalCleanup();

// The fixed table behind it, readable from a signal handler.
inline constexpr int kMaxTemporaries = 256;
inline constexpr std::size_t kMaxTemporaryPath = 4096;  // bytes with the closing NUL, as PATH_MAX

// Registers `path` and returns its slot, or -1 when the table is full or the path too long.
int RegisterTemporary(const char* path) noexcept;

// Brackets the registration and creation of a temporary file, so that an interrupt on another
// thread waits for the file to exist before it removes the registered ones. False (and nothing to
// end) when the program is already ending: the file must not be made.
bool BeginCreatingTemporary() noexcept;
void EndCreatingTemporary() noexcept;

// Forgets a slot (nothing for -1).
void ForgetTemporary(int slot) noexcept;

// Removes every registered file and forgets it.
void RemoveRegisteredTemporaries() noexcept;

// What the handlers do before the process ends: no temporary is made any more, those being made
// are waited for (two seconds at most), and every registered one is removed.
void EndWritesAndRemoveTemporaries() noexcept;

// The host's side, one source file a host: removes a file (from a signal handler on POSIX) and
// pauses the calling thread for about a millisecond.
void RemoveTemporaryFile(const char* path) noexcept;
void PauseOneMillisecond() noexcept;

}  // namespace rh
