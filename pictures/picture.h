// The picture container: holds at most one decoded graphic and loads it from a file, choosing
// the decoder by the file name's extension alone (the registry in picture_formats.h).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "pictures/graphic.h"

namespace pavona::pictures {

class TPicture {
 public:
  TPicture() = default;
  ~TPicture() = default;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  // The graphic held, or null.
  TGraphic* Graphic() const { return FGraphic.get(); }
  // Installs a graphic (null to clear) and fires OnChange.
  void SetGraphic(std::unique_ptr<TGraphic> graphic);
  // Holds a copy of the source's graphic (or none) and fires OnChange.
  void Assign(const TPicture& source);

  // The graphic's size; 0 without a graphic.
  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }

  // Replaces the graphic by one decoded from the file. Raises EInvalidGraphic "Unknown picture
  // file extension (.%s)" for an unregistered extension, platform::EStreamError when the file
  // cannot be opened or ends early, and the decoder's error for a file it rejects. On any
  // failure the previous graphic stays and OnChange does not fire.
  void LoadFromFile(const std::string& fileName);

  // Fired when the graphic is replaced or changes.
  const std::function<void()>& OnChange() const { return FOnChange; }
  void SetOnChange(std::function<void()> handler) { FOnChange = std::move(handler); }
  // Forwards the decoders' progress while loading.
  const std::function<void(int)>& OnProgress() const { return FOnProgress; }
  void SetOnProgress(std::function<void(int)> handler) { FOnProgress = std::move(handler); }

 private:
  void Changed() const;
  void Progress(int percentDone) const;

  std::unique_ptr<TGraphic> FGraphic;
  std::function<void()> FOnChange;
  std::function<void(int)> FOnProgress;
};

}  // namespace pavona::pictures
