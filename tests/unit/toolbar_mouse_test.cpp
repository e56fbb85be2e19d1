#include "toolbar/toolbar_mouse.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "toolbar/pixel_image.h"

namespace ostrel {
namespace {

struct Point {
  int x, y;
};
// Client points of the synthetic hit map, laid out like the built-in one.
constexpr Point kLogo{20, 30};
constexpr Point kSelection{78, 30};   // command 0
constexpr Point kWhole{130, 28};      // command 1
constexpr Point kStop{170, 30};       // command 2
constexpr Point kRepeat{198, 30};     // command 3
constexpr Point kLanguage{240, 30};   // command 4
constexpr Point kSettings{275, 30};   // command 5
constexpr Point kOutside{-40, 30};    // left of the window, reached only with the capture

// The toolbar window as the handlers see it; screen = client + the window's top-left.
class FakeToolbar : public ToolbarMouseHost {
 public:
  explicit FakeToolbar(ButtonStates& states) : states_(states) {}

  ScreenPoint ClientToScreenPoint(int x, int y) override { return {window.left + x, window.top + y}; }
  bool ToolbarIsUnder(ScreenPoint p) override { return Inside(window, p) && !(coveredBy && Inside(*coveredBy, p)); }
  bool HasCapture() override { return capture; }
  void TakeCapture() override {
    EXPECT_FALSE(capture) << "capture taken while held";
    capture = true;
  }
  void ReleaseMouseCapture() override {
    capture = false;
    if (mouse) mouse->OnCaptureChanged(false);  // Windows reports it at once
  }
  ScreenRect WindowRect() override { return window; }
  void MoveWindowTo(ScreenPoint p) override {
    moves.push_back(p);
    window = {p.x, p.y, p.x + window.right - window.left, p.y + window.bottom - window.top};
  }
  void BringToForeground() override { ++foregrounds; }
  void ExecuteCommand(Command command) override { commands.push_back(Number(command)); }
  void RedrawIfChanged() override {
    if (states_.Changed()) states_.MarkDrawn();
  }
  void SetTipText(const char16_t* text) override { tips.emplace_back(text); }

  // A menu or another program takes the capture.
  void StealCapture() {
    capture = false;
    mouse->OnCaptureChanged(true);
  }

  ToolbarMouse* mouse = nullptr;
  ScreenRect window{100, 200, 427, 260};
  std::optional<ScreenRect> coveredBy;  // another topmost window
  bool capture = false;
  int foregrounds = 0;
  std::vector<ScreenPoint> moves;
  std::vector<int> commands;
  std::vector<std::u16string> tips;

 private:
  static bool Inside(const ScreenRect& r, ScreenPoint p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
  }
  ButtonStates& states_;
};

class ToolbarMouseTest : public ::testing::Test {
 protected:
  ToolbarMouseTest() {
    const struct {
      int command, left, top, right, bottom;  // inclusive
    } regions[] = {{0, 62, 13, 95, 47},   {1, 110, 9, 149, 48},  {2, 161, 21, 180, 40}, {3, 189, 21, 208, 40},
                   {4, 230, 19, 253, 42}, {5, 264, 19, 287, 42}, {6, 296, 17, 309, 30}, {7, 296, 32, 309, 45}};
    for (const auto& r : regions) {
      for (int y = r.top; y <= r.bottom; ++y) {
        for (int x = r.left; x <= r.right; ++x) map.At(x, y) = Bgra(255, 0, static_cast<uint8_t>(r.command), 255);
      }
    }
    states.Initialize();  // stop disabled
    states.MarkDrawn();
    host.mouse = &mouse;
  }

  void Move(Point p) { mouse.OnMouseMove(p.x, p.y); }
  void Down(Point p) { mouse.OnLeftButtonDown(p.x, p.y); }
  void Up(Point p) { mouse.OnLeftButtonUp(p.x, p.y); }
  void MoveToScreen(int x, int y) { mouse.OnMouseMove(x - host.window.left, y - host.window.top); }

  // The states of commands 0..7 with the given buttons hovered and pressed; the rest
  // normal except those listed as disabled.
  static std::vector<ButtonState> Expected(int hovered, int pressed, std::vector<int> disabled = {2}) {
    std::vector<ButtonState> expected(kCommandCount, ButtonState::Normal);
    for (int n : disabled) expected[n] = ButtonState::Disabled;
    if (hovered >= 0) expected[hovered] = ButtonState::Hover;
    if (pressed >= 0) expected[pressed] = ButtonState::Pressed;
    return expected;
  }
  std::vector<ButtonState> States() const {
    std::vector<ButtonState> actual;
    for (int n = 0; n < kCommandCount; ++n) actual.push_back(states.State(Command{n}));
    return actual;
  }

