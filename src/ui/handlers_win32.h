#pragma once
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace ostrel::ui {

// One entry of a dialog class's handler table: which message it answers and the named
// member function that answers it. Made by OnMessage, OnCommand, OnCommandRange,
// OnNotify and OnHScroll below.
template <typename T>
struct Handler {
  enum class Kind : std::uint8_t { kNone, kMessage, kCommand, kNotify, kHScroll };
  using Invoke = LRESULT (*)(T& target, const Handler& handler, WPARAM wParam, LPARAM lParam);

  // Each kind keeps the member function in the member of its signature; `invoke` knows which.
  union Method {
    constexpr Method() : withResult(nullptr) {}
    LRESULT (T::*withResult)(WPARAM, LPARAM);
    void (T::*withParameters)(WPARAM, LPARAM);
    void (T::*plain)();
    void (T::*withId)(int);
    LRESULT (T::*withHeader)(NMHDR*);
    void (T::*withControl)(HWND);
  };

  bool Matches(UINT msg, WPARAM wParam, LPARAM lParam) const {
    switch (kind) {
      case Kind::kMessage:
        return msg == message;
      case Kind::kCommand:
        return msg == WM_COMMAND && HIWORD(wParam) == code && LOWORD(wParam) >= firstId && LOWORD(wParam) <= lastId;
      case Kind::kNotify: {
        if (msg != WM_NOTIFY || lParam == 0) return false;
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        return header->idFrom == firstId && header->code == code;
      }
      case Kind::kHScroll:
        return msg == WM_HSCROLL && lParam != 0;  // a control, not the window's own scroll bar
      case Kind::kNone:
        break;
    }
    return false;
  }

  Kind kind = Kind::kNone;
  UINT message = 0;
  UINT firstId = 0;
  UINT lastId = 0;
  UINT code = 0;
  Method method;
  Invoke invoke = nullptr;
};

namespace detail {

template <typename T>
constexpr Handler<T> Entry(typename Handler<T>::Kind kind, UINT message, UINT firstId, UINT lastId, UINT code) {
  Handler<T> h;
  h.kind = kind;
  h.message = message;
  h.firstId = firstId;
  h.lastId = lastId;
  h.code = code;
  return h;
}

template <typename T>
LRESULT CallPlain(T& t, const Handler<T>& e, WPARAM, LPARAM) {
  (t.*e.method.plain)();
  return 0;
}

}  // namespace detail

// A window message; the handler's result is the message's result.
template <typename T>
constexpr Handler<T> OnMessage(UINT message, LRESULT (T::*method)(WPARAM, LPARAM)) {
  Handler<T> h = detail::Entry<T>(Handler<T>::Kind::kMessage, message, 0, 0, 0);
  h.method.withResult = method;
  h.invoke = [](T& t, const Handler<T>& e, WPARAM w, LPARAM l) -> LRESULT { return (t.*e.method.withResult)(w, l); };
  return h;
}

// A window message whose result is 0.
template <typename T>
constexpr Handler<T> OnMessage(UINT message, void (T::*method)(WPARAM, LPARAM)) {
  Handler<T> h = detail::Entry<T>(Handler<T>::Kind::kMessage, message, 0, 0, 0);
  h.method.withParameters = method;
  h.invoke = [](T& t, const Handler<T>& e, WPARAM w, LPARAM l) -> LRESULT {
    (t.*e.method.withParameters)(w, l);
    return 0;
  };
  return h;
}

// WM_COMMAND from control (or menu item) `id` with notification `code` (BN_CLICKED, EN_CHANGE, ...;
// menu items and buttons both send 0).
template <typename T>
constexpr Handler<T> OnCommand(UINT id, UINT code, void (T::*method)()) {
  Handler<T> h = detail::Entry<T>(Handler<T>::Kind::kCommand, 0, id, id, code);
  h.method.plain = method;
  h.invoke = &detail::CallPlain<T>;
  return h;
}

// WM_COMMAND with notification `code` from any id in [firstId, lastId]; the handler gets the id.
template <typename T>
constexpr Handler<T> OnCommandRange(UINT firstId, UINT lastId, UINT code, void (T::*method)(int)) {
  Handler<T> h = detail::Entry<T>(Handler<T>::Kind::kCommand, 0, firstId, lastId, code);
  h.method.withId = method;
  h.invoke = [](T& t, const Handler<T>& e, WPARAM w, LPARAM) -> LRESULT {
    (t.*e.method.withId)(LOWORD(w));
    return 0;
  };
  return h;
}

// WM_NOTIFY from control `id` with notification `code`; the handler's result is the
// notification's result.
template <typename T>
constexpr Handler<T> OnNotify(UINT id, UINT code, LRESULT (T::*method)(NMHDR*)) {
  Handler<T> h = detail::Entry<T>(Handler<T>::Kind::kNotify, 0, id, id, code);
  h.method.withHeader = method;
  h.invoke = [](T& t, const Handler<T>& e, WPARAM, LPARAM l) -> LRESULT {
    return (t.*e.method.withHeader)(reinterpret_cast<NMHDR*>(l));
  };
  return h;
}

// WM_NOTIFY whose result is 0.
template <typename T>
constexpr Handler<T> OnNotify(UINT id, UINT code, void (T::*method)()) {
  Handler<T> h = detail::Entry<T>(Handler<T>::Kind::kNotify, 0, id, id, code);
  h.method.plain = method;
  h.invoke = &detail::CallPlain<T>;
  return h;
}

// WM_HSCROLL from any control (a horizontal slider); the handler gets the control.
template <typename T>
constexpr Handler<T> OnHScroll(void (T::*method)(HWND)) {
  Handler<T> h = detail::Entry<T>(Handler<T>::Kind::kHScroll, 0, 0, 0, 0);
  h.method.withControl = method;
  h.invoke = [](T& t, const Handler<T>& e, WPARAM, LPARAM l) -> LRESULT {
    (t.*e.method.withControl)(reinterpret_cast<HWND>(l));
    return 0;
  };
  return h;
}

// A class's table, read top to bottom; the first entry that matches a message answers it.
//   static constexpr ui::Handlers<CMyDlg> kHandlers{
//       ui::OnMessage(WM_HOTKEY, &CMyDlg::OnHotKey),
//       ui::OnCommand(IDOK, BN_CLICKED, &CMyDlg::OnOkButton)};
template <typename T, std::size_t Capacity = 48>
class Handlers {
 public:
  constexpr Handlers(std::initializer_list<Handler<T>> entries) : count_(entries.size()) {
    // Reached only in constant evaluation, where it stops the build.
    if (entries.size() > Capacity) throw "more handlers than the table holds: raise its Capacity";
    std::copy(entries.begin(), entries.end(), entries_.begin());
  }

  bool Dispatch(T& target, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
    for (std::size_t i = 0; i < count_; ++i) {
      const Handler<T>& entry = entries_[i];
      if (entry.Matches(message, wParam, lParam)) {
        result = entry.invoke(target, entry, wParam, lParam);
        return true;
      }
    }
    return false;
  }

  constexpr std::size_t size() const { return count_; }

 private:
  std::array<Handler<T>, Capacity> entries_{};
  std::size_t count_;
};

}  // namespace ostrel::ui
