// The media device: plays one sound file per open device, in the manner of a media control
// interface. The caller sends typed commands with a flag word; each returns 0 or an error code.
//
// Contract of every backend:
// - Open selects the device by the element's extension (MediaDeviceTypeOf) unless a device type
//   is named; the new device's identifier (never 0) comes back in the record. A medium that
//   holds no sound is refused, so that a play never completes the moment it starts.
// - Positions and lengths are milliseconds. A pass that ran to its end reports position =
//   length; a play that starts at the end completes at once.
// - Play without MCI_WAIT returns at once and the sound plays in the background; with MCI_WAIT
//   it returns when the play has ended.
// - MCI_NOTIFY asks for a notification: the device posts MM_MCINOTIFY (wParam = the MCI_NOTIFY_*
//   code, lParam = the device identifier) to the record's Callback target on the event loop
//   given to the device, so it is dispatched on the UI thread. A command that completes at once
//   notifies at once; a play notifies when it ends. A pending play notification is superseded by
//   the next play, status or set command with MCI_NOTIFY, and aborted by a seek, a close or a
//   play without MCI_NOTIFY. Callback 0 receives nothing.
// - Status needs MCI_STATUS_ITEM and answers MCI_STATUS_LENGTH and MCI_STATUS_POSITION.
// - GetErrorString answers the backend's own texts (MediaErrorText); false for an unknown code.
// Every member is called on the UI thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/ascii.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/mci.h"

