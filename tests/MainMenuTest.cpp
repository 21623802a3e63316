// The main screen as the user first sees it: its controls, tab order and HEC-1 path entry.
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "QtFakes.h"
#include "app/window/Maker.h"
#include "ui/MainMenu.h"

namespace {

struct Control {
  const char* name;
  const char* kind;
  QString caption;  // text or caption as first shown (text boxes: after loading)
  rh::ui::TwipRect where;
  rh::ui::FontChoice font;
};

const rh::ui::FontChoice kDefault = rh::ui::kDefaultFont;

// The main screen, in tab order. Entry boxes are shown after loading, so they are empty.
const std::vector<Control>& MainScreenControls() {
  static const std::vector<Control> controls = {
      {"Label1",
       "QLabel",
       "Orvane Engineering Company",
       {1320, 240, 5055, 495},
       {"Times New Roman", 20.25, true}},
      {"Text2", "QLineEdit", "", {5760, 2400, 855, 285}, kDefault},
      {"Text3", "QLineEdit", "", {4440, 2760, 1215, 285}, kDefault},
      {"Text4", "QLineEdit", "", {4440, 3120, 1215, 285}, kDefault},
      {"Text5", "QLineEdit", "", {4440, 3480, 1215, 285}, kDefault},
      {"Text7", "QLineEdit", "", {4440, 3840, 1215, 285}, kDefault},
      {"Text1", "QLineEdit", "Text1", {1200, 4560, 5295, 315}, kDefault},
      {"Command1", "QPushButton", "Generate", {3000, 5040, 855, 375}, kDefault},
      {"Command3", "QPushButton", "Exit", {4560, 5040, 855, 375}, kDefault},
      {"Label2",
       "QLabel",
       QString::fromUtf8(rh::maker::kRightsNotice),
       {1320, 720, 4455, 255},
       {"Times New Roman", 9, false}},
      {"Picture1", "QLabel", "", {240, 240, 975, 975}, kDefault},
      {"Label6",
       "QLabel",
       QString::fromStdString(rh::maker::RevisionNote()),
       {7080, 5880, 1335, 255},
       {"Times New Roman", 8.25, false}},
      {"Label3",
       "QLabel",
       "Create HEC1 Input File",
       {1200, 4320, 3375, 255},
       {"MS Sans Serif", 8.25, true}},
      {"Label7",
       "QLabel",
       "Generate Rational Method Hydrograph",
       {2280, 1440, 4815, 375},
       {"MS Sans Serif", 12, true}},
      {"Command2", "QPushButton", "Browse", {6840, 4560, 735, 255}, kDefault},
      {"Label4",
       "QLabel",
       "Rational Method Time of Concentration (In Minutes)",
       {1200, 2400, 4455, 255},
       {"MS Sans Serif", 8.25, true}},
      {"Label5",
       "QLabel",
       "6 Hour Rainfall (In Inches)",
       {1200, 2760, 2415, 255},
       {"MS Sans Serif", 8.25, true}},
      {"Label8",
       "QLabel",
       "Basin Area (In Acres)",
       {1200, 3120, 2055, 255},
       {"MS Sans Serif", 8.25, true}},
      {"Label9",
       "QLabel",
       "Rational Method Runoff Coefficient",
       {1200, 3480, 3135, 255},
       {"MS Sans Serif", 8.25, true}},
      {"Label10",
       "QLabel",
       "Peak Discharge (In CFS)",
       {1200, 3840, 2415, 255},
       {"MS Sans Serif", 8.25, true}},
      {"Label12",
       "QLabel",
       "Required Entry Fields",
       {1200, 2040, 2535, 255},
       {"MS Sans Serif", 9.75, true}},
      {"Command4",
       "QPushButton",
       rh::maker::kWebAddress,
       {1920, 5640, 2175, 255},
       {"Times New Roman", 8.25, false}},
      {"Label11", "QLabel", rh::maker::kContactLine, {1320, 960, 5415, 255}, kDefault},
      {"Command5", "QPushButton", "Read Software License", {4320, 5640, 1935, 255}, kDefault},
  };
  return controls;
}

QString Caption(QWidget* w) {
  if (auto* label = qobject_cast<QLabel*>(w))
    return label->text();
  if (auto* box = qobject_cast<QLineEdit*>(w))
    return box->text();
  if (auto* button = qobject_cast<QPushButton*>(w))
    return button->text();
  return {};
}

// Names of the controls the Tab key visits, starting from `first`.
QStringList TabOrder(QWidget* first) {
  QStringList names;
  QWidget* w = first;
  do {
    if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) != 0)
      names << w->objectName();
    w = w->nextInFocusChain();
  } while (w != first && names.size() < 50);
  return names;
}

}  // namespace

