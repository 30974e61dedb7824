#include "pictures/picture.h"

#include <utility>

#include "platform/files.h"
#include "platform/stream.h"
#include "pictures/picture_formats.h"

namespace pavona::pictures {

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
  graphic_ = std::move(graphic);
  if (graphic_) {
    graphic_->SetOnChange([this] { Changed(); });
    graphic_->SetOnProgress([this](int percentDone) { Progress(percentDone); });
  }
  Changed();
}

void TPicture::Assign(const TPicture& source) {
  if (&source == this) return;
  SetGraphic(source.graphic_ ? source.graphic_->Clone() : nullptr);
}

void TPicture::LoadFromFile(const std::string& fileName) {
  const std::string extension = platform::ExtensionOf(fileName);
  const TGraphicClass graphicClass = FileFormats().FindExt(extension);
  if (!graphicClass) {
    throw EInvalidGraphic("Unknown picture file extension (." + extension + ")");
  }
  std::unique_ptr<TGraphic> graphic = graphicClass();
  graphic->SetOnProgress([this](int percentDone) { Progress(percentDone); });
  {
    platform::TFileStream file(fileName, platform::FileMode::Read);
    graphic->LoadFromStream(file);
  }
  SetGraphic(std::move(graphic));
}

void TPicture::Changed() const {
  if (onChange_) onChange_();
}

void TPicture::Progress(int percentDone) const {
  if (onProgress_) onProgress_(percentDone);
}

}  // namespace pavona::pictures
