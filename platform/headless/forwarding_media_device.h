// A media device that hands every command to a device its owner keeps, so that a program that
// takes ownership of its device (the main window) can still be driven and inspected from outside.
#pragma once

#include <string>

#include "platform/media_device.h"

namespace pavona::platform::headless {

class TForwardingMediaDevice final : public TMediaDevice {
 public:
  explicit TForwardingMediaDevice(TMediaDevice& target) : FTarget(target) {}
  MCIERROR Open(std::uint32_t flags, TMCIOpenParms& parms) override {
    return FTarget.Open(flags, parms);
  }
  MCIERROR Play(MCIDEVICEID device, std::uint32_t flags, const TMCIPlayParms& parms) override {
    return FTarget.Play(device, flags, parms);
  }
  MCIERROR Seek(MCIDEVICEID device, std::uint32_t flags, const TMCISeekParms& parms) override {
    return FTarget.Seek(device, flags, parms);
  }
  MCIERROR Status(MCIDEVICEID device, std::uint32_t flags, TMCIStatusParms& parms) override {
    return FTarget.Status(device, flags, parms);
  }
  MCIERROR Set(MCIDEVICEID device, std::uint32_t flags, const TMCISetParms& parms) override {
    return FTarget.Set(device, flags, parms);
  }
  MCIERROR Close(MCIDEVICEID device, std::uint32_t flags,
                 const TMCIGenericParms& parms) override {
    return FTarget.Close(device, flags, parms);
  }
  bool GetErrorString(MCIERROR error, std::string& text) override {
    return FTarget.GetErrorString(error, text);
  }

 private:
  TMediaDevice& FTarget;
};

}  // namespace pavona::platform::headless
