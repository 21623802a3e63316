#include "platform/qt/Fonts.h"

namespace rh::qt {

namespace {

struct FaceMapping {
  const char* design;
  const char* host;
  QFont::StyleHint hint;
};

constexpr FaceMapping kFaces[] = {
    {"Times New Roman", "Liberation Serif", QFont::Serif},
    {"MS Sans Serif", "Liberation Sans", QFont::SansSerif},
    {"Courier", "Liberation Mono", QFont::TypeWriter},
};

const FaceMapping* Find(const QString& designFace) {
  for (const auto& face : kFaces) {
    if (designFace.compare(QLatin1String(face.design), Qt::CaseInsensitive) == 0)
      return &face;
  }
  return nullptr;
}

}  // namespace

QString HostFace(const QString& designFace) {
  const FaceMapping* face = Find(designFace);
  return face != nullptr ? QString::fromLatin1(face->host) : designFace;
}

QFont MakeFont(const FontSpec& spec) {
  const QString design = QString::fromLatin1(spec.face);
  QFont font(HostFace(design));
  if (const FaceMapping* face = Find(design))
    font.setStyleHint(face->hint);
  font.setPointSizeF(spec.points);
  font.setWeight(spec.bold ? QFont::Bold : QFont::Normal);
  return font;
}

}  // namespace rh::qt
