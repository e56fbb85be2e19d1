#include "settingsdlg/env_set_dlg_win32.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "../../resources/resource_ids.h"
#include "../../resources/settings_ids.h"
#include "encoding/code_page_win32.h"
#include "platform/program_directory_win32.h"
#include "fake_engine.h"
#include "platform/seams_win32.h"
#include "platform/wide_win32.h"
#include "settings/registry_backend.h"
#include "settings/registry_store.h"
#include "settingsdlg/page_placement.h"
#include "settingsdlg/run_settings_dialog_win32.h"
#include "ui/slider_win32.h"
#include "ui/tab_control_win32.h"
#include "ui/window_text_win32.h"
#include "window_test_support.h"

namespace ostrel {
namespace {

using testing::InitCommonControlsForTests;
using testing::PumpMessages;

struct Box {
  std::wstring text;
  std::wstring caption;
  UINT style;
};

// Counts what SaveSettings writes and keeps the numbers by name; reads find nothing.
class CountingRegistry final : public RegistryBackend {
 public:
  std::optional<RegistryValue> Query(RegistryRoot, const std::u16string&, const std::u16string&, size_t) override {
    return std::nullopt;
  }
  bool WriteDword(RegistryRoot, const std::u16string&, const std::u16string& name, uint32_t value) override {
    ++writes;
    dwords[name] = value;
    return true;
  }
  bool WriteString(RegistryRoot, const std::u16string&, const std::u16string&, const std::u16string&) override {
    ++writes;
    return true;
  }
  int writes = 0;
  std::map<std::u16string, uint32_t> dwords;
};

AppSettings TestSettings(unsigned enabledMask = 15) {
  AppSettings s;
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    s.languageEnabled[static_cast<size_t>(l)] = (enabledMask >> l) & 1;
    LanguageSettings& ls = s.languages[static_cast<size_t>(l)];
    ls.ranges = {{{0, 100, 500}, {50, 100, 250}, {50, 100, 200}, {0, 800, 65535}, {0, 300, 65535}}};
    ls.voice.volume = 120;
    ls.voice.speed = 110;
    ls.voice.pitch = 90;
    ls.voice.pause = 700;
    ls.voice.commapause = 250;
    ls.UserDicPath = u"C:\\dic\\user.csv";
  }
  s.language = kJapanese;
  s.Alpha = 200;
  s.Alpha_Min = 55;
  s.Alpha_Max = 255;
  return s;
}

std::wstring ItemText(HWND dialog, int id) { return ui::GetItemText(dialog, id); }

class SettingsDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitCommonControlsForTests(); }
  void TearDown() override { PumpMessages(); }

  // The dialog made modelessly, with the caller's copying done first.
  std::unique_ptr<CEnvSetDlg> Open(AppSettings& settings) {
    auto dialog = std::make_unique<CEnvSetDlg>(settings, engine);
    dialog->initialLanguage = settings.language;
    CopyIntoPages(settings, dialog->VoicePageValues(), dialog->setting().core());
    EXPECT_TRUE(dialog->Create(nullptr));
    return dialog;
  }

  testing::FakeEngine engine;
  std::vector<Box> boxes;
  ScopedMessageBoxHook boxHook{[this](HWND, const wchar_t* text, const wchar_t* caption, UINT style) {
    boxes.push_back({text, caption, style});
    return IDOK;
  }};
};

// --- the templates -----------------------------------------------------------------

