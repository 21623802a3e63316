// What the screens share: the program state and the platform services they reach it with.
#pragma once

#include <functional>

#include "app/window/Init.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/OutputDevices.h"
#include "ui/framework/Prompts.h"

namespace rh::ui {

struct UiContext {
  Init& state;
  FileSystem& files;
  Clock& clock;
  Prompts& prompts;
  OutputDevices& devices;  // the printer, PDF documents and pictures
  // Ends the program at once ("Exit").
  std::function<void()> endProgram;
};

}  // namespace rh::ui
