// Every window of the real lumbra.exe as a person sees it: what the screen
// shows inside its controls, read back from the screen, compared with the
// pictures they must show; the texts the properties show read through the
// windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "core/date_time.h"
#include "core/fixed_text.h"
#include "core/picture.h"
#include "tests/support/native_probe_win32.h"
#include "tests/support/running_viewer_win32.h"
#include "tests/winrt/bmp_file_win32.h"
#include "tests/winrt/screen_pixels_win32.h"

namespace lumbra {
namespace {

using namespace probe;

// An uncompressed 8- or 24-bit BMP file, decoded pixel by pixel.
struct DecodedBmp {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;  // top row first
  COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

DecodedBmp ReadBmp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> b{std::istreambuf_iterator<char>(in), {}};
  auto u32 = [&](std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24);
  };
  DecodedBmp bmp;
  if (b.size() < 54) return bmp;
  bmp.width = static_cast<int>(u32(18));
  bmp.height = static_cast<int>(u32(22));
  const int bits = b[28];
  const std::uint32_t offset = u32(10);
  const std::uint32_t colours = u32(46) ? u32(46) : 256;
  const int stride = (bmp.width * bits / 8 + 3) & ~3;
  for (int y = 0; y < bmp.height; ++y) {
    const std::size_t row = offset + static_cast<std::size_t>(bmp.height - 1 - y) * stride;
    for (int x = 0; x < bmp.width; ++x) {
      std::size_t at = bits == 24 ? row + static_cast<std::size_t>(x) * 3 : 0;
      if (bits == 8) at = 54 + 4 * std::min<std::uint32_t>(b[row + x], colours - 1);
      bmp.pixels.push_back(RGB(b[at + 2], b[at + 1], b[at]));
    }
  }
  return bmp;
}

// Whether an image shows in a control, drawn at (left, top) and scaled to
// width x height: a grid of points away from the image's pixel edges,
// where the control shows them.
bool ShowsImage(HWND control, const DecodedBmp& image, int left, int top, int width, int height) {
  const ScreenPixels screen(control);
  int compared = 0;
  for (int gy = 0; gy < 8; ++gy) {
    for (int gx = 0; gx < 8; ++gx) {
      const int x = image.width * (2 * gx + 1) / 16, y = image.height * (2 * gy + 1) / 16;
      const COLORREF shown =
          screen.At(left + x * width / image.width, top + y * height / image.height);
      if (shown == CLR_INVALID) continue;
      if (shown != image.At(x, y)) return false;
      ++compared;
    }
  }
  return compared >= 20;
}
bool ShowsImageAt(HWND control, const DecodedBmp& image, int left, int top) {
  return ShowsImage(control, image, left, top, image.width, image.height);
}
bool ShowsStretched(HWND control, const DecodedBmp& image) {
  RECT r;
  GetClientRect(control, &r);
  return ShowsImage(control, image, 0, 0, r.right, r.bottom);
}

// The text of a control of another program: asked of the control, as the
// system keeps an edit field's text with the control, not in its window.
std::string ControlText(HWND control) {
  char text[512] = {};
  DWORD_PTR result = 0;
  SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, kPatience, &result);
  return text;
}

// Where a centred image lies in a control.
bool ShowsCentred(HWND control, const DecodedBmp& image) {
  RECT r;
  GetClientRect(control, &r);
  return ShowsImageAt(control, image, (r.right - image.width) / 2, (r.bottom - image.height) / 2);
}

// Colours of the window's client area where none of its controls lies:
// its background and wallpaper.
std::set<COLORREF> BackdropColours(HWND window) {
  const ScreenPixels screen(window);
  std::vector<RECT> controls;
  for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsWindowVisible(c)) continue;
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    controls.push_back(r);
  }
  std::set<COLORREF> colours;
  for (int y = 0; y < screen.height(); ++y) {
    for (int x = 0; x < screen.width(); ++x) {
      const POINT p = {x, y};
      bool covered = false;
      for (const RECT& r : controls) covered = covered || PtInRect(&r, p);
      if (!covered) colours.insert(screen.At(x, y));
    }
  }
  return colours;
}

// Whether the window's wallpaper covers its client area where no control
// lies: a pattern of several colours, none of them the bare face colour
// that shows without it.
bool ShowsWallpaper(HWND window) {
  return WaitFor([&] {
    const std::set<COLORREF> colours = BackdropColours(window);
    return colours.size() > 3 && colours.count(GetSysColor(COLOR_BTNFACE)) == 0;
  });
}

