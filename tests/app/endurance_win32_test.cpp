// The real lumbra.exe stepped 10,000 times with Next and Prev over a folder
// of 1,000 small images of every format it reads, some of them truncated or
// garbage, with Warn about bad images off. Every step must show the entry
// it leads to within the test's patience; after the first pass the
// program's private bytes, its live GDI objects (the runtime's tally, asked
// through its registered message) and its windows (counted from outside)
// must stay where they were; and the image on show at the end must paint
// its file's pixels.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "core/gdi_tally_win32.h"
#include "tests/support/native_probe_win32.h"
#include "tests/support/running_viewer_win32.h"
#include "tools/sample_images/sample_files.h"

namespace lumbra {
namespace {

using namespace probe;
using samples::Bytes;

constexpr int kFiles = 1000;
constexpr int kPasses = 5;  // each pass: both ends and 1,998 moves, 2,000 steps
constexpr SIZE_T kMemorySlack = 2 * 1024 * 1024;

// One file of the folder: its bytes, and what status zone 2 must read when
// it is on show ("" for any size; nothing for a truncated file, which may
// show what it holds or nothing).
struct TestFile {
  std::string name;
  Bytes bytes;
  std::optional<std::string> size;
  samples::TruePicture picture;  // the plain 24-bit bitmaps only
};

std::string SizeText(int width, int height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

// Bytes that no decoder takes for its format: a tag no format starts with,
// then noise, or nothing at all.
Bytes Garbage(int i) {
  if (i % 5 == 0) return {};
  Bytes bytes = {'J', 'U', 'N', 'K'};
  std::uint32_t state = 2463534242u + static_cast<std::uint32_t>(i);
  for (int n = 0; n < 200 + (i * 37) % 1800; ++n) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    bytes.push_back(static_cast<std::uint8_t>(state));
  }
  return bytes;
}

TestFile MakeFile(int i);

TestFile Indexed(const char* name, Bytes bytes, const samples::IndexedPicture& p) {
  return TestFile{name, std::move(bytes), SizeText(p.width, p.height), {}};
}
TestFile TrueColour(const char* name, Bytes bytes, const samples::TruePicture& p) {
  return TestFile{name, std::move(bytes), SizeText(p.width, p.height), {}};
}

// The kinds of file, taking turns: the good ones first (a picture of the
// given size), then the broken ones.
using Maker = TestFile (*)(int i, int w, int h);
constexpr int kGoodKinds = 16, kKindCount = 18;
const Maker kKinds[] = {
    [](int, int w, int h) {
      samples::TruePicture p = samples::Sunset(w, h);
      TestFile f = TrueColour("bmp24.bmp", samples::Bmp24(p), p);
      f.picture = std::move(p);
      return f;
    },
    [](int, int w, int h) {
      const auto p = samples::Meadow(w, h);
      return TrueColour("bmp24-topdown.bmp", samples::Bmp24(p, true), p);
    },
    [](int, int w, int h) {
      const auto p = samples::Plasma(w, h);
      return Indexed("bmp8.bmp", samples::Bmp8(p), p);
    },
    [](int, int w, int h) {
      const auto p = samples::Mandelbrot(w, h);
      return Indexed("bmp8-topdown.bmp", samples::BmpIndexed(p, 8, true), p);
    },
    [](int, int w, int h) {
      const auto p = samples::Shapes(w, h);
      return Indexed("bmp4.bmp", samples::BmpIndexed(p, 4), p);
    },
    [](int, int w, int h) {
      const auto p = samples::Reduce(samples::Sphere(w, h), samples::BlackAndWhite(), true);
      return Indexed("bmp1.bmp", samples::BmpIndexed(p, 1), p);
    },
    [](int, int, int) {
      samples::IconPicture small, large;
      small.picture = samples::Badge(16, small.mask);
      large.picture = samples::Badge(32, large.mask);
      large.bits = 8;
      return TestFile{"icon.ico", samples::IconFile({small, large}), "", {}};
    },
    [](int, int w, int h) {
      return TestFile{"shapes.wmf",
                      samples::ShapesMetafile(static_cast<std::int16_t>(w * 15),
                                              static_cast<std::int16_t>(h * 15), 1440),
                      "",
                      {}};
    },
    [](int, int w, int h) {
      const auto p = samples::Reduce(samples::Sunset(w, h), samples::StandardColours16(), true);
      return Indexed("pcx16.pcx", samples::Pcx16(p), p);
    },
    [](int, int w, int h) {
      const auto p = samples::Mandelbrot(w, h);
      return Indexed("pcx256.pcx", samples::Pcx256(p), p);
    },
    [](int, int w, int h) {
      const auto p = samples::Plasma(w, h);
      return Indexed("plain.gif", samples::Gif(p, false), p);
    },
    [](int, int w, int h) {
      const auto p = samples::Reduce(samples::HueWheel(w, h), samples::WebColours256(), true);
      return Indexed("interlaced.gif", samples::Gif(p, true), p);
    },
    [](int i, int, int) {
      const auto p = samples::Star(16 + i % 32);
      return Indexed("transparent.gif", samples::TransparentGif(p), p);
    },
    [](int, int w, int h) {
      const auto frames = samples::BouncingBall(w, h, 4);
      return Indexed("animated.gif", samples::AnimatedGif(frames, 3), frames.front());
    },
    [](int, int w, int h) {
      const auto p = samples::Planet(w, h);
      return TrueColour("colour.jpg", samples::Jpeg(p, false), p);
    },
    [](int, int w, int h) {
      const auto p = samples::Sphere(w, h);
      return TrueColour("grey.jpg", samples::Jpeg(p, true), p);
    },
    // A good file of each kind in turn cut short, anywhere from its first
    // bytes to most of it: it may show what it holds, or nothing.
    [](int i, int, int) {
      TestFile whole = MakeFile((i / kKindCount) % kGoodKinds + kKindCount * (i % 4));
      whole.bytes.resize(whole.bytes.size() * static_cast<std::size_t>(1 + i % 7) / 9);
      return TestFile{
          "truncated" + whole.name.substr(whole.name.rfind('.')), whole.bytes, std::nullopt, {}};
    },
    [](int i, int, int) {
      static const char* const kExtensions[] = {"bmp", "gif", "jpg", "pcx", "ico", "wmf"};
      return TestFile{std::string("garbage.") + kExtensions[i % 6], Garbage(i), "Bad Image", {}};
    },
};
static_assert(std::size(kKinds) == kKindCount);

// The i-th file (from 0), each picture of its own size, so that every step
// lays out a new image. The first is a plain 24-bit bitmap.
TestFile MakeFile(int i) {
  TestFile file = kKinds[i % kKindCount](i, 20 + (i * 13 + 40) % 44, 16 + (i * 7 + 28) % 32);
  char number[8];
  std::snprintf(number, sizeof number, "%04d-", i + 1);
  file.name = number + file.name;
  return file;
}

// Every window of a process, top-level or child, shown or hidden.
BOOL CALLBACK CountChild(HWND, LPARAM data) {
  ++*reinterpret_cast<int*>(data);
  return TRUE;
}
struct WindowCount {
  DWORD process;
  int count;
};
BOOL CALLBACK CountTop(HWND window, LPARAM data) {
  auto* c = reinterpret_cast<WindowCount*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != c->process) return TRUE;
  ++c->count;
  EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&c->count));
  return TRUE;
}

