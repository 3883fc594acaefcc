// The clipboard as another program reads it: images as packed bitmaps or
// metafile pictures, texts as plain text, the entry fields' keys, and
// nothing at all while another program holds the clipboard.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "display/clipboard.h"
#include "images/gif_image.h"
#include "images/image_format_registry.h"
#include "tests/codecs/test_images.h"
#include "tests/display/bmp24.h"
#include "tests/support/raised_errors.h"
#include "tests/winrt/control_plan.h"
#include "winrt/runtime_errors.h"
#include "winrt/window.h"

namespace lumbra {
namespace {

using testing::Bytes;

ImagePtr Load(const Bytes& bytes) {
  return LoadImageFromMemory(nullptr, bytes.data(), static_cast<std::uint32_t>(bytes.size()), 0);
}

// The bytes of a clipboard format, or nothing when it is not there.
bool ClipboardBytes(UINT format, Bytes& out) {
  if (!OpenClipboard(nullptr)) return false;
  bool found = false;
  if (HANDLE block = GetClipboardData(format)) {
    if (const auto* p = static_cast<const std::uint8_t*>(GlobalLock(block))) {
      out.assign(p, p + GlobalSize(block));
      found = true;
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  return found;
}

std::string ClipboardText() {
  Bytes bytes;
  if (!ClipboardBytes(CF_TEXT, bytes)) return "<none>";
  return std::string(reinterpret_cast<const char*>(bytes.data()),
                     strnlen(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void PutText(const char* text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
  std::memcpy(GlobalLock(block), text, std::strlen(text) + 1);
  GlobalUnlock(block);
  SetClipboardData(CF_TEXT, block);
  CloseClipboard();
}

// Another program's hold on the clipboard, from a thread of its own, for
// as long as this lives.
class ClipboardHeld {
 public:
  ClipboardHeld() {
    thread_ = std::thread([this] {
      HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
      const bool opened = OpenClipboard(window) != FALSE;
      SetEvent(opened_);
      WaitForSingleObject(release_, 60000);
      if (opened) CloseClipboard();
      DestroyWindow(window);
    });
    WaitForSingleObject(opened_, 60000);
  }
  ~ClipboardHeld() {
    SetEvent(release_);
    thread_.join();
    CloseHandle(opened_);
    CloseHandle(release_);
  }

 private:
  HANDLE opened_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread thread_;
};

TEST(ImageToClipboard, PackedBitmapsAndMetafilePictures) {
  // A bitmap: everything after its 14-byte file header.
  const Bytes bmp = testing::MakeBmp24(
      7, 5, [](std::int32_t x, std::int32_t y) { return RGB(x * 30, y * 40, 9); });
  ImagePtr bitmap = Load(bmp);
  ASSERT_NE(bitmap, nullptr);
  bitmap->CopyToClipboard(nullptr);
  Bytes dib;
  ASSERT_TRUE(ClipboardBytes(CF_DIB, dib));
  ASSERT_GE(dib.size(), bmp.size() - 14);
  EXPECT_EQ(Bytes(dib.begin(), dib.begin() + static_cast<std::ptrdiff_t>(bmp.size() - 14)),
            Bytes(bmp.begin() + 14, bmp.end()));

  // A GIF: its frame on show, header, 256 colours and rows.
  testing::GifWriter writer(2, 1);
  const Bytes gif = writer.Image(0, 0, 2, 1, {2, 3}).Finish();
  ImagePtr frame = Load(gif);
  ASSERT_NE(frame, nullptr);
  struct : ImageViewer {
    void RepaintImage(const ImageRect*) override {}
  } viewer;
  frame->AttachViewer(&viewer, nullptr);
  frame->CopyToClipboard(nullptr);
  ASSERT_TRUE(ClipboardBytes(CF_DIB, dib));
  const auto packed = static_cast<GifImage*>(frame.get())->frame();
  ASSERT_GE(dib.size(), packed.size());
  EXPECT_EQ(ReadU32(dib.data() + 32), 0u);  // all 256 colours, as the table holds them
  EXPECT_EQ(Bytes(dib.begin() + 40, dib.begin() + static_cast<std::ptrdiff_t>(packed.size())),
            Bytes(packed.begin() + 40, packed.end()));

  // A metafile: mapping mode 8, no extents, and a metafile of the
  // clipboard's own that outlives the image.
  const Bytes wmf = testing::MakePlaceableWmf(0, 0, 1440, 720, 1440);
  ImagePtr metafile = Load(wmf);
  ASSERT_NE(metafile, nullptr);
  metafile->CopyToClipboard(nullptr);
  metafile.reset();
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
  HANDLE block = GetClipboardData(CF_METAFILEPICT);
  ASSERT_NE(block, nullptr);
  const auto* picture = static_cast<const METAFILEPICT*>(GlobalLock(block));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->mm, 8);
  EXPECT_EQ(picture->xExt, 0);
  EXPECT_EQ(picture->yExt, 0);
  EXPECT_GT(GetMetaFileBitsEx(picture->hMF, 0, nullptr), 0u);
  GlobalUnlock(block);
  CloseClipboard();
}

TEST(TextToClipboard, TrailingSpacesGoAndAnEmptyTextLeavesTheClipboardEmpty) {
  CopyTextToClipboard("C:\\PICS\\A B.BMP  ");
  Bytes bytes;
  ASSERT_TRUE(ClipboardBytes(CF_TEXT, bytes));
  const std::string expected = "C:\\PICS\\A B.BMP";
  ASSERT_GT(bytes.size(), expected.size());
  EXPECT_EQ(
      std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(expected.size())),
      expected);
  EXPECT_EQ(bytes[expected.size()], 0);

  CopyTextToClipboard("     ");
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(CountClipboardFormats(), 0);
  CloseClipboard();
}

TEST(TextToClipboard, AClipboardHeldElsewhereIsLeftAlone) {
  PutText("kept");
  const Bytes bmp = testing::MakeBmp24(2, 2, [](std::int32_t, std::int32_t) { return 0u; });
  ImagePtr image = Load(bmp);
  {
    ClipboardHeld held;
    CopyTextToClipboard("lost");
    image->CopyToClipboard(nullptr);
  }
  EXPECT_EQ(ClipboardText(), "kept");
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
}

class EntryKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRuntimeErrorHandler(testing::ThrowRaisedError);
    SetRuntimeStarted(true);
    WindowPlan plan;
    plan.name = "$ENTRIES";
    plan.title = "Entries";
    plan.rect = {0, 0, 200, 80};
    plan.pixelUnits = true;
    ControlPlan readOnly = Ctl(ControlType::Entry, 2, {10, 40, 150, 20});
    readOnly.displayOnly = true;
    plan.controls = {Ctl(ControlType::Entry, 1, {10, 10, 150, 20}), readOnly};
    CreateWindowFromPlan(window_, std::move(plan));
    OpenWindowObject(window_);
  }
  void TearDown() override {
    CloseWindowObject(window_);
    SetRuntimeStarted(false);
    SetRuntimeErrorHandler(nullptr);
  }
  HWND Field(std::int32_t n) const { return reinterpret_cast<HWND>(NativeHandle(window_, n)); }
  std::string Text(std::int32_t n) const {
    char text[256] = {};
    GetWindowTextA(Field(n), text, sizeof text);
    return text;
  }
  void Set(std::int32_t n, const char* text, int from, int to) {
    SetWindowTextA(Field(n), text);
    SendMessageA(Field(n), EM_SETSEL, static_cast<WPARAM>(from), from == to ? from : to);
  }
  void Key(std::int32_t n, char character) { SendMessageA(Field(n), WM_CHAR, character, 0); }
  Window window_;
};

TEST_F(EntryKeys, CopyCutAndPasteByTheirControlCharacters) {
  Set(1, "hello world", 0, 5);
  Key(1, 3);  // Ctrl+C
  EXPECT_EQ(ClipboardText(), "hello");
  EXPECT_EQ(Text(1), "hello world");

  Set(1, "hello world", 5, 11);
  Key(1, 24);  // Ctrl+X
  EXPECT_EQ(ClipboardText(), " world");
  EXPECT_EQ(Text(1), "hello");

  // A read-only field copies, but does not cut or take a paste.
  Set(2, "fixed", 0, 5);
  Key(2, 24);
  EXPECT_EQ(Text(2), "fixed");
  EXPECT_EQ(ClipboardText(), " world");
  Key(2, 22);
  EXPECT_EQ(Text(2), "fixed");

  // Ctrl+V inserts at the caret, replacing the selection.
  Set(1, "ab", 1, 1);
  Key(1, 22);  // Ctrl+V
  EXPECT_EQ(Text(1), "a worldb");

  // Too long for the field: nothing is inserted.
  SendMessageA(Field(1), EM_SETLIMITTEXT, 10, 0);
  Set(1, "1234567", 7, 7);
  Key(1, 22);
  EXPECT_EQ(Text(1), "1234567");
  PutText("abc");
  Key(1, 22);
  EXPECT_EQ(Text(1), "1234567abc");

  // An empty selection copies nothing; no text on the clipboard pastes
  // nothing; a held clipboard keeps a cut selection in its field.
  Set(1, "xyz", 1, 1);
  Key(1, 3);
  EXPECT_EQ(ClipboardText(), "abc");
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  Key(1, 22);
  EXPECT_EQ(Text(1), "xyz");
  Set(1, "xyz", 0, 3);
  {
    ClipboardHeld held;
    Key(1, 24);
  }
  EXPECT_EQ(Text(1), "xyz");
}

// For the X side, run by its wrapper alone: an image copied here is read
// there by xclip (the wrapper waits for "copied.bmp", reads the clipboard,
// compares, then writes "pasted.done"). The clipboard's owner stays alive
// meanwhile.
TEST(XClipboard, ACopiedImageWaitsForTheOtherSide) {
  const Bytes bmp = testing::MakeBmp24(
      7, 5, [](std::int32_t x, std::int32_t y) { return RGB(x * 36, y * 50, (x + y) * 20); });
  ImagePtr image = Load(bmp);
  ASSERT_NE(image, nullptr);
  HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  image->CopyToClipboard(owner);
  std::ofstream("copied.bmp", std::ios::binary)
      .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
  const DWORD deadline = GetTickCount() + 120000;
  while (GetFileAttributesA("pasted.done") == INVALID_FILE_ATTRIBUTES &&
         GetTickCount() < deadline) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
  EXPECT_NE(GetFileAttributesA("pasted.done"), INVALID_FILE_ATTRIBUTES);
  DestroyWindow(owner);
}

}  // namespace
}  // namespace lumbra
