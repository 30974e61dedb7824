#include "sound/media_player.h"

#include <array>

namespace pavona::sound {

using namespace platform;

namespace {

// The names an open with an explicit device type passes, in TMPDeviceTypes order.
constexpr std::array<const char*, 13> kDeviceTypeNames = {
    "", "AVIVideo", "CDAudio", "DAT", "DigitalVideo", "MMMovie", "Other", "Overlay",
    "Scanner", "Sequencer", "VCR", "Videodisc", "WaveAudio"};

}  // namespace

TMediaPlayer::TMediaPlayer(TEventLoop& loop, TMediaDevice& device)
    : FLoop(loop), FDevice(device) {}

TMediaPlayer::~TMediaPlayer() {
  if (FDeviceID == 0) return;
  try {
    FDevice.Close(FDeviceID, MCI_WAIT, TMCIGenericParms{});
  } catch (...) {
    // Nothing may leave a destructor; the result of this close is ignored anyway.
  }
}

void TMediaPlayer::SetNotify(bool value) {
  FNotify = value;
  FUseNotify = true;
}

void TMediaPlayer::SetWait(bool value) {
  FWait = value;
  FUseWait = true;
}

void TMediaPlayer::SetFrom(std::int32_t value) {
  FFrom = value;
  FUseFrom = true;
}

void TMediaPlayer::SetTo(std::int32_t value) {
  FTo = value;
  FUseTo = true;
}

std::uint32_t TMediaPlayer::WaitNotifyWordA() {
  std::uint32_t word = MCI_WAIT;
  if (FUseWait) {
    word = FWait ? MCI_WAIT : 0;
    FUseWait = false;
  }
  if (FUseNotify) {
    if (FNotify) word |= MCI_NOTIFY;
    FUseNotify = false;
  }
  return word;
}

std::uint32_t TMediaPlayer::WaitNotifyWordB() {
  std::uint32_t word = MCI_NOTIFY;
  if (FUseNotify) {
    word = FNotify ? MCI_NOTIFY : 0;
    FUseNotify = false;
  }
  if (FUseWait) {
    if (FWait) word |= MCI_WAIT;
    FUseWait = false;
  }
  return word;
}

void TMediaPlayer::CheckOpened() const {
  if (!MCIOpened) throw EMCIDeviceError("No MCI device open");
}

TMessageTargetId TMediaPlayer::Handle() {
  if (!FHandle) {
    FHandle = std::make_unique<TMessageTarget>(
        FLoop, [this](const TMessage& message) { MMNotify(message); });
  }
  return FHandle->Id();
}

void TMediaPlayer::MMNotify(const TMessage& message) {
  if (message.Msg != MM_MCINOTIFY) return;
  switch (message.WParam) {
    case MCI_NOTIFY_SUCCESSFUL: FNotifyValue = TMPNotifyValues::nvSuccessful; break;
    case MCI_NOTIFY_SUPERSEDED: FNotifyValue = TMPNotifyValues::nvSuperseded; break;
    case MCI_NOTIFY_ABORTED: FNotifyValue = TMPNotifyValues::nvAborted; break;
    case MCI_NOTIFY_FAILURE: FNotifyValue = TMPNotifyValues::nvFailure; break;
    default: break;
  }
  if (FOnNotify) FOnNotify(*this);
}

void TMediaPlayer::Open() {
  TMCIOpenParms parms;
  if (MCIOpened) Close();
  parms.DeviceType = kDeviceTypeNames[static_cast<std::size_t>(FDeviceType)];
  parms.ElementName = FElementName;

  std::uint32_t flags = WaitNotifyWordA();
  flags |= FDeviceType != TMPDeviceTypes::dtAutoSelect ? MCI_OPEN_TYPE : MCI_OPEN_ELEMENT;
  if (!FElementName.empty()) flags |= MCI_OPEN_ELEMENT;
  if (FShareable) flags |= MCI_OPEN_SHAREABLE;

  parms.Callback = Handle();
  FFlags = flags;
  FError = static_cast<std::int32_t>(FDevice.Open(flags, parms));
  if (FError != 0) {
    std::string text;
    if (!FDevice.GetErrorString(static_cast<MCIERROR>(FError), text)) text = "Unknown error code";
    throw EMCIDeviceError(text);
  }
  MCIOpened = true;
  FDeviceID = parms.DeviceID;
  if (FDeviceType == TMPDeviceTypes::dtCDAudio || FDeviceType == TMPDeviceTypes::dtVideodisc) {
    TMCISetParms set;
    set.TimeFormat = MCI_FORMAT_TMSF;
    FFlags = MCI_SET_TIME_FORMAT | MCI_WAIT;
    FError = static_cast<std::int32_t>(FDevice.Set(FDeviceID, FFlags, set));
  }
}

void TMediaPlayer::Play() {
  CheckOpened();
  if (FAutoRewind) {
    const std::int32_t position = Position();
    const std::int32_t length = Length();
    if (position == length && !FUseFrom && !FUseTo) Rewind();
  }
  TMCIPlayParms parms;
  std::uint32_t flags = WaitNotifyWordB();
  if (FUseFrom) {
    flags |= MCI_FROM;
    parms.From = static_cast<std::uint32_t>(FFrom);
    FUseFrom = false;
  }
  if (FUseTo) {
    flags |= MCI_TO;
    parms.To = static_cast<std::uint32_t>(FTo);
    FUseTo = false;
  }
  parms.Callback = Handle();
  FFlags = flags;
  FError = static_cast<std::int32_t>(FDevice.Play(FDeviceID, flags, parms));
}

void TMediaPlayer::Rewind() {
  CheckOpened();
  FDevice.Seek(FDeviceID, MCI_SEEK_TO_START | MCI_WAIT, TMCISeekParms{});
}

void TMediaPlayer::Close() {
  if (FDeviceID == 0) return;
  TMCIGenericParms parms;
  const std::uint32_t flags = WaitNotifyWordA();
  parms.Callback = Handle();
  FFlags = flags;
  FError = static_cast<std::int32_t>(FDevice.Close(FDeviceID, flags, parms));
  if (FError == 0) {
    MCIOpened = false;
    FDeviceID = 0;
  }
}

std::int32_t TMediaPlayer::Status(std::uint32_t item) {
  TMCIStatusParms parms;
  parms.Item = item;
  FFlags = MCI_STATUS_ITEM | MCI_WAIT;
  FError = static_cast<std::int32_t>(FDevice.Status(FDeviceID, FFlags, parms));
  return static_cast<std::int32_t>(parms.Return);
}

std::int32_t TMediaPlayer::Position() { return Status(MCI_STATUS_POSITION); }

std::int32_t TMediaPlayer::Length() {
  CheckOpened();
  return Status(MCI_STATUS_LENGTH);
}

}  // namespace pavona::sound