// The copy of the program under test, read and driven from outside.
class Viewer {
 public:
  Viewer(const std::string& folder, const std::string& arguments)
      : process_(CopiedProgram(folder), arguments, folder),
        remote_(process_.Started()
                    ? VirtualAllocEx(process_.Handle(), nullptr, kRoom, MEM_COMMIT, PAGE_READWRITE)
                    : nullptr),
        main_(MainWindowOf(process_)),
        bar_(FindWindowExA(main_, nullptr, STATUSCLASSNAMEA, nullptr)) {}

  HWND main() const { return main_; }
  bool Running() const { return process_.Running(); }

  // A status zone's text, read through the program's own memory.
  std::string Zone(int zone) const {
    if (!bar_ || !remote_) return "<no status bar>";
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(bar_, SB_GETTEXTA, static_cast<WPARAM>(zone - 1),
                             reinterpret_cast<LPARAM>(remote_), SMTO_ABORTIFHUNG, kPatience,
                             &result)) {
      return "<no answer>";
    }
    char text[kRoom] = {};
    ReadProcessMemory(process_.Handle(), remote_, text, kRoom - 1, nullptr);
    return text;
  }

  // A key pressed on the window as its message queue gets it, or a menu
  // item chosen.
  void Key(WPARAM key) const {
    PostMessageA(main_, WM_KEYDOWN, key, 1);
    PostMessageA(main_, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
  }
  void Command(int item) const { PostMessageA(main_, WM_COMMAND, static_cast<WPARAM>(item), 0); }

  // The private bytes (commit charge). Windows gives the same figure as
  // PrivateUsage and PagefileUsage; Wine fills only PagefileUsage.
  SIZE_T PrivateBytes() const {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process_.Handle(),
                              reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters)) {
      return 0;
    }
    return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
  }
  // The runtime's GDI tally: objects made (0) or deleted (1) so far.
  long Tally(WPARAM which) const {
    static const UINT query = RegisterWindowMessageA(gdi_tally::kGdiTallyQuery);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(main_, query, which, 0, SMTO_ABORTIFHUNG, kPatience, &result)) {
      return -1;
    }
    return static_cast<long>(result);
  }
  int Windows() const {
    WindowCount c{process_.Id(), 0};
    EnumWindows(CountTop, reinterpret_cast<LPARAM>(&c));
    return c.count;
  }

 private:
  static constexpr SIZE_T kRoom = 1024;
  ChildProcess process_;
  void* remote_;  // room for the status zones' texts, for the program's life
  HWND main_;
  HWND bar_;
};

