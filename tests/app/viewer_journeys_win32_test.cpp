// The real lumbra.exe driven from outside along the journeys of a user:
// opening folders and files through the real dialogs, changing the mode
// and resizing, Program Setup at a zoom of the user's, a zoom beyond what
// the screen can hold. Each reads back the status zones and the pixels on
// the screen where the image lies.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "app/image_fit.h"
#include "tests/codecs/test_images.h"
#include "tests/support/native_probe_win32.h"
#include "tests/support/running_viewer_win32.h"
#include "tests/support/test_folder_win32.h"

namespace lumbra {
namespace {

using namespace probe;

constexpr int kImageControl = 64;
constexpr int kNotLoadedText = 67;
constexpr int kZoomButton = 50;
constexpr int kColourSampleButton = 54;
// The file dialog's name box: a combo box (cmb13) in the explorer style,
// an edit box (edt1) in the old one.
constexpr int kFileNameBox = 0x47c;
constexpr int kFileNameId = 0x480;

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255),
                   kYellow = RGB(255, 255, 0);

// A 24-bit bitmap in four quadrants: red top left, blue top right, green
// bottom left, yellow bottom right.
COLORREF Quadrant(int x, int y, int width, int height) {
  if (y < height / 2) return x < width / 2 ? kRed : kBlue;
  return x < width / 2 ? kGreen : kYellow;
}
testing::Bytes Quadrants(int width, int height) {
  const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) / 4 * 4;
  const std::uint32_t size = stride * static_cast<std::uint32_t>(height);
  testing::Bytes out = {'B', 'M'};
  for (std::uint32_t v : {54 + size, 0u, 54u, 40u, static_cast<std::uint32_t>(width),
                          static_cast<std::uint32_t>(height)}) {
    testing::PutU32(out, v);
  }
  testing::PutU16(out, 1);
  testing::PutU16(out, 24);
  for (std::uint32_t v : {0u, size, 2835u, 2835u, 0u, 0u}) testing::PutU32(out, v);
  for (int y = height - 1; y >= 0; --y) {  // bottom-up
    for (int x = 0; x < width; ++x) {
      const COLORREF c = Quadrant(x, y, width, height);
      out.insert(out.end(), {GetBValue(c), GetGValue(c), GetRValue(c)});
    }
    out.resize(out.size() + stride - static_cast<std::uint32_t>(width) * 3, 0);
  }
  return out;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// The colour on the screen at a point of a window's client area.
COLORREF ScreenAt(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return c;
}

// A rectangle of a window in its parent's client coordinates.
RECT PlaceOf(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Whether the screen shows the quadrants of a width x height image laid
// over the control's place, stretched to it: a grid of points at eighths
// of the control, none on a quadrant's edge.
bool ShowsStretched(HWND main, HWND control, int width, int height) {
  const RECT r = PlaceOf(control);
  const int w = r.right - r.left, h = r.bottom - r.top;
  for (int fx = 1; fx < 8; fx += 2) {
    for (int fy = 1; fy < 8; fy += 2) {
      const int x = w * fx / 8, y = h * fy / 8;
      if (ScreenAt(main, r.left + x, r.top + y) !=
          Quadrant(x * width / w, y * height / h, width, height)) {
        return false;
      }
    }
  }
  return true;
}

// A visible message box of the program by its title, answered with its
// one button once its text has been read.
std::string AnswerBox(const RunningViewer& viewer, const char* title) {
  HWND box = nullptr;
  if (!WaitFor([&] { return (box = viewer.Owned("#32770", title)) != nullptr; })) return "<none>";
  std::string text;
  for (HWND item = FindWindowExA(box, nullptr, "Static", nullptr); item;
       item = FindWindowExA(box, item, "Static", nullptr)) {
    text += TextOf(item);
  }
  HWND button = FindWindowExA(box, nullptr, "Button", nullptr);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
  WaitFor([&] { return !IsWindow(box); });
  return text;
}

// A window of the program by its title, once it shows (null: it did not).
HWND Showing(const RunningViewer& viewer, const char* title) {
  HWND window = nullptr;
  WaitFor([&] { return (window = viewer.Owned(nullptr, title)) != nullptr; });
  return window;
}

// Presses a button of a window of the program once it shows; whether the
// window went away.
bool PressIn(const RunningViewer& viewer, const char* title, int button) {
  HWND window = Showing(viewer, title);
  if (!window) return false;
  PostMessageA(GetDlgItem(window, button), BM_CLICK, 0, 0);
  return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); });
}