INT_PTR CALLBACK PlainProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST_F(SettingsDialogTest, EveryTemplateLoadsWithAllItsControls) {
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 600, 800, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  struct Case {
    UINT templateId;
    std::vector<int> ids;
  };
  std::vector<Case> cases{{IDD_ENVSET, {IDOK, IDCANCEL, IDC_SETTINGS_TAB}},
                          {IDD_SETTING,
                           {IDC_HOTKEY_SELREAD, IDC_HOTKEY_ALLREAD, IDC_HOTKEY_STOP, IDC_ALPHA_SLIDER, IDC_ALPHA_NUMBER,
                            IDC_ALPHA_GROUP, IDC_ALPHA_DEFAULTS, IDC_READING_OPTIONS_GROUP, IDC_KEEP_CLIPBOARD,
                            IDC_LANGUAGE_BY_SCRIPT, IDC_QUICK_CAPTURE}}};
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    const VoicePageControls& c = VoicePageControlsOf(l);
    Case page{c.templateId, {c.defaults, c.sample, c.test, c.path, c.choose, c.editor}};
    for (int p = 0; p < kVoiceParameterCount; ++p) {
      page.ids.insert(page.ids.end(), {c.groups[static_cast<size_t>(p)], c.sliders[static_cast<size_t>(p)],
                                       c.numbers[static_cast<size_t>(p)]});
    }
    if (c.codeList) page.ids.push_back(c.codeList);
    if (c.parenthesis) page.ids.push_back(c.parenthesis);
    cases.push_back(page);
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.templateId);
    const bool child = c.templateId != IDD_ENVSET;
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(c.templateId), child ? parent : nullptr,
                                     PlainProc, 0);
    ASSERT_NE(dialog, nullptr);
    const LONG_PTR style = GetWindowLongPtrW(dialog, GWL_STYLE);
    EXPECT_EQ((style & WS_CHILD) != 0, child);
    EXPECT_FALSE(style & WS_VISIBLE);
    for (int id : c.ids) EXPECT_NE(GetDlgItem(dialog, id), nullptr) << id;
    DestroyWindow(dialog);
  }

  // The version page: the program's icon and the three texts.
  HWND about = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), parent, PlainProc, 0);
  ASSERT_NE(about, nullptr);
  std::vector<std::wstring> texts;
  int icons = 0;
  for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      ++icons;
      EXPECT_NE(SendMessageW(child, STM_GETICON, 0, 0), 0);
    } else {
      texts.push_back(ui::GetText(child));
    }
  }
  EXPECT_EQ(icons, 1);
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"Ostrel Quartet", L"Version 2.0.1",
                                              L"Copyright (C) 2014 Brantic Voiceworks\nAll rights reserved."}));
  DestroyWindow(about);
  DestroyWindow(parent);
}

// --- the tabs --------------------------------------------------------------------------