namespace pavona::platform {

// The error codes of the sdl and headless backends.
inline constexpr MCIERROR kMediaErrInvalidDevice = 257;
inline constexpr MCIERROR kMediaErrUnknownDeviceType = 258;
inline constexpr MCIERROR kMediaErrNoDeviceForFile = 259;
inline constexpr MCIERROR kMediaErrFileNotFound = 260;
inline constexpr MCIERROR kMediaErrCannotReadFile = 261;
inline constexpr MCIERROR kMediaErrNoSound = 262;
inline constexpr MCIERROR kMediaErrOutputUnavailable = 263;
inline constexpr MCIERROR kMediaErrOutOfRange = 264;
inline constexpr MCIERROR kMediaErrUnsupported = 265;
inline constexpr MCIERROR kMediaErrMissingParameter = 266;
inline constexpr MCIERROR kMediaErrBadTimeFormat = 267;

// The text of one of the codes above; nullptr for any other code.
inline const char* MediaErrorText(MCIERROR code) {
  switch (code) {
    case kMediaErrInvalidDevice: return "The media device is not open.";
    case kMediaErrUnknownDeviceType: return "No media device of this type is installed.";
    case kMediaErrNoDeviceForFile: return "No media device plays files with this extension.";
    case kMediaErrFileNotFound: return "The media file cannot be found.";
    case kMediaErrCannotReadFile:
      return "The media file cannot be read, or it is not in a format the device plays.";
    case kMediaErrNoSound: return "The media file holds no sound.";
    case kMediaErrOutputUnavailable: return "The sound output cannot be opened.";
    case kMediaErrOutOfRange: return "The position lies outside the medium.";
    case kMediaErrUnsupported: return "The media device does not support this command.";
    case kMediaErrMissingParameter: return "The command lacks a parameter it needs.";
    case kMediaErrBadTimeFormat: return "The media device does not support this time format.";
    default: return nullptr;
  }
}

// The device types that play sampled sound, and the extensions that select them (letter case
// ignored). "" when no device plays the file.
inline std::string MediaDeviceTypeOf(const std::string& fileName) {
  const auto dot = fileName.find_last_of("./");
  if (dot == std::string::npos || fileName[dot] != '.') return "";
  const std::string ext = base::AsciiLowerCase(fileName.substr(dot + 1));
  if (ext == "wav") return "WaveAudio";
  if (ext == "mp3" || ext == "ogg" || ext == "oga" || ext == "flac") return "MPEGVideo";
  return "";
}

// True when a named device type is one that MediaDeviceTypeOf can select (letter case ignored).
inline bool IsKnownMediaDeviceType(const std::string& type) {
  return base::SameAsciiText(type, "WaveAudio") || base::SameAsciiText(type, "MPEGVideo");
}

// Parameter records. Callback is the message target that receives MM_MCINOTIFY.
struct TMCIOpenParms {
  TMessageTargetId Callback = 0;
  MCIDEVICEID DeviceID = 0;  // out
  std::string DeviceType;    // with MCI_OPEN_TYPE
  std::string ElementName;   // with MCI_OPEN_ELEMENT: the file
  std::string Alias;
};

struct TMCIPlayParms {
  TMessageTargetId Callback = 0;
  std::uint32_t From = 0;  // with MCI_FROM
  std::uint32_t To = 0;    // with MCI_TO
};

struct TMCISeekParms {
  TMessageTargetId Callback = 0;
  std::uint32_t To = 0;  // with MCI_TO
};

// Where a seek command lands in a medium of the given length: 0 and target set, or the error.
inline MCIERROR SeekTarget(std::uint32_t flags, const TMCISeekParms& parms, std::uint32_t length,
                           std::uint32_t& target) {
  if ((flags & MCI_SEEK_TO_START) != 0) {
    target = 0;
  } else if ((flags & MCI_SEEK_TO_END) != 0) {
    target = length;
  } else if ((flags & MCI_TO) != 0) {
    if (parms.To > length) return kMediaErrOutOfRange;
    target = parms.To;
  } else {
    return kMediaErrMissingParameter;
  }
  return 0;
}

struct TMCIStatusParms {
  TMessageTargetId Callback = 0;
  std::uint32_t Return = 0;  // out
  std::uint32_t Item = 0;
  std::uint32_t Track = 0;
};

struct TMCISetParms {
  TMessageTargetId Callback = 0;
  std::uint32_t TimeFormat = 0;  // with MCI_SET_TIME_FORMAT
};

struct TMCIGenericParms {
  TMessageTargetId Callback = 0;
};

// The checks every backend makes before it opens a file: the device type or extension, the
// element, the file. 0 when the file may be opened.
inline MCIERROR CheckOpenRequest(std::uint32_t flags, const TMCIOpenParms& parms) {
  if ((flags & MCI_OPEN_TYPE) != 0 && !IsKnownMediaDeviceType(parms.DeviceType)) {
    return kMediaErrUnknownDeviceType;
  }
  if ((flags & MCI_OPEN_ELEMENT) == 0) return kMediaErrMissingParameter;
  if ((flags & MCI_OPEN_TYPE) == 0 && MediaDeviceTypeOf(parms.ElementName).empty()) {
    return kMediaErrNoDeviceForFile;
  }
  if (!PathExists(parms.ElementName)) return kMediaErrFileNotFound;
  if (IsDirectory(parms.ElementName)) return kMediaErrCannotReadFile;
  return 0;
}

class TMediaDevice {
 public:
  virtual ~TMediaDevice() = default;

  virtual MCIERROR Open(std::uint32_t flags, TMCIOpenParms& parms) = 0;
  virtual MCIERROR Play(MCIDEVICEID device, std::uint32_t flags, const TMCIPlayParms& parms) = 0;
  virtual MCIERROR Seek(MCIDEVICEID device, std::uint32_t flags, const TMCISeekParms& parms) = 0;
  virtual MCIERROR Status(MCIDEVICEID device, std::uint32_t flags, TMCIStatusParms& parms) = 0;
  virtual MCIERROR Set(MCIDEVICEID device, std::uint32_t flags, const TMCISetParms& parms) = 0;
  virtual MCIERROR Close(MCIDEVICEID device, std::uint32_t flags,
                         const TMCIGenericParms& parms) = 0;
  // Writes the text of an error code into text; false when the code has none.
  virtual bool GetErrorString(MCIERROR error, std::string& text) = 0;
};

// Defined by the linked backend library. Notifications are posted to loop, which must outlive
// the device; every device the result opened is closed when it is destroyed.
std::unique_ptr<TMediaDevice> CreateMediaDevice(TEventLoop& loop);

}  // namespace pavona::platform
