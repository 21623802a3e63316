// The devices module: the printer, PDF documents and pictures through Qt, loaded by the companion
// only when a run first needs one, so that plain listings never load a graphics library. What the
// devices raise stays on this side of the edge, in the companion's slot (see ModuleEdge.h).
#include <QtGlobal>

#include "platform/ModuleEdge.h"
#include "platform/qt/QtOutputDevices.h"

extern "C" Q_DECL_EXPORT rh::OutputDevices* rh_make_output_devices(rh::FaultSlot* slot) {
  const rh::CatchInto guard{slot};
  return guard([&]() -> rh::OutputDevices* {
    return new rh::DevicesThrough<rh::CatchInto>(std::make_unique<rh::QtOutputDevices>(), guard);
  });
}
