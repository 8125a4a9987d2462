#include "main_window_model.h"

#include "profile_store.h"
#include "sequence_generator.h"
#include "standard_functions.h"
#include "unit_tables.h"

namespace varnel {

MainWindowModel::MainWindowModel(VarnelFolders folders, UserDialogs& dialogs)
    : folders_(std::move(folders)), dialogs_(dialogs) {}

void MainWindowModel::load() {
  StoredProfiles stored = loadProfiles(folders_.ProfilesIni);
  if (!stored.status) dialogs_.showMessage(stored.status.message());
  profiles_ = ProfileList(std::move(stored.profiles));
  const bool listed = stored.selectedProfile >= 0 && stored.selectedProfile < profiles_.entryCount();
  selectProfile(listed ? stored.selectedProfile : 0);
}

void MainWindowModel::unload() {
  finishProfileName();
  Status saved = saveProfiles(folders_.ProfilesIni, folders_.ProfilesOld, profiles_.profiles(), currentProfile_);
  if (!saved) dialogs_.showMessage(saved.message());
}

void MainWindowModel::selectProfile(int index) {
  if (index < 0 || index >= profiles_.entryCount()) return;
  currentProfile_ = index;
  acceptedName_.reset();
  if (!profiles_.isTemplate(index)) acceptedName_ = current().Name;
  EnableProfileControls(!profiles_.isTemplate(index));
  UpdateGoButton();
  RefreshOutputList();
}

void MainWindowModel::changeProfileName(const std::string& text) {
  if (profiles_.rename(currentProfile_, text)) EnableProfileControls(true);
}

void MainWindowModel::finishProfileName() {
  if (profiles_.isTemplate(currentProfile_) || current().Name == acceptedName_) return;
  const std::string problem = profiles_.nameProblem(currentProfile_, current().Name);
  if (problem.empty()) {
    acceptedName_ = current().Name;
    return;
  }
  dialogs_.showMessage("The profile name \"" + current().Name + "\" cannot be used: " + problem + ".");
  if (acceptedName_) {
    editable().Name = *acceptedName_;
    return;
  }
  profiles_.remove(currentProfile_);
  selectProfile(currentProfile_);
}

void MainWindowModel::changeSourceFile(const std::string& path) {
  editable().SourceFile = path;
  UpdateGoButton();
}

void MainWindowModel::changeOutputFile(const std::string& path) {
  editable().OutputFile = path;
  UpdateGoButton();
  RefreshOutputList();
}

void MainWindowModel::selectUnitType(int index) {
  if (index >= 0 && index < kUnitTypeCount) editable().UnitType = static_cast<std::int16_t>(index);
}

void MainWindowModel::selectWeapon(int index) {
  if (index >= 0 && index < kWeaponCount) editable().Weapon = static_cast<std::int16_t>(index);
}

void MainWindowModel::changeWeaponOffsetY(int offset) {
  if (offset >= kMinWeaponOffsetY && offset <= kMaxWeaponOffsetY) {
    editable().WeaponOffsetY = static_cast<std::int16_t>(offset);
  }
}

void MainWindowModel::chooseFileFor(const std::string& title, bool source) {
  const std::string& preset = source ? current().SourceFile : current().OutputFile;
  const std::optional<std::string> chosen = dialogs_.chooseFile(title, kBitmapFilter, preset);
  if (!chosen) return;
  if (source) {
    changeSourceFile(*chosen);
  } else {
    changeOutputFile(*chosen);
  }
}

void MainWindowModel::chooseSourceFile() { chooseFileFor("Select Source File (any frame)", true); }

void MainWindowModel::chooseOutputFile() { chooseFileFor("Select Output File (any frame)", false); }

void MainWindowModel::cloneProfile() {
  if (profiles_.isTemplate(currentProfile_)) return;
  selectProfile(profiles_.clone(currentProfile_));
  focusRequest_ = FocusRequest::ProfileNameAtEnd;
}

void MainWindowModel::deleteProfile() {
  if (profiles_.isTemplate(currentProfile_)) return;
  profiles_.remove(currentProfile_);
  selectProfile(currentProfile_);
}

void MainWindowModel::createOutputSequence() {
  const GenerationReport report = GenerateSequence(current(), options_, folders_);
  if (!report.status) dialogs_.showMessage(report.status.message());
  RefreshOutputList();
  if (outputList_.items.size() > 1) {
    selectOutputSequence(1);
    focusRequest_ = FocusRequest::OutputSequence;
  }
}

void MainWindowModel::selectOutputSequence(int index) {
  preview_.reset();
  if (index < 0 || index >= static_cast<int>(outputList_.items.size())) return;
  outputSelection_ = index;
  if (index == 0) return;
  const std::string path = BuildPath(outputList_.folder, outputList_.items[static_cast<std::size_t>(index)]);
  if (!FileExists(path, false)) return;
  FalquiImageClass image;
  if (image.LoadBMP(path)) preview_ = std::move(image);
}

FocusRequest MainWindowModel::takeFocusRequest() {
  const FocusRequest request = focusRequest_;
  focusRequest_ = FocusRequest::None;
  return request;
}

void MainWindowModel::UpdateGoButton() {
  goEnabled_ = FileExists(current().SourceFile, true) && FolderExists(GetFolder(current().OutputFile), true);
}

void MainWindowModel::RefreshOutputList() {
  outputList_ = varnel::RefreshOutputList(current().OutputFile);
  outputSelection_ = 0;
  preview_.reset();
}

}  // namespace varnel
