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

#include "ui/framework/Fonts.h"
#include "ui/framework/QtText.h"
#include "ui/framework/Twips.h"

namespace rh::ui {

namespace {

constexpr FontChoice kLabelFont{"Times New Roman", 9, true};
constexpr int kPathRole = Qt::UserRole;

// The file list. Focus entering a list makes its first line current (not selected) when none is;
// this one keeps no line current then, so the first arrow key selects the first file rather
// than the second.
class FileListWidget final : public QListWidget {
 public:
  explicit FileListWidget(QWidget* parent) : QListWidget(parent) {}

 protected:
  void focusInEvent(QFocusEvent* event) override {
    const bool hadCurrent = currentIndex().isValid();
    QListWidget::focusInEvent(event);
    if (!hadCurrent && currentIndex().isValid())
      selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  }
};

}  // namespace

// What the dialog's behaviour asks of the window.
class DirFileSelect::View final : public FileSelectionView {
 public:
  explicit View(DirFileSelect& form) : form_(form) {}

  void Centre() override { form_.CentreOnScreen(); }
  void ClearPatterns() override {
    const QSignalBlocker quiet(form_.patternBox_);
    form_.patternBox_->clear();
  }
  void AddPattern(const std::string& pattern) override {
    const QSignalBlocker quiet(form_.patternBox_);
    form_.patternBox_->addItem(Q(pattern));
  }
  std::string PatternText() override { return form_.patternBox_->currentText().toStdString(); }
  void SetPatternText(const std::string& text) override {
    const QSignalBlocker quiet(form_.patternBox_);
    form_.patternBox_->setEditText(Q(text));
  }
  void ClearPatternSelection() override { form_.patternBox_->lineEdit()->deselect(); }
  void SetReadout(const std::string& text) override { form_.readout_->setText(Q(text)); }
  void RepaintReadout() override { form_.readout_->repaint(); }
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

  readout_ = AddTextBox("text1", QString(), {120, 360, 5895, 285});
  readout_->setEnabled(false);
  QPalette info = readout_->palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    info.setColor(group, QPalette::Base, info.color(QPalette::Active, QPalette::ToolTipBase));
  readout_->setPalette(info);

  readout_->setFocusPolicy(Qt::NoFocus);

  // The directory list: the chain of ancestors down to the path, its subdirectories below it.
  dirList_ = new QTreeWidget(this);
  dirList_->setObjectName(QStringLiteral("Dir1"));
  dirList_->setGeometry(ToPixels({120, 1200, 3135, 3240}));
  dirList_->setHeaderHidden(true);
  dirList_->setRootIsDecorated(false);
  dirList_->setIndentation(TwipsToPixels(150, ScreenDpiX()));
  dirList_->setItemsExpandable(false);
  dirList_->setExpandsOnDoubleClick(false);
  fileList_ = new FileListWidget(this);
  fileList_->setObjectName(QStringLiteral("File1"));
  fileList_->setGeometry(ToPixels({3360, 1200, 2655, 3210}));
  fileList_->setUniformItemSizes(true);  // keeps a folder of thousands of files quick to show

  driveList_ = new QComboBox(this);
  driveList_->setObjectName(QStringLiteral("Drive1"));
  driveList_->setGeometry(ToPixels({120, 840, 3135, 315}));

  patternBox_ = new QComboBox(this);
  patternBox_->setObjectName(QStringLiteral("Combo1"));
  patternBox_->setEditable(true);
  patternBox_->setInsertPolicy(QComboBox::NoInsert);
  patternBox_->setEditText(QStringLiteral("Combo1"));
  patternBox_->setGeometry(ToPixels({3360, 840, 1695, 315}));

  auto* okButton = AddButton("Command2", QStringLiteral("OK"), {2040, 4680, 735, 375});
  auto* cancelButton = AddButton("Command1", QStringLiteral("Cancel"), {3240, 4680, 735, 375});
  AddLabel("Label2", QStringLiteral("Selected Path \\ File"), {120, 120, 1815, 255}, kLabelFont);

