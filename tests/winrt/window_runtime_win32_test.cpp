// Windows and the event loop under a real window system: windows built in
// the test, real native messages, real dialogs.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/raised_errors.h"
#include "tests/winrt/control_plan.h"
#include "winrt/dialogs.h"
#include "winrt/event_codes.h"
#include "winrt/runtime_errors.h"
#include "winrt/window.h"

namespace lumbra {
namespace {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRuntimeErrorHandler(testing::ThrowRaisedError);
    SetRuntimeStarted(true);
  }
  void TearDown() override {
    SetRuntimeStarted(false);
    SetRuntimeErrorHandler(nullptr);
  }
  static WindowPlan Plain() {
    WindowPlan plan;
    plan.name = "$TESTWINDOW";
    plan.title = "Test window";
    plan.rect = {10, 10, 200, 120};
    return plan;
  }
  // A window that ticks, so that a loop waiting for an event that never
  // comes still wakes up and can give up after its deadline.
  static WindowPlan Ticking() {
    WindowPlan plan = Plain();
    plan.timer = 20;
    return plan;
  }
  static bool Late(DWORD start) { return GetTickCount() - start > 8000; }
  static HWND Hwnd(const Window& w, std::int32_t control = 0) {
    return reinterpret_cast<HWND>(NativeHandle(w, control));
  }
};

TEST_F(WindowTest, EventIsZeroOutsideEventsAndFieldIsZeroForWindowEvents) {
  EXPECT_EQ(EVENT(), 0);
  Window w;
  CreateWindowFromPlan(w, Plain());
  OpenWindowObject(w);
  std::vector<std::int32_t> events;
  std::int32_t fieldOnOpen = -1;
  Accept([&] {
    events.push_back(EVENT());
    if (EVENT() == Event::OpenWindow) fieldOnOpen = FIELD();
    return kPassLeave;
  });
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back(), Event::OpenWindow);
  EXPECT_EQ(fieldOnOpen, 0);
  EXPECT_EQ(EVENT(), 0);
  CloseWindowObject(w);
  EXPECT_FALSE(WindowIsOpen(w));
}

TEST_F(WindowTest, SecondOpenRaises535AndAcceptWithoutWindowRaises537) {
  Window w;
  CreateWindowFromPlan(w, Plain());
  OpenWindowObject(w);
  try {
    OpenWindowObject(w);
    FAIL() << "no error raised";
  } catch (const testing::RaisedError& r) {
    EXPECT_EQ(r.code, 535);
    EXPECT_STREQ(r.what(), "Window is already open");
  }
  CloseWindowObject(w);
  try {
    Accept([] { return kPassLeave; });
    FAIL() << "no error raised";
  } catch (const testing::RaisedError& r) {
    EXPECT_EQ(r.code, 537);
  }
}

TEST_F(WindowTest, PostingToASlotWithoutWindowDoesNothing) {
  PostEvent(Event::Accepted, 0, 63);
  PostEvent(Event::Accepted);  // this thread has no window now
  Window w;
  CreateWindowFromPlan(w, Plain());
  OpenWindowObject(w);
  int passes = 0;
  Accept([&] {
    ++passes;
    return kPassLeave;
  });
  EXPECT_EQ(passes, 1);  // only the open event arrived
}

TEST_F(WindowTest, EventsFromBodyAndOtherThreadArriveInPostingOrder) {
  WindowPlan plan = Ticking();
  plan.controls.push_back(Ctl(ControlType::Button, 1, {5, 5, 40, 14}, "One"));
  Window w;
  CreateWindowFromPlan(w, plan);
  OpenWindowObject(w);
  const std::int32_t me = CurrentThread();
  std::vector<std::int32_t> order;
  const DWORD start = GetTickCount();
  Accept([&] {
    if (Late(start)) return kPassLeave;
    if (EVENT() == Event::OpenWindow) {
      PostEvent(Event::Accepted, 1);
      std::thread([me] { PostEvent(Event::Accepted, 2, me); }).join();
      PostEvent(Event::Accepted, 3);
      PostEvent(Event::CloseWindow);
    } else if (EVENT() == Event::Accepted) {
      order.push_back(FIELD());
    }
    return kPassNormal;
  });
  EXPECT_EQ(order, (std::vector<std::int32_t>{1, 2, 3}));
  CloseWindowObject(w);
}