  PixelImage map{327, 60};
  ButtonStates states;
  FakeToolbar host{states};
  ToolbarMouse mouse{states, map.view(), host};
};

TEST_F(ToolbarMouseTest, HoverPressAndClickFollowTheInteractionTable) {
  enum class Event { Move, Down, Up };
  const struct {
    const char* what;
    Event event;
    Point at;
    int hovered, pressed;
    bool capture;
    int pressedButton;
    std::vector<int> commands;  // all so far
  } script[] = {
      {"idle, onto a button", Event::Move, kSelection, 0, -1, true, -1, {}},
      {"hovering, onto another", Event::Move, kWhole, 1, -1, true, -1, {}},
      {"hovering, off all buttons", Event::Move, kLogo, -1, -1, false, -1, {}},
      {"idle, onto a button again", Event::Move, kSelection, 0, -1, true, -1, {}},
      {"hovering, down on it", Event::Down, kSelection, -1, 0, true, 0, {}},
      {"pressing, off it", Event::Move, kLogo, 0, -1, true, 0, {}},
      {"pressing, over another button", Event::Move, kWhole, 0, -1, true, 0, {}},
      {"pressing outside, back onto it", Event::Move, kSelection, -1, 0, true, 0, {}},
      {"pressing, up over it", Event::Up, kSelection, 0, -1, false, -1, {0}},
      {"hovering again", Event::Move, kSelection, 0, -1, true, -1, {0}},
      {"second press", Event::Down, kSelection, -1, 0, true, 0, {0}},
      {"pressing, off onto the frame", Event::Move, kLogo, 0, -1, true, 0, {0}},
      {"pressing outside, up", Event::Up, kLogo, -1, -1, false, -1, {0}},
      {"onto repeat", Event::Move, kRepeat, 3, -1, true, -1, {0}},
      {"down on repeat", Event::Down, kRepeat, -1, 3, true, 3, {0}},
      {"pressing, out of the window", Event::Move, kOutside, 3, -1, true, 3, {0}},
      {"up out of the window", Event::Up, kOutside, -1, -1, false, -1, {0}},
      {"onto selection", Event::Move, kSelection, 0, -1, true, -1, {0}},
      {"down on selection", Event::Down, kSelection, -1, 0, true, 0, {0}},
      {"pressing, onto whole", Event::Move, kWhole, 0, -1, true, 0, {0}},
      {"up over whole: neither button ran", Event::Up, kWhole, -1, -1, false, -1, {0}},
  };
  int step = 0;
  for (const auto& s : script) {
    SCOPED_TRACE(testing::Message() << "step " << step++ << ": " << s.what);
    if (s.event == Event::Move) Move(s.at);
    if (s.event == Event::Down) Down(s.at);
    if (s.event == Event::Up) Up(s.at);
    EXPECT_EQ(States(), Expected(s.hovered, s.pressed));
    EXPECT_EQ(host.capture, s.capture);
    EXPECT_EQ(mouse.PressedButton(), s.pressedButton);
    EXPECT_EQ(host.commands, s.commands);
    EXPECT_FALSE(states.Changed()) << "a change was not redrawn";
    EXPECT_FALSE(mouse.Dragging());
  }
  EXPECT_TRUE(host.moves.empty());
}

TEST_F(ToolbarMouseTest, TheWindowFollowsADragExactlyUntilTheRelease) {
  Move(kLogo);
  Down(kLogo);
  ASSERT_TRUE(mouse.Dragging());
  EXPECT_EQ(mouse.DragOrigin(), (ScreenPoint{120, 230}));
  EXPECT_EQ(mouse.DragStartRect().left, 100);
  EXPECT_EQ(mouse.DragStartRect().top, 200);
  EXPECT_TRUE(host.capture);
  EXPECT_EQ(host.foregrounds, 1);

  MoveToScreen(125, 227);
  MoveToScreen(183, 227);  // the cursor over the selection button: no highlight
  host.StealCapture();    // a lost capture does not end the drag
  MoveToScreen(-30, 1000);
  EXPECT_EQ(host.moves, (std::vector<ScreenPoint>{{105, 197}, {163, 197}, {-50, 970}}));
  EXPECT_EQ(States(), Expected(-1, -1));
  EXPECT_TRUE(host.tips.empty());

  Down(kSelection);  // a second button down while dragging does nothing
  EXPECT_EQ(host.foregrounds, 1);

  Up(kSelection);
  EXPECT_FALSE(mouse.Dragging());
  EXPECT_EQ(mouse.DragOrigin(), (ScreenPoint{-1, -1}));
  EXPECT_FALSE(host.capture);
  EXPECT_TRUE(host.commands.empty());
  EXPECT_EQ(host.moves.size(), 3u);
  EXPECT_EQ(States(), Expected(-1, -1));
}

TEST_F(ToolbarMouseTest, ADragCanStartAtScreenCoordinateMinusOne) {
  // A monitor left of the primary one: the press lands on screen column -1.
  host.window = {-300, 200, 27, 260};
  Down({299, 55});
  ASSERT_TRUE(mouse.Dragging());
  EXPECT_EQ(mouse.DragOrigin(), (ScreenPoint{-1, 255}));
  MoveToScreen(-11, 255);
  EXPECT_EQ(host.moves, (std::vector<ScreenPoint>{{-310, 200}}));
}

TEST_F(ToolbarMouseTest, ADisabledButtonIsNeitherHighlightedNorPressedNorDragged) {
  Move(kStop);
  EXPECT_EQ(States(), Expected(-1, -1));
  EXPECT_FALSE(host.capture);

  Down(kStop);
  EXPECT_EQ(host.foregrounds, 1);
  EXPECT_EQ(mouse.PressedButton(), -1);
  EXPECT_FALSE(mouse.Dragging());
  EXPECT_FALSE(host.capture);
  Up(kStop);
  EXPECT_TRUE(host.commands.empty());
  EXPECT_EQ(States(), Expected(-1, -1));

  // From a hovered button onto the disabled one: the highlight goes.
  Move(kRepeat);
  Move(kStop);
  EXPECT_EQ(States(), Expected(-1, -1));
}

TEST_F(ToolbarMouseTest, APointCoveredByAnotherWindowHighlightsNothing) {
  host.coveredBy = ScreenRect{150, 200, 200, 260};  // over the selection button
  Move(kWhole);
  EXPECT_EQ(States(), Expected(1, -1));
  Move(kSelection);
  EXPECT_EQ(States(), Expected(-1, -1));
  EXPECT_FALSE(host.capture);
  EXPECT_EQ(host.tips, (std::vector<std::u16string>{u"全文読上げ", u""}));
}

TEST_F(ToolbarMouseTest, LosingTheCaptureCancelsAPress) {
  Move(kSelection);
  Down(kSelection);
  host.StealCapture();
  EXPECT_EQ(mouse.PressedButton(), -1);
  EXPECT_EQ(States(), Expected(-1, -1));
  EXPECT_FALSE(states.Changed());
  Up(kSelection);
  EXPECT_TRUE(host.commands.empty());
}

TEST_F(ToolbarMouseTest, LosingTheCaptureKeepsHoverAndDisabledStates) {
  const struct {
    const char* what;
    std::vector<int> disabled;
  } cases[] = {
      {"idle: stop disabled", {2}},
      {"a selection reading speaks: whole text disabled", {1}},
      {"two disabled buttons", {2, 5}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    states.Initialize();
    states.SetState(Command{2}, ButtonState::Normal);
    for (int n : c.disabled) states.SetState(Command{n}, ButtonState::Disabled);
    states.MarkDrawn();
    Move(kRepeat);  // hovered when the right button opens the menu
    host.StealCapture();
    EXPECT_EQ(States(), Expected(3, -1, c.disabled));
    EXPECT_FALSE(states.Changed());
    // The toolbar letting go itself changes nothing.
    Down(kRepeat);
    mouse.OnCaptureChanged(false);
    EXPECT_EQ(States(), Expected(-1, 3, c.disabled));
    Up(kRepeat);
    host.commands.clear();
  }
}

TEST_F(ToolbarMouseTest, TheTipTextChangesOnlyWithTheButtonUnderTheCursor) {
  states.SetVariant(Command{4}, 2);  // English: the language button's tip is still that of its first row
  for (Point p : {kLogo, kSelection, Point{80, 40}, kLanguage, kSettings, kStop, kLogo, kOutside, Point{5, 5}}) Move(p);
  EXPECT_EQ(host.tips, (std::vector<std::u16string>{u"範囲指定読上げ", u"言語切替", u"設定", u"停止", u""}));
  EXPECT_EQ(mouse.TipButton(), -1);

  Down(kSelection);
  Up(kSelection);
  EXPECT_EQ(host.tips.size(), 5u);  // clicks leave the tip alone
}

TEST_F(ToolbarMouseTest, AHitColourNamingNoCommandIsNoButton) {
  map.At(kLogo.x, kLogo.y) = Bgra(255, 0, 8, 255);  // would name the terminator's pair
  Move(kLogo);
  EXPECT_EQ(states.State(Command{8}), ButtonState::Terminator);
  EXPECT_TRUE(host.tips.empty());
  Down(kLogo);
  EXPECT_TRUE(mouse.Dragging());
  Up(kLogo);
  EXPECT_TRUE(host.commands.empty());
}

TEST(ToolbarMouseWheelTest, TheWheelStaysWithinTheSettingsRange) {
  AppSettings settings;
  settings.Alpha = 200;
  settings.Alpha_Min = 50;
  settings.Alpha_Max = 230;
  const struct {
    int current;
    int16_t distance;
    int expected;
  } cases[] = {
      {200, -120, 188},  // one notch towards the user
      {200, 240, 224},   {61, -120, 50},   {50, -120, 50}, {50, -32768, 50},
      {225, 120, 230},   {230, 120, 230},  {200, 119, 211}, {200, -119, 189},
      {1, 120, 50},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MouseWheelAlpha(c.current, c.distance, settings), c.expected) << c.current << " " << c.distance;
  }
  EXPECT_EQ(settings.Alpha, 200);
}

}  // namespace
}  // namespace ostrel
