#include "settingsdlg/remove_last_path_element.h"

namespace ostrel {

std::u16string RemoveLastPathElement(std::u16string_view path) {
  // Where the last element starts: after up to two leading backslashes (a root or a UNC
  // prefix), at the last backslash, or after a drive colon together with its backslash.
  size_t i = 0;
  if (i < path.size() && path[i] == u'\\') ++i;
  if (i < path.size() && path[i] == u'\\') ++i;
  size_t cut = i;
  for (; i < path.size(); ++i) {
    if (path[i] == u'\\') {
      cut = i;
    } else if (path[i] == u':') {
      cut = ++i;
      if (i < path.size() && path[i] == u'\\') ++cut;
    }
  }
  return std::u16string(path.substr(0, cut));
}

}  // namespace ostrel
