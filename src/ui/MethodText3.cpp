#include "ui/MethodText.h"

namespace rh::ui {

// Block placement and the block discharge equation.
MethodText3::MethodText3(QWidget* owner) : MethodScreen(owner, "MethodText3", 7425, 7290) {
  AddLabel("Label1", QString::fromLatin1(kHeadingText), {240, 240, 6135, 255}, kHeading);
  AddLabel("Label2",
           QStringLiteral(
               "Rainfall is computed at multiples of time of concentration. The rainfall at "
               "block N = 1,(1Tc), is centered at 4 hours, the rainfall at block N = 2, (2Tc), "
               "is centered at 4 hours - 1Tc, the rainfall at block N = 3, (3Tc), is centered at "
               "4 hours - 2Tc, and the rainfall at block N = 4, (4Tc), is centered at 4 hours + "
               "1Tc. The sequence continues alternating two blocks to the left and one block to "
               "the right. (See Figure 6-2 of the Hydrology Manual)"),
           {240, 600, 6855, 1095});
  AddNextButton({3240, 6720, 855, 375});
  AddLabel("Label7", QStringLiteral("n = Number of Hydrograph Ordinates"), {1800, 4320, 4335, 255},
           kSmall);
  AddLabel("Label9", QStringLiteral("Tcn = Time of Concentration at Ordinate n ( minutes )"),
           {960, 4800, 5535, 255}, kSmall);
  AddLabel("Label10", QStringLiteral("C = Rational Method Runoff Coefficient"),
           {1680, 5760, 4095, 255}, kSmall);
  AddLabel("Label11",
           QStringLiteral("ITcn = Rainfall Intensity at Time of Concentration Tcn (inches/hour)"),
           {240, 5280, 6855, 255}, kSmall);
  AddLabel("Label3", QStringLiteral("Qn=((ITcn)(Tcn)-(ITc(n-1))(Tc(n-1)))CA/Tc"),
           {600, 3120, 6135, 375}, kEquation);
  AddLabel("Label4",
           QStringLiteral("In order to determine peak discharge of the hydrograph at any given "
                          "multiple of the time of concentration the following equation is used:"),
           {240, 1920, 6855, 495});
  AddLabel("Label5", QStringLiteral("Qn = CIA"), {2880, 2640, 1455, 375}, kEquation);
  AddLabel("Label6", QStringLiteral("Qn = Peak Discharge at Tcn (cubic feet per second)"),
           {960, 3840, 5535, 255}, kSmall);
  AddLabel("Label8", QStringLiteral("A = Area of the watershed (acres)"), {2040, 6240, 3615, 255},
           kSmall);
}

}  // namespace rh::ui