bool Drawn(HWND control) {
  return control && WaitFor([&] { return !ScreenPixels(control).Blank(); });
}

std::string Clipped(const std::string& text) { return std::string(ClipTrailingBlanks(text)); }

class ViewerPixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = CurrentFolder() + "\\" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
  }
  // The settings the viewer starts with: a green window background, so
  // that the swatch of Program Setup has a colour of its own.
  void WriteSettings(bool welcome, bool wide = false) const {
    std::ofstream(folder_ + "LUMBRA.INI")
        << "[Lumbra]\nMaximized=NO\nPromptOnExit=NO\nBGColor=65280\n"
        << (wide ? "XPos=0\nYPos=0\nWidth=1000\nHeight=700\n"
                 : "XPos=40\nYPos=30\nWidth=720\nHeight=520\n")
        << "ShowWelcomeScreen=" << (welcome ? "YES" : "NO") << "\n";
  }
  // An 80x60 picture of four quarters: red, green, blue and yellow.
  std::string WriteQuarters(const std::string& name) const {
    const std::string path = folder_ + name;
    WriteBmp24(path, 80, 60, [](int x, int y) {
      if (y < 30) return x < 40 ? RGB(255, 0, 0) : RGB(0, 255, 0);
      return x < 40 ? RGB(0, 0, 255) : RGB(255, 255, 0);
    });
    return path;
  }
  // A secondary window opened by a menu command, once it shows.
  static HWND Open(const RunningViewer& viewer, int command, const char* title) {
    viewer.Command(command);
    HWND window = nullptr;
    WaitFor([&] {
      window = FindWindowA(nullptr, title);
      return window && IsWindowVisible(window);
    });
    return window;
  }
  static bool Close(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return WaitFor([&] { return !IsWindow(window); });
  }

  std::string folder_;
};

// The splash picture as the program carries it, read from the source tree.
DecodedBmp Splash() {
  std::string path = std::string(LUMBRA_PICTURES) + "/lbsplash.bmp";
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return ReadBmp(path.rfind("\\", 0) == 0 ? "Z:" + path : path);
}

TEST_F(ViewerPixelsTest, SetupShowsEveryControlOverItsWallpaper) {
  WriteSettings(false);
  RunningViewer viewer(folder_, WriteQuarters("one.bmp"));
  ASSERT_TRUE(viewer.main());
  HWND setup = Open(viewer, 4, "Lumbra - Program Setup");
  ASSERT_TRUE(setup);
  // The BG Color button, the swatch, the seven options and the ten radios
  // inside the three frames.
  for (int control : {2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15, 17, 18, 19, 20, 21, 22}) {
    EXPECT_TRUE(Drawn(GetDlgItem(setup, control))) << "control " << control;
  }
  EXPECT_TRUE(WaitFor([&] { return ScreenPixels(GetDlgItem(setup, 3)).Shows(RGB(0, 255, 0)); }))
      << "the swatch shows the background colour";
  // The wallpaper is a pattern of several colours.
  EXPECT_TRUE(ShowsWallpaper(setup));
  EXPECT_TRUE(Close(setup));
}

TEST_F(ViewerPixelsTest, ZoomShowsItsControlsOverItsWallpaper) {
  WriteSettings(false);
  RunningViewer viewer(folder_, WriteQuarters("one.bmp"));
  ASSERT_TRUE(viewer.main());
  HWND zoom = Open(viewer, 22, "Zoom...");
  ASSERT_TRUE(zoom);
  for (int control : {1, 2, 3, 4}) EXPECT_TRUE(Drawn(GetDlgItem(zoom, control))) << control;
  EXPECT_TRUE(ShowsWallpaper(zoom));
  EXPECT_TRUE(Close(zoom));
}

