// The image list built from real folders and shown in the real main
// window: argument texts and drops, Auto Load Directory, Esc during a
// listing, stepping and re-sorting, and ShowImage's load, layout and
// reports of bad images.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/image_list.h"
#include "app/image_loading.h"
#include "app/main_commands.h"
#include "app/main_popups.h"
#include "app/menu_marks.h"
#include "app/program_settings.h"
#include "app/status_texts.h"
#include "app/viewer_popups.h"
#include "core/directory_listing.h"
#include "tests/codecs/test_images.h"
#include "tests/support/file_writer.h"
#include "tests/support/native_probe_win32.h"
#include "tests/support/raised_errors.h"
#include "winrt/dialogs.h"
#include "winrt/runtime_errors.h"
#include "winrt/window.h"

namespace lumbra {
namespace {

using testing::Bytes;
using testing::GifWriter;
using testing::MakeBmp8;

constexpr std::int32_t kImageControl = 64;
constexpr std::int32_t kImageNotLoadedText = 67;

// The message dialogs asked, answered with `answer`.
std::vector<MessageDialogRequest> g_asked;
std::int32_t g_answer = BUTTON::Yes;
std::int32_t ScriptedDialog(const MessageDialogRequest& request) {
  g_asked.push_back(request);
  return g_answer;
}

Bytes Gif(std::uint16_t width, std::uint16_t height) {
  return GifWriter(width, height).Image(0, 0, width, height, Bytes(width * height, 1)).Finish();
}

std::string FullPath(const std::string& path) {
  char full[MAX_PATH] = {};
  GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return full;
}

std::string Zone(std::int32_t zone) { return GetProperty(0, PROP::StatusText, zone); }
bool Visible(std::int32_t control) { return GetProperty(control, PROP::Visible) == "1"; }

std::vector<std::string> ListedNames() {
  std::vector<std::string> names;
  for (std::uint32_t i = 1; i <= ImageList.Records(); ++i) {
    ImageList.Get(i);
    names.push_back(FL.FILENAME.str());
  }
  return names;
}

// The main window built from its description, 800 x 600 pixels, and a
// folder of the test's own, deeper than 63 characters and with a blank.
class ViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRuntimeErrorHandler(testing::ThrowRaisedError);
    SetRuntimeStarted(true);
    SetMessageDialogReplacement(ScriptedDialog);
    g_asked.clear();
    g_answer = BUTTON::Yes;
    std::vector<UseVariable> uses;
    for (std::uint8_t& check : MenuChecks) uses.push_back({&check, 0x01, 1});
    ASSERT_TRUE(CreateWindowFromDescription(window_, "lumbra$LUMBRA", "$PICVIEWWINDOW", uses));
    OpenWindowObject(window_);
    SetProperty(0, PROP::Pixels, 1);
    // Sized without its scroll bars, as Stretched, Tiled and Best Fit have it.
    SetProperty(0, PROP::HScroll, 0);
    SetProperty(0, PROP::VScroll, 0);
    SetControlPosition(0, 0, 0, 800, 600);
    PS = ProgramSettings{};
    PS.SORTORDER = kSortNone;
    PS.IMAGEMODE = kModeNormal;
    PS.IMAGEZOOM = 100;
    PS.OLDIMAGEZOOM = -1;
    PS.WINDOWWIDTH = PS.OLDWINDOWWIDTH = 800;
    PS.WINDOWHEIGHT = PS.OLDWINDOWHEIGHT = 600;
    HideControls(kImageControl, kImageNotLoadedText);

    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    folder_ = FullPath(name + " holding the photos of a long summer") + "\\";
    ASSERT_GT(folder_.size(), 63u);
    CreateDirectoryA(folder_.c_str(), nullptr);
    testing::WriteBytes(folder_ + "one.gif", Gif(4, 3));
    testing::WriteBytes(folder_ + "two.gif", Gif(5, 2));
    testing::WriteBytes(folder_ + "with blank.bmp", MakeBmp8(7, 5));
    testing::WriteBytes(folder_ + "other.JPG", Bytes(40, 7));  // not a JPEG inside
    testing::WriteBytes(folder_ + "lower.jpg", Bytes(30, 7));
    testing::WriteBytes(folder_ + "photo.jpeg", Bytes(20, 7));
    testing::WriteBytes(folder_ + "notes.txt", Bytes(10, 7));
  }
  void TearDown() override {
    CloseWindowObject(window_);
    ImageList.Free();
    SetMessageDialogReplacement(nullptr);
    SetFileDialogReplacement(nullptr);
  }
  std::string Short(const std::string& name) { return ShortPath(folder_ + name); }

