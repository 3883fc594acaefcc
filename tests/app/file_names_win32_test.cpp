// Files named in any script: a folder whose names the program's code page
// holds only in part, or not at all, listed and shown by the real program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/codecs/test_images.h"
#include "tests/support/native_probe_win32.h"
#include "tests/support/running_viewer_win32.h"

namespace lumbra {
namespace {

using namespace probe;

// A name as the program's code page gives it: what it cannot hold becomes
// "?".
std::string InCodePage(const std::wstring& name) {
  char text[MAX_PATH] = {};
  WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, text, sizeof text, nullptr, nullptr);
  return text;
}

void WriteWide(const std::wstring& path, const testing::Bytes& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// A GIF of one colour.
testing::Bytes PlainGif(int width, int height, std::uint8_t red, std::uint8_t green,
                        std::uint8_t blue) {
  testing::GifWriter gif(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height),
                         testing::Bytes{red, green, blue, 0, 0, 0});
  gif.Image(0, 0, static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height),
            testing::Bytes(static_cast<std::size_t>(width * height), 0));
  return gif.Finish();
}

struct Named {
  std::wstring name;
  int width, height;
  COLORREF colour;
};

// The colour the screen shows at the middle of a window.
COLORREF MiddleOf(HWND window) {
  RECT r = {};
  GetClientRect(window, &r);
  POINT p = {r.right / 2, r.bottom / 2};
  ClientToScreen(window, &p);
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

// Names with accents (which the usual code pages hold) and a Japanese name
// (which they do not): every file is listed, loads at its size and shows
// its colour; the status bar names it as well as the code page can.
TEST(FileNames, EveryFileOfAFolderIsListedAndShownWhateverTheScriptOfItsName) {
  const std::string folder = CurrentFolder() + "\\names\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::vector<Named> files = {
      {L"caf\u00e9.gif", 30, 20, RGB(200, 40, 40)},
      {L"na\u00efve r\u00e9sum\u00e9.gif", 24, 18, RGB(40, 200, 40)},
      {L"\u65e5\u672c\u306e\u5199\u771f.gif", 36, 22, RGB(40, 40, 200)},
  };
  const std::wstring wideFolder(folder.begin(), folder.end());
  for (const Named& f : files) {
    WriteWide(wideFolder + f.name, PlainGif(f.width, f.height, GetRValue(f.colour),
                                            GetGValue(f.colour), GetBValue(f.colour)));
  }
  const std::string ini = folder + "LUMBRA.INI";
  WriteViewingSettings(ini);

  // Started on the folder, the program shows the first file the folder
  // listed; Backspace goes to the first of the list, then Space steps.
  RunningViewer viewer(folder, "\"" + folder.substr(0, folder.size() - 1) + "\"");
  ASSERT_NE(viewer.main(), nullptr);
  SetWindowPos(viewer.main(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_TRUE(WaitFor([&] { return viewer.Zone(1).find(" of 3)") != std::string::npos; }))
      << viewer.Zone(1);
  viewer.Key(VK_BACK);
  viewer.Key(VK_BACK);
  std::vector<bool> seen(files.size(), false);
  for (int step = 1; step <= 3; ++step) {
    const std::string place = "  (" + std::to_string(step) + " of 3)";
    std::size_t at = files.size();
    EXPECT_TRUE(WaitFor([&] {
      const std::string zone = viewer.Zone(1);
      for (at = 0; at < files.size(); ++at) {
        if (zone == folder + InCodePage(files[at].name) + place) return true;
      }
      return false;
    })) << viewer.Zone(1);
    if (at == files.size()) break;
    const Named& f = files[at];
    seen[at] = true;
    SCOPED_TRACE(viewer.Zone(1));
    const std::string size = std::to_string(f.width) + "x" + std::to_string(f.height);
    EXPECT_TRUE(viewer.ZoneBecomes(2, size)) << viewer.Zone(2);
    const HWND image = ChildOfClientSize(viewer.main(), f.width, f.height);
    EXPECT_NE(image, nullptr);
    EXPECT_TRUE(WaitFor([&] { return image && MiddleOf(image) == f.colour; }))
        << std::hex << (image ? MiddleOf(image) : 0);
    viewer.Key(VK_SPACE);
  }
  EXPECT_EQ(seen, std::vector<bool>(files.size(), true));
}

// The Japanese-named file named by its short path on the command line, as
// the shell passes a file to a program that cannot take its long name.
TEST(FileNames, AFileNamedByItsShortPathLoadsAndShowsItsLongName) {
  const std::string folder = CurrentFolder() + "\\short\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::wstring name = L"\u65e5\u672c\u306e\u5199\u771f.gif";
  const std::wstring path = std::wstring(folder.begin(), folder.end()) + name;
  WriteWide(path, PlainGif(36, 22, 40, 40, 200));
  char shortPath[MAX_PATH] = {};
  wchar_t wideShort[MAX_PATH] = {};
  ASSERT_GT(GetShortPathNameW(path.c_str(), wideShort, MAX_PATH), 0u);
  WideCharToMultiByte(CP_ACP, 0, wideShort, -1, shortPath, sizeof shortPath, nullptr, nullptr);
  const std::string ini = folder + "LUMBRA.INI";
  WriteQuietSettings(ini, {{"Maximized", "NO"}, {"AutoLoadDir", "NO"}, {"WarnBadImage", "NO"}});
  RunningViewer viewer(folder, "\"" + std::string(shortPath) + "\"");
  ASSERT_NE(viewer.main(), nullptr);
  EXPECT_TRUE(viewer.ZoneBecomes(1, folder + InCodePage(name) + "  (1 of 1)")) << viewer.Zone(1);
  EXPECT_TRUE(viewer.ZoneBecomes(2, "36x22")) << viewer.Zone(2);
}

}  // namespace
}  // namespace lumbra
