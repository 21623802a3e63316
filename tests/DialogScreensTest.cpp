// The file selection dialog, the licence viewer and the web page screen, opened from the main
// screen the way a user opens them.
#include <QComboBox>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "QtFakes.h"
#include "app/window/Maker.h"
#include "core/Faults.h"
#include "platform/Directories.h"
#include "platform/qt/Browser.h"
#include "ui/DirFileSelect.h"
#include "ui/LicenseDisplay.h"
#include "ui/MainMenu.h"
#include "ui/WebPage.h"

namespace {

// A browser that records the addresses it was asked to open; `failing` makes it refuse.
struct BrowserLog {
  QStringList navigated;
  bool absent = false;   // no browser component: making one fails
  bool none = false;     // no browser to embed here: the factory gives none
  bool failing = false;  // navigation fails
};

// The page area as an embedded engine has it: a click gives it the focus, and it takes every key
// typed into it.
class PageArea : public QWidget {
 public:
  explicit PageArea(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::StrongFocus); }

 protected:
  void keyPressEvent(QKeyEvent* event) override { event->accept(); }
};

class FakeBrowser : public rh::qt::Browser {
 public:
  FakeBrowser(QWidget* parent, BrowserLog& log) : widget_(new PageArea(parent)), log_(log) {}
  QWidget* Widget() override { return widget_; }
  void Navigate(const std::string& address) override {
    if (log_.failing)
      throw std::runtime_error("no network");
    log_.navigated << QString::fromStdString(address);
  }

 private:
  QWidget* widget_;
  BrowserLog& log_;
};

QStringList Items(QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i)
    items << list->item(i)->text();
  return items;
}

QStringList Items(QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i)
    items << box->itemText(i);
  return items;
}

template <typename T>
T* Child(QWidget* form, const char* name) {
  auto* w = form->findChild<T*>(QString::fromLatin1(name));
  if (w == nullptr)
    qWarning("no control %s", name);
  return w;
}

// Opens a directory line of the directory list as a user does: select it, press Enter.
void OpenDirectory(QWidget* dialog, const QString& path) {
  auto* dir1 = Child<QTreeWidget>(dialog, "Dir1");
  for (QTreeWidgetItemIterator it(dir1); *it != nullptr; ++it) {
    if ((*it)->data(0, Qt::UserRole).toString() == path) {
      dir1->setCurrentItem(*it);
      QTest::keyClick(dir1, Qt::Key_Return);
      return;
    }
  }
  qWarning("no directory line %s", qPrintable(path));
}

void ClickFile(QWidget* dialog, const QString& name) {
  auto* file1 = Child<QListWidget>(dialog, "File1");
  const auto found = file1->findItems(name, Qt::MatchExactly);
  if (found.isEmpty()) {
    qWarning("no file line %s", qPrintable(name));
    return;
  }
  QTest::mouseClick(file1->viewport(), Qt::LeftButton, {},
                    file1->visualItemRect(found.first()).center());
}

void Press(QWidget* form, const char* button) {
  QTest::mouseClick(Child<QPushButton>(form, button), Qt::LeftButton);
}

}  // namespace

// Stands in for the desktop's web browser: records the addresses it is asked to open.
class DesktopBrowser : public QObject {
  Q_OBJECT

 public:
  QStringList opened;

 public slots:
  void Open(const QUrl& url) { opened << url.toString(); }
};

class DialogScreensTest : public QObject {
  Q_OBJECT

  std::unique_ptr<rh::test::UiSession> session_;
  QPointer<rh::ui::MainMenu> main_;
  std::unique_ptr<QTemporaryDir> tree_;
  BrowserLog browser_;
  rh::qt::BrowserFactory previousBrowser_;

  QString Tree(const QString& relative = QString()) const {
    return relative.isEmpty() ? tree_->path() : tree_->path() + "/" + relative;
  }

  // The main screen with the HEC-1 path entry, the file dialog starting in the temporary tree.
  rh::ui::MainMenu* OpenMain() {
    session_ = std::make_unique<rh::test::UiSession>();
    rh::InitializeState(session_->state, true, "/opt/rh/", "/");
    session_->state.LogoPath = RH_RESOURCES_DIR "/ORV.jpg";
    session_->state.ReportPath = "/runs/basin-7.hc1";
    session_->state.SelectedPath = session_->state.ReportPath;
    rh::StdDirectories dirs;
    session_->state.LastDrive = rh::DriveOf(dirs.CurrentDirectory(), dirs.Drives());
    session_->state.LastDir = Tree().toStdString();
    main_ = new rh::ui::MainMenu(session_->context);
    rh::ui::ShowModeless(main_);
    return main_;
  }

