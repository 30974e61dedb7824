// TMediaPlayer: one media device opened for one file, driven by commands with flag words, and
// the device's completion notifications turned into the OnNotify event.
//
// Flag words of the commands that wait or notify:
// - rule A (Open, Close): MCI_WAIT, unless a pending Wait choice says otherwise; MCI_NOTIFY only
//   when a pending Notify choice asks for it;
// - rule B (Play): MCI_NOTIFY, unless a pending Notify choice says otherwise; MCI_WAIT only when
//   a pending Wait choice asks for it.
// A pending choice (set through SetNotify / SetWait) is consumed by the first command that builds
// one of these words, whatever that command is. Status queries and Rewind leave it alone.
//
// Notifications arrive as MM_MCINOTIFY messages to the player's own message target on the UI
// thread; the target is created when a command first needs it and is gone with the player, so a
// notification still queued then is dropped.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/event_loop.h"
#include "platform/media_device.h"

namespace pavona::sound {

class EMCIDeviceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TMPDeviceTypes {
  dtAutoSelect, dtAVIVideo, dtCDAudio, dtDAT, dtDigitalVideo, dtMMMovie, dtOther, dtOverlay,
  dtScanner, dtSequencer, dtVCR, dtVideodisc, dtWaveAudio
};

enum class TMPNotifyValues { nvSuccessful, nvSuperseded, nvAborted, nvFailure };

class TMediaPlayer;
using TNotifyEvent = std::function<void(TMediaPlayer& Sender)>;

class TMediaPlayer {
 public:
  // The device and the loop must outlive the player.
  TMediaPlayer(platform::TEventLoop& loop, platform::TMediaDevice& device);
  // Closes the open device, waiting, without notification; the result is ignored.
  ~TMediaPlayer();
  TMediaPlayer(const TMediaPlayer&) = delete;
  TMediaPlayer& operator=(const TMediaPlayer&) = delete;

  // One-shot choices for the next command that builds a wait/notify word.
  bool Notify() const { return FNotify; }
  void SetNotify(bool value);
  bool Wait() const { return FWait; }
  void SetWait(bool value);
  // One-shot start and end positions for the next Play.
  void SetFrom(std::int32_t value);
  void SetTo(std::int32_t value);

  // Setting the file name neither opens nor closes anything.
  const std::string& FileName() const { return FElementName; }
  void SetFileName(const std::string& value) { FElementName = value; }
  TMPDeviceTypes DeviceType() const { return FDeviceType; }
  void SetDeviceType(TMPDeviceTypes value) { FDeviceType = value; }
  bool Shareable() const { return FShareable; }
  void SetShareable(bool value) { FShareable = value; }
  bool AutoRewind() const { return FAutoRewind; }
  void SetAutoRewind(bool value) { FAutoRewind = value; }

  // Raises EMCIDeviceError with the device's text for its error code.
  void Open();
  // The following report a failing command only through Error(); those that need an open device
  // raise EMCIDeviceError("No MCI device open") without one and send nothing.
  void Play();
  void Rewind();
  void Close();
  // The device's position; does not check that a device is open.
  std::int32_t Position();
  std::int32_t Length();

  TMPNotifyValues NotifyValue() const { return FNotifyValue; }
  const TNotifyEvent& OnNotify() const { return FOnNotify; }
  void SetOnNotify(TNotifyEvent handler) { FOnNotify = std::move(handler); }

  // The state of the last command.
  bool Opened() const { return MCIOpened; }
  MCIDEVICEID DeviceID() const { return FDeviceID; }
  std::uint32_t Flags() const { return FFlags; }
  std::int32_t Error() const { return FError; }

 private:
  std::uint32_t WaitNotifyWordA();
  std::uint32_t WaitNotifyWordB();
  void CheckOpened() const;
  std::int32_t Status(std::uint32_t item);
  platform::TMessageTargetId Handle();
  void MMNotify(const platform::TMessage& message);

  platform::TEventLoop& FLoop;
  platform::TMediaDevice& FDevice;
  std::unique_ptr<platform::TMessageTarget> FHandle;

  std::string FElementName;
  TMPDeviceTypes FDeviceType = TMPDeviceTypes::dtAutoSelect;
  bool FShareable = false;
  bool FAutoRewind = true;
  bool FNotify = false;
  bool FUseNotify = false;
  bool FWait = false;
  bool FUseWait = false;
  std::int32_t FFrom = 0;
  bool FUseFrom = false;
  std::int32_t FTo = 0;
  bool FUseTo = false;
  bool MCIOpened = false;
  MCIDEVICEID FDeviceID = 0;
  std::uint32_t FFlags = 0;
  std::int32_t FError = 0;
  TMPNotifyValues FNotifyValue = TMPNotifyValues::nvSuccessful;
  TNotifyEvent FOnNotify;
};

}  // namespace pavona::sound
