// The Qt GUI application the command line needs for drawing (plots), created on first use.
#pragma once

namespace rh::cli {

// Creates the QGuiApplication once, on the offscreen platform when there is no display (neither
// DISPLAY nor WAYLAND_DISPLAY set and no QT_QPA_PLATFORM chosen). It lives until the program
// ends.
void EnsureGuiApplication();

}  // namespace rh::cli
