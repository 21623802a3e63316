#include "platform/qt/Pictures.h"

#include <QFileInfo>
#include <QImageReader>

#include "core/Faults.h"
#include "core/ShownText.h"

namespace rh::qt {

QPixmap LoadPicture(const std::string& path) {
  const QString file = QString::fromStdString(path);
  const QFileInfo info(file);
  const std::string where = messages::kPictureWhereText + ShownText(info.fileName().toStdString()) +
                            " in " + ShownText(info.absolutePath().toStdString());
  if (!info.exists())
    throw FileFault(messages::kCannotFindText + where + ".");
  QImageReader reader(file);
  const QImage image = reader.read();
  if (image.isNull())
    throw FileFault(messages::kCannotReadText + where + ": " + reader.errorString().toStdString() +
                    ".");
  return QPixmap::fromImage(image);
}

}  // namespace rh::qt
