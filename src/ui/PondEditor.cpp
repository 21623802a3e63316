#include "ui/PondEditor.h"

#include <utility>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/run/StudyCheck.h"
#include "output/PondRating.h"
#include "platform/qt/DrawingPainter.h"
#include "ui/framework/QtText.h"

namespace rh::ui {

// The rating of the last run, drawn at the view's own size.
class RatingView final : public QWidget {
 public:
  explicit RatingView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PondRating"));
    setMinimumSize(240, 140);
  }
  void SetPond(std::shared_ptr<const TablePond> pond) {
    pond_ = std::move(pond);
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (pond_)
      qt::PaintDrawing(painter, PondRatingChart(pond_->Table, width(), height()));
  }

 private:
  std::shared_ptr<const TablePond> pond_;
};

namespace {

const char* const kTypes[] = {"orifice", "weir", "riser", "spillway"};

// What the editor calls each of the pond file's keys.
QString LabelOf(const std::string& key) {
  static const char* const kLabels[][2] = {
      {"diameter_in", "Diameter (in)"},
      {"width_in", "Width (in)"},
      {"height_in", "Height (in)"},
      {"invert_ft", "Invert (ft)"},
      {"cd", "Discharge coefficient"},
      {"cw", "Weir coefficient"},
      {"count", "Identical devices"},
      {"barrel", "Through the barrel (true or false)"},
      {"length_ft", "Length (ft)"},
      {"crest_ft", "Crest (ft)"},
      {"contractions", "End contractions (0, 1 or 2)"},
      {"angle_deg", "Notch angle (degrees)"},
      {"side_in", "Side (in)"},
      {"manning_n", "Manning's n"},
      {"ke", "Entrance loss coefficient"},
      {"outlet_invert_ft", "Outlet invert (ft)"},
      {"bottom_ft", "Bottom (ft)"},
      {"width_ft", "Width (ft)"},
      {"side_slope", "Side slope (horizontal to 1)"},
      {"depth_ft", "Depth (ft)"},
  };
  for (const auto& label : kLabels) {
    if (key == label[0])
      return QString::fromLatin1(label[1]);
  }
  return Q(key);
}

// The value a key takes when it is left blank, shown greyed in the blank field.
QString DefaultOf(const std::string& key, const std::string& type, const std::string& shape) {
  if (key == "cd")
    return QStringLiteral("0.60");
  if (key == "cw")
    return type == "spillway"   ? QStringLiteral("2.60")
           : shape == "v-notch" ? QStringLiteral("2.50")
                                : QStringLiteral("3.33");
  if (key == "count")
    return QStringLiteral("1");
  if (key == "barrel")
    return QStringLiteral("true");
  if (key == "contractions")
    return QStringLiteral("0");
  if (key == "manning_n")
    return QStringLiteral("0.013");
  if (key == "ke")
    return QStringLiteral("0.5");
  return {};
}

const char* const kBoxKeys[] = {"bottom_ft", "length_ft", "width_ft", "side_slope", "depth_ft"};

QPushButton* Button(QWidget* parent, const char* name, const QString& text) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  return b;
}

// A field the message names is shown on a light red ground.
void Mark(QWidget* field, bool on) {
  QPalette palette;
  if (on)
    palette.setColor(QPalette::Base, QColor(255, 220, 220));
  field->setPalette(palette);
  field->setProperty("refused", on);
}

}  // namespace