TEST_F(SettingsDialogTest, TabsFollowTheEnabledLanguagesAndOpenOnTheCurrentOne) {
  struct Case {
    unsigned mask;
    LanguageIndex language;
    std::vector<std::wstring> captions;
    int selected;
  };
  const Case cases[] = {
      {15, kEnglish, {L"日本語音声", L"中国語音声", L"英語音声", L"韓国語音声", L"他の設定", L"バージョン情報"}, 2},
      {8, kKorean, {L"韓国語音声", L"他の設定", L"バージョン情報"}, 0},
      {0, kJapanese, {L"他の設定", L"バージョン情報"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    AppSettings settings = TestSettings(c.mask);
    settings.language = c.language;
    auto dialog = Open(settings);
    ui::TabControl tab(dialog->hwnd(), IDC_SETTINGS_TAB);
    std::vector<std::wstring> captions;
    for (int i = 0; i < tab.GetItemCount(); ++i) captions.push_back(tab.GetItemText(i));
    EXPECT_EQ(captions, c.captions);
    EXPECT_EQ(tab.GetCurSel(), c.selected);
    EXPECT_EQ(dialog->pageCount(), static_cast<int>(c.captions.size()));

    // A disabled language's page never gets a window.
    const ui::Dialog* voicePages[] = {&dialog->modeJ(), &dialog->modeC(), &dialog->modeE(), &dialog->modeK()};
    for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
      EXPECT_EQ(voicePages[l]->hwnd() != nullptr, ((c.mask >> l) & 1) != 0) << l;
    }

    // Placed below the tab row by the tab control's text height.
    TEXTMETRICW metrics{};
    HDC dc = GetDC(tab.hwnd());
    GetTextMetricsW(dc, &metrics);
    ReleaseDC(tab.hwnd(), dc);
    const PagePosition expected = PagePlacement(metrics.tmHeight);
    RECT rect;
    GetWindowRect(dialog->setting().hwnd(), &rect);
    MapWindowPoints(HWND_DESKTOP, dialog->hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, expected.x);
    EXPECT_EQ(rect.top, expected.y);

    // The first paint shows the selected page only.
    ShowWindow(dialog->hwnd(), SW_SHOWNA);
    UpdateWindow(dialog->hwnd());
    for (int i = 0; i < dialog->pageCount(); ++i) {
      EXPECT_EQ(IsWindowVisible(dialog->PageAt(i)->hwnd()) != FALSE, i == c.selected) << i;
    }

    // Choosing the other-settings tab shows it instead.
    const int other = dialog->pageCount() - 2;
    tab.SetCurSel(other);
    NMHDR header{tab.hwnd(), IDC_SETTINGS_TAB, TCN_SELCHANGE};
    SendMessageW(dialog->hwnd(), WM_NOTIFY, IDC_SETTINGS_TAB, reinterpret_cast<LPARAM>(&header));
    EXPECT_TRUE(IsWindowVisible(dialog->setting().hwnd()));
    EXPECT_FALSE(IsWindowVisible(dialog->about().hwnd()));
  }
}

// --- the voice pages -----------------------------------------------------------------------

TEST_F(SettingsDialogTest, VoicePageShowsTheEngineRangesAndTheValues) {
  AppSettings settings = TestSettings();
  auto dialog = Open(settings);
  HWND page = dialog->modeJ().hwnd();
  EXPECT_EQ(ItemText(page, IDC_J_VOLUME_GROUP), L"ボリューム (0 - 500)");
  EXPECT_EQ(ItemText(page, IDC_J_SPEED_GROUP), L"スピード (50 - 250)");
  EXPECT_EQ(ItemText(page, IDC_J_COMMAPAUSE_GROUP), L"句点（カンマ）ポーズ (0 - 65535)");
  ui::Slider pause(page, IDC_J_PAUSE_SLIDER);
  EXPECT_EQ(pause.GetRangeMax(), 65535);
  EXPECT_EQ(pause.GetPos(), 700);
  EXPECT_EQ(ItemText(page, IDC_J_PITCH_NUMBER), L"90");
  EXPECT_EQ(ItemText(page, IDC_J_PATH), L"C:\\dic\\user.csv");
  EXPECT_TRUE(boxes.empty());

  // The pages that draw their sample in a font of their own get the sentence at start.
  EXPECT_EQ(ItemText(dialog->modeC().hwnd(), IDC_C_SAMPLE), L"这是中文语音合成的测试。");
  EXPECT_EQ(ItemText(dialog->modeK().hwnd(), IDC_K_SAMPLE), L"이것은 한국어음성의 테스트입니다.");
  EXPECT_NE(SendDlgItemMessageW(dialog->modeC().hwnd(), IDC_C_SAMPLE, WM_GETFONT, 0, 0),
            SendMessageW(dialog->modeC().hwnd(), WM_GETFONT, 0, 0));
}

TEST_F(SettingsDialogTest, AStoredValueOutsideItsRangeIsReportedOnceAndEndsAtTheLimit) {
  AppSettings settings = TestSettings();
  settings.languages[kJapanese].voice.volume = 1000;
  auto dialog = Open(settings);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"0-500の範囲で値を設定してください。");
  EXPECT_EQ(boxes[0].caption, L"ボリューム");
  EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(ItemText(dialog->modeJ().hwnd(), IDC_J_VOLUME_NUMBER), L"500");
  EXPECT_EQ(dialog->modeJ().core().volume, 500);
}

TEST_F(SettingsDialogTest, NumberBoxesAndSlidersFollowEachOther) {
  AppSettings settings = TestSettings();
  auto dialog = Open(settings);
  HWND page = dialog->modeE().hwnd();

  SetDlgItemTextW(page, IDC_E_SPEED_NUMBER, L"180");
  EXPECT_EQ(ui::Slider(page, IDC_E_SPEED_SLIDER).GetPos(), 180);
  EXPECT_EQ(dialog->modeE().core().speed, 180);

  // Below the range: the box returns to the slider and the value stays.
  SetDlgItemTextW(page, IDC_E_SPEED_NUMBER, L"3");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"50-250の範囲で値を設定してください。");
  EXPECT_EQ(boxes[0].caption, L"スピード");
  EXPECT_EQ(ItemText(page, IDC_E_SPEED_NUMBER), L"180");
  EXPECT_EQ(dialog->modeE().core().speed, 180);

  // A slider move, whatever its kind, writes the box and the value.
  HWND slider = GetDlgItem(page, IDC_E_PITCH_SLIDER);
  SendMessageW(slider, TBM_SETPOS, TRUE, 150);
  SendMessageW(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 150), reinterpret_cast<LPARAM>(slider));
  EXPECT_EQ(ItemText(page, IDC_E_PITCH_NUMBER), L"150");
  EXPECT_EQ(dialog->modeE().core().pitch, 150);
  // Another page's values are its own.
  EXPECT_EQ(dialog->modeJ().core().pitch, 90);
}