  Window window_;
  std::string folder_;
};

TEST_F(ViewerTest, ArgumentTextsAndDropsBecomeTheirEntries) {
  PS.AUTOLOADDIR = 1;
  // Two files: the folder is not listed, even with Auto Load Directory.
  BuildImageList(Short("one.gif") + " " + Short("two.gif"), false, false);
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"one.gif", "two.gif"}));
  EXPECT_EQ(CurrentImage, 1);
  EXPECT_EQ(PS.FILENAME, folder_ + "one.gif");
  EXPECT_EQ(PS.LASTPATH, folder_);

  PS.AUTOLOADDIR = 0;
  // A quoted path with blanks is one item; so is an unterminated one.
  for (const std::string& text :
       {"\"" + folder_ + "with blank.bmp\"", "\"" + folder_ + "with blank.bmp"}) {
    BuildImageList(text, false, false);
    ASSERT_EQ(ListedNames(), (std::vector<std::string>{"with blank.bmp"})) << text;
    ImageList.Get(1);
    EXPECT_EQ(FL.PATH, folder_);
    EXPECT_EQ(FL.SIZE, static_cast<std::int32_t>(MakeBmp8(7, 5).size()));
    EXPECT_EQ(FL.TYPE, "BMP");
    EXPECT_GT(FL.DATE, 72687);                                    // after 2000
    EXPECT_EQ(FL.DTPIC.clipped().size(), 16u) << FL.DTPIC.str();  // "Mm/dd/yy Hh:mmPP"
  }
  // A drop separates by commas, so its paths keep their blanks.
  BuildImageList(folder_ + "with blank.bmp," + folder_ + "one.gif", true, false);
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"with blank.bmp", "one.gif"}));

  // A file that does not exist is an entry with nothing known of it.
  BuildImageList(folder_ + "missing.gif", true, false);
  ASSERT_EQ(ImageList.Records(), 1u);
  ImageList.Get(1);
  EXPECT_EQ(FL.SIZE, 0);
  EXPECT_EQ(FL.DATE, 0);
  EXPECT_TRUE(FL.DTPIC.blank());
  EXPECT_TRUE(FL.TYPE.blank());

  // A folder lists its images: .JPG and .jpg, not .jpeg nor .txt.
  PS.SORTORDER = kSortName;
  BuildImageList("\"" + folder_.substr(0, folder_.size() - 1) + "\"", false, false);
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"lower.jpg", "one.gif", "other.JPG", "two.gif",
                                                     "with blank.bmp"}));
  EXPECT_EQ(PS.LASTPATH, folder_);

  // A list that ends empty names no file.
  const std::string empty = FullPath("empty folder") + "\\";
  CreateDirectoryA(empty.c_str(), nullptr);
  PS.LASTPATH = empty;
  BuildImageList({}, false, true);
  EXPECT_EQ(ImageList.Records(), 0u);
  EXPECT_TRUE(PS.FILENAME.blank());
  EXPECT_EQ(CurrentImage, 0);
}

