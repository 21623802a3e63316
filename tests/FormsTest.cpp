// Forms: loading, modal and modeless showing, unloading, close box, fonts and pictures.
#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "QtFakes.h"
#include "core/Faults.h"
#include "platform/qt/Pictures.h"
#include "ui/framework/Fonts.h"
#include "ui/framework/Forms.h"
#include "ui/framework/Prompts.h"

namespace {

// A form that counts its loads and can be told to fail loading.
class CountingForm : public rh::ui::Form {
 public:
  explicit CountingForm(QWidget* owner = nullptr)
      : Form(owner, "CountingForm", 3000, 2000, QStringLiteral("Counting")) {
    auto* ok = AddButton("Command1", QStringLiteral("OK"), {120, 120, 855, 375});
    connect(ok, &QPushButton::clicked, this, [this] { Unload(); });
  }
  void OnLoad() override {
    ++loads;
    if (failLoad)
      throw rh::FileFault("cannot load");
  }
  static inline int loads = 0;
  static inline bool failLoad = false;
};

}  // namespace

class FormsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    CountingForm::loads = 0;
    CountingForm::failLoad = false;
  }

  void modalShowReturnsOnlyAfterUnloadAndEachShowLoadsAfresh() {
    for (int round = 1; round <= 2; ++round) {
      QPointer<QWidget> seen;
      bool wasModal = false;
      rh::test::WhenModal(QStringLiteral("CountingForm"), [&](QWidget* form) {
        seen = form;
        wasModal = form->windowModality() == Qt::ApplicationModal && form->isVisible();
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
      });
      rh::ui::ShowModal(new CountingForm);
      QVERIFY(wasModal);
      QCOMPARE(CountingForm::loads, round);
      QVERIFY2(seen.isNull(), "an unloaded form is discarded");
    }
  }

  void closeBoxUnloadsTheModalForm() {
    rh::test::WhenModal(QStringLiteral("CountingForm"), [](QWidget* form) { form->close(); });
    rh::ui::ShowModal(new CountingForm);
    QCOMPARE(CountingForm::loads, 1);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
  }

  void modalFormBlocksItsOwner() {
    auto* owner = new CountingForm;
    rh::ui::ShowModeless(owner);
    bool ownerBlocked = false;
    rh::test::WhenModal(QStringLiteral("Child"), [&](QWidget* child) {
      ownerBlocked = QApplication::activeModalWidget() == child && child != owner;
      child->close();
    });
    auto* child = new CountingForm(owner);
    child->setObjectName(QStringLiteral("Child"));
    rh::ui::ShowModal(child);
    QVERIFY(ownerBlocked);
    QVERIFY(owner->isVisible());
    delete owner;
  }

  void faultInLoadDiscardsTheFormAndReachesTheCaller() {
    CountingForm::failLoad = true;
    QPointer<CountingForm> modal = new CountingForm;
    QVERIFY_THROWS_EXCEPTION(rh::FileFault, rh::ui::ShowModal(modal));
    QVERIFY(modal.isNull());
    QPointer<CountingForm> modeless = new CountingForm;
    QVERIFY_THROWS_EXCEPTION(rh::FileFault, rh::ui::ShowModeless(modeless));
    QVERIFY(modeless.isNull());
    QVERIFY(QApplication::topLevelWidgets().isEmpty() ||
            std::none_of(QApplication::topLevelWidgets().begin(),
                         QApplication::topLevelWidgets().end(),
                         [](QWidget* w) { return w->isVisible(); }));
  }

  void centringPlacesTheOuterWindowByTheFormula() {
    auto* form = new CountingForm;
    form->CentreOnScreen();
    const QRect screen = form->screen()->geometry();
    const double dpiX = rh::ui::ScreenDpiX();
    const double dpiY = rh::ui::ScreenDpiY();
    const rh::ui::TwipPoint at = rh::ui::CentredPosition(
        rh::ui::PixelsToTwips(screen.width(), dpiX), rh::ui::PixelsToTwips(screen.height(), dpiY),
        rh::ui::PixelsToTwips(form->frameGeometry().width(), dpiX),
        rh::ui::PixelsToTwips(form->frameGeometry().height(), dpiY));
    QCOMPARE(form->frameGeometry().topLeft(),
             QPoint(rh::ui::TwipsToPixels(at.left, dpiX), rh::ui::TwipsToPixels(at.top, dpiY)));
    QCOMPARE(form->size(), QSize(200, 133));  // 3000 x 2000 twips at 96 dpi
    delete form;
  }

  void fontsUseInstalledFacesAtTheStatedSizeAndWeight_data() {
    QTest::addColumn<QString>("design");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("family");
    QTest::newRow("heading serif") << "Times New Roman" << 20.25 << true << "Liberation Serif";
    QTest::newRow("caption sans") << "MS Sans Serif" << 8.25 << true << "Liberation Sans";
    QTest::newRow("licence fixed pitch") << "Courier" << 9.75 << false << "Liberation Mono";
  }
  void fontsUseInstalledFacesAtTheStatedSizeAndWeight() {
    QFETCH(QString, design);
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(QString, family);
    const QByteArray face = design.toLatin1();
    const QFont font = rh::ui::MakeFont({face.constData(), points, bold});
    const QFontInfo info(font);
    QCOMPARE(info.family(), family);
    QCOMPARE(font.pointSizeF(), points);
    QCOMPARE(info.bold(), bold);
  }

  // A message quoting a long path or entry wraps: the box never grows wider than the screen.
  void messageBoxesStayInsideTheScreen() {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const std::string path = "/runs/" + std::string(2000, 'x') + ".hc1";
    int width = 0;
    QTimer::singleShot(0, [&width] {
      if (QWidget* box = QApplication::activeModalWidget()) {
        width = box->frameGeometry().width();
        box->close();
      }
    });
    rh::ui::QtPrompts().Warning(nullptr, "ERROR", "Cannot write " + path + ": it is a folder.");
    QVERIFY(width > 0);
    QVERIFY2(width <= screen.width(), qPrintable(QString::number(width)));
  }

  void picturesLoadOrRaiseAFaultNamingFileAndFolder() {
    QTemporaryDir dir;
    const QString logo = dir.filePath(QStringLiteral("ORV.jpg"));
    QVERIFY(QFile::copy(QStringLiteral(RH_RESOURCES_DIR "/ORV.jpg"), logo));
    QCOMPARE(rh::qt::LoadPicture(logo.toStdString()).size(), QSize(65, 65));

    const QString junk = dir.filePath(QStringLiteral("junk.jpg"));
    QFile file(junk);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    for (const QString& bad : {dir.filePath(QStringLiteral("missing.jpg")), junk}) {
      try {
        rh::qt::LoadPicture(bad.toStdString());
        QFAIL("expected a file fault");
      } catch (const rh::FileFault& fault) {
        const QString text = QString::fromStdString(fault.what());
        QVERIFY2(text.contains(QFileInfo(bad).fileName()), qPrintable(text));
        QVERIFY2(text.contains(dir.path()), qPrintable(text));
      }
    }
  }
};

QTEST_MAIN(FormsTest)
#include "FormsTest.moc"
