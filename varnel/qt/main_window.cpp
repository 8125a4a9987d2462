#include "qt/main_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "qt/qt_user_dialogs.h"
#include "unit_tables.h"

namespace varnel {

namespace {

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QString text(std::string_view value) { return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())); }

QImage previewImage(const FalquiImageClass& image) {
  QImage shown(image.width(), image.height(), QImage::Format_RGB32);
  for (std::int32_t y = 0; y < image.height(); ++y) {
    for (std::int32_t x = 0; x < image.width(); ++x) {
      const ImageColor color = image.pixel(x, y);
      shown.setPixel(x, y, qRgb(color.Red, color.Green, color.Blue));
    }
  }
  return shown;
}

}  // namespace

MainWindow::MainWindow(VarnelFolders folders, UserDialogs* dialogs)
    : ownDialogs_(dialogs ? nullptr : std::make_unique<QtUserDialogs>(this)),
      dialogs_(dialogs ? *dialogs : *ownDialogs_),
      model_(std::move(folders), dialogs_) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Varnel"));
  buildControls();
  connectEvents();
  model_.load();
  showModel();
}

MainWindow::~MainWindow() {
  // The base class takes the children down after the model is gone, and a
  // line edit losing the focus then still signals.
  for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
}

void MainWindow::buildControls() {
  auto* form = new QGridLayout;
  int row = 0;
  const auto addLabel = [&](const char* name, const char* caption) {
    form->addWidget(named(new QLabel(QString::fromLatin1(caption)), name), row, 0);
  };

  addLabel("Label1", "Unit Profile:");
  comboProfile_ = named(new QComboBox, "comboProfile");
  cmdClone_ = named(new QPushButton(QStringLiteral("Clone")), "cmdClone");
  cmdDelete_ = named(new QPushButton(QStringLiteral("Delete")), "cmdDelete");
  auto* profileRow = new QHBoxLayout;
  profileRow->addWidget(comboProfile_, 1);
  profileRow->addWidget(cmdClone_);
  profileRow->addWidget(cmdDelete_);
  form->addLayout(profileRow, row++, 1, 1, 2);

  addLabel("Label10", "Profile Name:");
  txtProfile_ = named(new QLineEdit, "txtProfile");
  form->addWidget(txtProfile_, row++, 1, 1, 2);

  addLabel("Label2", "Unit Type:");
  comboUnitType_ = named(new QComboBox, "comboUnitType");
  for (std::string_view unitType : unitTypeTable()) comboUnitType_->addItem(text(unitType));
  form->addWidget(comboUnitType_, row++, 1, 1, 2);

  addLabel("Label3", "Source File:");
  txtSourceFile_ = named(new QLineEdit, "txtSourceFile");
  cmdSourceFile_ = named(new QPushButton(QStringLiteral("Open...")), "cmdSourceFile");
  form->addWidget(txtSourceFile_, row, 1);
  form->addWidget(cmdSourceFile_, row++, 2);

  addLabel("Label7", "Output File:");
  txtOutputFile_ = named(new QLineEdit, "txtOutputFile");
  cmdOutputFile_ = named(new QPushButton(QStringLiteral("Open...")), "cmdOutputFile");
  form->addWidget(txtOutputFile_, row, 1);
  form->addWidget(cmdOutputFile_, row++, 2);

  addLabel("Label4", "Weapon:");
  comboWeapon_ = named(new QComboBox, "comboWeapon");
  for (const WeaponRow& weapon : weaponTable()) comboWeapon_->addItem(text(weapon.text));
  form->addWidget(comboWeapon_, row++, 1, 1, 2);

  addLabel("Label6", "Wpn. Offset Y:");
  sliderWeaponOffsetY_ = named(new QSlider(Qt::Horizontal), "sliderWeaponOffsetY");
  sliderWeaponOffsetY_->setRange(kMinWeaponOffsetY, kMaxWeaponOffsetY);
  sliderWeaponOffsetY_->setSingleStep(1);
  sliderWeaponOffsetY_->setPageStep(5);
  sliderWeaponOffsetY_->setTickPosition(QSlider::TicksBelow);
  sliderWeaponOffsetY_->setTickInterval(5);
  form->addWidget(sliderWeaponOffsetY_, row++, 1, 1, 2);

  cboxCrouch_ = named(new QCheckBox(QStringLiteral("Can Crouch")), "cboxCrouch");
  cboxFlying_ = named(new QCheckBox(QStringLiteral("Flying Suit")), "cboxFlying");
  cboxAltTorso_ = named(new QCheckBox(QStringLiteral("Alt. Torso")), "cboxAltTorso");
  auto* unitChecks = new QHBoxLayout;
  unitChecks->addWidget(cboxCrouch_);
  unitChecks->addWidget(cboxFlying_);
  unitChecks->addWidget(cboxAltTorso_);
  unitChecks->addStretch(1);
  form->addLayout(unitChecks, row++, 0, 1, 3);

  auto* warning = named(
      new QLabel(QStringLiteral("Warning! No validation - some units can't be armed / no alt torso / etc.")), "Label5");
  warning->setWordWrap(true);
  form->addWidget(warning, row++, 0, 1, 3);

  framePal_ = named(new QGroupBox(QStringLiteral("Conversion Palette")), "framePal");
  auto* paletteColumn = new QVBoxLayout(framePal_);
  static constexpr std::array<const char*, 3> kPaletteCaptions = {
      "No conversion (assumes all parts of each frame have the same palette)", "ra2.pal",
      "combo.pal (you need to generate this first)"};
  static constexpr std::array<const char*, 3> kPaletteNames = {"optPal0", "optPal1", "optPal2"};
  for (std::size_t i = 0; i < optPal_.size(); ++i) {
    optPal_[i] = named(new QRadioButton(QString::fromLatin1(kPaletteCaptions[i])), kPaletteNames[i]);
    optPal_[i]->setProperty("controlId", static_cast<int>(i));
  }
  paletteColumn->addWidget(optPal_[1]);
  paletteColumn->addWidget(optPal_[2]);
  paletteColumn->addWidget(optPal_[0]);
  cboxRA2BG_ = named(new QCheckBox(QStringLiteral("Convert Qorm background color to RA2.")), "cboxRA2BG");
  cboxRemapExact_ = named(
      new QCheckBox(QStringLiteral("Remappable colours eligible for conversion if they match exactly.")),
      "cboxRemapExact");
  cboxRemapClose_ = named(
      new QCheckBox(QStringLiteral("Remappable colours eligible for conversion (nearest match).")), "cboxRemapClose");
  paletteColumn->addWidget(cboxRA2BG_);
  paletteColumn->addWidget(cboxRemapExact_);
  paletteColumn->addWidget(cboxRemapClose_);
  form->addWidget(framePal_, row++, 0, 1, 3);

  cmdGo_ = named(new QPushButton(QStringLiteral("Create Output Sequence (overwrites any existing files)")), "cmdGo");
  form->addWidget(cmdGo_, row++, 0, 1, 3);

  auto* preview = new QVBoxLayout;
  auto* sequenceRow = new QHBoxLayout;
  sequenceRow->addWidget(named(new QLabel(QStringLiteral("Output Sequence:")), "Label9"));
  comboOutputSeq_ = named(new QComboBox, "comboOutputSeq");
  comboOutputSeq_->setMinimumContentsLength(16);
  sequenceRow->addWidget(comboOutputSeq_, 1);
  preview->addLayout(sequenceRow);
  imageOutput_ = named(new QLabel, "imageOutput");
  imageOutput_->setFixedSize(2 * 94 + 4, 2 * 106 + 4);
  imageOutput_->setFrameShape(QFrame::StyledPanel);
  imageOutput_->setAlignment(Qt::AlignCenter);
  preview->addWidget(imageOutput_, 0, Qt::AlignHCenter);
  // The folder listing that feeds the Output Sequence list; it is not shown.
  lstFiles_ = named(new QListWidget, "lstFiles");
  lstFiles_->setVisible(false);
  preview->addWidget(lstFiles_);
  preview->addStretch(1);

  auto* columns = new QHBoxLayout(this);
  columns->addLayout(form, 1);
  columns->addLayout(preview);
}