TEST_F(WindowTest, RefusedCloseKeepsTheWindowAndTheNextCloseEndsTheLoop) {
  Window w;
  CreateWindowFromPlan(w, Ticking());
  OpenWindowObject(w);
  int closes = 0;
  bool openAfterRefusal = false;
  const DWORD start = GetTickCount();
  Accept([&] {
    if (Late(start)) return kPassLeave;
    if (EVENT() == Event::OpenWindow) PostMessageA(Hwnd(w), WM_CLOSE, 0, 0);
    if (EVENT() != Event::CloseWindow) return kPassNormal;
    if (++closes == 1) {
      PostMessageA(Hwnd(w), WM_CLOSE, 0, 0);
      return kPassSkip;
    }
    openAfterRefusal = IsWindow(Hwnd(w)) && IsWindowVisible(Hwnd(w));
    return kPassNormal;
  });
  EXPECT_EQ(closes, 2);
  EXPECT_TRUE(openAfterRefusal);
  EXPECT_TRUE(WindowIsOpen(w));  // open until closed
  CloseWindowObject(w);
}

TEST_F(WindowTest, AClosingWindowClosesTheWindowsOpenedFromItFirst) {
  // A window opened from the running one and left without a loop of its
  // own is closed with it.
  Window frame, child;
  CreateWindowFromPlan(frame, Ticking());
  OpenWindowObject(frame);
  const DWORD start = GetTickCount();
  bool late = false;
  Accept([&] {
    if ((late = Late(start))) return kPassLeave;
    if (EVENT() == Event::OpenWindow && !WindowIsOpen(child)) {
      CreateWindowFromPlan(child, Plain());
      OpenWindowObject(child);
      SetTarget(&frame);  // the statements go on addressing the frame
      PostMessageA(Hwnd(frame), WM_CLOSE, 0, 0);
    }
    return kPassNormal;
  });
  SetTarget(nullptr);
  EXPECT_FALSE(late);
  EXPECT_FALSE(WindowIsOpen(child));
  EXPECT_EQ(ActiveWindow(), &frame);
  CloseWindowObject(frame);
}

// A frame on this thread and a window opened on another thread, whose
// loop answers "EVENT:CloseDown" with the given pass result.
void CloseFrameWithWindowOnAnotherThread(int answer, bool& sawCloseDown, int& frameState,
                                         bool& childOpenAfterwards) {
  Window frame, child;
  WindowPlan plan;
  plan.name = "$FRAME";
  plan.title = "Frame";
  plan.rect = {10, 10, 200, 120};
  plan.timer = 20;
  CreateWindowFromPlan(frame, plan);
  OpenWindowObject(frame);
  HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<bool> sawIt{false};
  std::thread other([&] {
    CreateWindowFromPlan(child, plan);
    OpenWindowObject(child);
    SetEvent(opened);
    const DWORD start = GetTickCount();
    Accept([&] {
      if (GetTickCount() - start > 8000) return kPassLeave;
      if (EVENT() == Event::CloseDown) {
        sawIt = true;
        return answer;
      }
      return kPassNormal;
    });
    CloseWindowObject(child);
  });
  WaitForSingleObject(opened, 8000);
  CloseHandle(opened);
  EXPECT_EQ(child.frame, &frame);
  const std::int32_t childThread = child.thread;
  PostMessageA(reinterpret_cast<HWND>(NativeHandle(frame)), WM_CLOSE, 0, 0);
  const DWORD start = GetTickCount();
  int ticksAfterRefusal = 0;
  Accept([&] {
    if (GetTickCount() - start > 8000) return kPassLeave;
    // Refused: the frame stays open; give the loop a few ticks to show it.
    if (sawIt && EVENT() == Event::Timer && ++ticksAfterRefusal > 5) return kPassLeave;
    return kPassNormal;
  });
  frameState = frame.state;
  childOpenAfterwards = !sawIt || answer == kPassSkip;
  sawCloseDown = sawIt;
  if (answer == kPassSkip) {
    childOpenAfterwards = WindowIsOpen(child);
    PostEvent(Event::CloseWindow, 0, childThread);
  }
  other.join();
  CloseWindowObject(frame);
}

