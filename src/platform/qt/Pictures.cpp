#include "platform/qt/Pictures.h"

#include <QFileInfo>
#include <QImageReader>

#include "core/Faults.h"
#include "core/ShownText.h"

namespace rh::qt {

QPixmap LoadPicture(const std::string& path) {
  const QString file = QString::fromStdString(path);
  const QFileInfo info(file);
  const std::string where = "the picture " + ShownText(info.fileName().toStdString()) + " in " +
                            ShownText(info.absolutePath().toStdString());
  if (!info.exists())
    throw FileFault("Cannot find " + where + ".");
  QImageReader reader(file);
  const QImage image = reader.read();
  if (image.isNull())
    throw FileFault("Cannot read " + where + ": " + reader.errorString().toStdString() + ".");
  return QPixmap::fromImage(image);
}

}  // namespace rh::qt
