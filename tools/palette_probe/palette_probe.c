/* Minimal probe (build: x86_64-w64-mingw32-gcc -mwindows palette_probe.c -lgdi32;
   run under Wine on an 8-bit Xvfb; it writes palprobe.txt beside it): a 256-entry logical palette realised in the foreground
   window, a DIB of 256 distinct colours painted with DIB_RGB_COLORS.
   Writes what the system reports to palprobe.txt. */
#include <windows.h>
#include <stdio.h>

static HPALETTE pal;
static BITMAPINFO *bi;
static BYTE pixels[16 * 16 * 16 * 16];
static FILE *out;

static RGBQUAD colourOf(int i) {
  RGBQUAD q; q.rgbRed = (BYTE)((i * 37) & 255); q.rgbGreen = (BYTE)((i * 91 + 40) & 255);
  q.rgbBlue = (BYTE)((i * 13 + 100) & 255); q.rgbReserved = 0; return q;
}

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_QUERYNEWPALETTE || m == WM_PAINT) {
    HDC dc; PAINTSTRUCT ps;
    if (m == WM_PAINT) dc = BeginPaint(h, &ps); else dc = GetDC(h);
    SelectPalette(dc, pal, FALSE);
    UINT n = RealizePalette(dc);
    if (out) fprintf(out, "%s realised %u\n", m == WM_PAINT ? "paint" : "querynewpalette", n);
    if (m == WM_PAINT) {
      StretchDIBits(dc, 0, 0, 256, 256, 0, 0, 256, 256, pixels, bi, DIB_RGB_COLORS, SRCCOPY);
      EndPaint(h, &ps);
    } else ReleaseDC(h, dc);
    return m == WM_PAINT ? 0 : (LRESULT)n;
  }
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(h, m, wp, lp);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE prev, LPSTR cmd, int show) {
  out = fopen("palprobe.txt", "w");
  HDC screen = GetDC(NULL);
  fprintf(out, "RC_PALETTE %d SIZEPALETTE %d NUMRESERVED %d BITSPIXEL %d COLORRES %d\n",
          (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0, GetDeviceCaps(screen, SIZEPALETTE),
          GetDeviceCaps(screen, NUMRESERVED), GetDeviceCaps(screen, BITSPIXEL), GetDeviceCaps(screen, COLORRES));
  ReleaseDC(NULL, screen);
  LOGPALETTE *lp = malloc(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
  lp->palVersion = 0x300; lp->palNumEntries = 256;
  bi = malloc(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
  memset(bi, 0, sizeof(BITMAPINFOHEADER));
  bi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER); bi->bmiHeader.biWidth = 256; bi->bmiHeader.biHeight = 256;
  bi->bmiHeader.biPlanes = 1; bi->bmiHeader.biBitCount = 8;
  for (int i = 0; i < 256; ++i) {
    RGBQUAD q = colourOf(i);
    bi->bmiColors[i] = q;
    lp->palPalEntry[i].peRed = q.rgbRed; lp->palPalEntry[i].peGreen = q.rgbGreen;
    lp->palPalEntry[i].peBlue = q.rgbBlue; lp->palPalEntry[i].peFlags = 0;
  }
  for (int y = 0; y < 256; ++y) for (int x = 0; x < 256; ++x) pixels[y * 256 + x] = (BYTE)((y / 16) * 16 + x / 16);
  pal = CreatePalette(lp);
  WNDCLASSA wc = {0}; wc.lpfnWndProc = Proc; wc.hInstance = inst; wc.lpszClassName = "PalProbe";
  wc.hCursor = LoadCursor(NULL, IDC_ARROW);
  RegisterClassA(&wc);
  HWND h = CreateWindowA("PalProbe", "palprobe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300, 0, 0, inst, 0);
  SetForegroundWindow(h);
  UpdateWindow(h);
  /* Which colours does the DC's palette now map to? */
  HDC dc = GetDC(h);
  SelectPalette(dc, pal, FALSE);
  fprintf(out, "realise again %u\n", RealizePalette(dc));
  int exact = 0, distinct = 0; COLORREF seen[256]; int nseen = 0;
  for (int i = 0; i < 256; ++i) {
    RGBQUAD q = colourOf(i);
    COLORREF want = RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    COLORREF got = GetNearestColor(dc, want);
    if (got == want) ++exact;
    int s = 0; for (int k = 0; k < nseen; ++k) if (seen[k] == got) s = 1;
    if (!s) { seen[nseen++] = got; ++distinct; }
  }
  fprintf(out, "GetNearestColor exact %d of 256, distinct %d\n", exact, distinct);
  /* Pixels actually on the window after painting. */
  StretchDIBits(dc, 0, 0, 256, 256, 0, 0, 256, 256, pixels, bi, DIB_RGB_COLORS, SRCCOPY);
  GdiFlush();
  exact = 0; nseen = 0; distinct = 0;
  for (int i = 0; i < 256; ++i) {
    RGBQUAD q = colourOf(i);
    COLORREF want = RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    COLORREF got = GetPixel(dc, (i % 16) * 16 + 8, (i / 16) * 16 + 8);
    if (got == want) ++exact;
    int s = 0; for (int k = 0; k < nseen; ++k) if (seen[k] == got) s = 1;
    if (!s) { seen[nseen++] = got; ++distinct; }
  }
  fprintf(out, "GetPixel exact %d of 256, distinct colours on screen %d\n", exact, distinct);
  ReleaseDC(h, dc);
  fflush(out);
  SetTimer(h, 1, 6000, NULL);
  MSG msg;
  while (GetMessageA(&msg, 0, 0, 0)) { if (msg.message == WM_TIMER) break; DispatchMessageA(&msg); }
  fclose(out);
  return 0;
}
