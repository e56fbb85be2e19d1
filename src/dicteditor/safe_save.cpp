#include "dicteditor/safe_save.h"

namespace ostrel::dicteditor {

std::u16string SavingPathFor(std::u16string_view target) {
  std::u16string path(target);
  path += u".saving";
  return path;
}

SaveResult SaveReplacing(SaveFileSystem& files, const std::u16string& target, std::string_view bytes) {
  const std::u16string saving = SavingPathFor(target);
  if (const uint32_t error = files.WriteWholeFile(saving, bytes)) {
    files.Remove(saving);
    return {SaveStep::kWrite, error};
  }
  if (const uint32_t error = files.ReplaceWith(target, saving)) {
    files.Remove(saving);
    return {SaveStep::kReplace, error};
  }
  return {};
}

}  // namespace ostrel::dicteditor