template <typename Action>
void MainWindow::handle(Action action) {
  if (showing_) return;
  // Nothing may leave a slot: Qt cannot pass an exception on.
  try {
    action();
  } catch (const std::exception& error) {
    dialogs_.showMessage(error.what());
  }
  showModel();
}

void MainWindow::connectEvents() {
  connect(comboProfile_, &QComboBox::activated, this, [this](int index) { handle([&] { model_.selectProfile(index); }); });
  connect(txtProfile_, &QLineEdit::textEdited, this,
          [this](const QString& value) { handle([&] { model_.changeProfileName(value.toStdString()); }); });
  connect(txtProfile_, &QLineEdit::editingFinished, this, [this] { handle([&] { model_.finishProfileName(); }); });
  connect(txtSourceFile_, &QLineEdit::textEdited, this,
          [this](const QString& value) { handle([&] { model_.changeSourceFile(value.toStdString()); }); });
  connect(txtOutputFile_, &QLineEdit::textEdited, this,
          [this](const QString& value) { handle([&] { model_.changeOutputFile(value.toStdString()); }); });
  connect(comboUnitType_, &QComboBox::activated, this, [this](int index) { handle([&] { model_.selectUnitType(index); }); });
  connect(comboWeapon_, &QComboBox::activated, this, [this](int index) { handle([&] { model_.selectWeapon(index); }); });
  connect(sliderWeaponOffsetY_, &QSlider::valueChanged, this,
          [this](int value) { handle([&] { model_.changeWeaponOffsetY(value); }); });
  connect(cmdSourceFile_, &QPushButton::clicked, this, [this] { handle([&] { model_.chooseSourceFile(); }); });
  connect(cmdOutputFile_, &QPushButton::clicked, this, [this] { handle([&] { model_.chooseOutputFile(); }); });
  connect(cmdClone_, &QPushButton::clicked, this, [this] { handle([&] { model_.cloneProfile(); }); });
  connect(cmdDelete_, &QPushButton::clicked, this, [this] { handle([&] { model_.deleteProfile(); }); });
  connect(cmdGo_, &QPushButton::clicked, this, [this] { handle([&] { model_.createOutputSequence(); }); });
  connect(comboOutputSeq_, &QComboBox::activated, this,
          [this](int index) { handle([&] { model_.selectOutputSequence(index); }); });

  const auto bindCheck = [this](QCheckBox* box, bool GenerationOptions::*option) {
    connect(box, &QCheckBox::toggled, this, [this, option](bool checked) { handle([&] { model_.options().*option = checked; }); });
  };
  bindCheck(cboxCrouch_, &GenerationOptions::canCrouch);
  bindCheck(cboxFlying_, &GenerationOptions::flyingSuit);
  bindCheck(cboxAltTorso_, &GenerationOptions::altTorso);
  bindCheck(cboxRA2BG_, &GenerationOptions::ra2Background);
  bindCheck(cboxRemapExact_, &GenerationOptions::remapExact);
  bindCheck(cboxRemapClose_, &GenerationOptions::remapClose);
  for (std::size_t i = 0; i < optPal_.size(); ++i) {
    connect(optPal_[i], &QRadioButton::toggled, this, [this, i](bool checked) {
      if (checked) handle([&] { model_.options().palette = static_cast<ConversionPalette>(i); });
    });
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  model_.unload();
  event->accept();
}

void MainWindow::setEditBackColor(QWidget* widget, bool enabled) {
  QPalette colors = widget->palette();
  colors.setColor(QPalette::Base, palette().color(enabled ? QPalette::Base : QPalette::Button));
  widget->setPalette(colors);
}

void MainWindow::showProfileList() {
  const ProfileList& profiles = model_.profiles();
  if (comboProfile_->count() != profiles.entryCount()) {
    comboProfile_->clear();
    for (int i = 0; i < profiles.entryCount(); ++i) comboProfile_->addItem(QString());
  }
  for (int i = 0; i < profiles.entryCount(); ++i) {
    const QString name = QString::fromStdString(profiles.entry(i).Name);
    if (comboProfile_->itemText(i) != name) comboProfile_->setItemText(i, name);
  }
  comboProfile_->setCurrentIndex(model_.currentProfile());
}

void MainWindow::showOutputList() {
  const OutputSequenceList& list = model_.outputList();
  QStringList items;
  for (const std::string& item : list.items) items << QString::fromStdString(item);
  QStringList shown;
  for (int i = 0; i < comboOutputSeq_->count(); ++i) shown << comboOutputSeq_->itemText(i);
  if (shown != items) {
    comboOutputSeq_->clear();
    comboOutputSeq_->addItems(items);
    lstFiles_->clear();
    lstFiles_->addItems(items.mid(1));
  }
  comboOutputSeq_->setCurrentIndex(model_.outputSelection());
}

void MainWindow::showPreview() {
  const std::optional<FalquiImageClass>& preview = model_.preview();
  if (!preview) {
    imageOutput_->clear();
    return;
  }
  const QImage image = previewImage(*preview);
  imageOutput_->setPixmap(QPixmap::fromImage(image.scaled(image.size() * 2)));
}

void MainWindow::showModel() {
  showing_ = true;
  const UnitProfile& profile = model_.current();
  showProfileList();
  const auto showText = [](QLineEdit* edit, const std::string& value) {
    const QString shown = QString::fromStdString(value);
    if (edit->text() != shown) edit->setText(shown);
  };
  showText(txtProfile_, profile.Name);
  showText(txtSourceFile_, profile.SourceFile);
  showText(txtOutputFile_, profile.OutputFile);
  comboUnitType_->setCurrentIndex(profile.UnitType);
  comboWeapon_->setCurrentIndex(profile.Weapon);
  sliderWeaponOffsetY_->setValue(profile.WeaponOffsetY);

  const bool editable = model_.profileControlsEnabled();
  for (QWidget* control : std::initializer_list<QWidget*>{txtSourceFile_, cmdSourceFile_, comboUnitType_, comboWeapon_,
                                                          txtOutputFile_, cmdOutputFile_, cmdDelete_, cmdClone_}) {
    control->setEnabled(editable);
  }
  for (QWidget* control : std::initializer_list<QWidget*>{txtSourceFile_, txtOutputFile_, comboUnitType_, comboWeapon_}) {
    setEditBackColor(control, editable);
  }
  cmdGo_->setEnabled(model_.goEnabled());

  const GenerationOptions& options = model_.options();
  cboxCrouch_->setChecked(options.canCrouch);
  cboxFlying_->setChecked(options.flyingSuit);
  cboxAltTorso_->setChecked(options.altTorso);
  cboxRA2BG_->setChecked(options.ra2Background);
  cboxRemapExact_->setChecked(options.remapExact);
  cboxRemapClose_->setChecked(options.remapClose);
  optPal_[static_cast<std::size_t>(options.palette)]->setChecked(true);

  showOutputList();
  showPreview();
  showing_ = false;

  switch (model_.takeFocusRequest()) {
    case FocusRequest::ProfileNameAtEnd:
      txtProfile_->setFocus();
      txtProfile_->end(false);
      break;
    case FocusRequest::OutputSequence: comboOutputSeq_->setFocus(); break;
    case FocusRequest::None: break;
  }
}

}  // namespace varnel
