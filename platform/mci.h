// The names of the media control interface that the media device and its callers use: commands,
// flags, status items, notification codes and the notification message. A Windows build takes
// them from the system's headers; elsewhere they are defined here, at global scope and with the
// same values, so that callers write them the same way on every system.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <mmsystem.h>
#else
#include <cstdint>

using MCIERROR = std::uint32_t;
using MCIDEVICEID = std::uint16_t;

inline constexpr std::uint32_t MCI_OPEN = 0x0803;
inline constexpr std::uint32_t MCI_CLOSE = 0x0804;
inline constexpr std::uint32_t MCI_PLAY = 0x0806;
inline constexpr std::uint32_t MCI_SEEK = 0x0807;
inline constexpr std::uint32_t MCI_SET = 0x080D;
inline constexpr std::uint32_t MCI_STATUS = 0x0814;

inline constexpr std::uint32_t MCI_NOTIFY = 0x1;
inline constexpr std::uint32_t MCI_WAIT = 0x2;
inline constexpr std::uint32_t MCI_FROM = 0x4;
inline constexpr std::uint32_t MCI_TO = 0x8;
inline constexpr std::uint32_t MCI_OPEN_SHAREABLE = 0x100;
inline constexpr std::uint32_t MCI_OPEN_ELEMENT = 0x200;
inline constexpr std::uint32_t MCI_OPEN_TYPE = 0x2000;
inline constexpr std::uint32_t MCI_SEEK_TO_START = 0x100;
inline constexpr std::uint32_t MCI_SEEK_TO_END = 0x200;
inline constexpr std::uint32_t MCI_STATUS_ITEM = 0x100;
inline constexpr std::uint32_t MCI_SET_TIME_FORMAT = 0x400;

inline constexpr std::uint32_t MCI_STATUS_LENGTH = 1;
inline constexpr std::uint32_t MCI_STATUS_POSITION = 2;
inline constexpr std::uint32_t MCI_FORMAT_MILLISECONDS = 0;
inline constexpr std::uint32_t MCI_FORMAT_TMSF = 10;

inline constexpr std::uint32_t MM_MCINOTIFY = 0x03B9;
inline constexpr std::uint32_t MCI_NOTIFY_SUCCESSFUL = 1;
inline constexpr std::uint32_t MCI_NOTIFY_SUPERSEDED = 2;
inline constexpr std::uint32_t MCI_NOTIFY_ABORTED = 4;
inline constexpr std::uint32_t MCI_NOTIFY_FAILURE = 8;
#endif
