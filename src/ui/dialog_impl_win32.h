#pragma once
#include <windows.h>

#include "ui/dialog_win32.h"
#include "ui/handlers_win32.h"

namespace ostrel::ui {

// Base of a dialog class with a handler table: T declares, after its handlers,
//   static constexpr ui::Handlers<T> kHandlers{...};
// public, or with `friend class ui::DialogImpl<T>;` when it is private.
template <typename T>
class DialogImpl : public Dialog {
 public:
  using Dialog::Dialog;

 protected:
  bool DispatchHandlers(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    return T::kHandlers.Dispatch(static_cast<T&>(*this), message, wParam, lParam, result);
  }
};

}  // namespace ostrel::ui
