// The platform handles that image objects hand to and take from the window
// system, declared without <windows.h>. With the platform's strict handle
// types each of these is exactly the platform's own type (HDC, HWND, ...),
// so the portable code names them while only the Win32 files use them.
#pragma once

struct HDC__;
struct HWND__;
struct HICON__;
struct HMETAFILE__;
struct HBITMAP__;
struct HPALETTE__;

namespace lumbra {

using NativeDc = HDC__*;
using NativeWindow = HWND__*;
using NativeIcon = HICON__*;
using NativeMetafile = HMETAFILE__*;
using NativeBitmap = HBITMAP__*;
using NativePalette = HPALETTE__*;

}  // namespace lumbra