PondEditor::PondEditor(QWidget* parent) : QGroupBox(QStringLiteral("Pond"), parent) {
  setObjectName(QStringLiteral("PondEditor"));
  auto* column = new QVBoxLayout(this);
  note_ = new QLabel(this);
  note_->setObjectName(QStringLiteral("PondNote"));
  note_->setWordWrap(true);
  column->addWidget(note_);
  auto* pondButtons = new QHBoxLayout;
  newPond_ = Button(this, "PondNew", QStringLiteral("&New Pond"));
  removePond_ = Button(this, "PondRemove", QStringLiteral("Re&move Pond"));
  pondButtons->addWidget(newPond_);
  pondButtons->addWidget(removePond_);
  pondButtons->addStretch(1);
  column->addLayout(pondButtons);
  connect(newPond_, &QPushButton::clicked, this, [this] {
    if (newPond)
      newPond();
  });
  connect(removePond_, &QPushButton::clicked, this, [this] {
    if (removePond)
      removePond();
  });
  editor_ = new QWidget(this);
  column->addWidget(editor_);
  auto* layout = new QVBoxLayout(editor_);
  layout->setContentsMargins(0, 0, 0, 0);

  // The storage.
  auto* storageRow = new QHBoxLayout;
  storageForm_ = new QComboBox(editor_);
  storageForm_->setObjectName(QStringLiteral("PondStorage"));
  storageForm_->addItems(
      {QStringLiteral("Contours"), QStringLiteral("Box"), QStringLiteral("Stage-storage table")});
  method_ = new QComboBox(editor_);
  method_->setObjectName(QStringLiteral("PondMethod"));
  method_->addItems({QStringLiteral("conic"), QStringLiteral("average-end")});
  auto* storageLabel = new QLabel(QStringLiteral("&Storage"), editor_);
  storageLabel->setBuddy(storageForm_);
  storageRow->addWidget(storageLabel);
  storageRow->addWidget(storageForm_, 1);
  storageRow->addWidget(method_);
  layout->addLayout(storageRow);
  storagePages_ = new QStackedWidget(editor_);
  auto* rowsPage = new QWidget(storagePages_);
  auto* rowsColumn = new QVBoxLayout(rowsPage);
  rowsColumn->setContentsMargins(0, 0, 0, 0);
  rows_ = new QTableWidget(0, 2, rowsPage);
  rows_->setObjectName(QStringLiteral("PondContours"));
  rows_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  rows_->setTabKeyNavigation(false);
  rows_->setMaximumHeight(rows_->fontMetrics().lineSpacing() * 9);
  rowsColumn->addWidget(rows_);
  auto* rowButtons = new QHBoxLayout;
  auto* addRow = Button(rowsPage, "PondAddRow", QStringLiteral("Add Row"));
  auto* removeRow = Button(rowsPage, "PondRemoveRow", QStringLiteral("Remove Row"));
  rowButtons->addWidget(addRow);
  rowButtons->addWidget(removeRow);
  rowButtons->addStretch(1);
  rowsColumn->addLayout(rowButtons);
  storagePages_->addWidget(rowsPage);
  auto* boxPage = new QWidget(storagePages_);
  auto* boxForm = new QFormLayout(boxPage);
  boxForm->setContentsMargins(0, 0, 0, 0);
  for (const char* key : kBoxKeys)
    boxFields_.push_back(FieldEdit(boxPage, boxForm, key, key, std::string("storage.box.") + key));
  storagePages_->addWidget(boxPage);
  layout->addWidget(storagePages_);
  auto* topForm = new QFormLayout;
  top_ = FieldEdit(editor_, topForm, "PondTop", "", "top_ft");
  static_cast<QLabel*>(topForm->labelForField(top_))
      ->setText(QStringLiteral("&Top of embankment (ft)"));
  layout->addLayout(topForm);

  // The outlets.
  outlets_ = new QListWidget(editor_);
  outlets_->setObjectName(QStringLiteral("OutletList"));
  outlets_->setMaximumHeight(outlets_->fontMetrics().lineSpacing() * 6);
  auto* outletsLabel = new QLabel(QStringLiteral("&Outlets"), editor_);
  outletsLabel->setBuddy(outlets_);
  layout->addWidget(outletsLabel);
  layout->addWidget(outlets_);
  auto* outletButtons = new QHBoxLayout;
  addType_ = new QComboBox(editor_);
  addType_->setObjectName(QStringLiteral("OutletAddType"));
  for (const char* type : kTypes)
    addType_->addItem(QString::fromLatin1(type));
  auto* add = Button(editor_, "OutletAdd", QStringLiteral("Add"));
  auto* remove = Button(editor_, "OutletRemove", QStringLiteral("Remove"));
  auto* up = Button(editor_, "OutletUp", QStringLiteral("Up"));
  auto* down = Button(editor_, "OutletDown", QStringLiteral("Down"));
  auto* addLabel = new QLabel(QStringLiteral("Ne&w outlet"), editor_);
  addLabel->setBuddy(addType_);
  outletButtons->addWidget(addLabel);
  outletButtons->addWidget(addType_, 1);
  outletButtons->addWidget(add);
  layout->addLayout(outletButtons);
  auto* orderButtons = new QHBoxLayout;
  for (QPushButton* b : {remove, up, down})
    orderButtons->addWidget(b);
  layout->addLayout(orderButtons);
  auto* formRow = new QHBoxLayout;
  outletType_ = new QComboBox(editor_);
  outletType_->setObjectName(QStringLiteral("OutletType"));
  for (const char* type : kTypes)
    outletType_->addItem(QString::fromLatin1(type));
  outletShape_ = new QComboBox(editor_);
  outletShape_->setObjectName(QStringLiteral("OutletShape"));
  auto* typeLabel = new QLabel(QStringLiteral("T&ype"), editor_);
  typeLabel->setBuddy(outletType_);
  formRow->addWidget(typeLabel);
  formRow->addWidget(outletType_, 1);
  formRow->addWidget(outletShape_, 1);
  layout->addLayout(formRow);
  outletFields_ = new QWidget(editor_);
  outletForm_ = new QFormLayout(outletFields_);
  outletForm_->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(outletFields_);

  // The barrel.
  barrel_ = new QCheckBox(QStringLiteral("&Barrel through the embankment"), editor_);
  barrel_->setObjectName(QStringLiteral("Barrel"));
  layout->addWidget(barrel_);
  barrelFields_ = new QWidget(editor_);
  auto* barrelForm = new QFormLayout(barrelFields_);
  barrelForm->setContentsMargins(0, 0, 0, 0);
  for (const std::string& key : PondEdit::BarrelKeys())
    barrelEdits_.push_back(
        FieldEdit(barrelFields_, barrelForm, "Barrel_" + key, key, "barrel." + key));
  layout->addWidget(barrelFields_);

  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("PondMessage"));
  message_->setWordWrap(true);
  message_->setStyleSheet(QStringLiteral("color: #a00000"));
  message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  message_->hide();
  column->addWidget(message_);
  rating_ = new RatingView(this);
  column->addWidget(rating_);

  connect(storageForm_, qOverload<int>(&QComboBox::activated), this,
          [this](int index) { StorageFormPicked(index); });
  connect(method_, qOverload<int>(&QComboBox::activated), this, [this](int) {
    if (!pond_)
      return;
    pond_->SetField("storage.method", method_->currentText().toStdString());
    Changed();
  });
  connect(rows_, &QTableWidget::itemChanged, this, [this] { RowsEdited(); });
  connect(addRow, &QPushButton::clicked, this, [this] {
    const int at = rows_->rowCount();
    {
      const QSignalBlocker block(rows_);
      rows_->insertRow(at);
      for (int c = 0; c < 2; ++c)
        rows_->setItem(at, c, new QTableWidgetItem);
    }
    RowsEdited();
    rows_->setCurrentCell(at, 0);
    rows_->setFocus();
  });
  connect(removeRow, &QPushButton::clicked, this, [this] {
    if (rows_->currentRow() < 0)
      return;
    rows_->removeRow(rows_->currentRow());
    RowsEdited();
  });
  connect(outlets_, &QListWidget::currentRowChanged, this, [this](int) {
    if (!showing_)
      ShowOutlet();
  });
  connect(add, &QPushButton::clicked, this, [this] {
    if (!pond_)
      return;
    pond_->AddOutlet(addType_->currentText().toStdString());
    ShowOutlets(static_cast<int>(pond_->OutletCount()) - 1);
    Changed();
  });
  connect(remove, &QPushButton::clicked, this, [this] {
    const int at = CurrentOutlet();
    if (!pond_ || at < 0)
      return;
    pond_->RemoveOutlet(static_cast<std::size_t>(at));
    ShowOutlets(std::min(at, static_cast<int>(pond_->OutletCount()) - 1));
    Changed();
  });
  for (const auto& [b, by] : {std::pair{up, -1}, std::pair{down, 1}}) {
    connect(b, &QPushButton::clicked, this, [this, by = by] {
      const int at = CurrentOutlet();
      if (!pond_ || at < 0 || !pond_->MoveOutlet(static_cast<std::size_t>(at), by))
        return;
      ShowOutlets(at + by);
      Changed();
    });
  }
  connect(outletType_, qOverload<int>(&QComboBox::activated), this, [this](int) {
    outletShape_->clear();
    for (const std::string& shape : PondEdit::Shapes(outletType_->currentText().toStdString()))
      outletShape_->addItem(Q(shape));
    OutletFormPicked();
  });
  connect(outletShape_, qOverload<int>(&QComboBox::activated), this,
          [this](int) { OutletFormPicked(); });
  connect(barrel_, &QCheckBox::toggled, this, [this](bool on) {
    if (showing_ || !pond_)
      return;
    pond_->SetBarrel(on);
    ShowBarrel();
    Changed();
  });
  Show(nullptr, "", "", false);
}