TEST_F(ViewerTest, OneFileListsItsFolderAndStepsThroughIt) {
  PS.AUTOLOADDIR = 1;
  PS.SORTORDER = kSortName;
  PS.WARNBADIMAGE = 0;
  // Given in upper case: the file is still listed once.
  BuildImageList(Short("one.gif"), false, false);
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"lower.jpg", "one.gif", "other.JPG", "two.gif",
                                                     "with blank.bmp"}));
  EXPECT_EQ(CurrentImage, 2);
  ImageList.Get(2);
  EXPECT_EQ(FL.IMAGEPOS, 1);
  ShowImage();
  EXPECT_EQ(Zone(1), folder_ + "one.gif  (2 of 5)");
  EXPECT_EQ(Zone(2), "4x3");
  EXPECT_EQ(Zone(3), "100%");
  EXPECT_EQ(Zone(4), "Normal");
  EXPECT_TRUE(Visible(kImageControl));

  const std::vector<std::pair<std::string, std::string>> forward = {
      {"other.JPG  (3 of 5)", "Bad Image"},
      {"two.gif  (4 of 5)", "5x2"},
      {"with blank.bmp  (5 of 5)", "7x5"},
      {"with blank.bmp  (5 of 5)", "7x5"},  // Next on the last keeps it
  };
  for (const auto& [path, size] : forward) {
    NextImage();
    EXPECT_EQ(Zone(1), folder_ + path);
    EXPECT_EQ(Zone(2), size);
  }
  EXPECT_FALSE(NextEnabled());
  EXPECT_TRUE(PrevEnabled());
  for (int i = 0; i < 5; ++i) PrevImage();
  EXPECT_EQ(CurrentImage, 1);
  EXPECT_EQ(Zone(1), folder_ + "lower.jpg  (1 of 5)");
  EXPECT_FALSE(PrevEnabled());
  EXPECT_TRUE(NextEnabled());
  EXPECT_TRUE(g_asked.empty());

  // A new list of one entry leaves nothing to step to.
  PS.AUTOLOADDIR = 0;
  BuildImageList(Short("two.gif"), false, false);
  ShowImage();
  EXPECT_FALSE(NextEnabled());
  EXPECT_FALSE(PrevEnabled());
}

TEST_F(ViewerTest, AResortKeepsTheImageOnShowAndNextFollowsTheNewOrder) {
  PS.AUTOLOADDIR = 1;
  PS.SORTORDER = kSortName;
  BuildImageList(Short("one.gif"), false, false);
  ShowImage();
  ASSERT_EQ(CurrentImage, 2);
  PS.SORTORDER = kSortSize;
  ResortImageList();
  EXPECT_EQ(CurrentImage, 2);
  EXPECT_EQ(PS.FILENAME, folder_ + "one.gif");
  std::int32_t previous = -1;
  for (std::uint32_t i = 1; i <= ImageList.Records(); ++i) {
    ImageList.Get(i);
    EXPECT_LE(previous, FL.SIZE);
    previous = FL.SIZE;
  }
  const std::string third = ImagePathAt(3);
  NextImage();
  EXPECT_EQ(PS.FILENAME, third);
  EXPECT_EQ(CurrentImage, 3);
}

// Keys posted to the window wait in its input queue as typed keys do.
void PostKeys(HWND hwnd, std::initializer_list<WPARAM> keys) {
  MSG stale;
  while (PeekMessageA(&stale, nullptr, WM_KEYFIRST, WM_MOUSELAST, PM_REMOVE)) {
  }
  for (WPARAM key : keys) PostMessageA(hwnd, WM_KEYDOWN, key, 1);
}

TEST_F(ViewerTest, EscDuringAListingAsksAndYesKeepsWhatWasFound) {
  for (int i = 0; i < 30; ++i)
    testing::WriteBytes(folder_ + "many" + std::to_string(100 + i) + ".bmp", MakeBmp8(2, 2));
  const HWND hwnd = reinterpret_cast<HWND>(NativeHandle(window_));
  PS.SORTORDER = kSortName;
  PS.LASTPATH = folder_;
  // Every listed entry takes one waiting input event: the third is Esc.
  PostKeys(hwnd, {'A', 'B', VK_ESCAPE});
  g_answer = BUTTON::Yes;
  BuildImageList({}, false, true);
  ASSERT_EQ(g_asked.size(), 1u);
  EXPECT_EQ(g_asked[0].text,
            "You are about to cancel loading the image listing. Are you sure you want to do this?");
  EXPECT_EQ(g_asked[0].caption, "Cancel loading image list?");
  EXPECT_EQ(g_asked[0].buttons, BUTTON::Yes + BUTTON::No);
  EXPECT_EQ(g_asked[0].defaultButton, BUTTON::Yes);
  const std::vector<std::string> kept = ListedNames();
  EXPECT_GE(kept.size(), 1u);
  EXPECT_LE(kept.size(), 3u);
  EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end()));
  ImageList.Get(static_cast<std::uint32_t>(CurrentImage));
  EXPECT_EQ(FL.IMAGEPOS, 1);
  EXPECT_EQ(PS.FILENAME, ImageEntryPath(FL));

  // No goes on to the end.
  g_asked.clear();
  g_answer = BUTTON::No;
  PostKeys(hwnd, {VK_ESCAPE});
  BuildImageList({}, false, true);
  EXPECT_EQ(g_asked.size(), 1u);
  EXPECT_EQ(ImageList.Records(), 35u);
}

