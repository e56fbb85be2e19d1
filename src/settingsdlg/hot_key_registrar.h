#pragma once
#include <cstdint>
#include <string_view>

namespace ostrel {

// The global hot keys of the toolbar window, ids 1 to 3.
class HotKeyRegistrar {
 public:
  virtual ~HotKeyRegistrar() = default;
  virtual void Unregister(int id) = 0;
  // False when the platform refuses, e.g. another program (or another id) holds the combination.
  virtual bool Register(int id, uint16_t word) = 0;
  // A box owned by the other-settings page: the application's name as caption, OK, no icon.
  virtual void ShowFailure(int id, std::u16string_view text) = 0;
};

}  // namespace ostrel
