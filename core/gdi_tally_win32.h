// A tally of the GDI objects and icons that the runtime, the image objects
// and the display make and delete. Windows answers no count of a process's
// GDI objects under every system (Wine's GetGuiResources answers 0), so
// every such object goes through these functions, and the runtime's
// windows answer the registered message kGdiTallyQuery with the counts
// (wParam 0: made, 1: deleted), for a check from outside that a long run
// leaves no objects behind.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

namespace lumbra::gdi_tally {

inline constexpr char kGdiTallyQuery[] = "LumbraGdiTally";

inline std::atomic<std::uint32_t> made{0};
inline std::atomic<std::uint32_t> deleted{0};

// The handle just made, counted when there is one.
template <class Handle>
Handle Made(Handle handle) {
  if (handle != nullptr) made.fetch_add(1, std::memory_order_relaxed);
  return handle;
}

// An object that leaves the program's hands otherwise than by deletion (the
// clipboard takes it over).
inline void HandedOver() { deleted.fetch_add(1, std::memory_order_relaxed); }

// The deletions, counted when the system carried them out.
inline bool Delete(HGDIOBJ object) {
  const bool done = object != nullptr && DeleteObject(object);
  if (done) HandedOver();
  return done;
}
inline bool DeleteDc(HDC dc) {
  const bool done = dc != nullptr && DeleteDC(dc);
  if (done) HandedOver();
  return done;
}
inline bool DeleteMetafile(HMETAFILE metafile) {
  const bool done = metafile != nullptr && DeleteMetaFile(metafile);
  if (done) HandedOver();
  return done;
}
inline bool DestroyOwnIcon(HICON icon) {
  const bool done = icon != nullptr && DestroyIcon(icon);
  if (done) HandedOver();
  return done;
}

// The answer to kGdiTallyQuery.
inline LRESULT Answer(WPARAM which) {
  return static_cast<LRESULT>(which == 0 ? made.load() : deleted.load());
}

}  // namespace lumbra::gdi_tally
