#include "toolbar/skin_source.h"

namespace ostrel {
namespace {

std::u16string ReplaceAll(std::u16string text, std::u16string_view from, std::u16string_view to) {
  for (size_t at = text.find(from); at != std::u16string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

bool Contains(std::u16string_view text, std::u16string_view part) {
  return text.find(part) != std::u16string_view::npos;
}

}  // namespace

std::optional<SkinFile> FindSkinFile(const std::optional<std::u16string>& firstArgument,
                                     std::u16string_view programPath,
                                     const std::function<bool(const std::u16string&)>& fileExists) {
  if (firstArgument && !firstArgument->empty() && fileExists(*firstArgument)) {
    if (Contains(*firstArgument, u".bmp")) return SkinFile{*firstArgument, SkinFileKind::Bitmap};
    if (Contains(*firstArgument, u".png")) return SkinFile{*firstArgument, SkinFileKind::Png};
  }
  const std::u16string bitmap = ReplaceAll(std::u16string(programPath), u".exe", u".bmp");
  if (fileExists(bitmap)) return SkinFile{bitmap, SkinFileKind::Bitmap};
  const std::u16string png = ReplaceAll(bitmap, u".bmp", u".png");
  if (fileExists(png)) return SkinFile{png, SkinFileKind::Png};
  return std::nullopt;
}

}  // namespace ostrel