TEST_F(ViewerPixelsTest, PropertiesShowPictureTextsAndTheThumbnailInAWideFrame) {
  WriteSettings(false);
  const std::string image = WriteQuarters("quarters.bmp");
  // The file's time: 7 March 2026, 15:20:00 local time.
  SYSTEMTIME local = {2026, 3, 0, 7, 15, 20, 0, 0};
  FILETIME localTime, stamp;
  SystemTimeToFileTime(&local, &localTime);
  LocalFileTimeToFileTime(&localTime, &stamp);
  HANDLE file =
      CreateFileA(image.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  SetFileTime(file, nullptr, nullptr, &stamp);
  CloseHandle(file);

  RunningViewer viewer(folder_, image);
  ASSERT_TRUE(viewer.main());
  ASSERT_TRUE(viewer.ZoneBecomes(2, "80x60"));
  HWND properties = Open(viewer, 7, "Image Properties");
  ASSERT_TRUE(properties);

  // Date, time and size through their pictures D4, T6 and N20, once the
  // window has shown its values.
  auto shows = [&](int control, const std::string& text) {
    WaitFor([&] { return ControlText(GetDlgItem(properties, control)) == text; });
    return ControlText(GetDlgItem(properties, control));
  };
  const std::int32_t size = 54 + 80 * 3 * 60;
  EXPECT_EQ(shows(6, Clipped(FORMAT(DateSerial(2026, 3, 7), "@D4"))), "March  7, 2026");
  EXPECT_EQ(shows(7, Clipped(FORMAT(TimeSerial(15, 20, 0, 0), "@T6"))), " 3:20:00PM");
  EXPECT_EQ(shows(9, Clipped(FORMAT(size, "@N20"))), "              14,454");

  // The thumbnail shows the picture, stretched over the thumbnail.
  HWND thumbnail = GetDlgItem(properties, 17);
  const DecodedBmp quarters = ReadBmp(image);
  EXPECT_TRUE(WaitFor([&] { return ShowsStretched(thumbnail, quarters); }))
      << "the thumbnail shows the picture";
  // The frame is drawn two pixels wide or more, in black, around it.
  HWND frame = GetDlgItem(properties, 16);
  EXPECT_TRUE(WaitFor([&] {
    const ScreenPixels shown(frame);
    const int middle = shown.width() / 2;
    return shown.At(middle, 0) == RGB(0, 0, 0) && shown.At(middle, 1) == RGB(0, 0, 0) &&
           shown.At(0, shown.height() / 2) == RGB(0, 0, 0) &&
           shown.At(1, shown.height() / 2) == RGB(0, 0, 0);
  }));

  // The window opens centred on the main window.
  RECT owner, own;
  GetWindowRect(viewer.main(), &owner);
  GetWindowRect(properties, &own);
  EXPECT_NEAR((own.left + own.right) / 2, (owner.left + owner.right) / 2, 2);
  EXPECT_NEAR((own.top + own.bottom) / 2, (owner.top + owner.bottom) / 2, 2);
  EXPECT_TRUE(Close(properties));
}

TEST_F(ViewerPixelsTest, FileListingShowsRowsAndTotal) {
  WriteSettings(false);
  // Short paths: the viewer reads 255 characters of its command line.
  auto shortPath = [](const std::string& path) {
    char brief[MAX_PATH] = {};
    GetShortPathNameA(path.c_str(), brief, MAX_PATH);
    return std::string(brief);
  };
  const std::string files = shortPath(WriteQuarters("a.bmp")) + " " +
                            shortPath(WriteQuarters("b.bmp")) + " " +
                            shortPath(WriteQuarters("c.bmp"));
  RunningViewer viewer(folder_, files);
  ASSERT_TRUE(viewer.main());
  ASSERT_TRUE(viewer.ZoneBecomes(2, "80x60"));
  // The list's length, as the status bar tells it: "path  (1 of N)".
  const std::string zone = viewer.Zone(1);
  const std::size_t of = zone.rfind(" of ");
  ASSERT_NE(of, std::string::npos) << zone;
  const int count = std::atoi(zone.c_str() + of + 4);
  ASSERT_EQ(count, 3) << zone;
  HWND listing = Open(viewer, 34, "Select Image File...");
  ASSERT_TRUE(listing);
  const std::string total = Clipped(FORMAT(count, "@N9"));
  EXPECT_EQ(total, "        " + std::to_string(count));
  WaitFor([&] { return TextOf(GetDlgItem(listing, 11)) == total; });
  EXPECT_EQ(TextOf(GetDlgItem(listing, 11)), total);
  for (int control : {1, 8, 11, 12, 13})
    EXPECT_TRUE(Drawn(GetDlgItem(listing, control))) << control;
  EXPECT_TRUE(ShowsWallpaper(listing));
  EXPECT_TRUE(Close(listing));
}

TEST_F(ViewerPixelsTest, AboutAndWelcomeShowTheSplashPicture) {
  const DecodedBmp splash = Splash();
  ASSERT_EQ(splash.width, 300);
  {
    WriteSettings(true);
    RunningViewer viewer(folder_, "");
    HWND welcome = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      welcome = FindWindowA(nullptr, "Welcome to Lumbra");
      return welcome && IsWindowVisible(welcome);
    }));
    EXPECT_TRUE(WaitFor([&] { return ShowsCentred(GetDlgItem(welcome, 6), splash); }));
    EXPECT_TRUE(Close(welcome));
  }
  WriteSettings(false);
  RunningViewer viewer(folder_, WriteQuarters("one.bmp"));
  ASSERT_TRUE(viewer.main());
  HWND about = Open(viewer, 39, "About Lumbra 1.0");
  ASSERT_TRUE(about);
  EXPECT_TRUE(WaitFor([&] { return ShowsCentred(GetDlgItem(about, 1), splash); }));
  EXPECT_TRUE(Drawn(GetDlgItem(about, 2)));
  EXPECT_TRUE(Close(about));
}