TEST_F(SettingsDialogTest, TestButtonSpeaksToThePageAndTheEngineEndsIt) {
  AppSettings settings = TestSettings();
  auto dialog = Open(settings);
  HWND page = dialog->modeK().hwnd();
  SetDlgItemTextW(page, IDC_K_PARENTHESIS, L"3");
  SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_K_TEST, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_K_TEST)));
  const auto speaks = engine.Calls("Speak");
  ASSERT_EQ(speaks.size(), 1u);
  EXPECT_EQ(speaks[0], "Speak 4 90 110 120 700 250 3 " + ToCodePage(u"이것은 한국어음성의 테스트입니다.", 949));
  EXPECT_EQ(engine.lastWindow, reinterpret_cast<WindowId>(page));
  EXPECT_EQ(ItemText(page, IDC_K_TEST), L"停止");
  EXPECT_EQ(dialog->modeK().core().Testing, 1);

  PostMessageW(page, EngineDoneMessage, 0, -1);
  PumpMessages();
  EXPECT_EQ(ItemText(page, IDC_K_TEST), L"テスト");
  EXPECT_EQ(dialog->modeK().core().Testing, 0);
}

// --- the other-settings page -----------------------------------------------------------------

TEST_F(SettingsDialogTest, TypedTransparencyOutsideItsRangeIsRefused) {
  AppSettings settings = TestSettings();
  auto dialog = Open(settings);
  HWND page = dialog->setting().hwnd();
  EXPECT_EQ(ItemText(page, IDC_ALPHA_GROUP), L"透過度 (55 - 255)");
  EXPECT_EQ(ItemText(page, IDC_ALPHA_NUMBER), L"200");

  SetDlgItemTextW(page, IDC_ALPHA_NUMBER, L"30");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"55-255の範囲で値を設定してください。");
  EXPECT_EQ(boxes[0].caption, L"透過度");
  EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(ItemText(page, IDC_ALPHA_NUMBER), L"200");
  EXPECT_EQ(dialog->setting().core().Alpha, 200);

  SetDlgItemTextW(page, IDC_ALPHA_NUMBER, L"155");
  EXPECT_EQ(ui::Slider(page, IDC_ALPHA_SLIDER).GetPos(), 155);
  EXPECT_EQ(dialog->setting().core().Alpha, 155);
}

TEST_F(SettingsDialogTest, AHotKeyHeldByAnotherWindowFailsAndIsOffAfterwards) {
  HWND holder = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  HWND toolbar = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_TRUE(RegisterHotKey(holder, 7, MOD_CONTROL | MOD_ALT, VK_F9));

  AppSettings settings = TestSettings();
  auto dialog = Open(settings);
  dialog->setting().SetHotKeyWindow(toolbar);
  HWND page = dialog->setting().hwnd();
  constexpr WORD kCtrlAlt = (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8;
  SendDlgItemMessageW(page, IDC_HOTKEY_SELREAD, HKM_SETHOTKEY, kCtrlAlt | VK_F10, 0);
  SendDlgItemMessageW(page, IDC_HOTKEY_ALLREAD, HKM_SETHOTKEY, kCtrlAlt | VK_F9, 0);

  SendMessageW(dialog->hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"全文読上げのホットキーの登録に失敗");
  EXPECT_EQ(boxes[0].caption, std::wstring(Wide(ApplicationName())));
  EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_OK));
  EXPECT_EQ(settings.HotKeySelRead, kCtrlAlt | VK_F10);
  EXPECT_EQ(settings.HotKeyAllRead, 0);
  EXPECT_EQ(settings.HotKeyStop, 0);
  // The one that worked is really held by the toolbar now.
  EXPECT_FALSE(RegisterHotKey(holder, 8, MOD_CONTROL | MOD_ALT, VK_F10));

  UnregisterHotKey(toolbar, 1);
  UnregisterHotKey(holder, 7);
  dialog.reset();
  DestroyWindow(toolbar);
  DestroyWindow(holder);
}

