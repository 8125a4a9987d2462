// The state and behaviour of the main window without any widgets: the profile
// list and the selected profile, the conversion options, which controls are
// enabled, the Output Sequence list and its preview. The Qt window forwards
// each event here and then shows the state.
#pragma once

#include <optional>
#include <string>

#include "falqui_image.h"
#include "generation_options.h"
#include "output_sequence_list.h"
#include "profile_list.h"
#include "user_dialogs.h"
#include "varnel_folders.h"

namespace varnel {

inline constexpr const char* kBitmapFilter = "Bitmap Files (*.bmp)";

enum class FocusRequest { None, ProfileNameAtEnd, OutputSequence };

class MainWindowModel {
 public:
  MainWindowModel(VarnelFolders folders, UserDialogs& dialogs);

  // Window load: the profiles and the entry selected when the program last closed.
  void load();
  // Window unload: saves the profiles and the selected entry.
  void unload();

  void selectProfile(int index);
  // Each edit of the name is stored at once; typing into the template makes it a profile.
  void changeProfileName(const std::string& text);
  // When the name edit ends: a name that cannot be saved is refused with a
  // message and the previous name comes back (a profile that never had a
  // usable name is dropped again).
  void finishProfileName();
  void changeSourceFile(const std::string& path);
  void changeOutputFile(const std::string& path);
  void selectUnitType(int index);
  void selectWeapon(int index);
  void changeWeaponOffsetY(int offset);
  void chooseSourceFile();
  void chooseOutputFile();
  void cloneProfile();
  void deleteProfile();
  void createOutputSequence();
  void selectOutputSequence(int index);

  GenerationOptions& options() { return options_; }
  const GenerationOptions& options() const { return options_; }
  const VarnelFolders& folders() const { return folders_; }
  const ProfileList& profiles() const { return profiles_; }
  int currentProfile() const { return currentProfile_; }
  const UnitProfile& current() const { return profiles_.entry(currentProfile_); }
  bool profileControlsEnabled() const { return profileControlsEnabled_; }
  bool goEnabled() const { return goEnabled_; }
  const OutputSequenceList& outputList() const { return outputList_; }
  int outputSelection() const { return outputSelection_; }
  const std::optional<FalquiImageClass>& preview() const { return preview_; }
  // Where the focus should go after the last event; cleared by reading.
  FocusRequest takeFocusRequest();

 private:
  UnitProfile& editable() { return profiles_.entry(currentProfile_); }
  void EnableProfileControls(bool enabled) { profileControlsEnabled_ = enabled; }
  void UpdateGoButton();
  void RefreshOutputList();
  void chooseFileFor(const std::string& title, bool source);

  VarnelFolders folders_;
  UserDialogs& dialogs_;
  ProfileList profiles_;
  int currentProfile_ = 0;
  // The name the current profile had before its name was edited; nothing for
  // a profile just made from the template.
  std::optional<std::string> acceptedName_;
  GenerationOptions options_;
  bool profileControlsEnabled_ = false;
  bool goEnabled_ = false;
  OutputSequenceList outputList_;
  int outputSelection_ = 0;
  std::optional<FalquiImageClass> preview_;
  FocusRequest focusRequest_ = FocusRequest::None;
};

}  // namespace varnel
