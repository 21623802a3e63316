// The devices module: the printer, PDF documents and pictures through Qt, loaded by the companion
// only when a run first needs one, so that plain listings never load a graphics library.
#include <QtGlobal>

#include "platform/qt/QtOutputDevices.h"

extern "C" Q_DECL_EXPORT rh::OutputDevices* rh_make_output_devices() {
  return new rh::QtOutputDevices();
}
