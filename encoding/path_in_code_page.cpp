#include "encoding/path_in_code_page.h"

#include <utility>

namespace ostrel {

PathInCodePage ChoosePathInCodePage(std::u16string_view path, const ExactEncoder& encode,
                                    const ShortPathOf& shortPathOf) {
  if (std::optional<std::string> bytes = encode(path)) return {PathForm::kLong, std::move(*bytes)};
  if (const std::optional<std::u16string> shortPath = shortPathOf(path)) {
    // An empty short form would hand over "no dictionary" instead of the one asked for.
    if (!shortPath->empty()) {
      if (std::optional<std::string> bytes = encode(*shortPath)) return {PathForm::kShort, std::move(*bytes)};
    }
  }
  return {};
}

}  // namespace ostrel