// A folder of the test's own with the program's settings beside it.
class ViewerJourneyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = OwnTestFolder();
    pictures_ = folder_ + "pictures\\";
    empty_ = folder_ + "nothing here\\";
    CreateDirectoryA(pictures_.c_str(), nullptr);
    CreateDirectoryA(empty_.c_str(), nullptr);
    Write(empty_ + "notes.txt", {'n', 'o'});
    Write(pictures_ + "a.bmp", Quadrants(80, 60));
    Write(pictures_ + "b.bmp", Quadrants(40, 30));
    // Settings of an earlier run do not carry over.
    DeleteFileA((folder_ + "LUMBRA.INI").c_str());
    DeleteFileA((folder_ + "opened.htm").c_str());
    WriteQuietSettings(folder_ + "LUMBRA.INI", {{"Maximized", "NO"},
                                                {"XPos", "0"},
                                                {"YPos", "0"},
                                                {"Width", "640"},
                                                {"Height", "480"},
                                                {"AutoLoadDir", "NO"},
                                                {"KeepImageSettings", "NO"},
                                                {"DefaultSortOrder", "3"},
                                                {"WarnBadImage", "YES"}});
  }
  void Set(const char* key, const std::string& value) {
    WritePrivateProfileStringA("Lumbra", key, value.c_str(), (folder_ + "LUMBRA.INI").c_str());
  }
  // The program's window above every other, so the screen shows it.
  static void OnTop(const RunningViewer& viewer) {
    SetWindowPos(viewer.main(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  // The no-image state: nothing named, "Image Not Loaded" on show, the
  // mode and the zoom in their zones.
  static void ExpectNoImage(const RunningViewer& viewer, const char* zoom, const char* mode) {
    EXPECT_TRUE(viewer.ZoneBecomes(4, mode)) << viewer.Zone(4);
    EXPECT_TRUE(viewer.ZoneBecomes(3, zoom)) << viewer.Zone(3);
    EXPECT_TRUE(viewer.ZoneBecomes(1, "")) << viewer.Zone(1);
    EXPECT_EQ(viewer.Zone(2), "");
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(viewer.main(), kNotLoadedText)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(viewer.main(), kImageControl)));
    EXPECT_EQ(viewer.Owned("#32770", "Error Loading Image"), nullptr);
  }
  // The text of "No Images" for a folder, in upper case: the folder is
  // named as the folder dialog gives it, in upper case, or as the system
  // writes it.
  static std::string NoImagesText(const std::string& folder) {
    return Upper("There are no images in the following folder: " + folder +
                 " Please select another folder.");
  }

  std::string folder_, pictures_, empty_;
};

// A folder without images named on the command line: "No Images" for it,
// then the no-image state, not a listing that never ends.
TEST_F(ViewerJourneyTest, AFolderWithoutImagesOnTheCommandLineGivesNoImages) {
  RunningViewer viewer(folder_, "\"" + empty_.substr(0, empty_.size() - 1) + "\"");
  ASSERT_NE(viewer.main(), nullptr);
  EXPECT_EQ(Upper(AnswerBox(viewer, "No Images")), NoImagesText(empty_));
  ExpectNoImage(viewer, "100%", "Normal");
  viewer.Command(5);
  EXPECT_TRUE(viewer.Ends());
}

