#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ui/combo_box_win32.h"
#include "ui/dialog_win32.h"
#include "ui/dialog_template_win32.h"
#include "ui/hot_key_control_win32.h"
#include "ui/slider_win32.h"
#include "ui/tab_control_win32.h"
#include "ui/tool_tip_win32.h"
#include "ui/window_text_win32.h"
#include "window_test_support.h"

namespace ostrel {
namespace {

using testing::InitCommonControlsForTests;

constexpr int kSlider = 1098;
constexpr int kHotKey = 1001;
constexpr int kCombo = 1097;
constexpr int kTab = 1002;
constexpr int kNumber = 1091;

class UiControlsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitCommonControlsForTests(); }

  void SetUp() override {
    ui::DialogTemplate t(WS_POPUP | WS_CAPTION, 240, 200);
    t.Font(9, L"MS Shell Dlg")
        .Control(TRACKBAR_CLASSW, kSlider, L"", TBS_AUTOTICKS | WS_VISIBLE, 10, 10, 115, 15, WS_EX_STATICEDGE)
        .Control(HOTKEY_CLASSW, kHotKey, L"", WS_BORDER | WS_TABSTOP | WS_VISIBLE, 10, 30, 106, 14)
        .Control(L"COMBOBOX", kCombo, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_VISIBLE, 10, 50, 82, 60)
        .Control(WC_TABCONTROLW, kTab, L"", WS_VISIBLE, 10, 70, 200, 60)
        .Control(L"EDIT", kNumber, L"", ES_AUTOHSCROLL | WS_BORDER | WS_VISIBLE, 10, 140, 35, 14);
    dialog_ = std::make_unique<ui::Dialog>(t);
    ASSERT_TRUE(dialog_->Create(nullptr));
  }

  HWND window() const { return dialog_->hwnd(); }

  std::unique_ptr<ui::Dialog> dialog_;
};

TEST_F(UiControlsTest, SliderKeepsFullRangesAndClampsPositions) {
  const ui::Slider slider(window(), kSlider);
  slider.SetRange(55, 255, true);
  slider.SetTicFreq((255 - 55) / 10);
  EXPECT_EQ(slider.GetRangeMin(), 55);
  EXPECT_EQ(slider.GetRangeMax(), 255);
  slider.SetPos(20);
  EXPECT_EQ(slider.GetPos(), 55);
  slider.SetPos(300);
  EXPECT_EQ(slider.GetPos(), 255);
  slider.SetPos(155);
  EXPECT_EQ(slider.GetPos(), 155);

  // The pauses run to 65535, past what a 16-bit range message could carry.
  slider.SetRange(0, 65535);
  EXPECT_EQ(slider.GetRangeMax(), 65535);
  slider.SetPos(65535);
  EXPECT_EQ(slider.GetPos(), 65535);

  // A range narrower than ten gives a tick frequency of 0.
  slider.SetRange(100, 105);
  slider.SetTicFreq(0);
  slider.SetPos(103);
  EXPECT_EQ(slider.GetPos(), 103);
}

TEST_F(UiControlsTest, HotKeyControlRoundTripsWordsAndAddsAltToABareKey) {
  const ui::HotKeyControl hotKey(window(), kHotKey);
  for (std::uint16_t word : {std::uint16_t{0x0250}, std::uint16_t{0x0350}, std::uint16_t{0x0353}, std::uint16_t{0x0841}, std::uint16_t{0}}) {
    hotKey.SetHotKey(word);
    EXPECT_EQ(hotKey.GetHotKey(), word);
  }
  hotKey.SetRules(HKCOMB_NONE, HOTKEYF_ALT);
  SetFocus(hotKey.hwnd());
  SendMessageW(hotKey.hwnd(), WM_KEYDOWN, 'P', 0);
  SendMessageW(hotKey.hwnd(), WM_KEYUP, 'P', 0xC0000001);
  EXPECT_EQ(hotKey.GetHotKey(), MAKEWORD('P', HOTKEYF_ALT));
}

