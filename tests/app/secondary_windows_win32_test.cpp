// The viewer's small windows run through their procedures, driven from
// another thread the way a user would: typing, clicking, closing.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/about_window.h"
#include "app/file_listing_window.h"
#include "app/image_list.h"
#include "app/image_loading.h"
#include "app/image_properties_window.h"
#include "app/program_settings.h"
#include "app/program_setup_window.h"
#include "app/welcome_screen.h"
#include "app/zoom_window.h"
#include "core/directory_listing.h"
#include "core/ini_access.h"
#include "tests/support/native_probe_win32.h"
#include "tests/support/raised_errors.h"
#include "tests/support/test_folder_win32.h"
#include "tests/winrt/bmp_file_win32.h"
#include "winrt/dialogs.h"
#include "winrt/runtime_errors.h"

namespace lumbra {
namespace {

class SecondaryWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRuntimeErrorHandler(testing::ThrowRaisedError);
    SetRuntimeStarted(true);
    PS = ProgramSettings();
    folder_ = probe::OwnTestFolder();
    IniFilePath = IniPathForProgram(folder_ + "LUMBRA.EXE");
    DeleteFileA(IniFilePath.str().c_str());
  }
  void TearDown() override {
    if (driver_.joinable()) driver_.join();
    SetColorDialogReplacement(nullptr);
    ImageList.Free();
    CurrentImage = 0;
    SetRuntimeStarted(false);
    SetRuntimeErrorHandler(nullptr);
  }
  // Runs `act` on another thread once the window with the title shows.
  void Drive(const char* title, std::function<void(HWND)> act) {
    driver_ = std::thread([title, act] {
      HWND window = nullptr;
      probe::WaitFor([&] {
        window = FindWindowA(nullptr, title);
        return window && IsWindowVisible(window);
      });
      if (window) act(window);
    });
  }
  static void Click(HWND control) {
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  }
  // Clicks into the zoom's spin box and types over its text.
  static void Type(HWND window, const char* text) {
    HWND spin = GetDlgItem(window, 2);
    Click(spin);
    PostMessageA(spin, EM_SETSEL, 0, -1);
    for (const char* c = text; *c; ++c) PostMessageA(spin, WM_CHAR, static_cast<WPARAM>(*c), 1);
  }

  static bool Checked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  std::string Ini(const char* key) const {
    return ReadIniKey(kIniSection, key, "<missing>", IniFilePath.clipped());
  }

  std::string folder_;
  std::thread driver_;
};

