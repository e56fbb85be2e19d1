#include "dicteditor/dictionary_document.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>
#include <utility>

#include "dicteditor/editor_texts.h"
#include "encoding/utf8.h"

namespace ostrel::dicteditor {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool NeedsQuotes(std::u16string_view field, bool written) {
  if (field.empty()) return false;
  if (orvatone::IsDictionaryBlank(field.front()) || orvatone::IsDictionaryBlank(field.back())) return true;
  if (written && field.front() == u'#') return true;
  return field.find_first_of(u",\"") != std::u16string_view::npos;
}

std::u16string FormatField(std::u16string_view field, bool written) {
  if (!NeedsQuotes(field, written)) return std::u16string(field);
  std::u16string quoted = u"\"";
  for (const char16_t c : field) {
    if (c == u'"') quoted += u'"';
    quoted += c;
  }
  quoted += u'"';
  return quoted;
}

}  // namespace

std::u16string FormatDictionaryLine(const DictionaryEntry& entry) {
  return FormatField(entry.written, true) + u"," + FormatField(entry.reading, false);
}

DictionaryDocument::DictionaryDocument() {
  Line comment;
  comment.text = texts::kNewDictionaryComment;
  comment.terminator = lineBreak_;
  lines_.push_back(std::move(comment));
}

DictionaryDocument DictionaryDocument::Parse(std::string_view bytes, const orvatone::CodePageDecoder& decodeCodePage) {
  DictionaryDocument document;
  document.lines_.clear();
  orvatone::DecodedDictionary decoded = orvatone::DecodeDictionaryFile(bytes, decodeCodePage);
  document.encoding_ = decoded.encoding;
  const std::u16string_view text = decoded.text;
  bool breakSeen = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t lineEnd = std::min(text.find_first_of(u"\r\n", pos), text.size());
    Line line;
    line.text = text.substr(pos, lineEnd - pos);
    pos = lineEnd;
    if (pos < text.size() && text[pos] == u'\r') ++pos;
    if (pos < text.size() && text[pos] == u'\n') ++pos;
    line.terminator = text.substr(lineEnd, pos - lineEnd);
    if (!breakSeen && !line.terminator.empty()) {
      document.lineBreak_ = line.terminator;
      breakSeen = true;
    }
    if (orvatone::ParseDictionaryLine(line.text, line.entry) == orvatone::DictionaryLineKind::kEntry) {
      line.isEntry = true;
      line.id = document.nextId_++;
    } else {
      line.entry = {};
    }
    document.lines_.push_back(std::move(line));
  }
  return document;
}

DictionaryDocument::Line* DictionaryDocument::Find(EntryId id) {
  for (Line& line : lines_) {
    if (line.isEntry && !line.removed && line.id == id) return &line;
  }
  return nullptr;
}

const DictionaryDocument::Line* DictionaryDocument::Find(EntryId id) const {
  return const_cast<DictionaryDocument*>(this)->Find(id);
}

std::vector<EntryId> DictionaryDocument::Entries() const {
  std::vector<EntryId> ids;
  for (const Line& line : lines_) {
    if (line.isEntry && !line.removed) ids.push_back(line.id);
  }
  return ids;
}

const DictionaryEntry& DictionaryDocument::Entry(EntryId id) const {
  const Line* line = Find(id);
  if (!line) throw std::out_of_range("no such dictionary entry");
  return line->entry;
}

bool DictionaryDocument::Contains(EntryId id) const { return Find(id) != nullptr; }

std::optional<EntryId> DictionaryDocument::FindWritten(std::u16string_view written) const {
  for (auto it = lines_.rbegin(); it != lines_.rend(); ++it) {
    if (it->isEntry && !it->removed && it->entry.written == written) return it->id;
  }
  return std::nullopt;
}

std::size_t DictionaryDocument::UnknownLines() const {
  return static_cast<std::size_t>(std::count_if(lines_.begin(), lines_.end(), [](const Line& line) {
    if (line.isEntry) return false;
    const std::u16string_view content = orvatone::TrimDictionaryField(line.text);
    return !content.empty() && content.front() != u'#';
  }));
}

EntryId DictionaryDocument::Add(DictionaryEntry entry) {
  // The last line may have had no line break; it needs one before anything follows it.
  if (!lines_.empty() && lines_.back().terminator.empty()) lines_.back().terminator = lineBreak_;
  Line line;
  line.text = FormatDictionaryLine(entry);
  line.terminator = lineBreak_;
  line.isEntry = true;
  line.entry = std::move(entry);
  line.id = nextId_++;
  lines_.push_back(std::move(line));
  modified_ = true;
  return lines_.back().id;
}

void DictionaryDocument::Replace(EntryId id, DictionaryEntry entry) {
  Line* line = Find(id);
  if (!line || line->entry == entry) return;
  line->text = FormatDictionaryLine(entry);
  line->entry = std::move(entry);
  modified_ = true;
}

void DictionaryDocument::Remove(EntryId id) {
  if (Line* line = Find(id)) {
    line->removed = true;
    modified_ = true;
  }
}

namespace {

// The engine takes the last reading of a written form, so an import does too.
std::vector<DictionaryEntry> LastReadings(const DictionaryDocument& other) {
  std::unordered_map<std::u16string, std::size_t> where;
  std::vector<DictionaryEntry> entries;
  for (const EntryId id : other.Entries()) {
    const DictionaryEntry& imported = other.Entry(id);
    if (const auto [it, inserted] = where.emplace(imported.written, entries.size()); inserted) {
      entries.push_back(imported);
    } else {
      entries[it->second].reading = imported.reading;
    }
  }
  return entries;
}

}  // namespace

std::size_t DictionaryDocument::ConflictsWith(const DictionaryDocument& other) const {
  std::size_t conflicts = 0;
  for (const DictionaryEntry& imported : LastReadings(other)) {
    if (const auto mine = FindWritten(imported.written); mine && Entry(*mine).reading != imported.reading) ++conflicts;
  }
  return conflicts;
}

DictionaryDocument::ImportCount DictionaryDocument::Import(const DictionaryDocument& other, bool replaceReadings) {
  ImportCount count;
  for (DictionaryEntry& imported : LastReadings(other)) {
    if (const auto mine = FindWritten(imported.written)) {
      if (Entry(*mine).reading == imported.reading || !replaceReadings) {
        ++count.unchanged;
      } else {
        Replace(*mine, std::move(imported));
        ++count.replaced;
      }
    } else {
      Add(std::move(imported));
      ++count.added;
    }
  }
  return count;
}

std::string DictionaryDocument::Serialize(const CodePageEncoder& encodeCodePage) const {
  std::u16string text;
  for (const Line& line : lines_) {
    if (line.removed) continue;
    text += line.text;
    text += line.terminator;
  }
  if (encoding_ == DictionaryEncoding::kCodePage && encodeCodePage) {
    if (std::optional<std::string> bytes = encodeCodePage(text)) {
      // Bytes that happen to be valid UTF-8 would be read back as UTF-8 by the engine.
      if (!DecodeUtf8(*bytes) || std::all_of(bytes->begin(), bytes->end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x80;
          })) {
        return std::move(*bytes);
      }
    }
  }
  std::string bytes = EncodeUtf8(text);
  if (encoding_ != DictionaryEncoding::kUtf8) bytes.insert(0, kByteOrderMark);
  return bytes;
}

}  // namespace ostrel::dicteditor
