#include "platform/headless/media_device.h"

namespace pavona::platform {

std::unique_ptr<TMediaDevice> CreateMediaDevice(TEventLoop& loop) {
  return std::make_unique<headless::THeadlessMediaDevice>(loop);
}

}  // namespace pavona::platform

namespace pavona::platform::headless {

MCIERROR THeadlessMediaDevice::Log(TMediaCommand command, MCIERROR result) {
  command.Result = result;
  FCommands.push_back(command);
  return result;
}

THeadlessMediaDevice::Medium* THeadlessMediaDevice::Find(MCIDEVICEID device) {
  const auto found = FMedia.find(device);
  return found == FMedia.end() ? nullptr : &found->second;
}

void THeadlessMediaDevice::Notify(TMessageTargetId target, std::uint32_t code,
                                  MCIDEVICEID device) {
  if (target != 0) FLoop.PostToTarget(target, MM_MCINOTIFY, code, device);
}

void THeadlessMediaDevice::Interrupt(Medium& medium, MCIDEVICEID device, std::uint32_t flags) {
  if (medium.pendingNotify == 0) return;
  Notify(medium.pendingNotify,
         (flags & MCI_NOTIFY) != 0 ? MCI_NOTIFY_SUPERSEDED : MCI_NOTIFY_ABORTED, device);
  medium.pendingNotify = 0;
}

MCIERROR THeadlessMediaDevice::Open(std::uint32_t flags, TMCIOpenParms& parms) {
  const TMediaCommand command{MCI_OPEN, 0, flags, 0, 0, 0, parms.Callback, 0};
  if (FNextOpenError != 0) {
    const MCIERROR error = FNextOpenError;
    FNextOpenError = 0;
    return Log(command, error);
  }
  if (const MCIERROR refused = CheckOpenRequest(flags, parms); refused != 0) {
    return Log(command, refused);
  }
  const auto scripted = FLengths.find(parms.ElementName);
  const std::uint32_t length = scripted == FLengths.end() ? kDefaultLengthMs : scripted->second;
  if (length == 0) return Log(command, kMediaErrNoSound);

  MCIDEVICEID id = 1;
  while (FMedia.count(id) != 0) ++id;
  FMedia[id].length = length;
  parms.DeviceID = id;
  if ((flags & MCI_NOTIFY) != 0) Notify(parms.Callback, MCI_NOTIFY_SUCCESSFUL, id);
  TMediaCommand opened = command;
  opened.Device = id;
  return Log(opened, 0);
}

MCIERROR THeadlessMediaDevice::Play(MCIDEVICEID device, std::uint32_t flags,
                                    const TMCIPlayParms& parms) {
  TMediaCommand command{MCI_PLAY, device, flags, 0, parms.From, parms.To, parms.Callback, 0};
  Medium* medium = Find(device);
  if (medium == nullptr) return Log(command, kMediaErrInvalidDevice);
  const std::uint32_t from = (flags & MCI_FROM) != 0 ? parms.From : medium->position;
  const std::uint32_t to = (flags & MCI_TO) != 0 ? parms.To : medium->length;
  if (from > medium->length || to > medium->length || from > to) {
    return Log(command, kMediaErrOutOfRange);
  }
  Interrupt(*medium, device, flags);
  medium->position = from;
  medium->end = to;
  medium->playing = from < to;
  if ((flags & MCI_WAIT) != 0) {
    // Scripted time cannot pass inside a call: a waiting play runs to its end at once.
    medium->position = to;
    medium->playing = false;
  }
  if ((flags & MCI_NOTIFY) != 0) {
    if (medium->playing) {
      medium->pendingNotify = parms.Callback;
    } else {
      Notify(parms.Callback, MCI_NOTIFY_SUCCESSFUL, device);
    }
  }
  return Log(command, 0);
}

MCIERROR THeadlessMediaDevice::Seek(MCIDEVICEID device, std::uint32_t flags,
                                    const TMCISeekParms& parms) {
  TMediaCommand command{MCI_SEEK, device, flags, 0, 0, parms.To, parms.Callback, 0};
  Medium* medium = Find(device);
  if (medium == nullptr) return Log(command, kMediaErrInvalidDevice);
  std::uint32_t target = 0;
  if (const MCIERROR error = SeekTarget(flags, parms, medium->length, target)) {
    return Log(command, error);
  }
  Interrupt(*medium, device, 0);  // a seek stops the play
  medium->playing = false;
  medium->position = target;
  if ((flags & MCI_NOTIFY) != 0) Notify(parms.Callback, MCI_NOTIFY_SUCCESSFUL, device);
  return Log(command, 0);
}

MCIERROR THeadlessMediaDevice::Status(MCIDEVICEID device, std::uint32_t flags,
                                      TMCIStatusParms& parms) {
  TMediaCommand command{MCI_STATUS, device, flags, parms.Item, 0, 0, parms.Callback, 0};
  Medium* medium = Find(device);
  if (medium == nullptr) return Log(command, kMediaErrInvalidDevice);
  if ((flags & MCI_STATUS_ITEM) == 0) return Log(command, kMediaErrMissingParameter);
  switch (parms.Item) {
    case MCI_STATUS_LENGTH: parms.Return = medium->length; break;
    case MCI_STATUS_POSITION: parms.Return = medium->position; break;
    default: return Log(command, kMediaErrUnsupported);
  }
  if ((flags & MCI_NOTIFY) != 0) {
    Interrupt(*medium, device, flags);
    Notify(parms.Callback, MCI_NOTIFY_SUCCESSFUL, device);
  }
  return Log(command, 0);
}

MCIERROR THeadlessMediaDevice::Set(MCIDEVICEID device, std::uint32_t flags,
                                   const TMCISetParms& parms) {
  TMediaCommand command{MCI_SET, device, flags, parms.TimeFormat, 0, 0, parms.Callback, 0};
  Medium* medium = Find(device);
  if (medium == nullptr) return Log(command, kMediaErrInvalidDevice);
  if ((flags & MCI_SET_TIME_FORMAT) != 0 && parms.TimeFormat != MCI_FORMAT_MILLISECONDS) {
    return Log(command, kMediaErrBadTimeFormat);
  }
  if ((flags & MCI_NOTIFY) != 0) {
    Interrupt(*medium, device, flags);
    Notify(parms.Callback, MCI_NOTIFY_SUCCESSFUL, device);
  }
  return Log(command, 0);
}

MCIERROR THeadlessMediaDevice::Close(MCIDEVICEID device, std::uint32_t flags,
                                     const TMCIGenericParms& parms) {
  TMediaCommand command{MCI_CLOSE, device, flags, 0, 0, 0, parms.Callback, 0};
  Medium* medium = Find(device);
  if (medium == nullptr) return Log(command, kMediaErrInvalidDevice);
  // Closing ends the play, so its notification is aborted even when the close notifies.
  Interrupt(*medium, device, 0);
  FMedia.erase(device);
  if ((flags & MCI_NOTIFY) != 0) Notify(parms.Callback, MCI_NOTIFY_SUCCESSFUL, device);
  return Log(command, 0);
}

bool THeadlessMediaDevice::GetErrorString(MCIERROR error, std::string& text) {
  const char* known = MediaErrorText(error);
  if (known == nullptr) return false;
  text = known;
  return true;
}

void THeadlessMediaDevice::SetLength(const std::string& fileName, std::uint32_t lengthMs) {
  FLengths[fileName] = lengthMs;
}

void THeadlessMediaDevice::Advance(std::uint32_t ms) {
  for (auto& [id, medium] : FMedia) {
    if (!medium.playing) continue;
    if (medium.end - medium.position > ms) {
      medium.position += ms;
      continue;
    }
    medium.position = medium.end;
    medium.playing = false;
    Notify(medium.pendingNotify, MCI_NOTIFY_SUCCESSFUL, id);
    medium.pendingNotify = 0;
  }
}

bool THeadlessMediaDevice::IsPlaying(MCIDEVICEID device) const {
  const auto found = FMedia.find(device);
  return found != FMedia.end() && found->second.playing;
}

}  // namespace pavona::platform::headless