TEST_F(SettingsDialogTest, HotKeyControlsShowTheSettingsAndAddAltToAPlainKey) {
  AppSettings settings = TestSettings();
  settings.HotKeySelRead = 0x0250;
  auto dialog = Open(settings);
  HWND control = GetDlgItem(dialog->setting().hwnd(), IDC_HOTKEY_SELREAD);
  EXPECT_EQ(LOWORD(SendMessageW(control, HKM_GETHOTKEY, 0, 0)), 0x0250);
  EXPECT_EQ(LOWORD(SendMessageW(GetDlgItem(dialog->setting().hwnd(), IDC_HOTKEY_STOP), HKM_GETHOTKEY, 0, 0)), 0);
  // The rule applies to what is typed, not to HKM_SETHOTKEY.
  SendMessageW(control, WM_KEYDOWN, 'P', 0);
  SendMessageW(control, WM_KEYUP, 'P', 0xC0000000);
  EXPECT_EQ(LOWORD(SendMessageW(control, HKM_GETHOTKEY, 0, 0)), (HOTKEYF_ALT << 8) | 'P');
}

constexpr int kOptionBoxes[] = {IDC_KEEP_CLIPBOARD, IDC_LANGUAGE_BY_SCRIPT, IDC_QUICK_CAPTURE};

bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

// The page shown as a user sees it, so that clicks reach it.
HWND ShowOtherSettingsPage(CEnvSetDlg& dialog) {
  ShowWindow(dialog.hwnd(), SW_SHOWNA);
  ui::TabControl tab(dialog.hwnd(), IDC_SETTINGS_TAB);
  tab.SetCurSel(dialog.pageCount() - 2);
  NMHDR header{tab.hwnd(), IDC_SETTINGS_TAB, TCN_SELCHANGE};
  SendMessageW(dialog.hwnd(), WM_NOTIFY, IDC_SETTINGS_TAB, reinterpret_cast<LPARAM>(&header));
  UpdateWindow(dialog.hwnd());
  return dialog.setting().hwnd();
}

TEST_F(SettingsDialogTest, ReadingOptionsShowTheSettingsFollowClicksAndDefaultsTurnThemOff) {
  AppSettings settings = TestSettings();
  settings.LanguageByScript = 1;
  auto dialog = Open(settings);
  HWND page = ShowOtherSettingsPage(*dialog);
  EXPECT_EQ(ItemText(page, IDC_READING_OPTIONS_GROUP), L"読み上げの動作");
  EXPECT_EQ(ItemText(page, IDC_KEEP_CLIPBOARD), L"読み上げ後にクリップボードを元に戻す");
  EXPECT_EQ(ItemText(page, IDC_LANGUAGE_BY_SCRIPT), L"文字の種類から言語を選ぶ");
  EXPECT_EQ(ItemText(page, IDC_QUICK_CAPTURE), L"すばやく読み上げる");
  EXPECT_FALSE(Checked(page, IDC_KEEP_CLIPBOARD));
  EXPECT_TRUE(Checked(page, IDC_LANGUAGE_BY_SCRIPT));
  EXPECT_FALSE(Checked(page, IDC_QUICK_CAPTURE));

  // A click marks the box, and the page follows its notification.
  SendDlgItemMessageW(page, IDC_KEEP_CLIPBOARD, BM_CLICK, 0, 0);
  SendDlgItemMessageW(page, IDC_LANGUAGE_BY_SCRIPT, BM_CLICK, 0, 0);
  EXPECT_TRUE(Checked(page, IDC_KEEP_CLIPBOARD));
  EXPECT_FALSE(Checked(page, IDC_LANGUAGE_BY_SCRIPT));
  const OtherSettingsPage& core = dialog->setting().core();
  EXPECT_TRUE(core.KeepClipboard);
  EXPECT_FALSE(core.LanguageByScript);
  EXPECT_FALSE(core.QuickCapture);
  // The settings themselves wait for OK.
  EXPECT_EQ(settings.KeepClipboard, 0);
  EXPECT_EQ(settings.LanguageByScript, 1);

  SendDlgItemMessageW(page, IDC_QUICK_CAPTURE, BM_CLICK, 0, 0);
  ASSERT_TRUE(core.QuickCapture);
  SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_ALPHA_DEFAULTS, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_ALPHA_DEFAULTS)));
  for (int id : kOptionBoxes) EXPECT_FALSE(Checked(page, id)) << id;
  EXPECT_FALSE(core.KeepClipboard || core.LanguageByScript || core.QuickCapture);
  EXPECT_TRUE(boxes.empty());
}