TEST_F(ViewerPixelsTest, ColourSampleShowsItsStripsAndEveryNameInItsOwnColour) {
  WriteSettings(false, true);
  RunningViewer viewer(folder_, WriteQuarters("one.bmp"));
  ASSERT_TRUE(viewer.main());
  viewer.Command(10);  // Stretched: the colour sample needs it
  ASSERT_TRUE(viewer.ZoneBecomes(4, "Stretched"));
  HWND sample = Open(viewer, 23, "Sample...");
  ASSERT_TRUE(sample);
  for (int strip = 69; strip <= 80; ++strip) {
    EXPECT_TRUE(Drawn(GetDlgItem(viewer.main(), strip))) << "strip " << strip;
  }
  // Every name a person can see: inside the window, not under the
  // colour-sample window.
  RECT client, covered;
  GetClientRect(viewer.main(), &client);
  MapWindowPoints(viewer.main(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  GetWindowRect(sample, &covered);
  int seen = 0;
  for (int name = 85; name <= 149; ++name) {
    HWND control = GetDlgItem(viewer.main(), name);
    RECT place, overlap;
    GetWindowRect(control, &place);
    if (IntersectRect(&overlap, &place, &covered) || place.right > client.right ||
        place.bottom > client.bottom) {
      continue;
    }
    ++seen;
    const std::string text = TextOf(control);
    const std::size_t hash = text.find('#');
    ASSERT_NE(hash, std::string::npos) << name;
    const unsigned long rgb = std::strtoul(text.substr(hash + 1, 6).c_str(), nullptr, 16);
    const COLORREF colour = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    EXPECT_TRUE(WaitFor([&] { return ScreenPixels(control).Shows(colour); })) << text;
  }
  EXPECT_GT(seen, 55);
  EXPECT_TRUE(Close(sample));
}

TEST_F(ViewerPixelsTest, MainWindowShowsTheImageAndItsPopupsAreDrawn) {
  WriteSettings(false);
  const std::string image = WriteQuarters("one.bmp");
  RunningViewer viewer(folder_, image);
  ASSERT_TRUE(viewer.main());
  ASSERT_TRUE(viewer.ZoneBecomes(2, "80x60"));
  // Normal mode at 100 %: the image at its size in the window's corner.
  HWND control = GetDlgItem(viewer.main(), 64);
  EXPECT_TRUE(WaitFor([&] { return ShowsImageAt(control, ReadBmp(image), 0, 0); }));
  auto popupDrawn = [&] {
    HWND menu = nullptr;
    const bool shown = WaitFor([&] { return (menu = viewer.Owned("#32768")) != nullptr; });
    const bool drawn = shown && Drawn(menu);
    // The menu's owner is told to cancel its modes, which ends the menu.
    PostMessageA(viewer.main(), WM_CANCELMODE, 0, 0);
    WaitFor([&] { return viewer.Owned("#32768") == nullptr; });
    return drawn;
  };
  // The main popup (right mouse button), then the zoom and sort buttons'.
  SetForegroundWindow(viewer.main());
  PostMessageA(viewer.main(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(200, 200));
  PostMessageA(viewer.main(), WM_RBUTTONUP, 0, MAKELPARAM(200, 200));
  EXPECT_TRUE(popupDrawn()) << "main popup";
  HWND bar = FindWindowExA(viewer.main(), nullptr, "WexToolBar", nullptr);
  for (int button : {50, 57}) {
    PostMessageA(GetDlgItem(bar, button), BM_CLICK, 0, 0);
    EXPECT_TRUE(popupDrawn()) << "popup of button " << button;
  }
}

}  // namespace
}  // namespace lumbra
