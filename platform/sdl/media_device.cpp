// The desktop media device over SDL2_mixer. Each open decodes its whole file into one chunk; a
// play mixes the part [from, to) of it on a free channel. Positions are measured on the steady
// clock from the start of the play and end at its end.
//
// Completion: SDL_mixer reports a finished channel through one process-wide callback, on the
// audio thread or, for a halt, on the halting thread. The callback only posts the channel number
// to the device's message target; the UI thread then decides whether that channel still carries
// one of the device's plays, so a stale report never ends a newer play.
#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "platform/media_device.h"

namespace pavona::platform {

namespace {

constexpr std::uint32_t kChannelDone = 1;

using Clock = std::chrono::steady_clock;

// Where the finished-channel callback posts to; set while a device exists.
std::mutex gCallbackMutex;
TEventLoop* gCallbackLoop = nullptr;
TMessageTargetId gCallbackTarget = 0;

void ChannelFinished(int channel) {
  std::lock_guard lock(gCallbackMutex);
  if (gCallbackLoop != nullptr) gCallbackLoop->PostToTarget(gCallbackTarget, kChannelDone, channel);
}

class TSdlMediaDevice final : public TMediaDevice {
 public:
  explicit TSdlMediaDevice(TEventLoop& loop)
      : FLoop(loop), FTarget(loop, [this](const TMessage& m) { OnChannelDone(m); }) {
    std::lock_guard lock(gCallbackMutex);
    if (gCallbackLoop != nullptr) {
      throw std::logic_error("Only one desktop media device can exist at a time");
    }
    gCallbackLoop = &loop;
    gCallbackTarget = FTarget.Id();
  }