// Opening a folder and a file as a user does, by keys and the real
// dialogs: Load Folder shows the folder's first image, Open Image the file
// chosen, F5 reads the file again; a folder without images, dropped or
// chosen with Load Folder, gives "No Images" and the no-image state.
TEST_F(ViewerJourneyTest, OpensFoldersAndFilesThroughTheirDialogsAndKeys) {
  Set("LastPath", pictures_);
  RunningViewer viewer(folder_, "");
  ASSERT_NE(viewer.main(), nullptr);
  OnTop(viewer);
  ExpectNoImage(viewer, "100%", "Normal");
  HWND image = GetDlgItem(viewer.main(), kImageControl);

  // Ctrl+L: the folder dialog opens in the last folder; OK lists it.
  EXPECT_TRUE(viewer.Type({VK_CONTROL, 'L'}));
  EXPECT_TRUE(PressIn(viewer, "Select Image Folder", IDOK));
  EXPECT_TRUE(viewer.ZoneBecomes(1, pictures_ + "a.bmp  (1 of 2)")) << viewer.Zone(1);
  EXPECT_EQ(viewer.Zone(2), "80x60");
  EXPECT_TRUE(WaitFor([&] { return ShowsStretched(viewer.main(), image, 80, 60); }));

  // Ctrl+O: the file dialog, a path typed, OK: that file alone.
  EXPECT_TRUE(viewer.Type({VK_CONTROL, 'O'}));
  HWND dialog = nullptr;
  ASSERT_NE(dialog = Showing(viewer, "Select Image File"), nullptr);
  HWND name = GetDlgItem(dialog, kFileNameBox);
  SendMessageA(name ? name : GetDlgItem(dialog, kFileNameId), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>((pictures_ + "b.bmp").c_str()));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(viewer.ZoneBecomes(1, pictures_ + "b.bmp  (1 of 1)")) << viewer.Zone(1);
  EXPECT_EQ(viewer.Zone(2), "40x30");
  EXPECT_TRUE(WaitFor([&] { return ShowsStretched(viewer.main(), image, 40, 30); }));

  // F5 reads the file again.
  Write(pictures_ + "b.bmp", Quadrants(50, 24));
  EXPECT_TRUE(viewer.Type({VK_F5}));
  EXPECT_TRUE(viewer.ZoneBecomes(2, "50x24")) << viewer.Zone(2);
  EXPECT_TRUE(WaitFor([&] { return ShowsStretched(viewer.main(), image, 50, 24); }));

  // A folder without images dropped over the image: "No Images", and no
  // warning about an image without a name.
  EXPECT_TRUE(viewer.Drop({empty_.substr(0, empty_.size() - 1)}));
  EXPECT_EQ(Upper(AnswerBox(viewer, "No Images")), NoImagesText(empty_));
  ExpectNoImage(viewer, "100%", "Normal");

  // Load Folder opens where the drop left off, in the empty folder.
  EXPECT_TRUE(viewer.Type({VK_CONTROL, 'L'}));
  EXPECT_TRUE(PressIn(viewer, "Select Image Folder", IDOK));
  EXPECT_EQ(Upper(AnswerBox(viewer, "No Images")), NoImagesText(empty_));
  ExpectNoImage(viewer, "100%", "Normal");
  viewer.Command(5);
  EXPECT_TRUE(viewer.Ends());
}

