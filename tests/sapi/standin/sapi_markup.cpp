#include "sapi_markup.h"

#include <algorithm>
#include <utility>

namespace sapistandin {

namespace {

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }
bool IsNameChar(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' ||
         c == u'-' || c == u'.' || c == u':' || c > 0x7F;
}

// Element and attribute names are compared without regard to ASCII case, as the voices' markup allows.
std::string Lower(std::u16string_view name) {
  std::string out;
  for (const char16_t c : name) out += c < 0x80 ? static_cast<char>(c >= u'A' && c <= u'Z' ? c + 32 : c) : '?';
  return out;
}

std::optional<long> Integer(std::u16string_view text, int base = 10) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
    negative = text.front() == u'-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 9) return std::nullopt;
  long value = 0;
  for (const char16_t c : text) {
    int digit = -1;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    else if (base == 16 && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    else if (base == 16 && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    if (digit < 0) return std::nullopt;
    value = value * base + digit;
  }
  return negative ? -value : value;
}

void AppendCodePoint(std::u16string& out, unsigned long c) {
  if (c >= 0x10000) {
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  } else {
    out += static_cast<char16_t>(c);
  }
}

struct Attribute {
  std::string name;
  std::u16string value;
};

class Reader {
 public:
  Reader(std::u16string_view markup, const MarkupState& initial) : in_(markup), state_(initial) {}

  MarkupResult Read() {
    while (pos_ < in_.size() && error_.empty()) {
      if (in_[pos_] == u'<') {
        Markup();
      } else if (in_[pos_] == u'&') {
        const std::size_t at = pos_;
        std::u16string decoded;
        if (Entity(decoded)) AddText(decoded, at);
      } else {
        const std::size_t at = pos_;
        while (pos_ < in_.size() && in_[pos_] != u'<' && in_[pos_] != u'&') ++pos_;
        AddText(in_.substr(at, pos_ - at), at);
      }
    }
    if (error_.empty() && !open_.empty()) Fail("<" + open_.back().name + "> is not closed", in_.size());
    MarkupResult result;
    if (error_.empty()) result.fragments = std::move(fragments_);
    result.error = error_;
    return result;
  }

 private:
  struct Open {
    std::string name;
    MarkupState outer;
  };

  void Fail(const std::string& what, std::size_t at) {
    if (error_.empty()) error_ = what + " at " + std::to_string(at);
  }

  bool StartsWith(std::u16string_view prefix) const { return in_.substr(pos_, prefix.size()) == prefix; }

  // Skips to past `end`; false when it never comes.
  bool SkipPast(std::u16string_view end, const char* what) {
    const std::size_t found = in_.find(end, pos_);
    if (found == std::u16string_view::npos) {
      Fail(std::string("unterminated ") + what, pos_);
      return false;
    }
    pos_ = found + end.size();
    return true;
  }

  void AddText(std::u16string_view text, std::size_t at) {
    if (text.empty()) return;
    const bool joins = !fragments_.empty() && lastWasText_ && fragments_.back().state == state_ &&
                       state_.action != MarkupAction::kSilence && state_.action != MarkupAction::kBookmark;
    if (joins) {
      fragments_.back().text += text;
    } else {
      fragments_.push_back({state_, std::u16string(text), at});
    }
    lastWasText_ = true;
  }

  void AddItem(MarkupAction action, std::u16string text, std::size_t at, unsigned long silenceMs = 0) {
    MarkupState state = state_;
    state.action = action;
    state.silenceMs = silenceMs;
    fragments_.push_back({state, std::move(text), at});
    lastWasText_ = false;
  }

  // At '&': the entity's text, or false after Fail.
  bool Entity(std::u16string& out) {
    const std::size_t at = pos_;
    const std::size_t end = in_.find(u';', pos_);
    if (end == std::u16string_view::npos || end - pos_ > 12) {
      Fail("'&' outside an entity", at);
      return false;
    }
    const std::u16string_view name = in_.substr(pos_ + 1, end - pos_ - 1);
    pos_ = end + 1;
    if (name == u"lt") out += u'<';
    else if (name == u"gt") out += u'>';
    else if (name == u"amp") out += u'&';
    else if (name == u"quot") out += u'"';
    else if (name == u"apos") out += u'\'';
    else if (name.size() > 1 && name[0] == u'#') {
      const bool hex = name[1] == u'x' || name[1] == u'X';
      const std::optional<long> code = Integer(name.substr(hex ? 2 : 1), hex ? 16 : 10);
      if (!code || *code <= 0 || *code > 0x10FFFF || (*code >= 0xD800 && *code < 0xE000)) {
        Fail("bad character reference", at);
        return false;
      }
      AppendCodePoint(out, static_cast<unsigned long>(*code));
    } else {
      Fail("unknown entity", at);
      return false;
    }
    return true;
  }

  void Markup() {
    const std::size_t at = pos_;
    if (StartsWith(u"<!--")) {
      SkipPast(u"-->", "comment");
    } else if (StartsWith(u"<![CDATA[")) {
      const std::size_t from = pos_ + 9;
      if (SkipPast(u"]]>", "CDATA section")) AddText(in_.substr(from, pos_ - 3 - from), from);
    } else if (StartsWith(u"<?")) {
      SkipPast(u"?>", "processing instruction");
    } else if (StartsWith(u"</")) {
      pos_ += 2;
      const std::string name = Lower(Name());
      while (pos_ < in_.size() && IsSpace(in_[pos_])) ++pos_;
      if (pos_ >= in_.size() || in_[pos_] != u'>') return Fail("bad end tag", at);
      ++pos_;
      if (open_.empty() || open_.back().name != name) return Fail("</" + name + "> closes nothing open", at);
      state_ = open_.back().outer;
      open_.pop_back();
      lastWasText_ = false;
    } else if (StartsWith(u"<!")) {
      Fail("declarations are not read", at);
    } else {
      StartTag(at);
    }
  }

  std::u16string_view Name() {
    const std::size_t from = pos_;
    while (pos_ < in_.size() && IsNameChar(in_[pos_])) ++pos_;
    return in_.substr(from, pos_ - from);
  }

  void StartTag(std::size_t at) {
    ++pos_;
    const std::u16string_view rawName = Name();
    if (rawName.empty()) return Fail("'<' outside a tag", at);
    const std::string name = Lower(rawName);
    std::vector<Attribute> attributes;
    bool empty = false;
    for (;;) {
      const std::size_t before = pos_;
      while (pos_ < in_.size() && IsSpace(in_[pos_])) ++pos_;
      if (pos_ >= in_.size()) return Fail("unterminated tag", at);
      if (in_[pos_] == u'>') {
        ++pos_;
        break;
      }
      if (StartsWith(u"/>")) {
        pos_ += 2;
        empty = true;
        break;
      }
      if (pos_ == before) return Fail("attributes must be separated by white space", pos_);
      const std::string attribute = Lower(Name());
      if (attribute.empty()) return Fail("bad attribute", pos_);
      while (pos_ < in_.size() && IsSpace(in_[pos_])) ++pos_;
      if (pos_ >= in_.size() || in_[pos_] != u'=') return Fail("attribute without a value", pos_);
      ++pos_;
      while (pos_ < in_.size() && IsSpace(in_[pos_])) ++pos_;
      if (pos_ >= in_.size() || (in_[pos_] != u'"' && in_[pos_] != u'\'')) return Fail("unquoted value", pos_);
      const char16_t quote = in_[pos_++];
      std::u16string value;
      while (pos_ < in_.size() && in_[pos_] != quote) {
        if (in_[pos_] == u'<') return Fail("'<' in a value", pos_);
        if (in_[pos_] == u'&') {
          if (!Entity(value)) return;
        } else {
          value += in_[pos_++];
        }
      }
      if (pos_ >= in_.size()) return Fail("unterminated value", at);
      ++pos_;
      for (const Attribute& seen : attributes) {
        if (seen.name == attribute) return Fail("attribute " + attribute + " given twice", at);
      }
      attributes.push_back({attribute, std::move(value)});
    }
    if (!empty) open_.push_back({name, state_});
    Apply(name, attributes, in_.substr(at, pos_ - at), at);
    lastWasText_ = false;
  }

  const std::u16string* Find(const std::vector<Attribute>& attributes, const char* name) const {
    for (const Attribute& attribute : attributes) {
      if (attribute.name == name) return &attribute.value;
    }
    return nullptr;
  }

  // One number from an absolute or a relative attribute (one of the two, as the tags require).
  bool Adjust(const std::vector<Attribute>& attributes, const char* absolute, const char* relative, long& value,
              std::size_t at) {
    const std::u16string* a = Find(attributes, absolute);
    const std::u16string* r = Find(attributes, relative);
    if ((a == nullptr) == (r == nullptr)) {
      Fail(std::string("exactly one of ") + absolute + " and " + relative + " is needed", at);
      return false;
    }
    const std::optional<long> number = Integer(a != nullptr ? *a : *r);
    if (!number) {
      Fail(std::string("not a number in ") + (a != nullptr ? absolute : relative), at);
      return false;
    }
    value = a != nullptr ? *number : value + *number;
    return true;
  }

  void Apply(const std::string& name, const std::vector<Attribute>& attributes, std::u16string_view tag,
             std::size_t at) {
    if (name == "volume") {
      const std::u16string* level = Find(attributes, "level");
      const std::optional<long> number = level != nullptr ? Integer(*level) : std::nullopt;
      if (!number) return Fail("volume needs a numeric level", at);
      state_.volume = static_cast<unsigned long>(std::clamp(*number, 0L, 100L));
    } else if (name == "rate") {
      Adjust(attributes, "absspeed", "speed", state_.rateAdj, at);
    } else if (name == "pitch") {
      if (Find(attributes, "absmiddle") != nullptr || Find(attributes, "middle") != nullptr) {
        if (!Adjust(attributes, "absmiddle", "middle", state_.middleAdj, at)) return;
      }
      if (Find(attributes, "absrange") != nullptr || Find(attributes, "range") != nullptr) {
        if (!Adjust(attributes, "absrange", "range", state_.rangeAdj, at)) return;
      }
    } else if (name == "emph") {
      state_.emphAdj = 1;
    } else if (name == "spell") {
      state_.action = MarkupAction::kSpellOut;
    } else if (name == "lang") {
      const std::u16string* id = Find(attributes, "langid");
      const std::optional<long> number = id != nullptr ? Integer(*id, 16) : std::nullopt;
      if (!number || *number < 0 || *number > 0xFFFF) return Fail("lang needs a hexadecimal langid", at);
      state_.langId = static_cast<std::uint16_t>(*number);
    } else if (name == "silence") {
      const std::u16string* ms = Find(attributes, "msec");
      const std::optional<long> number = ms != nullptr ? Integer(*ms) : std::nullopt;
      if (!number || *number < 0) return Fail("silence needs msec", at);
      AddItem(MarkupAction::kSilence, {}, at, static_cast<unsigned long>(*number));
    } else if (name == "bookmark") {
      const std::u16string* mark = Find(attributes, "mark");
      if (mark == nullptr) return Fail("bookmark needs a mark", at);
      AddItem(MarkupAction::kBookmark, *mark, at);
    } else if (name == "sapi" || name == "voice" || name == "context" || name == "partofsp") {
      // Structure, or choices this reader leaves to the voice object: no change of state.
    } else {
      AddItem(MarkupAction::kParseUnknownTag, std::u16string(tag), at);
    }
  }

  std::u16string_view in_;
  std::size_t pos_ = 0;
  MarkupState state_;
  std::vector<Open> open_;
  std::vector<MarkupFragment> fragments_;
  bool lastWasText_ = false;
  std::string error_;
};

}  // namespace

MarkupResult ReadMarkup(std::u16string_view markup, const MarkupState& initial) {
  return Reader(markup, initial).Read();
}

MarkupResult ReadPlainText(std::u16string_view text, const MarkupState& initial) {
  MarkupResult result;
  if (!text.empty()) result.fragments.push_back({initial, std::u16string(text), 0});
  return result;
}

bool LooksLikeMarkup(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  return i < text.size() && text[i] == u'<';
}

}  // namespace sapistandin