// Nothing clipped or overlapping: every control lies whole inside the page and inside at most
// one group box, no two controls that are not group boxes overlap, and each check box's text
// fits beside its mark in the page's font.
TEST_F(SettingsDialogTest, OtherSettingsPageControlsNeitherOverlapNorClip) {
  AppSettings settings = TestSettings();
  auto dialog = Open(settings);
  HWND page = ShowOtherSettingsPage(*dialog);
  RECT pageRect;
  GetClientRect(page, &pageRect);
  struct Item {
    HWND window;
    RECT rect;
    bool group;
  };
  std::vector<Item> items;
  for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    Item item{child, {}, (GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX};
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    item.group = item.group && std::wstring(className) == L"Button";
    GetWindowRect(child, &item.rect);
    MapWindowPoints(HWND_DESKTOP, page, reinterpret_cast<POINT*>(&item.rect), 2);
    items.push_back(item);
  }
  ASSERT_GE(items.size(), 17u);
  auto inside = [](const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
  };
  auto overlap = [](const RECT& a, const RECT& b) {
    RECT common;
    return IntersectRect(&common, &a, &b) != FALSE;
  };
  for (const Item& item : items) {
    SCOPED_TRACE(std::to_string(GetDlgCtrlID(item.window)));
    EXPECT_TRUE(inside(item.rect, pageRect));
    if (item.group) continue;
    int groups = 0;
    for (const Item& other : items) {
      if (&other == &item) continue;
      if (other.group && inside(item.rect, other.rect)) {
        ++groups;
      } else if (other.group) {
        EXPECT_FALSE(overlap(item.rect, other.rect)) << "straddles a group box's edge";
      } else {
        EXPECT_FALSE(overlap(item.rect, other.rect)) << "overlaps control " << GetDlgCtrlID(other.window);
      }
    }
    EXPECT_LE(groups, 1);
  }
  HDC dc = GetDC(page);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(page, WM_GETFONT, 0, 0)));
  for (int id : kOptionBoxes) {
    const std::wstring text = ItemText(page, id);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    RECT box;
    GetClientRect(GetDlgItem(page, id), &box);
    // The mark, and the gap between it and the text.
    const int mark = GetSystemMetrics(SM_CXMENUCHECK) + 4;
    EXPECT_LE(mark + extent.cx, box.right) << id;
    EXPECT_GE(box.bottom, extent.cy) << id;
  }
  SelectObject(dc, old);
  ReleaseDC(page, dc);
}

// --- the toolbar's settings command -------------------------------------------------------------

// Acts on the settings dialog once its modal loop runs.
std::function<void(HWND)> g_whenOpen;

void CALLBACK WhenOpen(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowW(L"#32770", L"環境設定");
  if (!dialog || !g_whenOpen) return;
  KillTimer(nullptr, timer);
  auto act = std::move(g_whenOpen);
  g_whenOpen = nullptr;
  act(dialog);
}

INT_PTR RunWith(AppSettings& settings, testing::FakeEngine& engine, int& currentAlpha, RegistryStore& store,
                std::function<void(HWND)> act) {
  g_whenOpen = std::move(act);
  SetTimer(nullptr, 0, 20, WhenOpen);
  return RunSettingsDialog(nullptr, settings, engine, currentAlpha, store);
}

HWND PageWith(HWND dialog, int controlId) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetDlgItem(child, controlId)) return child;
  }
  return nullptr;
}

