// The backup of a game's originals: a write-once copy, beside the program, of
// the game's own multiplayer.mis, every object DP and (CFS2) every ship DP a
// ship.cfg names. It is taken at every start-up and only ever grows: a file
// once in the backup tree is never overwritten or deleted, so the first copy
// of each original stays the one every restore puts back.
//
// The same run guards the settings file: a file written by another version
// leads to a restore of the originals and a fresh settings file.
#pragma once

#include "core/AppState.h"

namespace velmora {

// Backs up the active game. Returns 0 when the backup is complete and 1 when
// it failed; every failure has been shown in an error box.
int backupOriginals(AppState& state);

}  // namespace velmora
