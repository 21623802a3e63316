#include "ui/framework/Fonts.h"

namespace rh::ui {

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

QFont MakeFont(const FontChoice& choice) {
  const QString design = QString::fromLatin1(choice.face);
  QFont font(HostFace(design));
  if (const FaceMapping* face = Find(design))
    font.setStyleHint(face->hint);
  font.setPointSizeF(choice.points);
  font.setWeight(choice.bold ? QFont::Bold : QFont::Normal);
  return font;
}

}  // namespace rh::ui
