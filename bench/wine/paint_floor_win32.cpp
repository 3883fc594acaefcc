// The floor of the viewer's start-up benchmark: the least a Windows program
// does to put a picture on the screen. It opens a window with a client area
// of the given size and paints a bitmap it already has in memory: the
// driver hands the picture over decoded, in the named file mapping given
// first on the command line (a BITMAPINFOHEADER, the rows right after it).
// Nothing is decoded here; what the floor costs is the process's start,
// one window and one paint. It runs until it is ended.
//
// Given more mappings after the size, it is the stepping floor as well:
// each Space typed into it shows the next of its pictures (after the last,
// the first again), the least a viewer does to step through images it
// holds decoded: one key, one invalidation, one paint.
//
//   paint_floor.exe MAPPING-NAME CLIENT-WIDTH CLIENT-HEIGHT [MAPPING-NAME...]
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

std::vector<const BITMAPINFO*> g_pictures;
std::size_t g_shown = 0;

const void* Rows(const BITMAPINFO* picture) {
  return reinterpret_cast<const std::uint8_t*>(picture) + picture->bmiHeader.biSize;
}

LRESULT CALLBACK FloorProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN && wParam == VK_SPACE) {
    g_shown = (g_shown + 1) % g_pictures.size();
    InvalidateRect(window, nullptr, FALSE);
    return 0;
  }
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const BITMAPINFO* picture = g_pictures[g_shown];
    const BITMAPINFOHEADER& header = picture->bmiHeader;
    const LONG rows = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(header.biWidth), static_cast<DWORD>(rows), 0, 0,
                      0, static_cast<UINT>(rows), Rows(picture), picture, DIB_RGB_COLORS);
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc < 4) return 2;
  // The mappings and their views live as long as the process.
  for (int i = 1; i < __argc; i = i == 1 ? 4 : i + 1) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, __argv[i]);
    if (!mapping) return 3;
    const auto* picture =
        static_cast<const BITMAPINFO*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    if (!picture) return 4;
    g_pictures.push_back(picture);
  }

  WNDCLASSA type = {};
  type.lpfnWndProc = FloorProcedure;
  type.hInstance = instance;
  type.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  type.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  type.lpszClassName = "LumbraPaintFloor";
  RegisterClassA(&type);
  RECT frame = {0, 0, std::atoi(__argv[2]), std::atoi(__argv[3])};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  HWND window = CreateWindowA("LumbraPaintFloor", "Paint floor", WS_OVERLAPPEDWINDOW, 0, 0,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              instance, nullptr);
  if (!window) return 5;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
