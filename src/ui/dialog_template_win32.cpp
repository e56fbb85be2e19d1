#include "ui/dialog_template_win32.h"

namespace ostrel::ui {
namespace {

void PushDword(std::vector<WORD>& out, DWORD value) {
  out.push_back(LOWORD(value));
  out.push_back(HIWORD(value));
}

void PushShort(std::vector<WORD>& out, short value) { out.push_back(static_cast<WORD>(value)); }

void PushString(std::vector<WORD>& out, std::wstring_view text) {
  for (wchar_t c : text) out.push_back(static_cast<WORD>(c));
  out.push_back(0);
}

// Every item starts on a DWORD boundary of the template (the buffer itself is allocated
// with at least DWORD alignment).
void AlignToDword(std::vector<WORD>& out) {
  if (out.size() % 2 != 0) out.push_back(0);
}

}  // namespace

DialogTemplate::DialogTemplate(DWORD style, short width, short height)
    : style_(style), width_(width), height_(height) {}

DialogTemplate& DialogTemplate::ExStyle(DWORD exStyle) {
  exStyle_ = exStyle;
  return *this;
}

DialogTemplate& DialogTemplate::Position(short x, short y) {
  x_ = x;
  y_ = y;
  return *this;
}

DialogTemplate& DialogTemplate::Caption(std::wstring_view caption) {
  caption_ = caption;
  return *this;
}

DialogTemplate& DialogTemplate::Font(WORD pointSize, std::wstring_view face) {
  pointSize_ = pointSize;
  face_ = face;
  style_ |= DS_SETFONT;
  return *this;
}

DialogTemplate& DialogTemplate::Control(std::wstring_view className, int id, std::wstring_view text, DWORD style,
                                        short x, short y, short width, short height, DWORD exStyle) {
  items_.push_back(Item{std::wstring(className), std::wstring(text), static_cast<WORD>(id), style | WS_CHILD, exStyle,
                        x, y, width, height});
  return *this;
}

std::vector<WORD> DialogTemplate::Build() const {
  std::vector<WORD> out;
  PushDword(out, style_);
  PushDword(out, exStyle_);
  out.push_back(static_cast<WORD>(items_.size()));
  PushShort(out, x_);
  PushShort(out, y_);
  PushShort(out, width_);
  PushShort(out, height_);
  out.push_back(0);  // no menu
  out.push_back(0);  // the dialog class
  PushString(out, caption_);
  if (style_ & DS_SETFONT) {
    out.push_back(pointSize_);
    PushString(out, face_);
  }
  for (const Item& item : items_) {
    AlignToDword(out);
    PushDword(out, item.style);
    PushDword(out, item.exStyle);
    PushShort(out, item.x);
    PushShort(out, item.y);
    PushShort(out, item.width);
    PushShort(out, item.height);
    out.push_back(item.id);
    PushString(out, item.className);
    PushString(out, item.text);
    out.push_back(0);  // no creation data
  }
  return out;
}

}  // namespace ostrel::ui
