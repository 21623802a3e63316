// The study window's pond editor: the storage (contours or a table as rows, or a box's
// dimensions), the outlets as a list to add to, remove from and reorder with the chosen outlet's
// fields under it, the barrel, the top, and the rating of the last run beside them. Every edit
// goes straight into the pond and is reported through `changed`; the window reruns the study.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QGroupBox>

#include "app/window/PondEdit.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTableWidget;

namespace rh {
struct TablePond;
}

namespace rh::ui {

class RatingView;

class PondEditor final : public QGroupBox {
 public:
  explicit PondEditor(QWidget* parent);

  // Shows `pond` (none: the study has no pond to edit; `note` then says why), read from `file`
  // ("" when the study holds it); `routed` when the study routes through a pond of any kind. The
  // editor keeps the pointer until the next Show.
  void Show(PondEdit* pond, const std::string& file, const std::string& note, bool routed);
  // The rating of the last run (none: no pond).
  void ShowRating(std::shared_ptr<const TablePond> pond);
  // A refusal about the pond's value at `key` ("" for none), shown under the editor with the
  // field it names marked; an empty text clears it.
  void ShowProblem(const std::string& key, const std::string& text);

  std::function<void()> changed;
  std::function<void()> newPond;     // "New Pond": a pond designed here in place of the study's
  std::function<void()> removePond;  // "Remove Pond": the study routes through none

 private:
  void ShowStorage();
  void ShowOutlets(int current);
  void ShowOutlet();  // the fields of the outlet picked in the list
  void ShowBarrel();
  void Changed();
  void RowsEdited();
  void StorageFormPicked(int index);
  void OutletFormPicked();
  int CurrentOutlet() const;
  // A field named `name` for the value at `keyPath`, captioned as the editor calls `key`.
  QLineEdit* FieldEdit(QWidget* parent, QFormLayout* form, const std::string& name,
                       const std::string& key, const std::string& keyPath);

  PondEdit* pond_ = nullptr;
  bool showing_ = false;  // filling the controls: their signals are not edits

  QLabel* note_;
  QPushButton* newPond_;
  QPushButton* removePond_;
  QWidget* editor_;
  QComboBox* storageForm_;
  QComboBox* method_;
  QStackedWidget* storagePages_;
  QTableWidget* rows_;
  std::vector<QLineEdit*> boxFields_;
  QLineEdit* top_;
  QListWidget* outlets_;
  QComboBox* addType_;
  QWidget* outletFields_;
  QFormLayout* outletForm_;
  QComboBox* outletType_;
  QComboBox* outletShape_;
  QCheckBox* barrel_;
  QWidget* barrelFields_;
  std::vector<QLineEdit*> barrelEdits_;
  QLabel* message_;
  RatingView* rating_;
};

}  // namespace rh::ui
