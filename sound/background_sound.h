// The viewer's background sound: started once from the settings, restarted at each end.
#pragma once

#include <string>

#include "sound/media_player.h"

namespace pavona::sound {

// Starts the sound named by the "Sound" setting, a file in folder. An empty name starts nothing
// and sends no command. Otherwise: Notify := True, FileName := the file, Open, Play; an
// EMCIDeviceError from Open leaves the sound off and propagates.
void StartBackgroundSound(TMediaPlayer& player, const std::string& folder,
                          const std::string& sound);

// The looping rule, for the main window's MediaPlayerNotify: when the position has reached the
// length, play again (Play rewinds first). Any other notification, the open's own included,
// finds the position short of the length and restarts nothing.
void RestartAtEnd(TMediaPlayer& player);

}  // namespace pavona::sound