QLineEdit* PondEditor::FieldEdit(QWidget* parent, QFormLayout* form, const std::string& name,
                                 const std::string& key, const std::string& keyPath) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(Q(name));
  edit->setProperty("keyPath", Q(keyPath));
  auto* caption = new QLabel(LabelOf(key), parent);
  caption->setBuddy(edit);
  form->addRow(caption, edit);
  connect(edit, &QLineEdit::textEdited, this, [this, edit](const QString& text) {
    if (!pond_)
      return;
    pond_->SetField(edit->property("keyPath").toString().toStdString(), text.toStdString());
    if (edit->property("keyPath").toString().endsWith(QLatin1String(".name"))) {
      const QSignalBlocker block(outlets_);
      if (QListWidgetItem* item = outlets_->currentItem())
        item->setText(Q(pond_->OutletLabel(static_cast<std::size_t>(CurrentOutlet()))));
    }
    Changed();
  });
  return edit;
}

void PondEditor::Show(PondEdit* pond, const std::string& file, const std::string& note,
                      bool routed) {
  pond_ = pond;
  editor_->setVisible(pond != nullptr);
  newPond_->setVisible(pond == nullptr);
  removePond_->setVisible(routed);
  QString said = Q(note);
  if (pond && !file.empty())
    said = QStringLiteral("From %1. Edits are kept in the study file; %1 stays as it is.")
               .arg(Q(file));
  note_->setText(said);
  note_->setVisible(!said.isEmpty());
  ShowProblem("", "");
  if (!pond)
    return;
  ShowStorage();
  {
    const QSignalBlocker block(top_);
    top_->setText(Q(pond_->Field("top_ft")));
  }
  ShowOutlets(pond_->OutletCount() > 0 ? 0 : -1);
  ShowBarrel();
}