TEST_F(WindowTest, AFrameWaitsForItsWindowsOnOtherThreadsAndARefusalCallsTheCloseOff) {
  bool sawCloseDown = false, childOpen = true;
  int frameState = -1;
  CloseFrameWithWindowOnAnotherThread(kPassNormal, sawCloseDown, frameState, childOpen);
  EXPECT_TRUE(sawCloseDown);
  EXPECT_EQ(frameState, 1);  // it waited, and its loop ended once the window had closed

  CloseFrameWithWindowOnAnotherThread(kPassSkip, sawCloseDown, frameState, childOpen);
  EXPECT_TRUE(sawCloseDown);
  EXPECT_EQ(frameState, 0);  // back to open
  EXPECT_TRUE(childOpen);
}

TEST_F(WindowTest, ASystemModalDialogOnAnotherThreadStopsOpeningAndLoops) {
  Window open, other;
  CreateWindowFromPlan(open, Plain());
  CreateWindowFromPlan(other, Plain());
  OpenWindowObject(open);
  HANDLE entered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread dialog([&] {
    EnterSystemModal();
    EnterSystemModal();  // nested: held until the outer leave
    LeaveSystemModal();
    SetEvent(entered);
    WaitForSingleObject(release, 8000);
    LeaveSystemModal();
  });
  WaitForSingleObject(entered, 8000);
  EXPECT_TRUE(SystemIsModal());
  auto codeOf = [](auto&& statement) {
    try {
      statement();
    } catch (const testing::RaisedError& r) {
      return r.code;
    }
    return 0;
  };
  EXPECT_EQ(codeOf([&] { OpenWindowObject(other); }), 542);
  EXPECT_FALSE(WindowIsOpen(other));
  EXPECT_EQ(codeOf([] { Accept([] { return kPassLeave; }); }), 540);
  SetEvent(release);
  dialog.join();
  CloseHandle(entered);
  CloseHandle(release);
  EXPECT_FALSE(SystemIsModal());
  OpenWindowObject(other);
  EXPECT_TRUE(WindowIsOpen(other));
  CloseWindowObject(other);

  // A thread that ends while it holds the modal gives it up.
  std::thread([] { EnterSystemModal(); }).join();
  EXPECT_FALSE(SystemIsModal());
  // and a later holder counts its own entries only.
  EnterSystemModal();
  LeaveSystemModal();
  bool heldAfterLeaving = true;
  std::thread([&] { heldAfterLeaving = SystemIsModal(); }).join();
  EXPECT_FALSE(heldAfterLeaving);
  CloseWindowObject(open);
}

TEST_F(WindowTest, ThreadSlotsOfEndedThreadsAreReused) {
  // More threads than slots, one after another: each gets a slot.
  int withoutSlot = 0;
  for (int i = 0; i < 100; ++i) {
    std::thread([&] { withoutSlot += CurrentThread() == 0; }).join();
  }
  EXPECT_EQ(withoutSlot, 0);
}

TEST_F(WindowTest, TimerTicksAndPendingTicksDoNotPileUp) {
  WindowPlan plan = Plain();
  plan.timer = 5;
  Window w;
  CreateWindowFromPlan(w, plan);
  OpenWindowObject(w);
  int ticks = 0;
  std::size_t pendingTimers = 0;
  const DWORD start = GetTickCount();
  Accept([&] {
    if (GetTickCount() - start > 10000) return kPassLeave;
    if (EVENT() != Event::Timer) return kPassNormal;
    if (++ticks == 1) {
      for (int i = 0; i < 3; ++i) SendMessageA(Hwnd(w), WM_TIMER, 1, 0);
      for (const EventRecord& e : w.pending) pendingTimers += e.code == kEventTimer;
    }
    return ticks == 3 ? kPassLeave : kPassNormal;
  });
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(pendingTimers, 1u);
  CloseWindowObject(w);

  Window quiet;  // no period, no timer events
  CreateWindowFromPlan(quiet, Plain());
  OpenWindowObject(quiet);
  SetTimer(nullptr, 0, 300, nullptr);
  int timerEvents = 0;
  const DWORD begin = GetTickCount();
  Accept([&] {
    timerEvents += EVENT() == Event::Timer;
    if (GetTickCount() - begin > 300) return kPassLeave;
    PostEvent(Event::Accepted);
    Sleep(20);
    return kPassNormal;
  });
  EXPECT_EQ(timerEvents, 0);
  CloseWindowObject(quiet);
}

