// The floor of the viewer's start-up benchmark: the least a Windows program
// does to put a picture on the screen. It opens a window with a client area
// of the given size and paints a bitmap it already has in memory: the
// driver hands the picture over decoded, in the named file mapping given
// first on the command line (a BITMAPINFOHEADER, the rows right after it).
// Nothing is decoded here; what the floor costs is the process's start,
// one window and one paint. It runs until it is ended.
//
//   paint_floor.exe MAPPING-NAME CLIENT-WIDTH CLIENT-HEIGHT
#include <windows.h>

#include <cstdint>
#include <cstdlib>

namespace {

const BITMAPINFO* g_picture = nullptr;

const void* Rows(const BITMAPINFO* picture) {
  return reinterpret_cast<const std::uint8_t*>(picture) + picture->bmiHeader.biSize;
}

LRESULT CALLBACK FloorProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const BITMAPINFOHEADER& header = g_picture->bmiHeader;
    const LONG rows = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(header.biWidth), static_cast<DWORD>(rows), 0, 0,
                      0, static_cast<UINT>(rows), Rows(g_picture), g_picture, DIB_RGB_COLORS);
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
  if (__argc != 4) return 2;
  HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, __argv[1]);
  if (!mapping) return 3;
  g_picture = static_cast<const BITMAPINFO*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
  if (!g_picture) return 4;

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
  UnmapViewOfFile(g_picture);
  CloseHandle(mapping);
  return 0;
}