// The pixels of the screen under a window's client area that differ from
// the picture.
int PixelsOff(HWND window, const samples::TruePicture& picture) {
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.width, picture.height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, picture.width, picture.height, screen, origin.x, origin.y, SRCCOPY);
  ReleaseDC(nullptr, screen);
  int off = 0;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const samples::Rgb want = picture.At(x, y);
      off += GetPixel(dc, x, y) != RGB(want.r, want.g, want.b);
    }
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return off;
}

// One step of the run: Next or Prev, by its key or its menu item, and the
// position it leads to (0: a key at an end of the list, which must leave
// the entry on show; the step after it shows that it did).
struct Step {
  bool next;
  bool menu;
  int to;
};

std::vector<Step> Pattern() {
  std::vector<Step> steps;
  for (int pass = 0; pass < kPasses; ++pass) {
    steps.push_back({false, false, 0});  // Prev on the first entry
    for (int to = 2; to <= kFiles; ++to) steps.push_back({true, to % 3 == 0, to});
    steps.push_back({true, false, 0});  // Next on the last entry
    for (int to = kFiles - 1; to >= 1; --to) steps.push_back({false, to % 3 == 0, to});
  }
  return steps;
}

TEST(Endurance, TenThousandStepsOverAThousandFilesLeakNothingAndStillPaint) {
  const std::string folder = CurrentFolder() + "\\Steps\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::vector<TestFile> files;
  int loadsPerSweep = 0;  // ICO and WMF files: each load makes a GDI object
  for (int i = 0; i < kFiles; ++i) {
    files.push_back(MakeFile(i));
    const TestFile& f = files.back();
    std::ofstream(folder + f.name, std::ios::binary)
        .write(reinterpret_cast<const char*>(f.bytes.data()),
               static_cast<std::streamsize>(f.bytes.size()));
    if (f.size && f.size->empty()) ++loadsPerSweep;
  }
  const std::string ini = folder + "LUMBRA.INI";
  WriteQuietSettings(ini, {{"Maximized", "NO"},
                           {"XPos", "0"},
                           {"YPos", "0"},
                           {"Width", "480"},
                           {"Height", "360"},
                           {"AutoLoadDir", "YES"},
                           {"KeepImageSettings", "NO"},
                           {"DefaultSortOrder", "3"},
                           {"WarnBadImage", "NO"}});

  Viewer viewer(folder, "\"" + folder + files[0].name + "\"");
  ASSERT_NE(viewer.main(), nullptr);
  auto shows = [&](int position) {
    const TestFile& f = files[static_cast<std::size_t>(position - 1)];
    const std::string path =
        folder + f.name + "  (" + std::to_string(position) + " of " + std::to_string(kFiles) + ")";
    auto matches = [&](std::string& seen) {
      seen = viewer.Zone(1);
      if (seen != path) return false;
      const std::string size = viewer.Zone(2);
      seen += " / " + size;
      return !f.size ||
             (f.size->empty() ? size != "Bad Image" && size.find('x') != std::string::npos
                              : size == *f.size);
    };
    // Polled closely: a step takes a few milliseconds.
    std::string seen;
    bool shown = false;
    for (const DWORD begun = GetTickCount(); !shown && viewer.Running();) {
      shown = matches(seen);
      if (GetTickCount() - begun > kPatience) break;
      if (!shown) Sleep(1);
    }
    EXPECT_TRUE(viewer.Running()) << "the program ended at " << path;
    EXPECT_TRUE(shown) << "wanted " << path << " / " << f.size.value_or("any") << ", saw " << seen;
    return shown && viewer.Running();
  };
  ASSERT_TRUE(shows(1));

  // Figures taken when a pass has come back to the first entry.
  struct Figures {
    SIZE_T privateBytes;
    long made, deleted;
    int windows;
  };
  std::vector<Figures> passes;
  SIZE_T highest = 0;
  const std::vector<Step> steps = Pattern();
  const DWORD start = GetTickCount();
  for (std::size_t n = 0; n < steps.size(); ++n) {
    const Step& step = steps[n];
    if (step.menu) {
      viewer.Command(step.next ? 35 : 36);
    } else {
      viewer.Key(step.next ? VK_SPACE : VK_BACK);
    }
    if (step.to != 0) {
      ASSERT_TRUE(shows(step.to)) << "step " << n + 1;
    }
    if (!passes.empty() && (n + 1) % 250 == 0) highest = std::max(highest, viewer.PrivateBytes());
    if ((n + 1) % 1000 == 0) {
      std::printf("%zu steps, %lu ms\n", n + 1, static_cast<unsigned long>(GetTickCount() - start));
      std::fflush(stdout);
    }
    if ((n + 1) % (steps.size() / kPasses) == 0) {
      passes.push_back({viewer.PrivateBytes(), viewer.Tally(0), viewer.Tally(1), viewer.Windows()});
      highest = std::max(highest, passes.back().privateBytes);
    }
  }
  const DWORD elapsed = GetTickCount() - start;

  std::printf("%zu steps in %lu ms (%.1f ms a step)\n", steps.size(),
              static_cast<unsigned long>(elapsed), static_cast<double>(elapsed) / steps.size());
  for (std::size_t p = 0; p < passes.size(); ++p) {
    std::printf(
        "after pass %zu: private bytes %lu, GDI objects made %ld deleted %ld live %ld, "
        "windows %d\n",
        p + 1, static_cast<unsigned long>(passes[p].privateBytes), passes[p].made,
        passes[p].deleted, passes[p].made - passes[p].deleted, passes[p].windows);
  }
  std::printf("highest private bytes after pass 1: %lu (%+ld over pass 1)\n",
              static_cast<unsigned long>(highest),
              static_cast<long>(highest) - static_cast<long>(passes.front().privateBytes));

  ASSERT_EQ(passes.size(), static_cast<std::size_t>(kPasses));
  const Figures& first = passes.front();
  ASSERT_GT(first.privateBytes, 0u) << "no memory figures";
  EXPECT_LE(highest, first.privateBytes + kMemorySlack);
  ASSERT_GE(first.made, 0) << "no answer to the GDI tally";
  for (const Figures& later : passes) {
    EXPECT_EQ(later.made - later.deleted, first.made - first.deleted);
    EXPECT_EQ(later.windows, first.windows);
  }
  // The tally counts: every icon and metafile shown makes an object, and
  // each later pass shows every one of them twice.
  EXPECT_GE(passes.back().made - first.made, 2 * (kPasses - 1) * loadsPerSweep);

  // The first entry, on show again, paints its pixels.
  const samples::TruePicture& picture = files.front().picture;
  const HWND image = ChildOfClientSize(viewer.main(), picture.width, picture.height);
  ASSERT_NE(image, nullptr);
  int off = -1;
  EXPECT_TRUE(WaitFor([&] { return (off = PixelsOff(image, picture)) == 0; }))
      << off << " of " << picture.width * picture.height << " pixels differ";
  EXPECT_TRUE(viewer.Running());
}

}  // namespace
}  // namespace lumbra