void PondEditor::ShowStorage() {
  const PondEdit::Storage form = pond_->StorageForm();
  storageForm_->setCurrentIndex(static_cast<int>(form));
  storagePages_->setCurrentIndex(form == PondEdit::Storage::Box ? 1 : 0);
  method_->setVisible(form == PondEdit::Storage::Contours);
  const std::string method = pond_->Field("storage.method");
  method_->setCurrentIndex(method == "average-end" ? 1 : 0);
  rows_->setHorizontalHeaderLabels(
      {QStringLiteral("Stage (ft)"), form == PondEdit::Storage::Table
                                         ? QStringLiteral("Storage (ac-ft)")
                                         : QStringLiteral("Area (acres)")});
  const QSignalBlocker block(rows_);
  const auto rows = pond_->Rows();
  rows_->setRowCount(static_cast<int>(rows.size()));
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (int c = 0; c < 2; ++c)
      rows_->setItem(static_cast<int>(r), c, new QTableWidgetItem(Q(rows[r][c])));
  }
  for (QLineEdit* field : boxFields_) {
    const QSignalBlocker blockField(field);
    field->setText(Q(pond_->Field(field->property("keyPath").toString().toStdString())));
  }
}

void PondEditor::ShowOutlets(int current) {
  showing_ = true;
  outlets_->clear();
  for (std::size_t i = 0; i < pond_->OutletCount(); ++i)
    outlets_->addItem(Q(pond_->OutletLabel(i)));
  outlets_->setCurrentRow(current);
  showing_ = false;
  ShowOutlet();
}