  QLineEdit* PathBox() { return Child<QLineEdit>(main_, "Text1"); }

 private slots:
  void init() {
    tree_ = std::make_unique<QTemporaryDir>();
    QDir dir(tree_->path());
    dir.mkpath("runs/old");
    for (const char* f : {"top.hc1", "notes.txt", "runs/basin-a.hc1", "runs/basin-b.HC1"}) {
      QFile file(dir.filePath(f));
      QVERIFY(file.open(QIODevice::WriteOnly));
    }
    browser_ = BrowserLog{};
    previousBrowser_ =
        rh::qt::InstallBrowserFactory([this](QWidget* parent) -> std::unique_ptr<rh::qt::Browser> {
          if (browser_.absent)
            throw std::runtime_error("no browser component");
          if (browser_.none)
            return nullptr;
          return std::make_unique<FakeBrowser>(parent, browser_);
        });
  }
  void cleanup() {
    rh::qt::InstallBrowserFactory(previousBrowser_);
    delete main_.data();
    session_.reset();
    tree_.reset();
  }

  void fileDialogMatchesItsLayoutTable() {
    OpenMain();
    rh::ui::DirFileSelect dialog(session_->context, main_);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Select a file"));
    QCOMPARE(dialog.size(), rh::ui::ToPixels({0, 0, 6210, 5220}).size());
    QVERIFY((dialog.windowFlags() & Qt::WindowType_Mask) == Qt::Tool);
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMaximizeButtonHint));

    struct Control {
      const char* name;
      const char* kind;
      rh::ui::TwipRect where;
    };
    const Control controls[] = {
        {"text1", "QLineEdit", {120, 360, 5895, 285}},
        {"Dir1", "QTreeWidget", {120, 1200, 3135, 3240}},
        {"File1", "QListWidget", {3360, 1200, 2655, 3210}},
        {"Drive1", "QComboBox", {120, 840, 3135, 315}},
        {"Combo1", "QComboBox", {3360, 840, 1695, 315}},
        {"Command2", "QPushButton", {2040, 4680, 735, 375}},
        {"Command1", "QPushButton", {3240, 4680, 735, 375}},
        {"Label2", "QLabel", {120, 120, 1815, 255}},
    };
    for (const Control& c : controls) {
      auto* w = Child<QWidget>(&dialog, c.name);
      QVERIFY2(w != nullptr, c.name);
      QCOMPARE(w->metaObject()->className(), c.kind);
      QCOMPARE(w->geometry(), rh::ui::ToPixels(c.where));
    }
    QCOMPARE(Child<QPushButton>(&dialog, "Command2")->text(), QStringLiteral("OK"));
    QCOMPARE(Child<QPushButton>(&dialog, "Command1")->text(), QStringLiteral("Cancel"));
    auto* label = Child<QLabel>(&dialog, "Label2");
    QCOMPARE(label->text(), QStringLiteral("Selected Path \\ File"));
    QCOMPARE(label->font().family(), rh::ui::MakeFont({"Times New Roman", 9, true}).family());
    QVERIFY(label->font().bold());
    auto* text1 = Child<QLineEdit>(&dialog, "text1");
    QVERIFY(!text1->isEnabled());
    QCOMPARE(text1->palette().color(QPalette::Disabled, QPalette::Base),
             text1->palette().color(QPalette::Active, QPalette::ToolTipBase));
    QCOMPARE(Child<QComboBox>(&dialog, "Combo1")->currentText(), QStringLiteral("Combo1"));

    // Tab order among the controls that take focus.
    QStringList order;
    QWidget* w = Child<QWidget>(&dialog, "Dir1");
    for (int i = 0; i < 5; ++i, w = w->nextInFocusChain()) {
      while (w->focusPolicy() == Qt::NoFocus || w->parentWidget() != &dialog)
        w = w->nextInFocusChain();
      order << w->objectName();
    }
    QCOMPARE(order, (QStringList{"Dir1", "File1", "Drive1", "Combo1", "Command2"}));
  }

  // "Browse", a subdirectory, a pattern from the list, a click and "OK": the path box shows the
  // chosen file and the global state keeps drive, directory and path.
  void browsePicksAFileInASubdirectory() {
    OpenMain();
    QStringList firstPatterns, firstFiles, allFiles;
    QString firstPattern, readout;
    rh::test::WhenModal("DirFileSelect", [&](QWidget* dialog) {
      auto* combo1 = Child<QComboBox>(dialog, "Combo1");
      firstPatterns = Items(combo1);
      firstPattern = combo1->currentText();
      firstFiles = Items(Child<QListWidget>(dialog, "File1"));
      QTest::keyClick(combo1, Qt::Key_Down);  // picks "*.*"
      allFiles = Items(Child<QListWidget>(dialog, "File1"));
      OpenDirectory(dialog, Tree("runs"));
      ClickFile(dialog, "basin-b.HC1");
      readout = Child<QLineEdit>(dialog, "text1")->text();
      Press(dialog, "Command2");
    });
    Press(main_, "Command2");

    QCOMPARE(firstPatterns, (QStringList{"*.hc1", "*.*"}));
    QCOMPARE(firstPattern, QStringLiteral("*.hc1"));
    QCOMPARE(firstFiles, (QStringList{"top.hc1"}));
    QCOMPARE(allFiles, (QStringList{"notes.txt", "top.hc1"}));
    QCOMPARE(readout, Tree("runs/basin-b.HC1"));
    QCOMPARE(PathBox()->text(), Tree("runs/basin-b.HC1"));
    QCOMPARE(QString::fromStdString(session_->state.SelectedPath), Tree("runs/basin-b.HC1"));
    QCOMPARE(QString::fromStdString(session_->state.LastDir), Tree("runs"));
    QVERIFY(session_->prompts.shown.empty());
  }

  // A typed pattern filters the list and keeps the file clicked before it.
  void typedPatternKeepsTheClickedFile() {
    OpenMain();
    QStringList typedFiles;
    rh::test::WhenModal("DirFileSelect", [&](QWidget* dialog) {
      ClickFile(dialog, "top.hc1");
      auto* edit = Child<QComboBox>(dialog, "Combo1")->lineEdit();
      edit->selectAll();
      QTest::keyClicks(edit, "*.txt");
      typedFiles = Items(Child<QListWidget>(dialog, "File1"));
      Press(dialog, "Command2");
    });
    Press(main_, "Command2");
    QCOMPARE(typedFiles, (QStringList{"notes.txt"}));
    QCOMPARE(PathBox()->text(), Tree("top.hc1"));
  }

  // "OK" without a file after the last directory change warns and keeps the dialog open;
  // "Cancel" (or the close box) then stores nothing and the path box gets SelectedPath back.
  void okWithoutAFileWarnsAndCancelStoresNothing_data() {
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Cancel button") << false;
    QTest::newRow("close box") << true;
  }
  void okWithoutAFileWarnsAndCancelStoresNothing() {
    QFETCH(bool, closeBox);
    OpenMain();
    const rh::Init before = session_->state;
    PathBox()->setText("/typed/by/hand.hc1");
    bool stayedOpen = false;
    rh::test::WhenModal("DirFileSelect", [&](QWidget* dialog) {
      ClickFile(dialog, "top.hc1");
      OpenDirectory(dialog, Tree("runs"));
      Press(dialog, "Command2");
      stayedOpen = dialog->isVisible();
      if (closeBox)
        dialog->close();
      else
        Press(dialog, "Command1");
    });
    Press(main_, "Command2");
    QVERIFY(stayedOpen);
    QCOMPARE(session_->prompts.shown.size(), std::size_t{1});
    QCOMPARE(session_->prompts.shown[0].title, std::string(rh::messages::kNoFileTitle));
    QCOMPARE(session_->prompts.shown[0].text, std::string(rh::messages::kNoFileText));
    QCOMPARE(session_->state.SelectedPath, before.SelectedPath);
    QCOMPARE(session_->state.LastDrive, before.LastDrive);
    QCOMPARE(session_->state.LastDir, before.LastDir);
    QCOMPARE(PathBox()->text(), QStringLiteral("/runs/basin-7.hc1"));
  }

  void licenceIsReadAfreshOnEveryOpening() {
    OpenMain();
    session_->files.files["/opt/rh/LICENSE.txt"] = "First terms\r\n\r\nA\tB\r\n";
    QStringList first, second;
    QString family;
    rh::test::WhenModal("LicenseDisplay", [&](QWidget* viewer) {
      auto* list1 = Child<QListWidget>(viewer, "List1");
      first = Items(list1);
      family = list1->font().family();
      QCOMPARE(viewer->windowTitle(),
               QStringLiteral("Orvane Engineering Company - License Agreement"));
      QCOMPARE(viewer->size(), rh::ui::ToPixels({0, 0, 9045, 6930}).size());
      Press(viewer, "Command1");
    });
    Press(main_, "Command5");
    session_->files.files["/opt/rh/LICENSE.txt"] = "Second terms\nlast line";
    rh::test::WhenModal("LicenseDisplay", [&](QWidget* viewer) {
      second = Items(Child<QListWidget>(viewer, "List1"));
      viewer->close();
    });
    Press(main_, "Command5");
    QCOMPARE(first, (QStringList{"First terms", "A", "B"}));
    QCOMPARE(second, (QStringList{"Second terms", "last line"}));
    QCOMPARE(family, rh::ui::MakeFont({"Courier", 9.75, false}).family());
    QVERIFY(QFontInfo(rh::ui::MakeFont({"Courier", 9.75, false})).fixedPitch());
    QVERIFY(session_->prompts.shown.empty());
  }

  void missingLicenceIsReportedAndTheViewerNotShown() {
    OpenMain();
    bool shown = false;
    QPointer<QTimer> guard = rh::test::WhenModal(
        "LicenseDisplay",
        [&](QWidget* viewer) {
          shown = true;
          viewer->close();
        },
        500);
    Press(main_, "Command5");
    delete guard.data();
    QVERIFY(!shown);
    QCOMPARE(session_->prompts.shown.size(), std::size_t{1});
    QCOMPARE(session_->prompts.shown[0].title, std::string(rh::messages::kLicenseFaultTitle));
    QVERIFY(main_->isEnabled());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
  }

  // The web-address button opens the maker's address; a missing browser component or a failing
  // navigation changes nothing on the main screen.
  void webButtonOpensTheMakersAddress_data() {
    QTest::addColumn<bool>("absent");
    QTest::addColumn<bool>("failing");
    QTest::addColumn<QStringList>("navigated");
    const QString address = QString::fromLatin1(rh::maker::kWebAddress);
    QTest::newRow("browser opens the address") << false << false << QStringList{address};
    QTest::newRow("no browser component") << true << false << QStringList{};
    QTest::newRow("navigation fails") << false << true << QStringList{};
  }
  void webButtonOpensTheMakersAddress() {
    QFETCH(bool, absent);
    QFETCH(bool, failing);
    QFETCH(QStringList, navigated);
    OpenMain();
    browser_.absent = absent;
    browser_.failing = failing;
    Child<QLineEdit>(main_, "Text2")->setText("10");
    QString caption;
    bool hasBrowser = false;
    rh::test::WhenModal("WebPage", [&](QWidget* page) {
      caption = page->windowTitle();
      auto* browser = page->findChild<QWidget*>(QStringLiteral("WebBrowser1"));
      hasBrowser = browser != nullptr;
      if (browser != nullptr)
        QCOMPARE(browser->geometry(), rh::ui::ToPixels({120, 120, 11295, 7575}));
      Press(page, "Command1");
    });
    Press(main_, "Command4");
    QCOMPARE(caption, QString::fromLatin1(rh::maker::kWebAddress));
    QCOMPARE(hasBrowser, !absent);
    QCOMPARE(browser_.navigated, navigated);
    QVERIFY(session_->prompts.shown.empty());
    QCOMPARE(Child<QLineEdit>(main_, "Text2")->text(), QStringLiteral("10"));
    QCOMPARE(PathBox()->text(), QStringLiteral("/runs/basin-7.hc1"));
  }

  // Without a browser to embed, the button opens the page in the desktop's browser and shows no
  // screen of its own.
  void webButtonWithoutAnEmbeddedBrowserOpensTheDesktops() {
    OpenMain();
    browser_.none = true;
    DesktopBrowser desktop;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &desktop, "Open");
    bool shown = false;
    QPointer<QTimer> guard = rh::test::WhenModal(
        "WebPage",
        [&](QWidget* page) {
          shown = true;
          page->close();
        },
        500);
    Press(main_, "Command4");
    delete guard.data();
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QVERIFY(!shown);
    QCOMPARE(desktop.opened,
             QStringList{QString::fromStdString(rh::qt::WithScheme(rh::maker::kWebAddress))});
  }

  // The page takes the keys once clicked, as the engine does; Escape still closes the screen.
  void escapeClosesTheWebPageAfterAClickInThePage() {
    OpenMain();
    bool focusInPage = false, closed = false;
    rh::test::WhenModal("WebPage", [&](QWidget* page) {
      auto* area = page->findChild<QWidget*>(QStringLiteral("WebBrowser1"));
      QTest::mouseClick(area, Qt::LeftButton);
      focusInPage = page->focusWidget() == area;
      QTest::keyClick(area, Qt::Key_Escape);
      closed = !page->isVisible();
      if (!closed)
        page->close();
    });
    Press(main_, "Command4");
    QVERIFY(focusInPage);
    QVERIFY(closed);
  }

  // A licence line longer than the list is kept whole: scrolled sideways to its end, the list
  // shows its last word. Empty lines still never reach the list.
  void licenceListScrollsSidewaysToTheEndOfALongLine() {
    OpenMain();
    const QString longLine = QString(300, QLatin1Char('w')) + QStringLiteral(" THE-END");
    session_->files.files["/opt/rh/LICENSE.txt"] = "Short\n\n" + longLine.toStdString() + "\n";
    QStringList items;
    bool endShown = false;
    rh::test::WhenModal("LicenseDisplay", [&](QWidget* viewer) {
      auto* list1 = Child<QListWidget>(viewer, "List1");
      items = Items(list1);
      QScrollBar* sideways = list1->horizontalScrollBar();
      sideways->setValue(sideways->maximum());
      const QRect line = list1->visualItemRect(list1->item(1));
      const int textEnd =
          line.left() + list1->fontMetrics().horizontalAdvance(longLine) + 2 * list1->spacing();
      endShown = sideways->isVisible() && textEnd <= list1->viewport()->width() + 8 && textEnd > 0;
      Press(viewer, "Command1");
    });
    Press(main_, "Command5");
    QCOMPARE(items, (QStringList{"Short", longLine}));
    QVERIFY(endShown);
  }

  void webAddressGetsASchemeForTheEngine() {
    QCOMPARE(rh::qt::WithScheme("www.orvane-engineering.example"),
             std::string("http://www.orvane-engineering.example"));
    QCOMPARE(rh::qt::WithScheme("https://example.org/"), std::string("https://example.org/"));
  }

  // Focus entering the file list (Tab) chooses nothing; a key on the list chooses a file.
  void fileListChoosesOnClickOrKeyNeverOnFocus() {
    OpenMain();
    bool warnedAfterTab = false;
    rh::test::WhenModal("DirFileSelect", [&](QWidget* dialog) {
      auto* file1 = Child<QListWidget>(dialog, "File1");
      QFocusEvent tabbedIn(QEvent::FocusIn, Qt::TabFocusReason);
      QApplication::sendEvent(file1, &tabbedIn);
      Press(dialog, "Command2");
      warnedAfterTab = dialog->isVisible() && session_->prompts.shown.size() == 1;
      QTest::keyClick(file1, Qt::Key_Down);
      Press(dialog, "Command2");
      if (dialog->isVisible())
        Press(dialog, "Command1");  // nothing chosen: leave rather than wait
    });
    Press(main_, "Command2");
    QVERIFY(warnedAfterTab);
    QCOMPARE(PathBox()->text(), Tree("top.hc1"));
  }

  // Escape closes each secondary window as its "Cancel" does (the file dialog's puts the last
  // chosen path back in the path box).
  void escapeClosesTheSecondaryWindows() {
    OpenMain();
    session_->files.files["/opt/rh/LICENSE.txt"] = "Terms\n";
    PathBox()->setText("/typed/by/hand.hc1");
    for (const auto& [form, opener] : {std::pair{"DirFileSelect", "Command2"},
                                       {"LicenseDisplay", "Command5"},
                                       {"WebPage", "Command4"}}) {
      bool closed = false;
      rh::test::WhenModal(form, [&](QWidget* window) {
        QWidget* focus = window->focusWidget();
        QTest::keyClick(focus != nullptr ? focus : window, Qt::Key_Escape);
        closed = !window->isVisible();
      });
      Press(main_, opener);
      QVERIFY2(closed, form);
    }
    QVERIFY(session_->prompts.shown.empty());
    QCOMPARE(PathBox()->text(), QStringLiteral("/runs/basin-7.hc1"));
  }
};

QTEST_MAIN(DialogScreensTest)
#include "DialogScreensTest.moc"
