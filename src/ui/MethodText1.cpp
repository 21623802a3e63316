#include "ui/MethodText.h"

namespace rh::ui {

// The intensity-duration equation: Label4 is the exponent of D, Label5 the subscript of P, and
// Label8 the subscript of P in the legend line Label7.
MethodText1::MethodText1(QWidget* owner) : MethodScreen(owner, "MethodText1", 7425, 5265) {
  AddLabel("Label1", QString::fromLatin1(kHeadingText), {240, 240, 6135, 255}, kHeading);
  AddLabel(
      "Label2",
      QStringLiteral("The Rational Method can be used to develop a hydrograph.  The design storm "
                     "pattern is based on the County of San Diego Intensity-Duration Design Chart "
                     "(Revised 1/85).  The chart uses the following equation to relate the "
                     "intensity(I) of the storm to time of concentration(Tc):"),
      {240, 600, 6855, 615});
  AddNextButton({3240, 4680, 855, 375});
  AddLabel("Label3", QStringLiteral("I  =  7.44   P   D"), {2160, 1800, 2415, 375}, kEquation);
  AddLabel("Label4", QStringLiteral("-.645"), {4200, 1560, 615, 255}, kLegend);
  AddLabel("Label5", QStringLiteral("6"), {3720, 2040, 255, 255}, kSmall);
  AddLabel("Label6", QStringLiteral("I = Intensity ( inches / hour )"), {1920, 2640, 3615, 255},
           kLegend);
  AddLabel("Label7", QStringLiteral("P = 6 Hour Precipitation ( inches )"), {1680, 3240, 4335, 375},
           kLegend);
  AddLabel("Label8", QStringLiteral("6"), {1800, 3480, 255, 255}, kSmall);
  AddLabel("Label9", QStringLiteral("D = Duration ( minutes )"), {2160, 3960, 3015, 375}, kLegend);
}

}  // namespace rh::ui