// A real HDROP holding the names, as the shell hands it to a window.
HDROP MakeDrop(const std::vector<std::string>& names) {
  std::string list;
  for (const auto& n : names) list += n + '\0';
  list += '\0';
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = FALSE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST_F(WindowTest, DroppedFilesBecomeTheDropTextAndADropEvent) {
  WindowPlan plan = Ticking();
  plan.dropTargets = {"~FILE"};
  ControlPlan image = Ctl(ControlType::Image, 4, {10, 10, 50, 50}, "");
  image.dropTargets = {"~FILE"};
  plan.controls.push_back(image);
  Window w;
  CreateWindowFromPlan(w, plan);
  OpenWindowObject(w);
  EXPECT_TRUE(GetWindowLongA(Hwnd(w), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  std::vector<std::string> texts;
  std::vector<std::int32_t> fields;
  const DWORD start = GetTickCount();
  Accept([&] {
    if (Late(start)) return kPassLeave;
    if (EVENT() == Event::OpenWindow) {
      PostMessageA(Hwnd(w), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({"A", "B", "C"})), 0);
      PostMessageA(Hwnd(w, 4), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({"D:\\x y.gif"})),
                   0);
    }
    if (EVENT() != Event::Drop) return kPassNormal;
    texts.push_back(DropText());
    fields.push_back(FIELD());
    return texts.size() == 2 ? kPassLeave : kPassNormal;
  });
  EXPECT_EQ(texts, (std::vector<std::string>{"A,B,C", "D:\\x y.gif"}));
  EXPECT_EQ(fields, (std::vector<std::int32_t>{0, 4}));
  CloseWindowObject(w);
}

void SetModifiers(bool shift, bool ctrl) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = keys[VK_LSHIFT] = shift ? 0x80 : 0;
  keys[VK_CONTROL] = keys[VK_LCONTROL] = ctrl ? 0x80 : 0;
  SetKeyboardState(keys);
}

TEST_F(WindowTest, AlertedKeysArriveWithTheirKeyCodes) {
  Window w;
  CreateWindowFromPlan(w, Ticking());
  OpenWindowObject(w);
  AlertKeys(0x15A);
  AlertKeys(0x243);
  std::vector<std::uint32_t> codes;
  const DWORD start = GetTickCount();
  Accept([&] {
    if (Late(start)) return kPassLeave;
    if (EVENT() == Event::OpenWindow) {
      SetModifiers(false, false);
      PostMessageA(Hwnd(w), WM_KEYDOWN, 'Q', 0x00100001);  // not alerted
      PostMessageA(Hwnd(w), WM_USER, 0, 0);
      SetModifiers(true, false);
      PostMessageA(Hwnd(w), WM_KEYDOWN, 'Z', 0x002C0001);
    } else if (EVENT() == Event::AlertKey) {
      codes.push_back(CurrentKeyCode());
      if (codes.size() == 1) {
        SetModifiers(false, true);
        PostMessageA(Hwnd(w), WM_KEYDOWN, 'C', 0x002E0001);
      }
    }
    return codes.size() == 2 ? kPassLeave : kPassNormal;
  });
  SetModifiers(false, false);
  EXPECT_EQ(codes, (std::vector<std::uint32_t>{0x15A, 0x243}));
  AlertKeys(0, 0);
  CloseWindowObject(w);
}

