// The headless media device: the full command contract of media_device.h without sound. Files
// must exist and have an extension a device plays, as on the desktop; their length and the
// passing of playing time are scripted by the test:
// - SetLength gives a file its length (kDefaultLengthMs otherwise);
// - FailNextOpen makes the next open fail with a chosen code;
// - Advance moves every playing device forward; a play that reaches its end stops at position =
//   end and posts its notification, like a finished pass on the desktop;
// - Commands() is the log of every command received, in order.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/media_device.h"

namespace pavona::platform::headless {

struct TMediaCommand {
  std::uint32_t Command = 0;  // MCI_OPEN, MCI_PLAY, ...
  MCIDEVICEID Device = 0;
  std::uint32_t Flags = 0;
  std::uint32_t Item = 0;       // MCI_STATUS: the item
  std::uint32_t From = 0;       // MCI_PLAY with MCI_FROM
  std::uint32_t To = 0;         // MCI_PLAY, MCI_SEEK with MCI_TO
  TMessageTargetId Callback = 0;
  MCIERROR Result = 0;
};

class THeadlessMediaDevice final : public TMediaDevice {
 public:
  static constexpr std::uint32_t kDefaultLengthMs = 3000;

  explicit THeadlessMediaDevice(TEventLoop& loop) : FLoop(loop) {}

  MCIERROR Open(std::uint32_t flags, TMCIOpenParms& parms) override;
  MCIERROR Play(MCIDEVICEID device, std::uint32_t flags, const TMCIPlayParms& parms) override;
  MCIERROR Seek(MCIDEVICEID device, std::uint32_t flags, const TMCISeekParms& parms) override;
  MCIERROR Status(MCIDEVICEID device, std::uint32_t flags, TMCIStatusParms& parms) override;
  MCIERROR Set(MCIDEVICEID device, std::uint32_t flags, const TMCISetParms& parms) override;
  MCIERROR Close(MCIDEVICEID device, std::uint32_t flags, const TMCIGenericParms& parms) override;
  bool GetErrorString(MCIERROR error, std::string& text) override;

  // Script.
  void SetLength(const std::string& fileName, std::uint32_t lengthMs);
  void FailNextOpen(MCIERROR error) { FNextOpenError = error; }
  void Advance(std::uint32_t ms);

  // Inspection.
  const std::vector<TMediaCommand>& Commands() const { return FCommands; }
  void ClearCommands() { FCommands.clear(); }
  std::size_t OpenDevices() const { return FMedia.size(); }
  bool IsPlaying(MCIDEVICEID device) const;

 private:
  struct Medium {
    std::uint32_t length = 0;
    std::uint32_t position = 0;
    std::uint32_t end = 0;  // where the running play stops
    bool playing = false;
    TMessageTargetId pendingNotify = 0;  // the running play's notification target
  };

  MCIERROR Log(TMediaCommand command, MCIERROR result);
  Medium* Find(MCIDEVICEID device);
  void Notify(TMessageTargetId target, std::uint32_t code, MCIDEVICEID device);
  // Ends the pending play notification of a command that interrupts it.
  void Interrupt(Medium& medium, MCIDEVICEID device, std::uint32_t flags);

  TEventLoop& FLoop;
  std::map<std::string, std::uint32_t> FLengths;
  std::map<MCIDEVICEID, Medium> FMedia;
  MCIERROR FNextOpenError = 0;
  std::vector<TMediaCommand> FCommands;
};

}  // namespace pavona::platform::headless
