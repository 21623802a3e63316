#include "ui/DirFileSelect.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringList>
#include <QStyle>
#include <QTreeWidget>

#include "platform/qt/Fonts.h"
#include "platform/qt/Twips.h"

namespace rh::ui {

namespace {

constexpr qt::FontChoice kLabelFont{"Times New Roman", 9, true};
constexpr int kPathRole = Qt::UserRole;

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

// What the dialog's behaviour asks of the window.
class DirFileSelect::View final : public FileSelectionView {
 public:
  explicit View(DirFileSelect& form) : form_(form) {}

  void Centre() override { form_.CentreOnScreen(); }
  void ClearPatterns() override {
    const QSignalBlocker quiet(form_.combo1_);
    form_.combo1_->clear();
  }
  void AddPattern(const std::string& pattern) override {
    const QSignalBlocker quiet(form_.combo1_);
    form_.combo1_->addItem(Q(pattern));
  }
  std::string PatternText() override { return form_.combo1_->currentText().toStdString(); }
  void SetPatternText(const std::string& text) override {
    const QSignalBlocker quiet(form_.combo1_);
    form_.combo1_->setEditText(Q(text));
  }
  void ClearPatternSelection() override { form_.combo1_->lineEdit()->deselect(); }
  void SetReadout(const std::string& text) override { form_.text1_->setText(Q(text)); }
  void RepaintReadout() override { form_.text1_->repaint(); }
  void ShowWarning(const std::string& title, const std::string& text) override {
    form_.context_.prompts.Warning(&form_, title, text);
  }
  void ListsChanged() override { form_.Redraw(); }
  void Unload() override { form_.Unload(); }

 private:
  DirFileSelect& form_;
};

DirFileSelect::DirFileSelect(UiContext& context, QWidget* owner, Directories* dirs)
    : Form(owner, "DirFileSelect", 6210, 5220, QStringLiteral("Select a file")), context_(context) {
  // A tool window: thin caption, close box only, no task-bar entry; still resizable.
  setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  text1_ = AddTextBox("text1", QString(), {120, 360, 5895, 285});
  text1_->setEnabled(false);
  QPalette info = text1_->palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    info.setColor(group, QPalette::Base, info.color(QPalette::Active, QPalette::ToolTipBase));
  text1_->setPalette(info);

  text1_->setFocusPolicy(Qt::NoFocus);

  // The directory list: the chain of ancestors down to the path, its subdirectories below it.
  dir1_ = new QTreeWidget(this);
  dir1_->setObjectName(QStringLiteral("Dir1"));
  dir1_->setGeometry(qt::ToPixels({120, 1200, 3135, 3240}));
  dir1_->setHeaderHidden(true);
  dir1_->setRootIsDecorated(false);
  dir1_->setIndentation(qt::TwipsToPixels(150, qt::ScreenDpiX()));
  dir1_->setItemsExpandable(false);
  dir1_->setExpandsOnDoubleClick(false);
  file1_ = AddListBox("File1", {3360, 1200, 2655, 3210});
  file1_->setUniformItemSizes(true);  // keeps a folder of thousands of files quick to show

  drive1_ = new QComboBox(this);
  drive1_->setObjectName(QStringLiteral("Drive1"));
  drive1_->setGeometry(qt::ToPixels({120, 840, 3135, 315}));

  combo1_ = new QComboBox(this);
  combo1_->setObjectName(QStringLiteral("Combo1"));
  combo1_->setEditable(true);
  combo1_->setInsertPolicy(QComboBox::NoInsert);
  combo1_->setEditText(QStringLiteral("Combo1"));
  combo1_->setGeometry(qt::ToPixels({3360, 840, 1695, 315}));

  auto* command2 = AddButton("Command2", QStringLiteral("OK"), {2040, 4680, 735, 375});
  auto* command1 = AddButton("Command1", QStringLiteral("Cancel"), {3240, 4680, 735, 375});
  AddLabel("Label2", QStringLiteral("Selected Path \\ File"), {120, 120, 1815, 255}, kLabelFont);

  QWidget::setTabOrder(text1_, dir1_);
  QWidget::setTabOrder(dir1_, file1_);
  QWidget::setTabOrder(file1_, drive1_);
  QWidget::setTabOrder(drive1_, combo1_);
  QWidget::setTabOrder(combo1_, command2);
  QWidget::setTabOrder(command2, command1);

  if (dirs == nullptr) {
    ownDirs_ = std::make_unique<StdDirectories>();
    dirs = ownDirs_.get();
  }
  view_ = std::make_unique<View>(*this);
  selection_ = std::make_unique<FileSelection>(context_.state, *dirs, *view_);

  connect(drive1_, &QComboBox::activated, this,
          [this](int index) { selection_->PickDrive(drive1_->itemText(index).toStdString()); });
  connect(dir1_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    selection_->OpenDirectory(item->data(0, kPathRole).toString().toStdString());
  });
  connect(file1_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0)
      selection_->ClickFile(row);
  });
  connect(combo1_, &QComboBox::activated, this, [this] { selection_->PickPattern(); });
  connect(combo1_->lineEdit(), &QLineEdit::textEdited, this, [this] { selection_->EditPattern(); });
  connect(command2, &QPushButton::clicked, this, [this] { selection_->PressOk(); });
  connect(command1, &QPushButton::clicked, this, [this] { selection_->PressCancel(); });
}

DirFileSelect::~DirFileSelect() = default;

void DirFileSelect::Form_Load() {
  selection_->Load();
}

void DirFileSelect::CloseBox() {
  selection_->PressCancel();
}

// Draws again whatever list changed since it was last drawn.
void DirFileSelect::Redraw() {
  const DriveListBox& drives = selection_->Drive1();
  if (drives.Version() != driveShown_) {
    const QSignalBlocker quiet(drive1_);
    drive1_->clear();
    for (const auto& drive : drives.Items())
      drive1_->addItem(Q(drive));
    drive1_->setCurrentIndex(drive1_->findText(Q(drives.Drive())));
    driveShown_ = drives.Version();
  }

  const DirListBox& dirs = selection_->Dir1();
  if (dirs.Version() != dirShown_) {
    const QSignalBlocker quiet(dir1_);
    dir1_->clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem* parent = nullptr;
    QTreeWidgetItem* current = nullptr;
    for (const auto& line : dirs.Items()) {
      auto* item = parent == nullptr ? new QTreeWidgetItem(dir1_) : new QTreeWidgetItem(parent);
      item->setText(0, Q(line.label));
      item->setIcon(0, line.ancestor ? open : closed);
      item->setData(0, kPathRole, Q(line.path));
      if (line.ancestor) {
        parent = item;
        current = item;
      }
    }
    dir1_->expandAll();
    dir1_->setCurrentItem(current);
    dirShown_ = dirs.Version();
  }

  const FileListBox& files = selection_->File1();
  if (files.Version() != fileShown_) {
    const QSignalBlocker quiet(file1_);
    file1_->setUpdatesEnabled(false);
    file1_->clear();
    QStringList names;
    names.reserve(static_cast<int>(files.Items().size()));
    for (const auto& name : files.Items())
      names.append(Q(name));
    file1_->addItems(names);
    file1_->setCurrentRow(files.ListIndex());
    file1_->setUpdatesEnabled(true);
    fileShown_ = files.Version();
  }
}

}  // namespace rh::ui
