// The real lumbra.exe driven from outside as a user or an accessibility
// tool would: started on an image, its status zones read across the
// process boundary, keys and menu commands sent to its window, the
// clipboard read back.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "tests/codecs/test_images.h"
#include "tests/support/native_probe_win32.h"
#include "tests/support/running_viewer_win32.h"
#include "tests/support/test_folder_win32.h"

namespace lumbra {
namespace {

using namespace probe;

// A rectangle of a window in its parent's client coordinates.
RECT PlaceOf(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// A visible child of the given height (and width, unless -1): the image
// control showing an image. (Another process cannot read the window's
// scroll bars under Wine, so the scroll position is read from where the
// image lies.)
struct SizeSearch {
  int width, height;
  HWND found;
};
BOOL CALLBACK FindSized(HWND window, LPARAM data) {
  auto* s = reinterpret_cast<SizeSearch*>(data);
  const RECT r = PlaceOf(window);
  if (!IsWindowVisible(window) || r.bottom - r.top != s->height ||
      (s->width >= 0 && r.right - r.left != s->width)) {
    return TRUE;
  }
  s->found = window;
  return FALSE;
}
HWND SizedChild(HWND parent, int width, int height) {
  SizeSearch s{width, height, nullptr};
  EnumChildWindows(parent, FindSized, reinterpret_cast<LPARAM>(&s));
  return s.found;
}
HWND TallChild(HWND parent, int height) { return SizedChild(parent, -1, height); }

// The width and height of the device-independent bitmap on the clipboard.
std::string ClipboardDibSize() {
  std::string size = "<no CF_DIB>";
  if (!IsClipboardFormatAvailable(CF_DIB)) return size;
  if (!OpenClipboard(nullptr)) return "<clipboard busy>";
  if (HANDLE block = GetClipboardData(CF_DIB)) {
    if (const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(block))) {
      size = std::to_string(header->biWidth) + "x" + std::to_string(std::abs(header->biHeight));
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  return size;
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return "<clipboard busy>";
  if (HANDLE block = GetClipboardData(CF_TEXT)) {
    if (const char* chars = static_cast<const char*>(GlobalLock(block))) {
      text = chars;
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  return text;
}

// A 40x30 bitmap stored top-down (negative height) in 24 or 8 bits: the
// top rows red with a green block at their left, the middle white, the
// bottom rows blue.
constexpr int kUprightWidth = 40, kUprightHeight = 30;
COLORREF UprightColour(int x, int y) {
  if (y < 10) return x < 8 ? RGB(0, 255, 0) : RGB(255, 0, 0);
  return y < 20 ? RGB(255, 255, 255) : RGB(0, 0, 255);
}
testing::Bytes TopDownBmp(int bits) {
  const COLORREF table[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(255, 255, 255), RGB(0, 0, 255)};
  const std::uint32_t colours = bits == 8 ? 4 : 0;
  const std::uint32_t stride = kUprightWidth * static_cast<std::uint32_t>(bits) / 8;
  const std::uint32_t offset = 14 + 40 + 4 * colours, size = stride * kUprightHeight;
  testing::Bytes out = {'B', 'M'};
  for (std::uint32_t v : {offset + size, 0u, offset, 40u, std::uint32_t{kUprightWidth},
                          static_cast<std::uint32_t>(-kUprightHeight)}) {
    testing::PutU32(out, v);
  }
  testing::PutU16(out, 1);
  testing::PutU16(out, static_cast<std::uint32_t>(bits));
  for (std::uint32_t v : {0u, size, 2835u, 2835u, colours, 0u}) testing::PutU32(out, v);
  for (std::uint32_t i = 0; i < colours; ++i) {
    out.insert(out.end(), {GetBValue(table[i]), GetGValue(table[i]), GetRValue(table[i]), 0});
  }
  for (int y = 0; y < kUprightHeight; ++y) {  // the top row first
    for (int x = 0; x < kUprightWidth; ++x) {
      const COLORREF c = UprightColour(x, y);
      if (bits == 8) {
        out.push_back(static_cast<std::uint8_t>(std::find(std::begin(table), std::end(table), c) -
                                                std::begin(table)));
      } else {
        out.insert(out.end(), {GetBValue(c), GetGValue(c), GetRValue(c)});
      }
    }
  }
  return out;
}

// Whether the screen shows the picture where the window lies: a point in
// each band and in the green block.
bool ShowsUpright(HWND window) {
  HDC screen = GetDC(nullptr);
  bool upright = true;
  for (const POINT at : {POINT{3, 3}, POINT{30, 2}, POINT{20, 15}, POINT{36, 27}, POINT{2, 26}}) {
    POINT p = at;
    ClientToScreen(window, &p);
    upright = upright && GetPixel(screen, p.x, p.y) == UprightColour(at.x, at.y);
  }
  ReleaseDC(nullptr, screen);
  return upright;
}

// The device-independent bitmap on the clipboard, header first. The
// clipboard is opened only once a bitmap is there, so that polling never
// holds it open while the program wants to put one on it.
testing::Bytes ClipboardDib() {
  testing::Bytes dib;
  if (!IsClipboardFormatAvailable(CF_DIB) || !OpenClipboard(nullptr)) return dib;
  if (HANDLE block = GetClipboardData(CF_DIB)) {
    if (const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(block))) {
      dib.assign(bytes, bytes + GlobalSize(block));
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  return dib;
}

// A folder of the test's own with four bitmaps of known sizes (one with a
// blank in its name) and the program's settings beside it.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = OwnTestFolder();
    Write(folder_ + "a first.bmp", testing::MakeBmp8(40, 30));
    Write(folder_ + "b.bmp", testing::MakeBmp8(20, 10));
    Write(folder_ + "c.bmp", testing::MakeBmp8(16, 16));
    Write(folder_ + "d tall.bmp", testing::MakeBmp8(40, 1200));
    const std::string ini = folder_ + "LUMBRA.INI";
    WriteViewingSettings(ini, {{"UseLongFileNames", "YES"}});
  }
  std::string folder_;
};

TEST_F(MainWindowTest, StartsOnAnImageAndStepsZoomsScrollsAndCopies) {
  RunningViewer viewer(folder_, "\"" + folder_ + "a first.bmp\"");
  ASSERT_NE(viewer.main(), nullptr);
  EXPECT_TRUE(viewer.ZoneBecomes(1, folder_ + "a first.bmp  (1 of 4)")) << viewer.Zone(1);
  EXPECT_EQ(viewer.Zone(2), "40x30");
  EXPECT_EQ(viewer.Zone(3), "100%");
  EXPECT_EQ(viewer.Zone(4), "Normal");
  EXPECT_EQ(viewer.Zone(5), "Lumbra 1.0");

  viewer.Key(VK_SPACE);
  EXPECT_TRUE(viewer.ZoneBecomes(1, folder_ + "b.bmp  (2 of 4)")) << viewer.Zone(1);
  EXPECT_EQ(viewer.Zone(2), "20x10");
  viewer.Key(VK_SPACE);
  EXPECT_TRUE(viewer.ZoneBecomes(2, "16x16")) << viewer.Zone(2);

  // The vertical scroll keys on an image taller than the window. Positions
  // 0 to 255 spread the part of the image below the window, so position p
  // lifts it by that overhang times p / 255: Page Down at 200 goes to the
  // end, at 100 it gives 164.
  viewer.Key(VK_SPACE);
  EXPECT_TRUE(viewer.ZoneBecomes(2, "40x1200")) << viewer.Zone(2);
  HWND image = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (image = TallChild(viewer.main(), 1200)) != nullptr; }));
  const HWND toolBar = FindWindowExA(viewer.main(), nullptr, "WexToolBar", nullptr);
  RECT client, bar = PlaceOf(toolBar);
  GetClientRect(viewer.main(), &client);
  const int top = bar.bottom - bar.top, overhang = top + 1200 - client.bottom;
  auto at = [&](int position) {
    return WaitFor([&] { return PlaceOf(image).top == top - MulDiv(overhang, position, 255); });
  };
  EXPECT_TRUE(at(0)) << PlaceOf(image).top;
  for (WPARAM key : {VK_NEXT, VK_NEXT}) viewer.Key(key);
  for (int line = 0; line < 24; ++line) viewer.Key(VK_DOWN);
  EXPECT_TRUE(at(200)) << PlaceOf(image).top;
  viewer.Key(VK_NEXT);
  EXPECT_TRUE(at(255)) << PlaceOf(image).top;
  for (WPARAM key : {VK_PRIOR, VK_PRIOR}) viewer.Key(key);
  for (int line = 0; line < 9; ++line) viewer.Key(VK_UP);
  EXPECT_TRUE(at(100)) << PlaceOf(image).top;
  viewer.Key(VK_NEXT);
  EXPECT_TRUE(at(164)) << PlaceOf(image).top;

  viewer.Key(VK_BACK);
  viewer.Key(VK_BACK);
  EXPECT_TRUE(viewer.ZoneBecomes(1, folder_ + "b.bmp  (2 of 4)")) << viewer.Zone(1);

  // Zoom keys: up by 25, down by 25 and no lower than 0.
  viewer.Key('Z');
  EXPECT_TRUE(viewer.ZoneBecomes(3, "125%")) << viewer.Zone(3);
  viewer.Command(15);  // Zoom 50%
  EXPECT_TRUE(viewer.ZoneBecomes(3, "50%")) << viewer.Zone(3);
  viewer.Key(VK_SUBTRACT);
  viewer.Key(VK_SUBTRACT);
  viewer.Key(VK_SUBTRACT);
  EXPECT_TRUE(viewer.ZoneBecomes(3, "0%")) << viewer.Zone(3);
  // Shift+Z typed past 0 stays there: one Z after it gives 25%.
  viewer.Command(14);  // Zoom 25%
  EXPECT_TRUE(viewer.ZoneBecomes(3, "25%")) << viewer.Zone(3);
  EXPECT_TRUE(viewer.Type({VK_SHIFT, 'Z'}));
  EXPECT_TRUE(viewer.ZoneBecomes(3, "0%")) << viewer.Zone(3);
  EXPECT_TRUE(viewer.Type({VK_SHIFT, 'Z'}));
  EXPECT_TRUE(viewer.Type({'Z'}));
  EXPECT_TRUE(viewer.ZoneBecomes(3, "25%")) << viewer.Zone(3);

  // The display modes by their menu items; in Stretched mode the right
  // button pops the main menu up and Esc puts it away, leaving the image.
  viewer.Command(10);
  EXPECT_TRUE(viewer.ZoneBecomes(4, "Stretched")) << viewer.Zone(4);
  EXPECT_EQ(viewer.Zone(3), "100%");
  PostMessageA(viewer.main(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 100));
  PostMessageA(viewer.main(), WM_RBUTTONUP, 0, MAKELPARAM(100, 100));
  HWND popup = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (popup = viewer.Owned("#32768")) != nullptr; }));
  PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_TRUE(WaitFor([&] { return viewer.Owned("#32768") == nullptr; }));
  EXPECT_EQ(viewer.Zone(1), folder_ + "b.bmp  (2 of 4)");
  EXPECT_EQ(viewer.Zone(4), "Stretched");
  viewer.Command(12);
  EXPECT_TRUE(viewer.ZoneBecomes(4, "Best Fit")) << viewer.Zone(4);
  viewer.Command(9);
  EXPECT_TRUE(viewer.ZoneBecomes(4, "Normal")) << viewer.Zone(4);

  // Ctrl+C: the image as a bitmap of its own size.
  viewer.Key(VK_BACK);
  EXPECT_TRUE(viewer.ZoneBecomes(2, "40x30")) << viewer.Zone(2);
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  EXPECT_TRUE(viewer.Type({VK_CONTROL, 'C'}));
  EXPECT_TRUE(WaitFor([&] { return ClipboardDibSize() == "40x30"; })) << ClipboardDibSize();

  // Copy Path: the long path in quotes, as it holds a blank.
  viewer.Command(26);
  EXPECT_TRUE(WaitFor([&] { return ClipboardText() == "\"" + folder_ + "a first.bmp\""; }))
      << ClipboardText();

  // File > Exit passes the close (Prompt on Exit is off here).
  viewer.Command(5);
  EXPECT_TRUE(viewer.Ends());
}

