// The program's resources, read back through the runtime: the eight window
// descriptions, the pictures, the icons and the error-text string table,
// both from this test program (which carries the same resources) and from
// lumbra.exe itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/error_texts.h"
#include "tests/winrt/viewer_windows_expected.h"
#include "winrt/window_description.h"

namespace lumbra {
namespace {

constexpr const char* kTag = "lumbra$LUMBRA";

ModuleHandle Handle(HMODULE module) { return reinterpret_cast<ModuleHandle>(module); }

// Restores the program module and the process-wide source after a test.
class ResourcesTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetProgramResourceModule(0);
    UseResourceSource(nullptr);
  }
};

void CheckEveryWindow() {
  const ModuleHandle found = CurrentWindowDescription().module;
  for (const auto& window : expected::ViewerWindows()) {
    ASSERT_NE(FindWindowDescription(kTag, window.name), 0) << window.name;
    EXPECT_EQ(CurrentWindowDescription().module, found);
    EXPECT_EQ(CurrentWindowRecord().name(), window.name);
    expected::CheckWindow(CurrentWindowDescription().buffer, window);
  }
  expected::CheckDetails(CurrentWindowDescription().buffer);
}

TEST_F(ResourcesTest, ProgramModuleCarriesTheEightWindows) {
  ASSERT_NE(FindWindowDescription(kTag, "$PICVIEWWINDOW"), 0);
  EXPECT_EQ(CurrentWindowDescription().module, Handle(GetModuleHandleA(nullptr)));
  CheckEveryWindow();
  EXPECT_EQ(FindWindowDescription(kTag, "P99$NOSUCHWINDOW"), 0);
  EXPECT_TRUE(CurrentWindowDescription().buffer.empty());
  EXPECT_EQ(FindWindowDescription("lumbra$OTHER", "$PICVIEWWINDOW"), 0);
}

TEST_F(ResourcesTest, WindowFoundInAnotherLoadedModuleRemembersThatModule) {
  // With a system library as the program module the search goes on
  // through the loaded modules and finds the descriptions in this program.
  SetProgramResourceModule(Handle(GetModuleHandleA("kernel32.dll")));
  ASSERT_NE(FindWindowDescription(kTag, "P31$ZOOMWINDOW"), 0);
  EXPECT_EQ(CurrentWindowDescription().module, Handle(GetModuleHandleA(nullptr)));
}

// A picture resource named by the program's rule, with its file's signature.
void CheckPicture(HMODULE module, const char* name, const char* signature) {
  HRSRC found = FindResourceA(module, name, "IMAGE");
  ASSERT_NE(found, nullptr) << name;
  HGLOBAL loaded = LoadResource(module, found);
  const auto* data = static_cast<const char*>(LockResource(loaded));
  ASSERT_NE(data, nullptr) << name;
  ASSERT_GE(SizeofResource(module, found), std::strlen(signature)) << name;
  EXPECT_EQ(std::memcmp(data, signature, std::strlen(signature)), 0) << name;
}

std::string ResourceName(std::string_view file) {
  std::string name;
  for (char c : file) {
    if (c == '~') continue;
    name += c == '.' ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return name;
}

void CheckPicturesIconsAndTexts(HMODULE module) {
  for (const auto& [number, picture] : expected::ToolPictures()) {
    CheckPicture(module, ResourceName(picture).c_str(), "GIF89a");
  }
  CheckPicture(module, "BKGND2_GIF", "GIF89a");
  CheckPicture(module, "LBSPLASH_BMP", "BM");
  for (const char* family :
       {"preds", "poranges", "pyellows", "pgreys", "reds", "oranges", "greys", "yellows", "pgreens",
        "pblues", "ppurples", "pearth", "greens", "purples", "earth", "blues"}) {
    CheckPicture(module, ResourceName(std::string(family) + ".bmp").c_str(), "BM");
  }
  // dot.bmp: one black pixel, 4 bits per pixel.
  CheckPicture(module, "DOT_BMP", "BM");
  HRSRC dot = FindResourceA(module, "DOT_BMP", "IMAGE");
  ASSERT_NE(dot, nullptr);
  const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, dot)));
  BITMAPINFOHEADER info;
  std::memcpy(&info, bytes + 14, sizeof info);
  EXPECT_EQ(info.biWidth, 1);
  EXPECT_EQ(info.biHeight, 1);
  EXPECT_EQ(info.biBitCount, 4);
  std::uint32_t offset;
  std::memcpy(&offset, bytes + 10, 4);
  const std::uint8_t index = bytes[offset] >> 4;
  const std::uint8_t* colour = bytes + 14 + info.biSize + 4 * index;
  EXPECT_EQ(colour[0] | colour[1] | colour[2], 0);

  for (const char* icon : {"OK_ICO", "CANCEL_ICO", "LBICON_ICO"}) {
    HICON handle = static_cast<HICON>(LoadImageA(module, icon, IMAGE_ICON, 16, 16, 0));
    EXPECT_NE(handle, nullptr) << icon;
    if (handle) DestroyIcon(handle);
  }

  int count = 0;
  for (const ErrorText& e : ErrorTexts()) {
    char text[256] = {};
    EXPECT_GT(LoadStringA(module, static_cast<UINT>(e.code), text, sizeof text), 0) << e.code;
    EXPECT_STREQ(text, e.text) << e.code;
    ++count;
  }
  EXPECT_EQ(count, 173);
}

