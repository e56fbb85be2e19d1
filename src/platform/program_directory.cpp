#include "platform/program_directory.h"

#include <utility>

namespace ostrel {
namespace {
std::u16string& Storage() {
  static std::u16string directory;
  return directory;
}
}  // namespace

const std::u16string& ProgramDirectory() { return Storage(); }
void SetProgramDirectory(std::u16string directory) { Storage() = std::move(directory); }

}  // namespace ostrel
