#include "app/main_form.h"

#include "app/working_folder.h"
#include "effects/effect_table.h"
#include "package/archive_error.h"
#include "package/package_extract.h"
#include "platform/files.h"
#include "settings/show_settings.h"
#include "sound/background_sound.h"

namespace pavona::app {

TMainForm::TMainForm(platform::TBackend& backend)
    : TMainForm(backend, platform::ExecutablePath(),
                platform::CreateMediaDevice(backend.Loop())) {}

TMainForm::TMainForm(platform::TBackend& backend, std::string executablePath,
                     std::unique_ptr<platform::TMediaDevice> mediaDevice,
                     std::uint32_t styleSeed)
    : FBackend(backend),
      FLoop(backend.Loop()),
      FWindow(backend.MainWindow()),
      FExecutablePath(std::move(executablePath)),
      FStyleSeed(styleSeed),
      FMediaDevice(std::move(mediaDevice)) {
  FWindow.SetCaption("Viewer");
  FWindow.SetColor(0);

  MediaPlayer = std::make_unique<sound::TMediaPlayer>(FLoop, *FMediaDevice);
  MediaPlayer->SetOnNotify([this](sound::TMediaPlayer& Sender) { MediaPlayerNotify(Sender); });

  Image = std::make_unique<slideview::TSlideView>(FBackend, effects::EffectTable);
  Image->SetAlign(slideview::alClient);
  Image->SetCenter(true);
  Image->SetProportional(true);
  Image->SetStretch(true);
  Image->SetStep(12);
  Image->SetStyle(119);
  Image->OnMouseDown = [this](slideview::TCustomSlideView& Sender, platform::TMouseButton Button,
                              platform::TShiftState Shift, int X, int Y) {
    ImageMouseDown(Sender, Button, Shift, X, Y);
  };
  aAppEvents = std::make_unique<TApplicationEvents>(FLoop);
  aAppEvents->OnException = [this](std::exception_ptr E) { aAppEventsException(E); };
  zTimer = std::make_unique<platform::TTimer>(FLoop);
  zTimer->SetEnabled(false);
  zTimer->SetInterval(1000);
  zTimer->SetOnTimer([this] { zTimerTimer(); });
  zPXML = std::make_unique<settings::TAppXMLFileStorage>();
  settings::ConfigureViewerStorage(*zPXML);
  zSHFile = std::make_unique<TSHFileOperation>();
  zSHFile->Operation = foDelete;
  zSHFile->Options = fofNoConfirmation | fofSilent | fofNoErrorUI;
  aPCInfo = std::make_unique<TComputerInfoEx>();
  zPointerTimer = std::make_unique<platform::TTimer>(FLoop);
  zPointerTimer->SetInterval(kPointerIdleMs);
  zPointerTimer->SetOnTimer([this] { zPointerTimerTimer(); });

  FWindow.OnKeyDown = [this](platform::TVirtualKey key, platform::TShiftState shift) {
    FormKeyDown(key, shift);
  };
  FWindow.OnMouseMove = [this](int x, int y) { FormMouseMove(x, y); };

  try {
    FormCreate();
  } catch (...) {
    FLoop.HandleException(std::current_exception());
  }
}

TMainForm::~TMainForm() {
  try {
    FormDestroy();
  } catch (...) {
    FLoop.HandleException(std::current_exception());
  }
  FWindow.OnKeyDown = nullptr;
  FWindow.OnMouseMove = nullptr;
  zPointerTimer.reset();
  Image.reset();
  MediaPlayer.reset();
  aPCInfo.reset();
  zSHFile.reset();
  zPXML.reset();
  zTimer.reset();
  aAppEvents.reset();
}

void TMainForm::FormCreate() {
  const std::string dir = WorkingFolderPath(aPCInfo->Folders().Temp());
  platform::CreateDirectories(dir);
  zSHFile->SourceFiles.push_back(dir);

  // The fixed folder name is shared by every user of the temporary-files folder: never unpack
  // through a link or into someone else's folder.
  if (!IsSafeWorkingFolder(dir)) throw package::EUnsafeDirectory();
  package::ExtractPackage(FExecutablePath, dir);

  ImageList = std::make_unique<std::vector<std::string>>();
  zPXML->SetFileName(platform::JoinPath(dir, settings::kSettingsFileName));
  const settings::TShowSettings show = settings::ReadShowSettings(*zPXML);
  *ImageList = show.ImageList;
  IsLooped = show.IsLooped;
  // A show without a usable style plays with the fade, as every show did before the setting.
  Styles = transition::TStyleSequence(
      transition::ParseStyleChoice(effects::EffectTable, show.Style).value_or(
          transition::TStyleChoice{}),
      FStyleSeed);
  ImageIndex = 0;
  ShowSlide(0);
  if (!show.Mouse) {
    zTimer->SetInterval(show.AdvancePeriodMs());
    zTimer->SetEnabled(true);
  }
  sound::StartBackgroundSound(*MediaPlayer, dir, show.Sound);
  zPXML->Flush();
  zPXML->SetFileName("");
}

void TMainForm::FormDestroy() {
  ImageList.reset();
  // A startup that stopped early leaves the store holding the settings file; writing it back
  // after the folder is gone would make the folder again and leave it behind.
  zPXML->SetFlushOnDestroy(false);
  zSHFile->Execute();
}

void TMainForm::FormKeyDown(platform::TVirtualKey& Key, platform::TShiftState /*Shift*/) {
  namespace vk = platform::vk;
  switch (Key) {
    case vk::Return:
    case vk::Space:
    case vk::Up:
    case vk::Right:
      zTimer->SetEnabled(false);
      Next();
      break;
    case vk::Back:
    case vk::Left:
    case vk::Down:
      zTimer->SetEnabled(false);
      Previous();
      break;
    case vk::Escape:
      Close();
      break;
    default:
      break;
  }
}

void TMainForm::ImageMouseDown(slideview::TCustomSlideView& /*Sender*/,
                               platform::TMouseButton Button, platform::TShiftState /*Shift*/,
                               int /*X*/, int /*Y*/) {
  zTimer->SetEnabled(false);
  if (Button == platform::mbLeft) {
    Next();
  } else if (Button == platform::mbRight) {
    Previous();
  }
}

void TMainForm::zTimerTimer() { Next(); }

void TMainForm::FormMouseMove(int /*X*/, int /*Y*/) {
  FWindow.SetPointerVisible(true);
  // Re-enabling restarts the idle period from now.
  zPointerTimer->SetEnabled(false);
  zPointerTimer->SetEnabled(true);
}

void TMainForm::zPointerTimerTimer() {
  zPointerTimer->SetEnabled(false);
  FWindow.SetPointerVisible(false);
}

void TMainForm::MediaPlayerNotify(sound::TMediaPlayer& Sender) { sound::RestartAtEnd(Sender); }

std::int32_t TMainForm::SlideCount() const {
  if (!ImageList) throw EStringListError("There is no slide list");
  return static_cast<std::int32_t>(ImageList->size());
}

void TMainForm::Next() {
  ++ImageIndex;
  if (ImageIndex <= SlideCount() - 1) {
    ShowSlide(ImageIndex);
  } else if (IsLooped) {
    ImageIndex = 0;
    ShowSlide(0);
  } else {
    --ImageIndex;
  }
}

void TMainForm::Previous() {
  --ImageIndex;
  if (ImageIndex >= 0) {
    ShowSlide(ImageIndex);
  } else if (IsLooped) {
    ImageIndex = SlideCount() - 1;
    ShowSlide(ImageIndex);
  } else {
    ++ImageIndex;
  }
}

void TMainForm::ShowSlide(std::int32_t i) {
  Image->Stop();
  if (i < 0 || i >= SlideCount()) {
    throw EStringListError("List index out of bounds (" + std::to_string(i) + ")");
  }
  const std::string path = platform::JoinPath(WorkingFolderPath(aPCInfo->Folders().Temp()),
                                              (*ImageList)[static_cast<std::size_t>(i)]);
  Image->Picture().LoadFromFile(path);
  Image->SetStyle(Styles.Next());
  Image->Execute();
}

void TMainForm::aAppEventsException(std::exception_ptr /*E*/) {}

int RunViewer(platform::TBackend& backend) {
  TMainForm form(backend);
  form.Show();
  return backend.Loop().Run();
}

}  // namespace pavona::app