// Bitmaps stored top-down, in 24 and in 8 bits: their size is the
// height's magnitude, the screen shows them upright where the image lies,
// and Copy Image puts them on the clipboard as stored, height negative.
TEST_F(MainWindowTest, TopDownBitmapsShowUprightAndCopyAsStored) {
  const std::string folder = folder_ + "upright\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const testing::Bytes deep = TopDownBmp(24), eight = TopDownBmp(8);
  Write(folder + "deep.bmp", deep);
  Write(folder + "eight.bmp", eight);
  RunningViewer viewer(folder_, "\"" + folder + "deep.bmp\"");
  ASSERT_NE(viewer.main(), nullptr);
  // Above whatever else is on the screen, so the screen shows its image.
  SetWindowPos(viewer.main(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  int position = 1;
  for (const auto& [name, file] : {std::pair{"deep.bmp", &deep}, {"eight.bmp", &eight}}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(
        viewer.ZoneBecomes(1, folder + name + "  (" + std::to_string(position++) + " of 2)"))
        << viewer.Zone(1);
    EXPECT_EQ(viewer.Zone(2), "40x30");
    HWND image = nullptr;
    EXPECT_TRUE(WaitFor([&] {
      return (image = SizedChild(viewer.main(), kUprightWidth, kUprightHeight)) != nullptr;
    }));
    EXPECT_TRUE(WaitFor([&] { return image && ShowsUpright(image); }));

    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      CloseClipboard();
    }
    viewer.Command(25);  // Copy Image
    testing::Bytes dib;
    EXPECT_TRUE(WaitFor([&] { return !(dib = ClipboardDib()).empty(); }));
    ASSERT_GE(dib.size(), file->size() - 14);
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(dib.data());
    EXPECT_EQ(header->biHeight, -kUprightHeight);
    EXPECT_TRUE(std::equal(file->begin() + 14, file->end(), dib.begin()));
    viewer.Key(VK_SPACE);
  }
  viewer.Command(5);
  EXPECT_TRUE(viewer.Ends());
}

TEST_F(MainWindowTest, SecondaryWindowsOpenFromTheirCommandsAndActOnTheViewer) {
  WritePrivateProfileStringA("Lumbra", "PromptOnExit", "YES", (folder_ + "LUMBRA.INI").c_str());
  RunningViewer viewer(folder_, "\"" + folder_ + "a first.bmp\"");
  ASSERT_NE(viewer.main(), nullptr);
  ASSERT_TRUE(viewer.ZoneBecomes(1, folder_ + "a first.bmp  (1 of 4)")) << viewer.Zone(1);

  // Image List: "by Size" orders b, c, a first, d tall; the row above the one on
  // show is c, and Next goes on in size order.
  viewer.Command(34);
  HWND listing = Shown("Select Image File...");
  ASSERT_NE(listing, nullptr);
  EXPECT_EQ(TextOf(GetDlgItem(listing, 9)), "Use Tabs to change sort order.");
  HWND sheet = GetDlgItem(listing, 1);
  const RECT tab = viewer.RemoteRect(sheet, TCM_GETITEMRECT, 4);
  const LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  PostMessageA(sheet, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(sheet, WM_LBUTTONUP, 0, at);
  HWND list = GetDlgItem(listing, 8);
  EXPECT_TRUE(WaitFor([&] { return SendMessageA(list, LB_GETCURSEL, 0, 0) == 2; }));
  PostMessageA(list, WM_KEYDOWN, VK_UP, 1);
  EXPECT_TRUE(WaitFor([&] { return SendMessageA(list, LB_GETCURSEL, 0, 0) == 1; }));
  Press(listing, 12);
  EXPECT_TRUE(Gone("Select Image File..."));
  EXPECT_TRUE(viewer.ZoneBecomes(1, folder_ + "c.bmp  (2 of 4)")) << viewer.Zone(1);
  viewer.Key(VK_SPACE);
  EXPECT_TRUE(viewer.ZoneBecomes(1, folder_ + "a first.bmp  (3 of 4)")) << viewer.Zone(1);

  // Properties of the image on show.
  viewer.Command(7);
  HWND properties = Shown("Image Properties");
  ASSERT_NE(properties, nullptr);
  // The entries are filled as the window's open event is handled.
  EXPECT_TRUE(WaitFor([&] { return AskText(GetDlgItem(properties, 12)) == "40x30"; }))
      << AskText(GetDlgItem(properties, 12));
  EXPECT_EQ(AskText(GetDlgItem(properties, 2)), folder_ + "a first.bmp");
  Press(properties, 15);
  EXPECT_TRUE(Gone("Image Properties"));

  // Zoom: 400 and OK.
  viewer.Command(22);
  HWND zoom = Shown("Zoom...");
  ASSERT_NE(zoom, nullptr);
  HWND spin = GetDlgItem(zoom, 2);
  PostMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageA(spin, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  PostMessageA(spin, EM_SETSEL, 0, -1);
  for (const char c : std::string("400")) PostMessageA(spin, WM_CHAR, static_cast<WPARAM>(c), 1);
  Press(zoom, 3);
  EXPECT_TRUE(viewer.ZoneBecomes(3, "400%")) << viewer.Zone(3);

  // About, and Continue.
  viewer.Command(39);
  HWND about = Shown("About Lumbra 1.0");
  ASSERT_NE(about, nullptr);
  Press(about, 5);
  EXPECT_TRUE(Gone("About Lumbra 1.0"));

  // Program Setup: Prompt on Exit cleared and Ok is saved at once, and the
  // close that follows asks nothing.
  viewer.Command(4);
  HWND setup = Shown("Lumbra - Program Setup");
  ASSERT_NE(setup, nullptr);
  HWND prompt = GetDlgItem(setup, 7);
  EXPECT_EQ(SendMessageA(prompt, BM_GETCHECK, 0, 0), BST_CHECKED);
  PostMessageA(prompt, BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return SendMessageA(prompt, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }));
  Press(setup, 28);
  EXPECT_TRUE(Gone("Lumbra - Program Setup"));
  char saved[8] = {};
  GetPrivateProfileStringA("Lumbra", "PromptOnExit", "", saved, sizeof saved,
                           (folder_ + "LUMBRA.INI").c_str());
  EXPECT_STREQ(saved, "NO");
  viewer.Command(5);
  EXPECT_TRUE(viewer.Ends());
}

// Without an image: the text "Image Not Loaded" stays centred as the
// window is resized; dropped files make the list; the close box and Ctrl+X
// ask first.
TEST_F(MainWindowTest, WithoutAnArgumentShowsNoImageTakesDropsAndAsksBeforeClosing) {
  const std::string ini = folder_ + "LUMBRA.INI";
  WritePrivateProfileStringA("Lumbra", "PromptOnExit", "YES", ini.c_str());
  WritePrivateProfileStringA("Lumbra", "AutoLoadDir", "NO", ini.c_str());
  Write(folder_ + "notes.txt", {'n', 'o', 't', 'e', 's'});
  RunningViewer viewer(folder_, "");
  ASSERT_NE(viewer.main(), nullptr);
  EXPECT_TRUE(viewer.ZoneBecomes(5, "Lumbra 1.0"));
  const HWND notLoaded = FindWindowExA(viewer.main(), nullptr, nullptr, "Image Not Loaded");
  EXPECT_TRUE(WaitFor([&] { return notLoaded && IsWindowVisible(notLoaded); }));
  // Nothing named, and the mode and the zoom in their zones, following
  // the commands that change them.
  EXPECT_TRUE(viewer.ZoneBecomes(4, "Normal")) << viewer.Zone(4);
  EXPECT_EQ(viewer.Zone(3), "100%");
  EXPECT_EQ(viewer.Zone(1), "");
  EXPECT_EQ(viewer.Zone(2), "");
  viewer.Command(19);  // Zoom 150%
  EXPECT_TRUE(viewer.ZoneBecomes(3, "150%")) << viewer.Zone(3);
  viewer.Command(11);  // Tiled
  EXPECT_TRUE(viewer.ZoneBecomes(4, "Tiled")) << viewer.Zone(4);
  EXPECT_EQ(viewer.Zone(3), "100%");
  viewer.Command(9);  // Normal
  EXPECT_TRUE(viewer.ZoneBecomes(4, "Normal")) << viewer.Zone(4);
  EXPECT_EQ(viewer.Zone(1), "");

  // Centred across the window, and down the part below the tool bar less
  // the tool bar and the status bar, whatever the window's size.
  const HWND toolBar = FindWindowExA(viewer.main(), nullptr, "WexToolBar", nullptr);
  ASSERT_NE(toolBar, nullptr);
  auto centred = [&](int width, int height) {
    RECT client, text = PlaceOf(notLoaded), bar = PlaceOf(toolBar);
    GetClientRect(viewer.main(), &client);
    const int barHeight = bar.bottom - bar.top;
    return client.right == width && client.bottom == height &&
           text.left == (width - (text.right - text.left)) / 2 &&
           text.top - barHeight == (height - (barHeight + 22)) / 2;
  };
  RECT frame, client;
  GetWindowRect(viewer.main(), &frame);
  GetClientRect(viewer.main(), &client);
  EXPECT_TRUE(WaitFor([&] { return centred(client.right, client.bottom); }));
  SetWindowPos(viewer.main(), nullptr, 0, 0, frame.right - frame.left + 161,
               frame.bottom - frame.top + 97, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(WaitFor([&] { return centred(client.right + 161, client.bottom + 97); }))
      << TextOf(notLoaded);

  // Three files dropped: the list is those three, the first on show.
  EXPECT_TRUE(viewer.Drop({folder_ + "a first.bmp", folder_ + "b.bmp", folder_ + "c.bmp"}));
  EXPECT_TRUE(viewer.ZoneBecomes(1, folder_ + "a first.bmp  (1 of 3)")) << viewer.Zone(1);
  EXPECT_EQ(viewer.Zone(2), "40x30");
  EXPECT_FALSE(IsWindowVisible(notLoaded));
  viewer.Key(VK_SPACE);
  EXPECT_TRUE(viewer.ZoneBecomes(1, folder_ + "b.bmp  (2 of 3)")) << viewer.Zone(1);
  // A file that is no image: "Image Not Loaded" again.
  EXPECT_TRUE(viewer.Drop({folder_ + "notes.txt"}));
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(notLoaded); })) << viewer.Zone(1);

  // The close box asks; No keeps the program, Yes to Ctrl+X ends it.
  auto answer = [&](const char* button) {
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = viewer.Owned("#32770", "Close Lumbra")) != nullptr; })) {
      return false;
    }
    HWND choice = FindWindowExA(box, nullptr, "Button", button);
    if (!choice) return false;
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(choice), BN_CLICKED),
                 reinterpret_cast<LPARAM>(choice));
    return WaitFor([&] { return !IsWindow(box); });
  };
  PostMessageA(viewer.main(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(answer("&No"));
  EXPECT_TRUE(viewer.Running());
  EXPECT_TRUE(IsWindowVisible(viewer.main()));
  EXPECT_EQ(viewer.Zone(5), "Lumbra 1.0");
  EXPECT_TRUE(viewer.Type({VK_CONTROL, 'X'}));
  EXPECT_TRUE(answer("&Yes"));
  EXPECT_TRUE(viewer.Ends());
}

}  // namespace
}  // namespace lumbra
