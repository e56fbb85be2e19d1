#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace ostrel::ui {

// Builds a dialog template in memory, for dialogs that have no resource (tests, and
// windows whose layout is computed). Sizes are in dialog units, as in a .rc file.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short width, short height);

  DialogTemplate& ExStyle(DWORD exStyle);
  DialogTemplate& Position(short x, short y);
  DialogTemplate& Caption(std::wstring_view caption);
  // Adds DS_SETFONT.
  DialogTemplate& Font(WORD pointSize, std::wstring_view face);
  // className is a window class name ("BUTTON", TRACKBAR_CLASSW, ...); WS_CHILD is implied.
  DialogTemplate& Control(std::wstring_view className, int id, std::wstring_view text, DWORD style, short x, short y,
                          short width, short height, DWORD exStyle = 0);

  // The DLGTEMPLATE followed by its items, DWORD-aligned as the dialog manager expects.
  std::vector<WORD> Build() const;

 private:
  struct Item {
    std::wstring className;
    std::wstring text;
    WORD id;
    DWORD style;
    DWORD exStyle;
    short x, y, width, height;
  };

  DWORD style_;
  DWORD exStyle_ = 0;
  short x_ = 0;
  short y_ = 0;
  short width_;
  short height_;
  std::wstring caption_;
  WORD pointSize_ = 0;
  std::wstring face_;
  std::vector<Item> items_;
};

}  // namespace ostrel::ui