void PondEditor::ShowOutlet() {
  while (outletForm_->rowCount() > 0)
    outletForm_->removeRow(0);
  const int at = CurrentOutlet();
  outletType_->setEnabled(at >= 0);
  outletShape_->setEnabled(at >= 0);
  if (!pond_ || at < 0)
    return;
  const auto index = static_cast<std::size_t>(at);
  const std::string type = pond_->OutletType(index);
  const std::string shape = pond_->OutletShape(index);
  outletType_->setCurrentText(Q(type));
  outletShape_->clear();
  for (const std::string& one : PondEdit::Shapes(type))
    outletShape_->addItem(Q(one));
  outletShape_->setCurrentText(Q(shape));
  outletShape_->setVisible(outletShape_->count() > 0);
  const std::string base = "outlets[" + std::to_string(index) + "].";
  std::vector<std::string> keys = {"name"};
  for (const std::string& key : pond_->OutletKeys(index))
    keys.push_back(key);
  QWidget* previous = outletShape_;
  for (const std::string& key : keys) {
    QLineEdit* edit = FieldEdit(outletFields_, outletForm_, "Outlet_" + key,
                                key == "name" ? std::string() : key, base + key);
    if (key == "name")
      static_cast<QLabel*>(outletForm_->labelForField(edit))->setText(QStringLiteral("&Name"));
    edit->setText(Q(pond_->Field(base + key)));
    edit->setPlaceholderText(DefaultOf(key, type, shape));
    setTabOrder(previous, edit);
    previous = edit;
  }
}

void PondEditor::ShowBarrel() {
  showing_ = true;
  barrel_->setChecked(pond_->HasBarrel());
  showing_ = false;
  barrelFields_->setVisible(pond_->HasBarrel());
  for (QLineEdit* field : barrelEdits_) {
    const QSignalBlocker block(field);
    const std::string keyPath = field->property("keyPath").toString().toStdString();
    field->setText(Q(pond_->Field(keyPath)));
    field->setPlaceholderText(DefaultOf(keyPath.substr(7), "barrel", ""));
  }
}

int PondEditor::CurrentOutlet() const {
  const int at = outlets_->currentRow();
  return pond_ && at >= 0 && static_cast<std::size_t>(at) < pond_->OutletCount() ? at : -1;
}

void PondEditor::Changed() {
  if (changed)
    changed();
}

void PondEditor::RowsEdited() {
  if (!pond_)
    return;
  std::vector<std::array<std::string, 2>> rows;
  for (int r = 0; r < rows_->rowCount(); ++r) {
    std::array<std::string, 2> row;
    for (int c = 0; c < 2; ++c)
      row[static_cast<std::size_t>(c)] =
          rows_->item(r, c) ? rows_->item(r, c)->text().toStdString() : std::string();
    rows.push_back(row);
  }
  pond_->SetRows(rows);
  Changed();
}

void PondEditor::StorageFormPicked(int index) {
  if (!pond_ || index < 0 || index > 2)
    return;
  pond_->SetStorageForm(static_cast<PondEdit::Storage>(index));
  ShowStorage();
  Changed();
}

void PondEditor::OutletFormPicked() {
  const int at = CurrentOutlet();
  if (!pond_ || at < 0)
    return;
  pond_->SetOutletForm(static_cast<std::size_t>(at), outletType_->currentText().toStdString(),
                       outletShape_->currentText().toStdString());
  ShowOutlets(at);
  Changed();
}

void PondEditor::ShowRating(std::shared_ptr<const TablePond> pond) {
  rating_->SetPond(std::move(pond));
}

void PondEditor::ShowProblem(const std::string& key, const std::string& text) {
  message_->setText(Q(text));
  message_->setVisible(!text.empty());
  const QString marked = Q(key);
  for (QLineEdit* field : findChildren<QLineEdit*>())
    Mark(field, !marked.isEmpty() && field->property("keyPath").toString() == marked);
  // A contour or table row: "storage.contours[2][1]" marks its cell, "storage.contours[2]" the
  // whole row.
  const QSignalBlocker block(rows_);
  for (int r = 0; r < rows_->rowCount(); ++r) {
    for (int c = 0; c < 2; ++c) {
      QTableWidgetItem* item = rows_->item(r, c);
      if (!item)
        continue;
      const QString row = QStringLiteral("[%1]").arg(r);
      const bool on =
          marked.startsWith(QLatin1String("storage.")) &&
          (marked.endsWith(row + QStringLiteral("[%1]").arg(c)) || marked.endsWith(row));
      item->setBackground(on ? QColor(255, 220, 220) : QColor(Qt::white));
    }
  }
}

}  // namespace rh::ui
