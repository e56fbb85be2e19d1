#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ostrel {

enum class SkinFileKind { Bitmap, Png };

struct SkinFile {
  std::u16string path;
  SkinFileKind kind;
};

// Which skin file replaces the built-in skin: the first command-line argument when it
// names an existing file with ".bmp" or ".png" in it (case-sensitive), else a file beside
// the program named after it, x.bmp before x.png. Nothing when neither exists.
std::optional<SkinFile> FindSkinFile(const std::optional<std::u16string>& firstArgument,
                                     std::u16string_view programPath,
                                     const std::function<bool(const std::u16string&)>& fileExists);

// The built-in skin is 430 x 435; other sizes are used after a warning.
constexpr bool SkinSizeExpected(int width, int height) {
  return width == 430 && height >= 420 && height <= 560;
}

}  // namespace ostrel
