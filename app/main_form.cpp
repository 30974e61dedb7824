#include "app/main_form.h"

#include "app/working_folder.h"
#include "platform/files.h"

namespace pavona::app {

TMainForm::TMainForm(platform::TBackend& backend)
    : backend_(backend), loop_(backend.Loop()), window_(backend.MainWindow()) {
  window_.SetCaption("Viewer");
  window_.SetColor(0);

  aAppEvents = std::make_unique<TApplicationEvents>(loop_);
  aAppEvents->OnException = [this](std::exception_ptr E) { aAppEventsException(E); };
  zTimer = std::make_unique<platform::TTimer>(loop_);
  zTimer->SetEnabled(false);
  zTimer->SetInterval(1000);
  zSHFile = std::make_unique<TSHFileOperation>();
  zSHFile->Operation = foDelete;
  zSHFile->Options = fofNoConfirmation | fofSilent | fofNoErrorUI;
  aPCInfo = std::make_unique<TComputerInfoEx>();

  window_.OnKeyDown = [this](platform::TVirtualKey key, platform::TShiftState shift) {
    FormKeyDown(key, shift);
  };

  try {
    FormCreate();
  } catch (...) {
    loop_.HandleException(std::current_exception());
  }
}

TMainForm::~TMainForm() {
  try {
    FormDestroy();
  } catch (...) {
    loop_.HandleException(std::current_exception());
  }
  window_.OnKeyDown = nullptr;
  window_.OnMouseDown = nullptr;
  aPCInfo.reset();
  zSHFile.reset();
  zTimer.reset();
  aAppEvents.reset();
}

void TMainForm::FormCreate() {
  const std::string dir = WorkingFolderPath(aPCInfo->Folders().Temp());
  platform::CreateDirectories(dir);
  zSHFile->SourceFiles.push_back(dir);
}

void TMainForm::FormDestroy() {
  ImageList.reset();
  zSHFile->Execute();
}

void TMainForm::FormKeyDown(platform::TVirtualKey& Key, platform::TShiftState /*Shift*/) {
  if (Key == platform::vk::Escape) Close();
}

void TMainForm::aAppEventsException(std::exception_ptr /*E*/) {}

int RunViewer(platform::TBackend& backend) {
  TMainForm form(backend);
  form.Show();
  return backend.Loop().Run();
}

}  // namespace pavona::app
