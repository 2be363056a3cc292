#include "tools/GameOptions.h"

#include "core/GameDataFiles.h"
#include "core/ProfileFile.h"
#include "res/resource.h"

namespace velmora {
namespace {

// Writes the key the box stands for. Configuration files copied from CD are
// read-only; the user has asked for the change, so the file is made
// writable. A write that still fails puts the box back and says so, rather
// than show a setting the game does not have.
void writeOption(AppState& state, int box, const char* section, const char* key, const char* checkedValue,
                 const char* uncheckedValue) {
    const bool checked = state.dialog().isChecked(box);
    const std::string path = state.paths().gameConfig();
    FileSystem& files = state.files();
    if (files.isReadOnly(path)) files.makeWritable(path);
    if (writeProfileString(files, section, key, checked ? checkedValue : uncheckedValue, path)) return;
    state.dialog().setChecked(box, !checked);
    state.dialog().messageBox("Could not change " + std::string(key) + " in " + path + ".", "Error",
                              MessageIcon::Error, MessageButtons::Ok);
}

}  // namespace

void loadGameOptions(AppState& state) {
    DialogPort& dialog = state.dialog();
    const ProfileFile config = ProfileFile::load(state.files(), state.paths().gameConfig());
    if (config.getInt(kCollisionSection, kCollisionKey, kCollisionDefault) == kCollisionDefault) {
        dialog.setChecked(IDC_COLLISION, false);
    } else {
        dialog.setChecked(IDC_COLLISION, true);
        toggleCollision(state);
    }
    dialog.setChecked(IDC_FRACT_MIN, config.getInt(kFractionSection, kFractionKey, kFractionDefault) == 0);
}

void toggleCollision(AppState& state) {
    writeOption(state, IDC_COLLISION, kCollisionSection, kCollisionKey, "0", "2");
}

void toggleFractionalMinutes(AppState& state) {
    writeOption(state, IDC_FRACT_MIN, kFractionSection, kFractionKey, "0", "1");
}

}  // namespace velmora
