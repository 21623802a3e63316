// The three method explanation screens: each label's text character for character (repeated
// spaces included), its place, and the "Next" button that closes the screen.
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "QtFakes.h"
#include "app/window/Maker.h"
#include "ui/Program.h"

namespace {

struct Label {
  const char* name;
  const char* text;
  rh::ui::TwipRect where;
};

struct Screen {
  int number;
  const char* form;
  double width, height;
  rh::ui::TwipRect next;
  std::vector<Label> labels;
};

const char* const kHeading = "RATIONAL METHOD DESIGN STORM HYDROGRAPH METHOD";

const std::vector<Screen>& Screens() {
  static const std::vector<Screen> screens = {
      {1,
       "MethodText1",
       7425,
       5265,
       {3240, 4680, 855, 375},
       {{"Label1", kHeading, {240, 240, 6135, 255}},
        {"Label2",
         "The Rational Method can be used to develop a hydrograph.  The design storm pattern is "
         "based on the County of San Diego Intensity-Duration Design Chart (Revised 1/85).  The "
         "chart uses the following equation to relate the intensity(I) of the storm to time of "
         "concentration(Tc):",
         {240, 600, 6855, 615}},
        {"Label3", "I  =  7.44   P   D", {2160, 1800, 2415, 375}},
        {"Label4", "-.645", {4200, 1560, 615, 255}},
        {"Label5", "6", {3720, 2040, 255, 255}},
        {"Label6", "I = Intensity ( inches / hour )", {1920, 2640, 3615, 255}},
        {"Label7", "P = 6 Hour Precipitation ( inches )", {1680, 3240, 4335, 375}},
        {"Label8", "6", {1800, 3480, 255, 255}},
        {"Label9", "D = Duration ( minutes )", {2160, 3960, 3015, 375}}}},
      {2,
       "MethodText2",
       7425,
       5010,
       {3240, 4440, 855, 375},
       {{"Label1", kHeading, {240, 240, 6135, 255}},
        {"Label2",
         "The Intensity at any given multiple of the time of concentration can be calculated by "
         "the following equation:",
         {240, 600, 7095, 495}},
        {"Label3", "In=((ITcn)(Tcn)-(ITc(n-1))(Tc(n-1)))/Tc", {960, 1440, 5535, 375}},
        {"Label7", "n = Number of Hydrograph Ordinates", {1800, 2280, 3975, 255}},
        {"Label9",
         "Tcn = Time of Concentration at Ordinate n ( minutes )",
         {1080, 2760, 5535, 255}},
        {"Label10",
         "In = Rainfall Intensity at Hydrograph Ordinate n (inches/hour)",
         {600, 3240, 6375, 255}},
        {"Label11",
         "ITcn = Rainfall Intensity at Time of Concentration Tcn (inches/hour)",
         {240, 3720, 6855, 375}}}},
      {3,
       "MethodText3",
       7425,
       7290,
       {3240, 6720, 855, 375},
       {{"Label1", kHeading, {240, 240, 6135, 255}},
        {"Label2",
         "Rainfall is computed at multiples of time of concentration. The rainfall at block N = "
         "1,(1Tc), is centered at 4 hours, the rainfall at block N = 2, (2Tc), is centered at 4 "
         "hours - 1Tc, the rainfall at block N = 3, (3Tc), is centered at 4 hours - 2Tc, and the "
         "rainfall at block N = 4, (4Tc), is centered at 4 hours + 1Tc. The sequence continues "
         "alternating two blocks to the left and one block to the right. (See Figure 6-2 of the "
         "Hydrology Manual)",
         {240, 600, 6855, 1095}},
        {"Label7", "n = Number of Hydrograph Ordinates", {1800, 4320, 4335, 255}},
        {"Label9", "Tcn = Time of Concentration at Ordinate n ( minutes )", {960, 4800, 5535, 255}},
        {"Label10", "C = Rational Method Runoff Coefficient", {1680, 5760, 4095, 255}},
        {"Label11",
         "ITcn = Rainfall Intensity at Time of Concentration Tcn (inches/hour)",
         {240, 5280, 6855, 255}},
        {"Label3", "Qn=((ITcn)(Tcn)-(ITc(n-1))(Tc(n-1)))CA/Tc", {600, 3120, 6135, 375}},
        {"Label4",
         "In order to determine peak discharge of the hydrograph at any given multiple of the "
         "time of concentration the following equation is used:",
         {240, 1920, 6855, 495}},
        {"Label5", "Qn = CIA", {2880, 2640, 1455, 375}},
        {"Label6", "Qn = Peak Discharge at Tcn (cubic feet per second)", {960, 3840, 5535, 255}},
        {"Label8", "A = Area of the watershed (acres)", {2040, 6240, 3615, 255}}}},
  };
  return screens;
}

}  // namespace

class MethodTextTest : public QObject {
  Q_OBJECT

 private slots:
  void labelsMatchTheTablesAndNextCloses() {
    for (const Screen& table : Screens()) {
      QPointer<QWidget> screen;
      rh::test::WhenModal(QString::fromLatin1(table.form), [&](QWidget* shown) {
        screen = shown;
        QCOMPARE(shown->windowTitle(), QString::fromUtf8(rh::maker::kRightsNotice));
        QCOMPARE(shown->size(), rh::ui::ToPixels({0, 0, table.width, table.height}).size());
        QCOMPARE(shown->findChildren<QLabel*>().size(),
                 static_cast<qsizetype>(table.labels.size()));
        for (const Label& l : table.labels) {
          auto* label = shown->findChild<QLabel*>(QString::fromLatin1(l.name));
          QVERIFY2(label != nullptr, l.name);
          QCOMPARE(label->text(), QString::fromLatin1(l.text));
          QCOMPARE(label->pos(), rh::ui::ToPixels(l.where).topLeft());
        }
        auto* next = shown->findChild<QPushButton*>(QStringLiteral("Command1"));
        QCOMPARE(next->text(), QStringLiteral("Next"));
        QCOMPARE(next->geometry(), rh::ui::ToPixels(table.next));
        QTest::mouseClick(next, Qt::LeftButton);
      });
      rh::ui::ShowModal(rh::ui::MakeMethodText(table.number, nullptr));
      QVERIFY2(screen.isNull(), table.form);  // "Next" unloaded and discarded it
    }
  }

  void raisedAndLoweredLabelsSitAboveAndBelowTheEquationLine() {
    QPointer<QWidget> seen;
    rh::test::WhenModal(QStringLiteral("MethodText1"), [&](QWidget* shown) {
      const auto rect = [shown](const char* name) {
        return shown->findChild<QLabel*>(QString::fromLatin1(name))->geometry();
      };
      QVERIFY(rect("Label4").top() < rect("Label3").top());          // exponent of D above
      QVERIFY(rect("Label4").left() > rect("Label3").center().x());  // and to the right
      QVERIFY(rect("Label5").top() > rect("Label3").top());          // subscript of P below
      QVERIFY(rect("Label8").top() > rect("Label7").top());          // legend's subscript
      shown->close();
    });
    rh::ui::ShowModal(rh::ui::MakeMethodText(1, nullptr));
  }
};

QTEST_MAIN(MethodTextTest)
#include "MethodTextTest.moc"
