#include "bench/wine/floor_picture_win32.h"

#include <cstring>

#include "bench/wine/bench_images_win32.h"
#include "bench/wine/decode_time.h"
#include "bench/wine/program_driver_win32.h"

namespace lumbra::bench {

FloorPicture::FloorPicture(const std::string& path, COLORREF mark, const std::string& name) {
  const lumbra::ImagePtr image = DecodeImage(path);
  const int width = image->width(), height = image->naturalHeight();
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  if (!bitmap || !dc) Fail("no bitmap for the floor's picture");
  HGDIOBJ old = SelectObject(dc, bitmap);
  image->DrawAt(dc, 0, 0, width, height);
  GdiFlush();
  if (!CloseTo(GetPixel(dc, kMarkPoint.x, kMarkPoint.y), mark)) {
    Fail("the decoded " + path + " does not paint its mark");
  }
  const std::size_t rows =
      static_cast<std::size_t>((width * 3 + 3) & ~3) * static_cast<std::size_t>(height);
  const std::size_t size = sizeof(BITMAPINFOHEADER) + rows;
  mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                static_cast<DWORD>(size), name.c_str());
  view_ = mapping_ ? MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, size) : nullptr;
  if (!view_) Fail("no file mapping for the floor's picture");
  std::memcpy(view_, &info.bmiHeader, sizeof(BITMAPINFOHEADER));
  std::memcpy(static_cast<char*>(view_) + sizeof(BITMAPINFOHEADER), bits, rows);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

FloorPicture::~FloorPicture() {
  UnmapViewOfFile(view_);
  CloseHandle(mapping_);
}

std::string FloorPictureName(int n) {
  return "LumbraFloorPicture" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(n);
}

}  // namespace lumbra::bench