TEST_F(SettingsDialogTest, CancelAfterChangesLeavesTheSettingsAlone) {
  AppSettings settings = TestSettings();
  const AppSettings before = settings;
  CountingRegistry registry;
  RegistryStore store(registry);
  int currentAlpha = 120;
  std::wstring speedShown;
  const INT_PTR result = RunWith(settings, engine, currentAlpha, store, [&speedShown](HWND dialog) {
    HWND voice = PageWith(dialog, IDC_J_SPEED_SLIDER);
    HWND slider = GetDlgItem(voice, IDC_J_SPEED_SLIDER);
    SendMessageW(slider, TBM_SETPOS, TRUE, 240);
    SendMessageW(voice, WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(slider));
    speedShown = ItemText(voice, IDC_J_SPEED_NUMBER);
    SetDlgItemTextW(PageWith(dialog, IDC_ALPHA_SLIDER), IDC_ALPHA_NUMBER, L"100");
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(speedShown, L"240");
  EXPECT_EQ(registry.writes, 0);
  EXPECT_EQ(currentAlpha, 120);
  EXPECT_EQ(settings.Alpha, before.Alpha);
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    EXPECT_EQ(settings.languages[l].voice.speed, before.languages[l].voice.speed);
  }
}

// Clicks every option box of the other-settings page (showing it first, as a user would).
void ClickEveryOption(HWND dialog) {
  HWND tab = GetDlgItem(dialog, IDC_SETTINGS_TAB);
  const int other = static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0)) - 2;
  SendMessageW(tab, TCM_SETCURSEL, other, 0);
  NMHDR header{tab, IDC_SETTINGS_TAB, TCN_SELCHANGE};
  SendMessageW(dialog, WM_NOTIFY, IDC_SETTINGS_TAB, reinterpret_cast<LPARAM>(&header));
  HWND page = PageWith(dialog, IDC_KEEP_CLIPBOARD);
  for (int id : kOptionBoxes) SendDlgItemMessageW(page, id, BM_CLICK, 0, 0);
}

TEST_F(SettingsDialogTest, ReadingOptionsAreKeptByOkAndLeftByCancel) {
  AppSettings settings = TestSettings();
  settings.KeepClipboard = 1;  // the others off
  CountingRegistry registry;
  RegistryStore store(registry);
  int currentAlpha = 200;

  EXPECT_EQ(RunWith(settings, engine, currentAlpha, store, [](HWND dialog) {
              ClickEveryOption(dialog);
              PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            }),
            IDCANCEL);
  EXPECT_EQ((std::array{settings.KeepClipboard, settings.LanguageByScript, settings.QuickCapture}),
            (std::array{1, 0, 0}));
  EXPECT_EQ(registry.writes, 0);

  EXPECT_EQ(RunWith(settings, engine, currentAlpha, store, [](HWND dialog) {
              ClickEveryOption(dialog);
              PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }),
            IDOK);
  EXPECT_EQ((std::array{settings.KeepClipboard, settings.LanguageByScript, settings.QuickCapture}),
            (std::array{0, 1, 1}));
  EXPECT_EQ(registry.dwords[u"KeepClipboard"], 0u);
  EXPECT_EQ(registry.dwords[u"LanguageByScript"], 1u);
  EXPECT_EQ(registry.dwords[u"QuickCapture"], 1u);

  // The next dialog shows what OK kept; OK without a click keeps it again.
  std::array<bool, 3> shown{};
  EXPECT_EQ(RunWith(settings, engine, currentAlpha, store, [&shown](HWND dialog) {
              HWND page = PageWith(dialog, IDC_KEEP_CLIPBOARD);
              for (size_t i = 0; i < shown.size(); ++i) shown[i] = Checked(page, kOptionBoxes[i]);
              PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }),
            IDOK);
  EXPECT_EQ(shown, (std::array<bool, 3>{false, true, true}));
  EXPECT_EQ((std::array{settings.KeepClipboard, settings.LanguageByScript, settings.QuickCapture}),
            (std::array{0, 1, 1}));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(SettingsDialogTest, OkWithoutChangesSavesAndRestoresTheToolbarsOpacity) {
  AppSettings settings = TestSettings();
  const AppSettings before = settings;
  CountingRegistry registry;
  RegistryStore store(registry);
  int currentAlpha = 120;  // the wheel had changed it
  const INT_PTR result = RunWith(settings, engine, currentAlpha, store, [](HWND dialog) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_GT(registry.writes, 0);
  EXPECT_EQ(currentAlpha, 200);
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    const VoiceParameters& v = settings.languages[l].voice;
    const VoiceParameters& b = before.languages[l].voice;
    EXPECT_EQ(std::tie(v.volume, v.speed, v.pitch, v.pause, v.commapause),
              std::tie(b.volume, b.speed, b.pitch, b.pause, b.commapause));
    EXPECT_EQ(settings.languages[l].UserDicPath, before.languages[l].UserDicPath);
  }
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
}  // namespace ostrel