TEST_F(ViewerTest, ShowImageRedoesOnlyWhatChanged) {
  PS.WARNBADIMAGE = 1;
  PS.KEEPIMAGESETTINGS = 0;
  BuildImageList(Short("one.gif") + " " + Short("two.gif") + " " + Short("other.JPG"), false,
                 false);
  ShowImage();
  ASSERT_EQ(Zone(2), "4x3");
  // Nothing changed: only a hidden good image is shown again.
  SetProperty(0, PROP::StatusText, "mark", 2);
  SetProperty(0, PROP::StatusText, "mark", 4);
  SetControlPosition(kImageControl, 9, 9, 50, 50);
  HideControls(kImageControl);
  ShowImage();
  EXPECT_EQ(Zone(2), "mark");
  EXPECT_EQ(Zone(4), "mark");
  EXPECT_EQ(GetProperty(kImageControl, PROP::Xpos), "9");
  EXPECT_TRUE(Visible(kImageControl));

  // Refresh reloads the same name.
  testing::WriteBytes(folder_ + "one.gif", Gif(6, 6));
  PS.OLDFILENAME = "";
  PS.OLDIMAGEMODE = 0;
  ShowImage();
  EXPECT_EQ(Zone(2), "6x6");
  EXPECT_EQ(Zone(4), "Normal");
  EXPECT_TRUE(g_asked.empty());

  // Keep Image Settings on carries Tiled to the next image; off resets.
  PS.IMAGEMODE = kModeTiled;
  ShowImage();
  EXPECT_EQ(Zone(4), "Tiled");
  PS.KEEPIMAGESETTINGS = 1;
  NextImage();
  EXPECT_EQ(Zone(2), "5x2");
  EXPECT_EQ(Zone(4), "Tiled");
  EXPECT_EQ(GetProperty(kImageControl, PROP::Tiled), "1");
  EXPECT_EQ(GetProperty(kImageControl, PROP::Width), "800");
  PS.KEEPIMAGESETTINGS = 0;
  PrevImage();
  EXPECT_EQ(Zone(4), "Normal");
  EXPECT_EQ(Zone(3), "100%");
  EXPECT_EQ(GetProperty(kImageControl, PROP::Tiled), "");
  EXPECT_EQ(GetProperty(kImageControl, PROP::Width), "6");

  // A corrupt file with the warning on: the message, then the bad state.
  CurrentImage = 2;
  NextImage();
  ASSERT_EQ(g_asked.size(), 1u);
  EXPECT_EQ(g_asked[0].text, "The is a problem loading the image \"" + folder_ +
                                 "other.JPG\". Possibly the image is corrupt");
  EXPECT_EQ(g_asked[0].caption, "Error Loading Image");
  EXPECT_EQ(g_asked[0].icon, "ICON:Exclamation");
  EXPECT_EQ(g_asked[0].buttons, BUTTON::Ok);
  EXPECT_EQ(Zone(2), "Bad Image");
  EXPECT_TRUE(Visible(kImageNotLoadedText));
  EXPECT_FALSE(Visible(kImageControl));
  // And with it off: no message, the same state.
  PS.WARNBADIMAGE = 0;
  PS.OLDFILENAME = "";
  ShowImage();
  EXPECT_EQ(g_asked.size(), 1u);
  EXPECT_EQ(Zone(2), "Bad Image");
  EXPECT_TRUE(Visible(kImageNotLoadedText));
  EXPECT_FALSE(Visible(kImageControl));
}

