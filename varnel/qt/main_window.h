// The main window frmMain: widgets named after their controls, each event
// forwarded to MainWindowModel, the model's state shown after every event.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "main_window_model.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;

namespace varnel {

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // Without dialogs the window asks with its own message boxes and file dialog.
  explicit MainWindow(VarnelFolders folders, UserDialogs* dialogs = nullptr);
  ~MainWindow() override;

  MainWindowModel& model() { return model_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildControls();
  void connectEvents();
  void showModel();
  void showProfileList();
  void showOutputList();
  void showPreview();
  void setEditBackColor(QWidget* widget, bool enabled);
  // Runs an event on the model, then shows the new state.
  template <typename Action>
  void handle(Action action);

  std::unique_ptr<UserDialogs> ownDialogs_;
  UserDialogs& dialogs_;
  MainWindowModel model_;
  bool showing_ = false;

  QComboBox* comboProfile_ = nullptr;
  QPushButton* cmdClone_ = nullptr;
  QPushButton* cmdDelete_ = nullptr;
  QLineEdit* txtProfile_ = nullptr;
  QComboBox* comboUnitType_ = nullptr;
  QLineEdit* txtSourceFile_ = nullptr;
  QPushButton* cmdSourceFile_ = nullptr;
  QLineEdit* txtOutputFile_ = nullptr;
  QPushButton* cmdOutputFile_ = nullptr;
  QComboBox* comboWeapon_ = nullptr;
  QSlider* sliderWeaponOffsetY_ = nullptr;
  QCheckBox* cboxCrouch_ = nullptr;
  QCheckBox* cboxFlying_ = nullptr;
  QCheckBox* cboxAltTorso_ = nullptr;
  QGroupBox* framePal_ = nullptr;
  std::array<QRadioButton*, 3> optPal_{};
  QCheckBox* cboxRA2BG_ = nullptr;
  QCheckBox* cboxRemapExact_ = nullptr;
  QCheckBox* cboxRemapClose_ = nullptr;
  QPushButton* cmdGo_ = nullptr;
  QComboBox* comboOutputSeq_ = nullptr;
  QLabel* imageOutput_ = nullptr;
  QListWidget* lstFiles_ = nullptr;
};

}  // namespace varnel