TEST_F(ResourcesTest, ProgramModuleCarriesPicturesIconsAndErrorTexts) {
  CheckPicturesIconsAndTexts(GetModuleHandleA(nullptr));
}

// RAII for a program file loaded for its resources only.
class DataModule {
 public:
  explicit DataModule(const char* path)
      : module_(LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~DataModule() {
    if (module_) FreeLibrary(module_);
  }
  DataModule(const DataModule&) = delete;
  DataModule& operator=(const DataModule&) = delete;
  HMODULE get() const { return module_; }

 private:
  HMODULE module_;
};

TEST_F(ResourcesTest, LumbraExeCarriesTheSameResources) {
  DataModule program(LUMBRA_PROGRAM);
  ASSERT_NE(program.get(), nullptr) << LUMBRA_PROGRAM;
  SetProgramResourceModule(Handle(program.get()));
  ASSERT_NE(FindWindowDescription(kTag, "$PICVIEWWINDOW"), 0);
  EXPECT_EQ(CurrentWindowDescription().module, Handle(program.get()));
  CheckEveryWindow();
  CheckPicturesIconsAndTexts(program.get());
}

INT_PTR CALLBACK InertDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The folder dialog's layout: the platform's old-style open-file dialog
// with its standard control identifiers; the file controls start hidden.
void CheckFolderDialogLayout(HMODULE module) {
  HRSRC found = FindResourceA(module, "CHOOSEDIR", MAKEINTRESOURCEA(5));  // a dialog
  ASSERT_NE(found, nullptr);
  const auto* layout = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(module, found)));
  ASSERT_NE(layout, nullptr);
  HWND dialog =
      CreateDialogIndirectParamA(GetModuleHandleA(nullptr), layout, nullptr, InertDialog, 0);
  ASSERT_NE(dialog, nullptr);
  struct Control {
    int id;
    const char* windowClass;
    bool shown;
  };
  constexpr Control kControls[] = {
      {0x461, "ListBox", true},  {0x471, "ComboBox", true}, {0x440, "Static", true},
      {0x443, "Static", true},   {IDOK, "Button", true},    {IDCANCEL, "Button", true},
      {0x460, "ListBox", false}, {0x480, "Edit", false},    {0x470, "ComboBox", false},
      {0x442, "Static", false},  {0x441, "Static", false},
  };
  for (const Control& c : kControls) {
    HWND item = GetDlgItem(dialog, c.id);
    ASSERT_NE(item, nullptr) << std::hex << c.id;
    char name[32] = {};
    GetClassNameA(item, name, sizeof name);
    EXPECT_EQ(_stricmp(name, c.windowClass), 0) << std::hex << c.id << " " << name;
    const bool shown = (GetWindowLongA(item, GWL_STYLE) & WS_VISIBLE) != 0;
    EXPECT_EQ(shown, c.shown) << std::hex << c.id;
  }
  DestroyWindow(dialog);
}

TEST_F(ResourcesTest, BothModulesCarryTheFolderDialogLayout) {
  CheckFolderDialogLayout(GetModuleHandleA(nullptr));
  DataModule program(LUMBRA_PROGRAM);
  ASSERT_NE(program.get(), nullptr) << LUMBRA_PROGRAM;
  CheckFolderDialogLayout(program.get());
}

}  // namespace
}  // namespace lumbra
