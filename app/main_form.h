// TMainForm: the viewer's one window and its components. The components are made in a fixed order
// before FormCreate runs, and torn down in a fixed order after FormDestroy (see the destructor).
// Every error raised in a handler, in FormCreate or in FormDestroy goes to the error hook
// aAppEventsException, which discards it; the handler stops there and the program goes on.
#pragma once

#include <cstdint>
#include <exception>
#include <stdexcept>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/application_events.h"
#include "app/computer_info.h"
#include "app/sh_file_operation.h"
#include "platform/backend.h"
#include "platform/media_device.h"
#include "platform/message_timer.h"
#include "settings/app_xml_file_storage.h"
#include "slideview/slide_view.h"
#include "sound/media_player.h"
#include "transition/style_choice.h"

namespace pavona::app {

// An index outside the slide list, or no slide list at all.
class EStringListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TMainForm {
 public:
  // Creates the components, binds the handlers and runs FormCreate on the running program's
  // own file, with the backend's media device.
  explicit TMainForm(platform::TBackend& backend);
  // The same on the show at executablePath, playing sound through mediaDevice (tests hand in a
  // packed show and a scripted device); styleSeed seeds the choice of a "random" style.
  TMainForm(platform::TBackend& backend, std::string executablePath,
            std::unique_ptr<platform::TMediaDevice> mediaDevice,
            std::uint32_t styleSeed = std::random_device{}());
  // FormDestroy, then the components.
  ~TMainForm();
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  void Show() { FWindow.Show(); }
  // Ends the program: the quit request, exit code 0.
  void Close() { FLoop.PostQuit(0); }
  platform::TWindow& Window() { return FWindow; }

  // Components, in creation order.
  std::unique_ptr<sound::TMediaPlayer> MediaPlayer;
  std::unique_ptr<slideview::TSlideView> Image;
  std::unique_ptr<TApplicationEvents> aAppEvents;
  std::unique_ptr<platform::TTimer> zTimer;
  std::unique_ptr<settings::TAppXMLFileStorage> zPXML;
  std::unique_ptr<TSHFileOperation> zSHFile;
  std::unique_ptr<TComputerInfoEx> aPCInfo;
  // Hides the mouse pointer once it has rested for kPointerIdleMs.
  std::unique_ptr<platform::TTimer> zPointerTimer;
  static constexpr std::uint32_t kPointerIdleMs = 2000;

  // Slide names relative to the working folder; absent until the startup sequence makes it.
  std::unique_ptr<std::vector<std::string>> ImageList;
  std::int32_t ImageIndex = 0;
  bool IsLooped = false;
  // The style of each slide change, from the "Style" setting (the fade until it is read).
  transition::TStyleSequence Styles;

  // The startup sequence: makes the working folder, unpacks the show into it, reads its
  // settings, shows slide 0, arms the slide timer and starts the sound. A failing step ends it
  // there; what it reached stays.
  void FormCreate();
  void FormDestroy();
  void FormKeyDown(platform::TVirtualKey& Key, platform::TShiftState Shift);
  void ImageMouseDown(slideview::TCustomSlideView& Sender, platform::TMouseButton Button,
                      platform::TShiftState Shift, int X, int Y);
  void zTimerTimer();
  // The pointer shows while the mouse moves and hides once it rests.
  void FormMouseMove(int X, int Y);
  void zPointerTimerTimer();
  // Plays the sound again from its start whenever a pass has reached its end.
  void MediaPlayerNotify(sound::TMediaPlayer& Sender);
  void aAppEventsException(std::exception_ptr E);

  // Stops the running transition, loads slide i from the working folder into Image and starts
  // the transition to it. Also run once by the startup sequence.
  void ShowSlide(std::int32_t i);

 private:
  // The index moves before the slide is shown, so a slide that fails to show still becomes
  // the current one.
  void Next();
  void Previous();
  std::int32_t SlideCount() const;

  platform::TBackend& FBackend;
  platform::TEventLoop& FLoop;
  platform::TWindow& FWindow;
  const std::string FExecutablePath;
  const std::uint32_t FStyleSeed;
  // Outlives MediaPlayer, which sends its commands to it.
  std::unique_ptr<platform::TMediaDevice> FMediaDevice;
};

// The entry sequence: makes the main window, shows it, runs the message loop and destroys the
// window. Returns the loop's exit code (TEventLoop::kIdle when a headless loop ran dry).
int RunViewer(platform::TBackend& backend);

}  // namespace pavona::app
