#include "settings/registry_store.h"

#include <array>
#include <utility>

namespace ostrel {
namespace {

constexpr std::u16string_view kLocalMachine = u"HKEY_LOCAL_MACHINE";
constexpr std::u16string_view kCurrentUser = u"HKEY_CURRENT_USER";
constexpr std::u16string_view kClassesRoot = u"HKEY_CLASSES_ROOT";

std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to) {
  std::u16string result;
  size_t start = 0;
  for (size_t at = text.find(from); at != std::u16string_view::npos; at = text.find(from, start)) {
    result.append(text.substr(start, at - start));
    result.append(to);
    start = at + from.size();
  }
  result.append(text.substr(start));
  return result;
}

}  // namespace

KeyPath SplitKeyPath(std::u16string_view path) {
  if (path.size() >= 2 && path.front() == u'[' && path.back() == u']') {
    path = path.substr(1, path.size() - 2);
  }
  KeyPath result;
  // A later name replaces an earlier one, in this order.
  const std::array<std::pair<std::u16string_view, RegistryRoot>, 3> roots{{
      {kLocalMachine, RegistryRoot::LocalMachine},
      {kCurrentUser, RegistryRoot::CurrentUser},
      {kClassesRoot, RegistryRoot::ClassesRoot},
  }};
  for (const auto& [name, root] : roots) {
    if (path.find(name) != std::u16string_view::npos) result.root = root;
  }
  const size_t slash = path.find(u'\\');
  result.subKey = std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
  return result;
}

// A value that is missing, too large or not what the reader can use: the machine's value
// at the same path, else nothing.
template <class Decode>
auto RegistryStore::ReadWithFallback(std::u16string_view path, std::u16string_view name, const Decode& decode)
    -> decltype(decode(RegistryValue{})) {
  const KeyPath key = SplitKeyPath(path);
  decltype(decode(RegistryValue{})) result;
  if (key.root != RegistryRoot::None) {
    if (const auto value = backend_.Query(key.root, key.subKey, std::u16string(name), kReadBufferBytes)) {
      result = decode(*value);
    }
  }
  if (!result && path.find(kCurrentUser) != std::u16string_view::npos) {
    return ReadWithFallback(ReplaceAll(path, kCurrentUser, kLocalMachine), name, decode);
  }
  return result;
}

std::u16string RegistryStore::AppRegGetStr(std::u16string_view path, std::u16string_view name,
                                           std::u16string_view defaultText) {
  const auto text = ReadWithFallback(path, name, [](const RegistryValue& value) {
    return TextOfValue(value.type, value.data);
  });
  return text ? *text : std::u16string(defaultText);
}

int32_t RegistryStore::AppRegGetInt(std::u16string_view path, std::u16string_view name, int32_t defaultValue,
                                    NumberAccepted accepted) {
  const auto number = ReadWithFallback(path, name, [accepted](const RegistryValue& value) {
    std::optional<int32_t> n = NumberOfValue(value.type, value.data);
    if (n && accepted && !accepted(*n)) n.reset();
    return n;
  });
  return number.value_or(defaultValue);
}

int RegistryStore::AppRegSetStr(std::u16string_view path, std::u16string_view text) {
  const KeyPath key = SplitKeyPath(path);
  if (key.root == RegistryRoot::None) return 0;
  return backend_.WriteString(key.root, key.subKey, std::u16string(kTextValueName), std::u16string(text)) ? 1 : 0;
}

int RegistryStore::AppRegSetInt(std::u16string_view path, std::u16string_view name, int32_t value) {
  const KeyPath key = SplitKeyPath(path);
  if (key.root == RegistryRoot::None) return 0;
  return backend_.WriteDword(key.root, key.subKey, std::u16string(name), static_cast<uint32_t>(value))
             ? 1
             : 0;
}

}  // namespace ostrel
