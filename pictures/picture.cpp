#include "pictures/picture.h"

#include <utility>

#include "platform/files.h"
#include "platform/stream.h"
#include "pictures/picture_formats.h"

namespace pavona::pictures {

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
  FGraphic = std::move(graphic);
  if (FGraphic) {
    FGraphic->SetOnChange([this] { Changed(); });
    FGraphic->SetOnProgress([this](int percentDone) { Progress(percentDone); });
  }
  Changed();
}

void TPicture::Assign(const TPicture& source) {
  if (&source == this) return;
  SetGraphic(source.FGraphic ? source.FGraphic->Clone() : nullptr);
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
  if (FOnChange) FOnChange();
}

void TPicture::Progress(int percentDone) const {
  if (FOnProgress) FOnProgress(percentDone);
}

}  // namespace pavona::pictures
