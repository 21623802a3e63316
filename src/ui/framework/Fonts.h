// The faces the screens are designed with, mapped to installed faces of the same kind.
#pragma once

#include <QFont>
#include <QString>

namespace rh::ui {

// A font as the screens name it: face, size in points and weight.
struct FontChoice {
  const char* face;
  double points;
  bool bold;
};

// The screens' default font: the ordinary dialog font, regular weight.
inline constexpr FontChoice kDefaultFont{"MS Sans Serif", 8.25, false};

// The installed face used for a design face: Times New Roman -> Liberation Serif, MS Sans Serif
// -> Liberation Sans, Courier -> Liberation Mono; any other name is used as given.
QString HostFace(const QString& designFace);

// The font for `choice`, with a style hint (serif, sans-serif or fixed pitch) so that the nearest
// face of the same kind is chosen when the mapped face is missing.
QFont MakeFont(const FontChoice& choice);

}  // namespace rh::ui
