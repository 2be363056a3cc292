#include "tools/GameOptions.h"

#include "core/GameDataFiles.h"
#include "core/PrivateProfile.h"
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
    if (!state.requireGameFolder()) {
        state.dialog().setChecked(box, !checked);
        return;
    }
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
    for (int box : {IDC_COLLISION, IDC_FRACT_MIN}) dialog.enable(box, true);
    const std::string path = state.paths().gameConfig();
    const ProfileFile config = ProfileFile::load(state.files(), path);
    const int collision = config.getInt(kCollisionSection, kCollisionKey, kCollisionDefault);
    dialog.setChecked(IDC_COLLISION, collision != kCollisionDefault);
    // The box shows two states: any value but 2 is shown, and made, 0. That
    // rewrite is quiet and leaves the file's protection alone; only a click
    // makes a read-only file writable.
    if (collision != kCollisionDefault && collision != 0 && !state.gameDir.empty())
        writeProfileString(state.files(), kCollisionSection, kCollisionKey, "0", path);
    dialog.setChecked(IDC_FRACT_MIN, config.getInt(kFractionSection, kFractionKey, kFractionDefault) == 0);
}

void toggleCollision(AppState& state) {
    writeOption(state, IDC_COLLISION, kCollisionSection, kCollisionKey, "0", "2");
}

void toggleFractionalMinutes(AppState& state) {
    writeOption(state, IDC_FRACT_MIN, kFractionSection, kFractionKey, "0", "1");
}

}  // namespace velmora