// Program Setup at a zoom of the user's own: closed with Cancel or Ok, the
// picture stays at that zoom, as zone 3 says; the background is BGColor,
// and the one black pixel stretched over the window once Fix Animated GIFs
// is set.
TEST_F(ViewerJourneyTest, ProgramSetupAtAZoomOfTheUsersKeepsThePictureAtThatZoom) {
  Set("BGColor", std::to_string(RGB(64, 128, 255)));
  RunningViewer viewer(folder_, "\"" + pictures_ + "b.bmp\"");
  ASSERT_NE(viewer.main(), nullptr);
  OnTop(viewer);
  ASSERT_TRUE(viewer.ZoneBecomes(1, pictures_ + "b.bmp  (1 of 1)")) << viewer.Zone(1);
  HWND image = GetDlgItem(viewer.main(), kImageControl);
  RECT client;
  GetClientRect(viewer.main(), &client);
  auto background = [&] { return ScreenAt(viewer.main(), client.right - 40, client.bottom / 2); };
  EXPECT_TRUE(WaitFor([&] { return background() == RGB(64, 128, 255); })) << background();

  viewer.Command(19);  // Zoom 150%
  EXPECT_TRUE(viewer.ZoneBecomes(3, "150%")) << viewer.Zone(3);
  auto atOneAndAHalf = [&] {
    return WaitFor([&] {
      const RECT r = PlaceOf(image);
      return r.right - r.left == 60 && r.bottom - r.top == 45 &&
             ShowsStretched(viewer.main(), image, 40, 30);
    });
  };
  EXPECT_TRUE(atOneAndAHalf());

  viewer.Command(4);
  EXPECT_TRUE(PressIn(viewer, "Lumbra - Program Setup", 29));  // Cancel
  EXPECT_TRUE(viewer.Answers());
  EXPECT_EQ(viewer.Zone(3), "150%");
  EXPECT_TRUE(atOneAndAHalf()) << PlaceOf(image).right - PlaceOf(image).left;

  viewer.Command(4);
  HWND setup = Showing(viewer, "Lumbra - Program Setup");
  ASSERT_NE(setup, nullptr);
  HWND fixGifs = GetDlgItem(setup, 9);
  PostMessageA(fixGifs, BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return SendMessageA(fixGifs, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
  EXPECT_TRUE(PressIn(viewer, "Lumbra - Program Setup", 28));  // Ok
  EXPECT_TRUE(viewer.Answers());
  EXPECT_EQ(viewer.Zone(3), "150%");
  EXPECT_TRUE(atOneAndAHalf()) << PlaceOf(image).right - PlaceOf(image).left;
  EXPECT_TRUE(WaitFor([&] { return background() == RGB(0, 0, 0); })) << background();
  viewer.Command(5);
  EXPECT_TRUE(viewer.Ends());
}

// Whether a status zone's text stands whole inside it: no dark pixel of
// the text in the last columns before the zone's edge.
bool ZoneTextWhole(const RunningViewer& viewer, int zone) {
  HWND bar = FindWindowExA(viewer.main(), nullptr, STATUSCLASSNAMEA, nullptr);
  const RECT r = viewer.RemoteRect(bar, SB_GETRECT, static_cast<WPARAM>(zone - 1));
  for (int x = r.right - 4; x < r.right; ++x) {
    for (int y = r.top + 2; y < r.bottom - 2; ++y) {
      const COLORREF c = ScreenAt(bar, x, y);
      if (GetRValue(c) < 64 && GetGValue(c) < 64 && GetBValue(c) < 64) return false;
    }
  }
  return r.right > r.left;
}

// A zoom typed far beyond what the screen can place a window at stops at
// the largest that keeps the picture within 32,767 pixels: zone 3 names
// it, whole, and the screen shows the picture at that zoom from end to
// end.
TEST_F(ViewerJourneyTest, AZoomBeyondWhatTheScreenCanHoldStopsWhereItCan) {
  Write(pictures_ + "long.bmp", Quadrants(4000, 60));
  RunningViewer viewer(folder_, "\"" + pictures_ + "long.bmp\"");
  ASSERT_NE(viewer.main(), nullptr);
  OnTop(viewer);
  ASSERT_TRUE(viewer.ZoneBecomes(2, "4000x60")) << viewer.Zone(2);

  viewer.Command(22);  // Custom Zoom
  HWND zoom = Showing(viewer, "Zoom...");
  ASSERT_NE(zoom, nullptr);
  HWND spin = GetDlgItem(zoom, 2);
  PostMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageA(spin, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  PostMessageA(spin, EM_SETSEL, 0, -1);
  for (const char c : std::string("32767")) PostMessageA(spin, WM_CHAR, static_cast<WPARAM>(c), 1);
  EXPECT_TRUE(PressIn(viewer, "Zoom...", 3));
  const std::int32_t largest = LargestZoom(4000, 60);
  EXPECT_TRUE(viewer.ZoneBecomes(3, std::to_string(largest) + "%")) << viewer.Zone(3);
  EXPECT_TRUE(WaitFor([&] { return ZoneTextWhole(viewer, 3); }));
  // The zoom key goes no further.
  viewer.Key('Z');
  EXPECT_TRUE(viewer.Answers());
  EXPECT_EQ(viewer.Zone(3), std::to_string(largest) + "%");
  HWND image = GetDlgItem(viewer.main(), kImageControl);
  const int width = ZoomedLength(largest, 4000), height = ZoomedLength(largest, 60);
  EXPECT_LE(width, 32767);
  EXPECT_TRUE(WaitFor([&] {
    const RECT r = PlaceOf(image);
    return r.right - r.left == width && r.bottom - r.top == height;
  }));
  RECT client;
  GetClientRect(viewer.main(), &client);
  const int middleX = client.right / 2, middleY = client.bottom / 2;
  EXPECT_TRUE(WaitFor([&] { return ScreenAt(viewer.main(), middleX, middleY) == kRed; }))
      << ScreenAt(viewer.main(), middleX, middleY);
  // At the far end of both scroll bars: the bottom right quadrant.
  for (int i = 0; i < 4; ++i) {
    viewer.Key(VK_NEXT);
    EXPECT_TRUE(viewer.Type({VK_CONTROL, VK_RIGHT}));
  }
  EXPECT_TRUE(WaitFor([&] { return PlaceOf(image).right <= client.right; }));
  const int nearX = client.right - 40, nearY = client.bottom - 40;
  EXPECT_TRUE(WaitFor([&] { return ScreenAt(viewer.main(), nearX, nearY) == kYellow; }))
      << ScreenAt(viewer.main(), nearX, nearY);
  viewer.Command(5);
  EXPECT_TRUE(viewer.Ends());
}

// Whether the screen shows the image repeated from the control's corner:
// points of the second column and row of tiles, and one near the far
// corner of the window (above the status bar).
bool ShowsTiled(HWND main, HWND control, int width, int height) {
  const RECT r = PlaceOf(control);
  RECT c;
  GetClientRect(main, &c);
  for (const auto& [x, y] : {std::pair{width + width / 4, height / 4},
                             {width + 3 * width / 4, height + 3 * height / 4},
                             {width / 4, height + height / 4},
                             {c.right - 3 - r.left, c.bottom - 30 - r.top}}) {
    if (ScreenAt(main, r.left + x, r.top + y) != Quadrant(x % width, y % height, width, height)) {
      return false;
    }
  }
  return true;
}

// The shell's "open" of .htm pages made, for as long as it lives, a copy of
// the page into the folder given: whether and what the program opened
// shows in that copy.
class HtmlPagesCopied {
 public:
  explicit HtmlPagesCopied(const std::string& copy) {
    HKEY key = nullptr;
    char old[MAX_PATH] = {};
    LONG size = sizeof old;
    hadOld_ = RegQueryValueA(HKEY_CLASSES_ROOT, ".htm", old, &size) == ERROR_SUCCESS;
    old_ = old;
    RegSetValueA(HKEY_CLASSES_ROOT, ".htm", REG_SZ, "LumbraTestPage", 14);
    const std::string command = "C:\\windows\\system32\\cmd.exe /c copy \"%1\" \"" + copy + "\"";
    if (RegCreateKeyA(HKEY_CLASSES_ROOT, "LumbraTestPage\\shell\\open\\command", &key) ==
        ERROR_SUCCESS) {
      RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                     static_cast<DWORD>(command.size() + 1));
      RegCloseKey(key);
    }
  }
  ~HtmlPagesCopied() {
    if (hadOld_) {
      RegSetValueA(HKEY_CLASSES_ROOT, ".htm", REG_SZ, old_.c_str(),
                   static_cast<DWORD>(old_.size()));
    } else {
      RegDeleteKeyA(HKEY_CLASSES_ROOT, ".htm");
    }
    for (const char* key : {"LumbraTestPage\\shell\\open\\command", "LumbraTestPage\\shell\\open",
                            "LumbraTestPage\\shell", "LumbraTestPage"}) {
      RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
    }
  }
  HtmlPagesCopied(const HtmlPagesCopied&) = delete;
  HtmlPagesCopied& operator=(const HtmlPagesCopied&) = delete;

 private:
  bool hadOld_ = false;
  std::string old_;
};

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The modes one after the other, the window resized in each: Stretched
// fills the window, Tiled covers it with copies, whatever its size; Zoom
// is there in Normal only and the colour sample in Stretched and Tiled
// only; Help opens the help page beside the program.
TEST_F(ViewerJourneyTest, ModesFollowTheWindowAsItIsResized) {
  RunningViewer viewer(folder_, "\"" + pictures_ + "a.bmp\"");
  ASSERT_NE(viewer.main(), nullptr);
  OnTop(viewer);
  ASSERT_TRUE(viewer.ZoneBecomes(2, "80x60")) << viewer.Zone(2);
  HWND image = GetDlgItem(viewer.main(), kImageControl);
  HWND toolBar = FindWindowExA(viewer.main(), nullptr, "WexToolBar", nullptr);
  ASSERT_NE(toolBar, nullptr);
  auto enabled = [&](int button) {
    HWND control = GetDlgItem(toolBar, button);
    return IsWindowEnabled(control ? control : GetDlgItem(viewer.main(), button)) != FALSE;
  };
  auto commands = [&](bool zoom, bool colourSample) {
    return WaitFor([&] {
      return enabled(kZoomButton) == zoom && enabled(kColourSampleButton) == colourSample;
    });
  };
  EXPECT_TRUE(commands(true, false));
  auto resize = [&](int dx, int dy) {
    RECT frame;
    GetWindowRect(viewer.main(), &frame);
    SetWindowPos(viewer.main(), nullptr, 0, 0, frame.right - frame.left + dx,
                 frame.bottom - frame.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  auto client = [&] {
    RECT r;
    GetClientRect(viewer.main(), &r);
    return r;
  };

  viewer.Command(10);  // Stretched: as wide as the window, the picture stretched over it
  EXPECT_TRUE(viewer.ZoneBecomes(4, "Stretched")) << viewer.Zone(4);
  EXPECT_TRUE(commands(false, true));
  auto stretched = [&] {
    return WaitFor([&] {
      const RECT r = PlaceOf(image);
      return r.left == 0 && r.right == client().right &&
             ShowsStretched(viewer.main(), image, 80, 60);
    });
  };
  EXPECT_TRUE(stretched());
  const RECT before = PlaceOf(image);
  resize(120, 80);
  EXPECT_TRUE(WaitFor([&] { return PlaceOf(image).bottom - before.bottom == 80; }))
      << PlaceOf(image).bottom - before.bottom;
  EXPECT_TRUE(stretched()) << PlaceOf(image).right << " " << client().right;

  viewer.Command(11);  // Tiled: copies over the whole window
  EXPECT_TRUE(viewer.ZoneBecomes(4, "Tiled")) << viewer.Zone(4);
  EXPECT_TRUE(commands(false, true));
  auto tiled = [&] {
    return WaitFor([&] {
      const RECT r = PlaceOf(image), c = client();
      return r.right >= c.right && r.bottom >= c.bottom && ShowsTiled(viewer.main(), image, 80, 60);
    });
  };
  EXPECT_TRUE(tiled());
  resize(-200, -150);
  EXPECT_TRUE(tiled());
  resize(300, 200);
  EXPECT_TRUE(tiled());

  viewer.Command(12);  // Best Fit
  EXPECT_TRUE(viewer.ZoneBecomes(4, "Best Fit")) << viewer.Zone(4);
  EXPECT_TRUE(commands(false, false));
  viewer.Command(9);  // Normal
  EXPECT_TRUE(viewer.ZoneBecomes(4, "Normal")) << viewer.Zone(4);
  EXPECT_TRUE(commands(true, false));

  // Help: the page beside the program, opened by the shell.
  const std::string page = "<html><body>Lumbra help of " + folder_ + "</body></html>";
  Write(folder_ + "lbhelp.htm", testing::Bytes(page.begin(), page.end()));
  const std::string opened = folder_ + "opened.htm";
  {
    HtmlPagesCopied copying(opened);
    viewer.Command(38);
    EXPECT_TRUE(WaitFor([&] { return FileText(opened) == page; })) << FileText(opened);
  }
  viewer.Command(5);
  EXPECT_TRUE(viewer.Ends());
}

}  // namespace
}  // namespace lumbra