TEST_F(SecondaryWindowTest, ZoomOkTakesTheEntryCancelKeepsTheZoom) {
  PS.IMAGEZOOM = 150;
  Drive("Zoom...", [](HWND w) {
    Type(w, "400");
    PostMessageA(GetDlgItem(w, 3), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(ZoomWindow(), 400);
  driver_.join();

  Drive("Zoom...", [](HWND w) {
    Type(w, "400");
    PostMessageA(GetDlgItem(w, 4), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(ZoomWindow(), 150);
  driver_.join();

  // An entry beyond the spin box's range is refused: the zoom stays.
  Drive("Zoom...", [](HWND w) {
    Type(w, "40000");
    PostMessageA(GetDlgItem(w, 3), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(ZoomWindow(), 150);
  driver_.join();

  // The close box keeps the last accepted entry: one step of the arrows.
  Drive("Zoom...", [](HWND w) {
    HWND arrows = FindWindowExA(w, nullptr, "msctls_updown32", nullptr);
    RECT r;
    GetClientRect(arrows, &r);
    PostMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right / 2, r.bottom / 4));
    PostMessageA(arrows, WM_LBUTTONUP, 0, MAKELPARAM(r.right / 2, r.bottom / 4));
    PostMessageA(w, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(ZoomWindow(), 151);
  EXPECT_EQ(PS.IMAGEZOOM, 150);
}

TEST_F(SecondaryWindowTest, AboutShowsItsRedLineAndContinueCloses) {
  std::string line;
  Drive("About Lumbra 1.0", [&line](HWND w) {
    line = probe::TextOf(GetDlgItem(w, 2));
    PostMessageA(GetDlgItem(w, 5), BM_CLICK, 0, 0);
  });
  AboutWindow();
  driver_.join();
  EXPECT_EQ(line, "Lumbra 1.0 - a classic image viewer for Windows");
  EXPECT_EQ(FindWindowA(nullptr, "About Lumbra 1.0"), nullptr);
}

}  // namespace
}  // namespace lumbra

namespace lumbra {
namespace {

TEST_F(SecondaryWindowTest, SetupOkSavesAtOnceCancelAndTheCloseBoxDropTheCopy) {
  LoadSettings();
  ASSERT_EQ(PS.PROMPTONEXIT, 1);
  const std::int32_t background = PS.BGCOLOR;
  const std::string savedBackground = Ini("BGColor");
  Drive("Lumbra - Program Setup", [](HWND w) {
    HWND prompt = GetDlgItem(w, 7);
    PostMessageA(prompt, BM_CLICK, 0, 0);
    probe::WaitFor([&] { return !Checked(prompt); });
    PostMessageA(GetDlgItem(w, 28), BM_CLICK, 0, 0);
  });
  ProgramSetupWindow();
  driver_.join();
  EXPECT_EQ(PS.PROMPTONEXIT, 0);
  EXPECT_EQ(Ini("PromptOnExit"), "NO");

  // A colour chosen, then Cancel; an option changed, then the close box.
  static std::atomic<int> asked;
  static std::string title;
  asked = 0;
  SetColorDialogReplacement([](std::string_view t, std::int32_t& colour) {
    title = t;
    colour = 0x123456;
    ++asked;
    return true;
  });
  for (const bool closeBox : {false, true}) {
    Drive("Lumbra - Program Setup", [closeBox](HWND w) {
      const int before = asked;
      PostMessageA(GetDlgItem(w, 2), BM_CLICK, 0, 0);
      probe::WaitFor([&] { return asked > before; });
      HWND prompt = GetDlgItem(w, 7);
      PostMessageA(prompt, BM_CLICK, 0, 0);
      probe::WaitFor([&] { return Checked(prompt); });
      if (closeBox) {
        PostMessageA(w, WM_CLOSE, 0, 0);
      } else {
        PostMessageA(GetDlgItem(w, 29), BM_CLICK, 0, 0);
      }
    });
    ProgramSetupWindow();
    driver_.join();
    EXPECT_EQ(asked, closeBox ? 2 : 1);
    EXPECT_EQ(PS.BGCOLOR, background);
    EXPECT_EQ(PS.PROMPTONEXIT, 0);
    EXPECT_EQ(Ini("BGColor"), savedBackground);
    EXPECT_EQ(Ini("PromptOnExit"), "NO");
  }
  EXPECT_EQ(title, "Choose BG Color");
}

TEST_F(SecondaryWindowTest, WelcomeSavesItsCheckBoxOnEveryWayOut) {
  LoadSettings();
  ASSERT_EQ(PS.SHOWWELCOMESCREEN, 1);
  Drive("Welcome to Lumbra", [](HWND w) {
    HWND show = GetDlgItem(w, 1);
    PostMessageA(show, BM_CLICK, 0, 0);
    probe::WaitFor([&] { return !Checked(show); });
    PostMessageA(w, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(WelcomeScreen(), 0);
  driver_.join();
  EXPECT_EQ(Ini("ShowWelcomeScreen"), "NO");

  for (const int button : {2, 3}) {
    Drive("Welcome to Lumbra", [button](HWND w) {
      HWND show = GetDlgItem(w, 1);
      PostMessageA(show, BM_CLICK, 0, 0);
      probe::WaitFor([&] { return Checked(show) == (button == 2); });
      PostMessageA(GetDlgItem(w, button), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(WelcomeScreen(), button - 1);
    driver_.join();
    EXPECT_EQ(Ini("ShowWelcomeScreen"), button == 2 ? "YES" : "NO");
  }
}

// Four entries whose orders by name, size and date all differ; c.gif is
// row 3 by name, 2 by size and 4 by date.
class FileListingTest : public SecondaryWindowTest {
 protected:
  void SetUp() override {
    SecondaryWindowTest::SetUp();
    struct Entry {
      const char* name;
      std::int32_t size, date;
    };
    std::int32_t position = 0;
    for (const Entry& e : {Entry{"d.gif", 10, 5}, Entry{"a.gif", 40, 7}, Entry{"c.gif", 20, 9},
                           Entry{"b.gif", 30, 8}}) {
      FL.PATH = "C:\\PICTURES\\";
      FL.FILENAME = e.name;
      FL.SIZE = e.size;
      FL.DATE = e.date;
      FL.TIME = 0;
      FL.TYPE = "GIF";
      FL.IMAGEPOS = ++position;
      ImageList.Add();
    }
  }
  // Starts with the list in an order and c.gif on show.
  void ShowC(std::uint8_t order) {
    PS.SORTORDER = order;
    SortImageList(order);
    CurrentImage = Row("c.gif");
    PS.FILENAME = ImagePathAt(CurrentImage);
  }
  static std::int32_t Row(const std::string& name) {
    for (std::int32_t row = 1; row <= static_cast<std::int32_t>(ImageList.Records()); ++row) {
      if (ImagePathAt(row) == "C:\\PICTURES\\" + name) return row;
    }
    return 0;
  }
  static std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (std::uint32_t row = 1; row <= ImageList.Records(); ++row) {
      ImageList.Get(row);
      names.emplace_back(FL.FILENAME.clipped());
    }
    return names;
  }
  // The selected tab (from 1) and the highlighted row (from 1) with its text.
  struct Seen {
    int tab = 0, row = 0;
    std::string text;
  };
  static Seen Look(HWND w) {
    Seen seen;
    seen.tab = static_cast<int>(SendMessageA(GetDlgItem(w, 1), TCM_GETCURSEL, 0, 0)) + 1;
    HWND list = GetDlgItem(w, 8);
    const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    seen.row = static_cast<int>(index) + 1;
    char text[1024] = {};
    if (index >= 0)
      SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    seen.text = text;
    return seen;
  }
  // Clicks a tab and waits until the highlighted row holds the name.
  static Seen ChooseTab(HWND w, int tab, const std::string& name) {
    HWND sheet = GetDlgItem(w, 1);
    RECT r = {};
    SendMessageA(sheet, TCM_GETITEMRECT, static_cast<WPARAM>(tab - 1),
                 reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageA(sheet, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(sheet, WM_LBUTTONUP, 0, at);
    Seen seen;
    probe::WaitFor([&] {
      seen = Look(w);
      return seen.tab == tab && seen.text.find("\t" + name + "\t") != std::string::npos;
    });
    return seen;
  }
};

TEST_F(FileListingTest, OpensOnTheOrdersTabAndCancelPutsTheOrderBack) {
  ShowC(kSortDate);
  Seen opened, resorted;
  Drive("Select Image File...", [&](HWND w) {
    probe::WaitFor([&] { return Look(w).row > 0; });
    opened = Look(w);
    resorted = ChooseTab(w, kSortSize, "c.gif");
    PostMessageA(GetDlgItem(w, 13), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(FileListingWindow(), -1);
  driver_.join();
  EXPECT_EQ(opened.tab, kSortDate);
  EXPECT_EQ(opened.row, 4);
  EXPECT_NE(opened.text.find("\tc.gif\t"), std::string::npos) << opened.text;
  EXPECT_EQ(resorted.row, 2);
  EXPECT_EQ(Names(), (std::vector<std::string>{"d.gif", "a.gif", "b.gif", "c.gif"}));
  EXPECT_EQ(CurrentImage, 4);
  EXPECT_EQ(PS.SORTORDER, kSortDate);
  EXPECT_EQ(PS.FILENAME, "C:\\PICTURES\\c.gif");
}

TEST_F(FileListingTest, SelectShowsTheRowAndKeepsTheTabsOrder) {
  ShowC(kSortName);
  Seen opened, resorted;
  Drive("Select Image File...", [&](HWND w) {
    probe::WaitFor([&] { return Look(w).row > 0; });
    opened = Look(w);
    resorted = ChooseTab(w, kSortSize, "c.gif");
    HWND list = GetDlgItem(w, 8);
    PostMessageA(list, WM_KEYDOWN, VK_DOWN, 1);
    probe::WaitFor([&] { return Look(w).row == resorted.row + 1; });
    PostMessageA(GetDlgItem(w, 12), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(FileListingWindow(), 3);
  driver_.join();
  EXPECT_EQ(opened.tab, kSortName);
  EXPECT_EQ(opened.row, 3);
  EXPECT_EQ(resorted.row, 2);
  EXPECT_NE(resorted.text.find("\tc.gif\t"), std::string::npos) << resorted.text;
  EXPECT_EQ(CurrentImage, 3);
  EXPECT_EQ(PS.FILENAME, "C:\\PICTURES\\b.gif");
  EXPECT_EQ(PS.SORTORDER, kSortSize);
  // Next goes on in size order.
  EXPECT_EQ(Names(), (std::vector<std::string>{"d.gif", "c.gif", "b.gif", "a.gif"}));
  EXPECT_EQ(ImagePathAt(CurrentImage + 1), "C:\\PICTURES\\a.gif");
}

// Where the thumbnail lies within its frame, in pixels, and what the
// window shows, read from outside.
struct PropertiesSeen {
  RECT frame = {}, thumbnail = {};
  bool thumbnailShown = false, notLoadedShown = false;
  std::string shortPath, dimensions;
};

PropertiesSeen LookAtProperties(HWND w) {
  PropertiesSeen seen;
  // Done when "Loading Thumbnail..." is gone and either the thumbnail or
  // "Image Not Loaded" shows.
  probe::WaitFor([&] {
    return !IsWindowVisible(GetDlgItem(w, 18)) &&
           (IsWindowVisible(GetDlgItem(w, 17)) || IsWindowVisible(GetDlgItem(w, 10)));
  });
  GetWindowRect(GetDlgItem(w, 16), &seen.frame);
  GetWindowRect(GetDlgItem(w, 17), &seen.thumbnail);
  seen.thumbnailShown = IsWindowVisible(GetDlgItem(w, 17));
  seen.notLoadedShown = IsWindowVisible(GetDlgItem(w, 10));
  seen.shortPath = probe::TextOf(GetDlgItem(w, 4));
  seen.dimensions = probe::TextOf(GetDlgItem(w, 12));
  return seen;
}

TEST_F(SecondaryWindowTest, PropertiesFitTheThumbnailIntoItsFrameCentred) {
  struct Case {
    int width, height;
    int unitsWide, unitsHigh;  // of the 92 x 77 frame
  };
  for (const Case& c : {Case{1600, 1200, 92, 69}, Case{40, 30, 40, 30}}) {
    const std::string path = folder_ + "a picture with a long name.bmp";
    WriteBmp24(path, c.width, c.height, [](int x, int) { return x % 2 ? RGB(255, 0, 0) : 0; });
    BuildImageList("\"" + path + "\"", false, false);
    ASSERT_EQ(CurrentImage, 1);
    ImageWidth = static_cast<std::int16_t>(c.width);
    ImageHeight = static_cast<std::int16_t>(c.height);
    PropertiesSeen seen;
    Drive("Image Properties", [&](HWND w) {
      seen = LookAtProperties(w);
      PostMessageA(GetDlgItem(w, 15), BM_CLICK, 0, 0);
    });
    ImagePropertiesWindow(PS.FILENAME.clipped());
    driver_.join();
    SCOPED_TRACE(c.width);
    EXPECT_TRUE(seen.thumbnailShown);
    EXPECT_FALSE(seen.notLoadedShown);
    EXPECT_EQ(seen.dimensions, std::to_string(c.width) + "x" + std::to_string(c.height));
    EXPECT_EQ(seen.shortPath, ShortPath(path));
    EXPECT_NE(seen.shortPath.find('~'), std::string::npos) << seen.shortPath;
    // Sizes in units scale to pixels by the frame's own ratio, within a
    // pixel of rounding.
    const int frameW = seen.frame.right - seen.frame.left;
    const int frameH = seen.frame.bottom - seen.frame.top;
    const int thumbW = seen.thumbnail.right - seen.thumbnail.left;
    const int thumbH = seen.thumbnail.bottom - seen.thumbnail.top;
    EXPECT_NEAR(thumbW, frameW * c.unitsWide / 92, 1);
    EXPECT_NEAR(thumbH, frameH * c.unitsHigh / 77, 1);
    EXPECT_NEAR(seen.thumbnail.left - seen.frame.left, (frameW - thumbW) / 2, 1);
    EXPECT_NEAR(seen.thumbnail.top - seen.frame.top, (frameH - thumbH) / 2, 1);
  }
}

TEST_F(SecondaryWindowTest, PropertiesOfABadImageShowNothingAndCopyNothing) {
  PS.BADIMAGE = 1;
  PS.FILENAME = folder_ + "missing.gif";
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL marker = GlobalAlloc(GMEM_MOVEABLE, 7);
  std::memcpy(GlobalLock(marker), "marker", 7);
  GlobalUnlock(marker);
  SetClipboardData(CF_TEXT, marker);
  CloseClipboard();
  PropertiesSeen seen;
  Drive("Image Properties", [&](HWND w) {
    seen = LookAtProperties(w);
    PostMessageA(GetDlgItem(w, 14), BM_CLICK, 0, 0);
    PostMessageA(GetDlgItem(w, 15), BM_CLICK, 0, 0);
  });
  ImagePropertiesWindow(PS.FILENAME.clipped());
  driver_.join();
  EXPECT_EQ(seen.dimensions, "0x0");
  EXPECT_TRUE(seen.notLoadedShown);
  EXPECT_FALSE(seen.thumbnailShown);
  EXPECT_EQ(seen.shortPath, "");
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
  HANDLE text = GetClipboardData(CF_TEXT);
  EXPECT_STREQ(text ? static_cast<const char*>(GlobalLock(text)) : "", "marker");
  if (text) GlobalUnlock(text);
  CloseClipboard();
}

}  // namespace
}  // namespace lumbra
