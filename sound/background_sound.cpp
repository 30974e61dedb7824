#include "sound/background_sound.h"

#include "platform/files.h"

namespace pavona::sound {

void StartBackgroundSound(TMediaPlayer& player, const std::string& folder,
                          const std::string& sound) {
  if (sound.empty()) return;
  player.SetNotify(true);
  player.SetFileName(platform::JoinPath(folder, sound));
  player.Open();
  player.Play();
}

void RestartAtEnd(TMediaPlayer& player) {
  const std::int32_t position = player.Position();
  const std::int32_t length = player.Length();
  if (position == length) player.Play();
}

}  // namespace pavona::sound
