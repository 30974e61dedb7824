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
  TGraphic* Graphic() const { return graphic_.get(); }
  // Installs a graphic (null to clear) and fires OnChange.
  void SetGraphic(std::unique_ptr<TGraphic> graphic);
  // Holds a copy of the source's graphic (or none) and fires OnChange.
  void Assign(const TPicture& source);

  // The graphic's size; 0 without a graphic.
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }

  // Replaces the graphic by one decoded from the file. Raises EInvalidGraphic "Unknown picture
  // file extension (.%s)" for an unregistered extension, platform::EStreamError when the file
  // cannot be opened or ends early, and the decoder's error for a file it rejects. On any
  // failure the previous graphic stays and OnChange does not fire.
  void LoadFromFile(const std::string& fileName);

  // Fired when the graphic is replaced or changes.
  const std::function<void()>& OnChange() const { return onChange_; }
  void SetOnChange(std::function<void()> handler) { onChange_ = std::move(handler); }
  // Forwards the decoders' progress while loading.
  const std::function<void(int)>& OnProgress() const { return onProgress_; }
  void SetOnProgress(std::function<void(int)> handler) { onProgress_ = std::move(handler); }

 private:
  void Changed() const;
  void Progress(int percentDone) const;

  std::unique_ptr<TGraphic> graphic_;
  std::function<void()> onChange_;
  std::function<void(int)> onProgress_;
};

}  // namespace pavona::pictures