TEST_F(UiControlsTest, ComboBoxAddsAndSelects) {
  const ui::ComboBox combo(window(), kCombo);
  int index = 0;
  for (const wchar_t* code : {L"GB", L"BIG5", L"XR(簡体字)", L"XR(繁体字)"}) EXPECT_EQ(combo.AddString(code), index++);
  EXPECT_EQ(combo.GetCount(), 4);
  EXPECT_EQ(combo.GetCurSel(), CB_ERR);
  combo.SetCurSel(2);
  EXPECT_EQ(combo.GetCurSel(), 2);
  EXPECT_EQ(ui::GetItemText(window(), kCombo), L"XR(簡体字)");
  combo.SetCurSel(-1);
  EXPECT_EQ(combo.GetCurSel(), CB_ERR);
}

TEST_F(UiControlsTest, TabControlInsertsAndSelectsWithoutNotifying) {
  const ui::TabControl tab(window(), kTab);
  EXPECT_EQ(tab.GetCurSel(), -1);
  EXPECT_EQ(tab.InsertItem(0, L"韓国語音声"), 0);
  EXPECT_EQ(tab.InsertItem(1, L"他の設定"), 1);
  EXPECT_EQ(tab.InsertItem(2, L"バージョン情報"), 2);
  EXPECT_EQ(tab.GetItemCount(), 3);
  EXPECT_EQ(tab.GetItemText(1), L"他の設定");
  tab.SetCurSel(2);
  EXPECT_EQ(tab.GetCurSel(), 2);
  EXPECT_EQ(tab.SetCurSel(7), -1);
  EXPECT_EQ(tab.GetCurSel(), 2);
}

TEST_F(UiControlsTest, TextHelpersReadWholeOrCutTexts) {
  ui::SetItemText(window(), kNumber, L"12345678901234567890123");
  EXPECT_EQ(ui::GetItemText(window(), kNumber, 19), L"1234567890123456789");
  EXPECT_EQ(ui::GetItemText(window(), kNumber).size(), 23u);
  ui::SetItemText(window(), kNumber, L"C:\\ユーザー\\辞書.csv");
  EXPECT_EQ(ui::GetItemText(window(), kNumber), L"C:\\ユーザー\\辞書.csv");
  ui::SetItemText(window(), kNumber, nullptr);
  EXPECT_EQ(ui::GetItemText(window(), kNumber), L"");
  EXPECT_EQ(ui::GetText(nullptr), L"");
}

std::wstring ToolText(HWND tip, HWND owner) {
  wchar_t buffer[256] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(owner);
  tool.lpszText = buffer;
  SendMessageW(tip, TTM_GETTEXTW, std::size(buffer), reinterpret_cast<LPARAM>(&tool));
  return buffer;
}

TEST_F(UiControlsTest, ToolTipCoversItsOwnerAndTakesNewTexts) {
  HWND tipWindow = nullptr;
  {
    ui::ToolTip tip;
    ASSERT_TRUE(tip.Create(window()));
    tipWindow = tip.hwnd();
    EXPECT_EQ(GetWindow(tipWindow, GW_OWNER), window());
    const LONG_PTR style = GetWindowLongPtrW(tipWindow, GWL_STYLE);
    EXPECT_EQ(style & (TTS_ALWAYSTIP | TTS_NOPREFIX), TTS_ALWAYSTIP | TTS_NOPREFIX);
    tip.SetMaxTipWidth(384);
    EXPECT_EQ(SendMessageW(tipWindow, TTM_GETMAXTIPWIDTH, 0, 0), 384);

    ASSERT_TRUE(tip.AddTool(window()));
    EXPECT_EQ(SendMessageW(tipWindow, TTM_GETTOOLCOUNT, 0, 0), 1);
    tip.UpdateTipText(L"範囲指定読上げ");
    EXPECT_EQ(ToolText(tipWindow, window()), L"範囲指定読上げ");
    tip.UpdateTipText(L"");
    EXPECT_EQ(ToolText(tipWindow, window()), L"");

    MSG move{window(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), GetTickCount(), {5, 5}};
    tip.RelayEvent(move);
  }
  EXPECT_FALSE(IsWindow(tipWindow));

  // A tooltip whose owner went first does not outlive it, and its object does not mind.
  ui::ToolTip orphan;
  ASSERT_TRUE(orphan.Create(window()));
  HWND orphanWindow = orphan.hwnd();
  dialog_.reset();
  EXPECT_FALSE(IsWindow(orphanWindow));
}

}  // namespace
}  // namespace ostrel