TEST_F(ViewerTest, BestFitAndZoomSizeTheImageControl) {
  testing::WriteBytes(folder_ + "wide.bmp", MakeBmp8(2000, 1000));
  testing::WriteBytes(folder_ + "odd.bmp", MakeBmp8(333, 201));
  BuildImageList(Short("wide.bmp") + " " + Short("odd.bmp"), false, false);
  PS.IMAGEMODE = kModeBestFit;
  ShowImage();
  EXPECT_EQ(Zone(2), "2000x1000");
  EXPECT_EQ(Zone(4), "Best Fit");
  EXPECT_EQ(GetProperty(kImageControl, PROP::Width), "800");
  EXPECT_EQ(GetProperty(kImageControl, PROP::Height), "400");
  const std::int32_t toolbar = std::atoi(GetProperty(40, PROP::Height).c_str());
  EXPECT_EQ(GetProperty(kImageControl, PROP::Ypos), std::to_string(std::max(0, 120 - toolbar)));
  EXPECT_EQ(GetProperty(kImageControl, PROP::Stretch), "1");

  PS.KEEPIMAGESETTINGS = 0;
  NextImage();
  PS.IMAGEZOOM = 50;
  ShowImage();
  EXPECT_EQ(Zone(3), "50%");
  EXPECT_EQ(GetProperty(kImageControl, PROP::Width), "166");
  EXPECT_EQ(GetProperty(kImageControl, PROP::Height), "100");
  // Zoom steps are marked in the menu; a zoom between them marks none.
  EXPECT_EQ(MenuChecks[4 + 1], 1);
  PS.IMAGEZOOM = 137;
  ShowImage();
  for (std::size_t i = 4; i < 12; ++i) EXPECT_EQ(MenuChecks[i], 0);
}

// The file and folder dialogs answered with these choices.
std::string g_chosenFile, g_chosenFolder;
bool ScriptedFileDialog(std::string_view, std::string& name, std::string_view, std::int32_t flags) {
  name = (flags & FILE_DIALOG::Directory) ? g_chosenFolder : g_chosenFile;
  return true;
}

// A user on another thread: waits for the window with the title, then
// acts on it.
// The visible top-level window of this process with the title: other
// tests' programs on the same desktop open windows of the same names.
struct OwnWindowSearch {
  const char* title;
  HWND found;
};
BOOL CALLBACK TestOwnWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<OwnWindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char text[128] = {};
  GetWindowTextA(window, text, sizeof text);
  if (owner != GetCurrentProcessId() || !IsWindowVisible(window) ||
      std::string_view(text) != search->title) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}
