// The interrupt cleanup's Windows side: a console control handler. Windows runs it on a thread of
// its own while the others go on, so it may call anything; the process ends in it. A process
// ended from outside with TerminateProcess (Task Manager's End task, taskkill /F) runs no
// handler, and its temporaries stay.
#include <windows.h>

#include "platform/WriteCleanup.h"

namespace rh {

namespace {

BOOL WINAPI OnConsoleEvent(DWORD event) {
  UINT status = 0;
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      status = 130;  // as SIGINT ends the POSIX companion
      break;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      status = 143;  // as SIGTERM
      break;
    default:
      return FALSE;
  }
  EndWritesAndRemoveTemporaries();
  // Ends at once, as _exit does on POSIX: ExitProcess would first stop the other threads and then
  // run the libraries' detach code, which can wait forever for a lock a stopped thread held.
  ::TerminateProcess(::GetCurrentProcess(), status);
  return TRUE;
}

}  // namespace

void RemoveTemporaryFile(const char* path) noexcept {
  // The temporaries are opened with FILE_SHARE_DELETE, so one still being written goes too (when
  // its handle closes, at the latest as the process ends).
  wchar_t wide[kMaxTemporaryPath];
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, path, -1, wide, kMaxTemporaryPath);
  if (length > 0)
    ::DeleteFileW(wide);
}

void PauseOneMillisecond() noexcept {
  ::Sleep(1);
}

// A process started with Ctrl+C switched off (CREATE_NEW_PROCESS_GROUP) gets no Ctrl+C events,
// so, as on POSIX, what the process was started with ignoring stays ignored.
void InstallWriteSignalCleanup() {
  ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

}  // namespace rh