TEST_F(WindowTest, RefusedTabChangeKeepsTheTab) {
  WindowPlan plan = Ticking();
  plan.controls.push_back(Ctl(ControlType::Sheet, 10, {5, 5, 180, 100}, ""));
  ControlPlan first = Ctl(ControlType::Tab, 11, {}, "First");
  first.parent = 10;
  ControlPlan second = Ctl(ControlType::Tab, 12, {}, "Second");
  second.parent = 10;
  ControlPlan onSecond = Ctl(ControlType::Prompt, 13, {20, 30, 60, 10}, "On the second tab");
  onSecond.parent = 12;
  plan.controls.insert(plan.controls.end(), {first, second, onSecond});
  Window w;
  CreateWindowFromPlan(w, plan);
  OpenWindowObject(w);
  EXPECT_FALSE(IsWindowVisible(Hwnd(w, 13)));
  RECT tab;
  SendMessageA(Hwnd(w, 10), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
  const LPARAM onTab = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  int changing = 0;
  std::int32_t choiceAfterRefusal = 0, choiceAfterSwitch = 0;
  const DWORD start = GetTickCount();
  Accept([&] {
    if (Late(start)) return kPassLeave;
    if (EVENT() == Event::OpenWindow) {
      // A real click on the second tab, refused below.
      SendMessageA(Hwnd(w, 10), WM_LBUTTONDOWN, MK_LBUTTON, onTab);
      SendMessageA(Hwnd(w, 10), WM_LBUTTONUP, 0, onTab);
      choiceAfterRefusal = CurrentChoice(10);
      SelectControl(10, 2);
    } else if (EVENT() == Event::TabChanging) {
      EXPECT_EQ(FIELD(), 10);
      return ++changing == 1 ? kPassSkip : kPassNormal;
    } else if (EVENT() == Event::NewSelection) {
      choiceAfterSwitch = CurrentChoice(10);
      return kPassLeave;
    }
    return kPassNormal;
  });
  EXPECT_EQ(changing, 2);
  EXPECT_EQ(choiceAfterRefusal, 1);
  EXPECT_EQ(choiceAfterSwitch, 2);
  EXPECT_TRUE(IsWindowVisible(Hwnd(w, 13)));
  CloseWindowObject(w);
}

TEST_F(WindowTest, ControlsAndStatusZonesAreNativeWindowsThatToolsRead) {
  WindowPlan plan = Plain();
  plan.statusZones = {60, 40, -1};
  plan.controls.push_back(Ctl(ControlType::Prompt, 1, {5, 5, 60, 10}, "Hello"));
  plan.controls.push_back(Ctl(ControlType::Button, 2, {5, 20, 40, 14}, "&Go"));
  plan.controls.push_back(Ctl(ControlType::Entry, 3, {5, 40, 60, 12}, ""));
  Window w;
  CreateWindowFromPlan(w, plan);
  OpenWindowObject(w);
  char text[64] = {};
  SendMessageA(Hwnd(w, 1), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Hello");
  GetClassNameA(Hwnd(w, 2), text, sizeof text);
  EXPECT_STREQ(text, "WexButton");
  GetClassNameA(Hwnd(w), text, sizeof text);
  EXPECT_EQ(std::string(text).rfind("WexWin", 0), 0u);
  EXPECT_NE(std::string(text).find("Class"), std::string::npos);

  SetProperty(0, PROP::StatusText, "zone two", 2);
  HWND bar = reinterpret_cast<HWND>(NativeHandle(w, -1));
  GetClassNameA(bar, text, sizeof text);
  EXPECT_STREQ(text, STATUSCLASSNAMEA);
  EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 0, 0), 3);
  SendMessageA(bar, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "zone two");
  EXPECT_EQ(GetProperty(0, PROP::StatusText, 2), "zone two");
  // Zone widths stay in the description's units after a switch to pixels.
  int edges[3] = {};
  SendMessageA(bar, SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  SetProperty(0, PROP::Pixels, 1);
  SetProperty(0, PROP::StatusText, "zone one", 1);
  SendMessageA(bar, WM_SIZE, 0, 0);
  SetControlPosition(0, kDefaultPosition, kDefaultPosition, 400, 300);
  int after[3] = {};
  SendMessageA(bar, SB_GETPARTS, 3, reinterpret_cast<LPARAM>(after));
  EXPECT_EQ(after[1] - after[0], edges[1] - edges[0]);

  // Statements on controls the window lacks do nothing.
  EXPECT_EQ(GetProperty(99, PROP::Text), "");
  SetProperty(99, PROP::Text, "x");
  HideControls(99);
  EXPECT_EQ(CurrentChoice(99), 0);

  SetProperty(3, PROP::Text, "typed");
  EXPECT_EQ(GetProperty(3, PROP::Text), "typed");
  HideControls(1, 2);
  EXPECT_EQ(GetProperty(1, PROP::Visible), "");
  EXPECT_EQ(GetProperty(3, PROP::Visible), "1");
  CloseWindowObject(w);
}

TEST_F(WindowTest, GeometryInPixelUnitsReadsBackWhatWasSet) {
  Window w;
  CreateWindowFromPlan(w, Plain());
  OpenWindowObject(w);
  SetProperty(0, PROP::Pixels, 1);
  SetControlPosition(0, 40, 30, 320, 200);
  EXPECT_EQ(GetProperty(0, PROP::Xpos), "40");
  EXPECT_EQ(GetProperty(0, PROP::Ypos), "30");
  EXPECT_EQ(GetProperty(0, PROP::Width), "320");
  EXPECT_EQ(GetProperty(0, PROP::Height), "200");
  EXPECT_EQ(GetProperty(0, PROP::Maximize), "");
  CloseWindowObject(w);
}

TEST_F(WindowTest, BoundVariablesAreTakenInRecordOrderAndExhaustionRaises501) {
  WindowPlan plan = Plain();
  ControlPlan check = Ctl(ControlType::Check, 1, {5, 5, 60, 10}, "Check");
  check.hasUse = true;
  check.useType = 0x01;
  ControlPlan entry = Ctl(ControlType::Entry, 2, {5, 20, 60, 12}, "");
  entry.hasUse = true;
  entry.useType = 0x12;
  entry.useSize = 8;
  plan.controls = {check, entry};
  std::uint8_t flag = 1;
  char name[8];
  std::memcpy(name, "abc     ", 8);
  Window w;
  CreateWindowFromPlan(w, plan, {{&flag, 0x01, 1}, {name, 0x12, 8}});
  OpenWindowObject(w);
  EXPECT_EQ(SendMessageA(Hwnd(w, 1), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(GetProperty(2, PROP::Text), "abc");
  SendMessageA(Hwnd(w, 1), BM_CLICK, 0, 0);
  EXPECT_EQ(flag, 0);
  CloseWindowObject(w);

  Window few;
  CreateWindowFromPlan(few, plan, {{&flag, 0x01, 1}});
  try {
    OpenWindowObject(few);
    FAIL() << "no error raised";
  } catch (const testing::RaisedError& r) {
    EXPECT_EQ(r.code, 501);
    EXPECT_STREQ(r.what(), "Internal error 01 : WSLDIAL");
  }
  CloseWindowObject(few);
}

// Clicks a button of the dialog with the given caption once it shows.
std::string g_clickCaption;
std::string g_clickButton;
// Whether another thread saw the system held modal while the dialog was up.
bool g_modalSeenElsewhere = false;

void CALLBACK ClickWhenShown(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowA(nullptr, g_clickCaption.c_str());
  if (!dialog) return;
  std::thread([] { g_modalSeenElsewhere = SystemIsModal(); }).join();
  if (HWND button = FindWindowExA(dialog, nullptr, "Button", g_clickButton.c_str())) {
    KillTimer(nullptr, timer);
    PostMessageA(button, BM_CLICK, 0, 0);
  }
}

TEST_F(WindowTest, MessageDialogReturnsTheClickedButtonsCode) {
  g_clickCaption = "Close Lumbra test";
  g_clickButton = "&No";
  SetTimer(nullptr, 0, 50, ClickWhenShown);
  EXPECT_EQ(MessageDialog("Are you sure?|Really?", g_clickCaption, "ICON:Question",
                          BUTTON::Yes + BUTTON::No, BUTTON::Yes),
            BUTTON::No);
  g_clickButton = "Cancel";
  SetTimer(nullptr, 0, 50, ClickWhenShown);
  EXPECT_EQ(MessageDialog("Three", g_clickCaption, "", BUTTON::Ok + BUTTON::Retry + BUTTON::Cancel),
            BUTTON::Cancel);
  EXPECT_FALSE(g_modalSeenElsewhere);
  // A system-modal dialog holds the other threads back while it is up.
  g_clickButton = "OK";
  SetTimer(nullptr, 0, 50, ClickWhenShown);
  EXPECT_EQ(MessageDialog("Modal", g_clickCaption, "", BUTTON::Ok, BUTTON::Ok, true), BUTTON::Ok);
  EXPECT_TRUE(g_modalSeenElsewhere);
  EXPECT_FALSE(SystemIsModal());
}

std::int32_t ScriptedDialog(const MessageDialogRequest& r) { return r.defaultButton * 2; }

TEST_F(WindowTest, ReplacementDialogsAreCalledInstead) {
  SetMessageDialogReplacement(ScriptedDialog);
  EXPECT_EQ(MessageDialog("x", "y", "", BUTTON::Yes + BUTTON::No, BUTTON::Yes), 4);
  SetMessageDialogReplacement(nullptr);
  SetColorDialogReplacement([](std::string_view, std::int32_t& c) {
    c = 0x00FF00;
    return true;
  });
  std::int32_t colour = 0;
  EXPECT_TRUE(ColorDialog("Colour", colour));
  EXPECT_EQ(colour, 0x00FF00);
  SetColorDialogReplacement(nullptr);
}

}  // namespace
}  // namespace lumbra