HWND OwnWindow(const char* title) {
  OwnWindowSearch search{title, nullptr};
  EnumWindows(TestOwnWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::thread Driving(const char* title, std::function<void(HWND)> act) {
  return std::thread([title, act] {
    HWND window = nullptr;
    if (probe::WaitFor([&] { return (window = OwnWindow(title)) != nullptr; })) act(window);
  });
}
void Click(HWND window, std::int32_t control) {
  PostMessageA(GetDlgItem(window, control), BM_CLICK, 0, 0);
}

// Every way of loading outside Next and Prev, with Keep Image Settings off,
// lays the new image out in the mode and zoom in use, and the status
// zones, the menu's and the popups' marks and the image control all tell
// the same mode and zoom; so does Program Setup, closed either way.
TEST_F(ViewerTest, LoadsOutsideNextAndPrevKeepTheModeAndZoomInAgreement) {
  const std::string good = folder_ + "good\\";
  CreateDirectoryA(good.c_str(), nullptr);
  testing::WriteBytes(good + "a wide.bmp", MakeBmp8(1000, 300));
  testing::WriteBytes(good + "b.gif", Gif(30, 20));
  testing::WriteBytes(good + "c.bmp", MakeBmp8(64, 48));
  PS.KEEPIMAGESETTINGS = 0;
  PS.AUTOLOADDIR = 0;
  PS.WARNBADIMAGE = 0;
  PS.SORTORDER = kSortName;
  SetFileDialogReplacement(ScriptedFileDialog);
  g_chosenFolder = good;
  g_chosenFile = good + "c.bmp";
  IniFilePath = folder_ + "LUMBRA.INI";  // where Program Setup's Ok saves
  const std::int32_t toolbar = std::atoi(GetProperty(40, PROP::Height).c_str());
  auto number = [](std::int32_t control, std::uint32_t property) {
    return std::atoi(GetProperty(control, property).c_str());
  };

  struct Way {
    const char* name;
    std::function<void()> load;
  };
  const std::vector<Way> ways = {
      {"Open Image", [] { RunCommand(Command::OpenImage); }},
      {"Load Folder", [] { RunCommand(Command::LoadFolder); }},
      {"drop", [&] { ShowArgumentList(good + "b.gif," + good + "c.bmp", true); }},
      {"Refresh", [] { RunCommand(Command::Refresh); }},
      {"pick from the list",
       [] {
         RunCommand(Command::LoadFolder);
         std::thread user = Driving("Select Image File...", [](HWND w) {
           HWND list = GetDlgItem(w, 8);
           PostMessageA(list, WM_KEYDOWN, VK_DOWN, 1);
           probe::WaitFor([&] { return SendMessageA(list, LB_GETCURSEL, 0, 0) == 1; });
           Click(w, 12);
         });
         RunCommand(Command::ImageList);
         user.join();
       }},
      {"Program Setup, Cancel",
       [] {
         std::thread user = Driving("Lumbra - Program Setup", [](HWND w) { Click(w, 29); });
         RunCommand(Command::ProgramSetup);
         user.join();
       }},
      {"Program Setup, Ok",
       [] {
         std::thread user = Driving("Lumbra - Program Setup", [](HWND w) { Click(w, 28); });
         RunCommand(Command::ProgramSetup);
         user.join();
       }},
  };
  struct Setting {
    Command mode;
    std::int32_t zoom;
    const char* name;
  };
  for (const Setting& setting :
       {Setting{Command::Stretched, 100, "Stretched"}, Setting{Command::Tiled, 100, "Tiled"},
        Setting{Command::BestFit, 100, "Best Fit"}, Setting{Command::Normal, 150, "Normal"}}) {
    RunCommand(Command::OpenImage);
    RunCommand(setting.mode);
    if (setting.zoom != 100) RunCommand(Command::ZoomStep, setting.zoom);
    for (const Way& way : ways) {
      SCOPED_TRACE(std::string(setting.name) + " after " + way.name);
      way.load();
      ASSERT_EQ(PS.BADIMAGE, 0) << PS.FILENAME.str();
      EXPECT_EQ(Zone(3), std::to_string(setting.zoom) + "%");
      EXPECT_EQ(Zone(4), setting.name);
      for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(MenuChecks[i], ModeStatus(static_cast<std::int32_t>(i + 1)) == setting.name) << i;
      }
      for (std::size_t i = 0; i < std::size(kZoomSteps); ++i) {
        EXPECT_EQ(MenuChecks[4 + i], kZoomSteps[i] == setting.zoom) << kZoomSteps[i];
      }
      MarkZoomPopup();
      EXPECT_NE(ZoomPopup.str().find("+" + std::to_string(setting.zoom) + "%"), std::string::npos)
          << ZoomPopup.str();
      // The picture: the image control laid out for the mode and zoom.
      EXPECT_TRUE(Visible(kImageControl));
      const std::int32_t width = number(kImageControl, PROP::Width);
      const std::int32_t height = number(kImageControl, PROP::Height);
      switch (setting.mode) {
        case Command::Stretched:
          EXPECT_EQ(GetProperty(kImageControl, PROP::Stretch), "1");
          EXPECT_EQ(width, 800);
          // Laid out for the mode, or after a load for the window's size too.
          EXPECT_TRUE(height == 600 - 40 || height == 600 - toolbar) << height;
          break;
        case Command::Tiled:
          EXPECT_EQ(GetProperty(kImageControl, PROP::Tiled), "1");
          EXPECT_EQ(width, std::max<std::int32_t>(800, ImageWidth));
          EXPECT_EQ(height, std::max<std::int32_t>(600, ImageHeight));
          break;
        case Command::BestFit: {
          const ControlPlace place = BestFitPlace(800, 600, toolbar, ImageWidth, ImageHeight);
          EXPECT_EQ(GetProperty(kImageControl, PROP::Stretch), "1");
          EXPECT_EQ(width, place.width);
          EXPECT_EQ(height, place.height);
          EXPECT_EQ(number(kImageControl, PROP::Xpos), place.x);
          break;
        }
        default:
          EXPECT_NE(GetProperty(kImageControl, PROP::Stretch), "1");
          EXPECT_NE(GetProperty(kImageControl, PROP::Tiled), "1");
          EXPECT_EQ(width, ImageWidth * 3 / 2);
          EXPECT_EQ(height, ImageHeight * 3 / 2);
          break;
      }
    }
  }
}

}  // namespace
}  // namespace lumbra
