#include "ui/LicenseDisplay.h"

#include <QListWidget>
#include <QPushButton>
#include <QStringDecoder>

#include "app/window/LicenseText.h"

namespace rh::ui {

namespace {

constexpr FontChoice kFixedPitch{"Courier", 9.75, false};

// A licence line as text: UTF-8 when it is valid UTF-8, otherwise one character per byte.
QString LineText(const std::string& line) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(QByteArrayView(line.data(), static_cast<qsizetype>(line.size())));
  if (utf8.hasError())
    return QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
  return text;
}

}  // namespace

LicenseDisplay::LicenseDisplay(UiContext& context, QWidget* owner)
    : Form(owner, "LicenseDisplay", 9045, 6930,
           QStringLiteral("Orvane Engineering Company - License Agreement")),
      context_(context) {
  licenseList_ = AddListBox("List1", {120, 120, 8775, 5910}, kFixedPitch);
  // A long line is kept whole, and the list scrolls sideways to its end.
  licenseList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  licenseList_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  licenseList_->setTextElideMode(Qt::ElideNone);
  auto* cancelButton = AddButton("Command1", QStringLiteral("Cancel"), {3960, 6360, 975, 375});
  connect(cancelButton, &QPushButton::clicked, this, [this] { OnCancel(); });
  CloseOnEscape();
}

void LicenseDisplay::OnLoad() {
  CentreOnScreen();
  const std::vector<std::string> lines = ReadLicense(context_.files, context_.state.LicensePath);
  licenseList_->clear();
  for (const auto& line : lines)
    licenseList_->addItem(LineText(line));
}

void LicenseDisplay::OnCancel() {
  Unload();
}

}  // namespace rh::ui