class MainMenuTest : public QObject {
  Q_OBJECT

  std::unique_ptr<rh::test::UiSession> session_;
  QPointer<rh::ui::MainMenu> screen_;

  rh::ui::MainMenu* Open(bool hec1) {
    session_ = std::make_unique<rh::test::UiSession>();
    session_->state.Hec1Enabled = hec1 ? rh::kTrue : rh::kFalse;
    session_->state.LogoPath = RH_RESOURCES_DIR "/ORV.jpg";
    session_->state.ReportPath = "/runs/basin-7.hc1";
    screen_ = new rh::ui::MainMenu(session_->context);
    rh::ui::ShowModeless(screen_);
    return screen_;
  }

 private slots:
  void cleanup() {
    delete screen_.data();
    session_.reset();
  }

  void controlsMatchTheLayoutTable() {
    rh::ui::MainMenu* screen = Open(true);
    QCOMPARE(screen->windowTitle(), QStringLiteral("Rational Method Hydrograph"));
    QCOMPARE(screen->size(), rh::ui::ToPixels({0, 0, 8415, 6105}).size());
    QVERIFY(screen->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(screen->windowFlags() & Qt::WindowMaximizeButtonHint);
    for (const Control& c : MainScreenControls()) {
      auto* w = screen->findChild<QWidget*>(QString::fromLatin1(c.name));
      QVERIFY2(w != nullptr, c.name);
      QCOMPARE(w->metaObject()->className(), c.kind);
      if (qstrcmp(c.name, "Text1") != 0)
        QCOMPARE(Caption(w), c.caption);
      const QRect table = rh::ui::ToPixels(c.where);
      QCOMPARE(w->geometry().topLeft(), table.topLeft());
      QCOMPARE(w->height(), table.height());
      if (auto* label = qobject_cast<QLabel*>(w); label != nullptr && !label->wordWrap()) {
        // A one-line label is widened only as far as its caption needs.
        const int needed = QFontMetrics(label->font()).horizontalAdvance(label->text());
        QCOMPARE(w->width(), std::max(table.width(), needed));
      } else {
        QCOMPARE(w->width(), table.width());
      }
      if (qstrcmp(c.name, "Picture1") != 0) {
        const QFont expected = rh::ui::MakeFont(c.font);
        QCOMPARE(w->font().family(), expected.family());
        QCOMPARE(w->font().pointSizeF(), expected.pointSizeF());
        QCOMPARE(w->font().bold(), expected.bold());
      }
    }
    auto* picture = screen->findChild<QLabel*>(QStringLiteral("Picture1"));
    QVERIFY(!picture->pixmap().isNull());
  }

  void hec1SwitchDecidesThePathEntryAndTheTabOrder_data() {
    QTest::addColumn<bool>("hec1");
    QTest::addColumn<QString>("pathText");
    QTest::addColumn<QStringList>("tabOrder");
    QTest::newRow("switch off: path entry hidden and unusable")
        << false << "Text1" << QStringList{"Text2",    "Text3",    "Text4",    "Text5",   "Text7",
                                           "Command1", "Command3", "Command4", "Command5"};
    QTest::newRow("switch on: path from the settings file")
        << true << "/runs/basin-7.hc1"
        << QStringList{"Text2",    "Text3",    "Text4",    "Text5",    "Text7",   "Text1",
                       "Command1", "Command3", "Command2", "Command4", "Command5"};
  }
  void hec1SwitchDecidesThePathEntryAndTheTabOrder() {
    QFETCH(bool, hec1);
    QFETCH(QString, pathText);
    QFETCH(QStringList, tabOrder);
    rh::ui::MainMenu* screen = Open(hec1);
    for (const char* name : {"Text1", "Label3", "Command2"}) {
      auto* w = screen->findChild<QWidget*>(QString::fromLatin1(name));
      QCOMPARE(w->isVisible(), hec1);
      QCOMPARE(w->isEnabled(), hec1);
    }
    QCOMPARE(screen->findChild<QLineEdit*>(QStringLiteral("Text1"))->text(), pathText);
    QCOMPARE(TabOrder(screen->findChild<QWidget*>(QStringLiteral("Text2"))), tabOrder);
  }

  void exitEndsTheProgram() {
    rh::ui::MainMenu* screen = Open(false);
    QTest::mouseClick(screen->findChild<QPushButton*>(QStringLiteral("Command3")), Qt::LeftButton);
    QCOMPARE(session_->ends, 1);
  }
};

QTEST_MAIN(MainMenuTest)
#include "MainMenuTest.moc"
