#include "ui/MethodText.h"

namespace rh::ui {

// The intensity of one block from the intensity-duration equation.
MethodText2::MethodText2(QWidget* owner) : MethodScreen(owner, "MethodText2", 7425, 5010) {
  AddLabel("Label1", QString::fromLatin1(kHeadingText), {240, 240, 6135, 255}, kHeading);
  AddLabel("Label2",
           QStringLiteral("The Intensity at any given multiple of the time of concentration can "
                          "be calculated by the following equation:"),
           {240, 600, 7095, 495});
  AddNextButton({3240, 4440, 855, 375});
  AddLabel("Label3", QStringLiteral("In=((ITcn)(Tcn)-(ITc(n-1))(Tc(n-1)))/Tc"),
           {960, 1440, 5535, 375}, kEquation);
  AddLabel("Label7", QStringLiteral("n = Number of Hydrograph Ordinates"), {1800, 2280, 3975, 255},
           kSmall);
  AddLabel("Label9", QStringLiteral("Tcn = Time of Concentration at Ordinate n ( minutes )"),
           {1080, 2760, 5535, 255}, kSmall);
  AddLabel("Label10",
           QStringLiteral("In = Rainfall Intensity at Hydrograph Ordinate n (inches/hour)"),
           {600, 3240, 6375, 255}, kSmall);
  AddLabel("Label11",
           QStringLiteral("ITcn = Rainfall Intensity at Time of Concentration Tcn (inches/hour)"),
           {240, 3720, 6855, 375}, kSmall);
}

}  // namespace rh::ui