  ~TSdlMediaDevice() override {
    for (auto& [id, medium] : FMedia) Release(medium);
    FMedia.clear();
    if (FAudioOpen) {
      Mix_ChannelFinished(nullptr);
      Mix_CloseAudio();
      Mix_Quit();
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    std::lock_guard lock(gCallbackMutex);
    gCallbackLoop = nullptr;
    gCallbackTarget = 0;
  }

  MCIERROR Open(std::uint32_t flags, TMCIOpenParms& parms) override {
    if (const MCIERROR refused = CheckOpenRequest(flags, parms); refused != 0) return refused;
    if (!OpenAudio()) return kMediaErrOutputUnavailable;
    Mix_Chunk* chunk = Mix_LoadWAV(parms.ElementName.c_str());
    if (chunk == nullptr) return kMediaErrCannotReadFile;
    const std::uint32_t length = BytesToMs(chunk->alen);
    if (length == 0) {
      Mix_FreeChunk(chunk);
      return kMediaErrNoSound;
    }
    MCIDEVICEID id = 1;
    while (FMedia.count(id) != 0) ++id;
    Medium& medium = FMedia[id];
    medium.sound = chunk;
    medium.length = length;
    parms.DeviceID = id;
    if ((flags & MCI_NOTIFY) != 0) Notify(parms.Callback, MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
  }

  MCIERROR Play(MCIDEVICEID device, std::uint32_t flags, const TMCIPlayParms& parms) override {
    Medium* medium = Find(device);
    if (medium == nullptr) return kMediaErrInvalidDevice;
    const std::uint32_t from = (flags & MCI_FROM) != 0 ? parms.From : PositionOf(*medium);
    const std::uint32_t to = (flags & MCI_TO) != 0 ? parms.To : medium->length;
    if (from > medium->length || to > medium->length || from > to) return kMediaErrOutOfRange;
    Interrupt(*medium, device, flags);
    Stop(*medium);
    medium->position = from;
    medium->end = to;
    const std::uint32_t begin = MsToBytes(from);
    const std::uint32_t stop = std::min(MsToBytes(to), medium->sound->alen);
    if (begin < stop) {
      medium->part = Mix_QuickLoad_RAW(medium->sound->abuf + begin, stop - begin);
      if (medium->part == nullptr) return kMediaErrOutputUnavailable;
      medium->started = Clock::now();
      medium->channel = Mix_PlayChannel(-1, medium->part, 0);
      if (medium->channel < 0) {
        ReleasePart(*medium);
        return kMediaErrOutputUnavailable;
      }
    }
    if ((flags & MCI_WAIT) != 0) {
      while (medium->channel >= 0 && Mix_Playing(medium->channel) != 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
    }
    if (medium->channel < 0 || (flags & MCI_WAIT) != 0) {
      Finish(*medium);
      if ((flags & MCI_NOTIFY) != 0) Notify(parms.Callback, MCI_NOTIFY_SUCCESSFUL, device);
    } else if ((flags & MCI_NOTIFY) != 0) {
      medium->pendingNotify = parms.Callback;
    }
    return 0;
  }

  MCIERROR Seek(MCIDEVICEID device, std::uint32_t flags, const TMCISeekParms& parms) override {
    Medium* medium = Find(device);
    if (medium == nullptr) return kMediaErrInvalidDevice;
    std::uint32_t target = 0;
    if (const MCIERROR error = SeekTarget(flags, parms, medium->length, target)) return error;
    Interrupt(*medium, device, 0);  // a seek stops the play
    Stop(*medium);
    medium->position = target;
    if ((flags & MCI_NOTIFY) != 0) Notify(parms.Callback, MCI_NOTIFY_SUCCESSFUL, device);
    return 0;
  }

  MCIERROR Status(MCIDEVICEID device, std::uint32_t flags, TMCIStatusParms& parms) override {
    Medium* medium = Find(device);
    if (medium == nullptr) return kMediaErrInvalidDevice;
    if ((flags & MCI_STATUS_ITEM) == 0) return kMediaErrMissingParameter;
    switch (parms.Item) {
      case MCI_STATUS_LENGTH: parms.Return = medium->length; break;
      case MCI_STATUS_POSITION: parms.Return = PositionOf(*medium); break;
      default: return kMediaErrUnsupported;
    }
    if ((flags & MCI_NOTIFY) != 0) {
      Interrupt(*medium, device, flags);
      Notify(parms.Callback, MCI_NOTIFY_SUCCESSFUL, device);
    }
    return 0;
  }

  MCIERROR Set(MCIDEVICEID device, std::uint32_t flags, const TMCISetParms& parms) override {
    Medium* medium = Find(device);
    if (medium == nullptr) return kMediaErrInvalidDevice;
    if ((flags & MCI_SET_TIME_FORMAT) != 0 && parms.TimeFormat != MCI_FORMAT_MILLISECONDS) {
      return kMediaErrBadTimeFormat;
    }
    if ((flags & MCI_NOTIFY) != 0) {
      Interrupt(*medium, device, flags);
      Notify(parms.Callback, MCI_NOTIFY_SUCCESSFUL, device);
    }
    return 0;
  }

  MCIERROR Close(MCIDEVICEID device, std::uint32_t flags, const TMCIGenericParms& parms) override {
    Medium* medium = Find(device);
    if (medium == nullptr) return kMediaErrInvalidDevice;
    Interrupt(*medium, device, 0);  // closing ends the play
    Release(*medium);
    FMedia.erase(device);
    if ((flags & MCI_NOTIFY) != 0) Notify(parms.Callback, MCI_NOTIFY_SUCCESSFUL, device);
    return 0;
  }

  bool GetErrorString(MCIERROR error, std::string& text) override {
    const char* known = MediaErrorText(error);
    if (known == nullptr) return false;
    text = known;
    return true;
  }

 private:
  struct Medium {
    Mix_Chunk* sound = nullptr;  // the whole decoded file
    Mix_Chunk* part = nullptr;   // the running play's part of it; shares sound's samples
    std::uint32_t length = 0;
    std::uint32_t position = 0;  // when not playing
    std::uint32_t end = 0;       // where the running play stops
    int channel = -1;            // the running play's channel
    Clock::time_point started;
    TMessageTargetId pendingNotify = 0;
  };

  bool OpenAudio() {
    if (FAudioOpen) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    Mix_Init(MIX_INIT_FLAC | MIX_INIT_MP3 | MIX_INIT_OGG);
    if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
      Mix_Quit();
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    int frequency = 0;
    int channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&frequency, &format, &channels);
    FFrequency = static_cast<std::uint64_t>(frequency);
    FFrameBytes = static_cast<std::uint64_t>(channels) * (SDL_AUDIO_BITSIZE(format) / 8);
    Mix_ChannelFinished(&ChannelFinished);
    FAudioOpen = true;
    return true;
  }

  std::uint32_t BytesToMs(std::uint32_t bytes) const {
    return static_cast<std::uint32_t>(bytes / FFrameBytes * 1000 / FFrequency);
  }
  std::uint32_t MsToBytes(std::uint32_t ms) const {
    return static_cast<std::uint32_t>(ms * FFrequency / 1000 * FFrameBytes);
  }

  Medium* Find(MCIDEVICEID device) {
    const auto found = FMedia.find(device);
    return found == FMedia.end() ? nullptr : &found->second;
  }

  std::uint32_t PositionOf(const Medium& medium) const {
    if (medium.channel < 0) return medium.position;
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - medium.started);
    const std::uint64_t position = medium.position + static_cast<std::uint64_t>(elapsed.count());
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(position, medium.end));
  }