  QWidget::setTabOrder(readout_, dirList_);
  QWidget::setTabOrder(dirList_, fileList_);
  QWidget::setTabOrder(fileList_, driveList_);
  QWidget::setTabOrder(driveList_, patternBox_);
  QWidget::setTabOrder(patternBox_, okButton);
  QWidget::setTabOrder(okButton, cancelButton);

  if (dirs == nullptr) {
    ownDirs_ = std::make_unique<StdDirectories>();
    dirs = ownDirs_.get();
  }
  view_ = std::make_unique<View>(*this);
  selection_ = std::make_unique<FileSelection>(context_.state, *dirs, *view_);

  connect(driveList_, &QComboBox::activated, this,
          [this](int index) { selection_->PickDrive(driveList_->itemText(index).toStdString()); });
  connect(dirList_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    selection_->OpenDirectory(item->data(0, kPathRole).toString().toStdString());
  });
  // A file is chosen when a click or a key selects it. Focus entering the list makes its first
  // line current without selecting it, and that chooses nothing.
  connect(fileList_, &QListWidget::itemSelectionChanged, this, [this] {
    const QList<QListWidgetItem*> selected = fileList_->selectedItems();
    if (!selected.isEmpty())
      selection_->ClickFile(fileList_->row(selected.first()));
  });
  connect(patternBox_, &QComboBox::activated, this, [this] { selection_->PickPattern(); });
  connect(patternBox_->lineEdit(), &QLineEdit::textEdited, this,
          [this] { selection_->EditPattern(); });
  connect(okButton, &QPushButton::clicked, this, [this] { selection_->PressOk(); });
  connect(cancelButton, &QPushButton::clicked, this, [this] { selection_->PressCancel(); });
  CloseOnEscape();
}

DirFileSelect::~DirFileSelect() = default;

void DirFileSelect::OnLoad() {
  selection_->Load();
}

void DirFileSelect::CloseBox() {
  selection_->PressCancel();
}

// Draws again whatever list changed since it was last drawn.
void DirFileSelect::Redraw() {
  const DriveListBox& drives = selection_->DriveList();
  if (drives.Version() != driveShown_) {
    const QSignalBlocker quiet(driveList_);
    driveList_->clear();
    for (const auto& drive : drives.Items())
      driveList_->addItem(Q(drive));
    driveList_->setCurrentIndex(driveList_->findText(Q(drives.Drive())));
    driveShown_ = drives.Version();
  }

  const DirListBox& dirs = selection_->DirList();
  if (dirs.Version() != dirShown_) {
    const QSignalBlocker quiet(dirList_);
    dirList_->clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem* parent = nullptr;
    QTreeWidgetItem* current = nullptr;
    for (const auto& line : dirs.Items()) {
      auto* item = parent == nullptr ? new QTreeWidgetItem(dirList_) : new QTreeWidgetItem(parent);
      item->setText(0, Q(line.label));
      item->setIcon(0, line.ancestor ? open : closed);
      item->setData(0, kPathRole, Q(line.path));
      if (line.ancestor) {
        parent = item;
        current = item;
      }
    }
    dirList_->expandAll();
    dirList_->setCurrentItem(current);
    dirShown_ = dirs.Version();
  }

  const FileListBox& files = selection_->FileList();
  if (files.Version() != fileShown_) {
    const QSignalBlocker quiet(fileList_);
    fileList_->setUpdatesEnabled(false);
    fileList_->clear();
    QStringList names;
    names.reserve(static_cast<int>(files.Items().size()));
    for (const auto& name : files.Items())
      names.append(Q(name));
    fileList_->addItems(names);
    fileList_->setCurrentRow(files.ListIndex());
    fileList_->setUpdatesEnabled(true);
    fileShown_ = files.Version();
  }
}

}  // namespace rh::ui