  void Notify(TMessageTargetId target, std::uint32_t code, MCIDEVICEID device) {
    if (target != 0) FLoop.PostToTarget(target, MM_MCINOTIFY, code, device);
  }

  void Interrupt(Medium& medium, MCIDEVICEID device, std::uint32_t flags) {
    if (medium.pendingNotify == 0) return;
    Notify(medium.pendingNotify,
           (flags & MCI_NOTIFY) != 0 ? MCI_NOTIFY_SUPERSEDED : MCI_NOTIFY_ABORTED, device);
    medium.pendingNotify = 0;
  }

  // Halts the running play where it is. The channel is let go first, so that the finished
  // report the halt causes finds no play on it.
  void Stop(Medium& medium) {
    if (medium.channel >= 0) medium.position = PositionOf(medium);
    ReleasePart(medium);
  }

  // The play ran to its end.
  void Finish(Medium& medium) {
    ReleasePart(medium);
    medium.position = medium.end;
  }

  void ReleasePart(Medium& medium) {
    const int channel = medium.channel;
    medium.channel = -1;
    if (channel >= 0) Mix_HaltChannel(channel);
    if (medium.part != nullptr) Mix_FreeChunk(medium.part);
    medium.part = nullptr;
  }

  void Release(Medium& medium) {
    ReleasePart(medium);
    if (medium.sound != nullptr) Mix_FreeChunk(medium.sound);
    medium.sound = nullptr;
  }

  void OnChannelDone(const TMessage& message) {
    if (message.Msg != kChannelDone) return;
    const int channel = static_cast<int>(message.WParam);
    if (Mix_Playing(channel) != 0) return;  // a newer play runs there already
    for (auto& [id, medium] : FMedia) {
      if (medium.channel != channel) continue;
      Finish(medium);
      Notify(medium.pendingNotify, MCI_NOTIFY_SUCCESSFUL, id);
      medium.pendingNotify = 0;
      return;
    }
  }

  TEventLoop& FLoop;
  TMessageTarget FTarget;
  std::map<MCIDEVICEID, Medium> FMedia;
  bool FAudioOpen = false;
  std::uint64_t FFrequency = 1;
  std::uint64_t FFrameBytes = 1;
};

}  // namespace

std::unique_ptr<TMediaDevice> CreateMediaDevice(TEventLoop& loop) {
  return std::make_unique<TSdlMediaDevice>(loop);
}

}  // namespace pavona::platform
