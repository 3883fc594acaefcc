// The images on the clipboard: bitmaps and GIF frames as packed bitmaps,
// metafiles as metafile pictures.
#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

#include "codecs/decoded_image.h"
#include "core/gdi_tally_win32.h"
#include "display/clipboard_win32.h"
#include "images/bitmap_image.h"
#include "images/gif_image.h"
#include "images/metafile_image.h"

namespace lumbra {

void BitmapImage::CopyToClipboard(NativeWindow window) {
  if (flags_ & SizeOnly) return;
  const std::span<const std::uint8_t> painted = PaintedBytes();
  // Only a bitmap whose parts all lie inside its bytes goes out: whoever
  // pastes it will trust its header.
  const auto layout = CheckDecodedImage(painted);
  if (!layout || !layout->complete()) return;
  PutOnClipboard(window, CF_DIB, painted.subspan(kFileHeaderSize), false);
}

void GifImage::CopyToClipboard(NativeWindow window) {
  // The frame on show, as the packed bitmap that everything else paints.
  // Its table always holds 256 entries, so the copy says so: a reader
  // then finds the rows right after the table.
  if ((flags_ & SizeOnly) || frame_.empty()) return;
  std::vector<std::uint8_t> copy(frame_);
  WriteU32(copy.data() + 32, 0);
  WriteU32(copy.data() + 36, 0);
  PutOnClipboard(window, CF_DIB, copy, false);
}

void MetafileImage::CopyToClipboard(NativeWindow window) {
  if (metafile_ == nullptr) return;
  OpenedClipboard clipboard(window);
  if (!clipboard) return;
  EmptyClipboard();
  // The clipboard gets a metafile of its own, valid after this image ends.
  HMETAFILE copy = gdi_tally::Made(CopyMetaFileA(metafile_, nullptr));
  if (copy == nullptr) return;
  METAFILEPICT picture = {};
  picture.mm = MM_ANISOTROPIC;
  picture.xExt = 0;
  picture.yExt = 0;
  picture.hMF = copy;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&picture);
  // Without a picture holding it, the copy is the program's to delete.
  if (PutBlock(CF_METAFILEPICT, {bytes, sizeof picture}, false)) {
    gdi_tally::HandedOver();
  } else {
    gdi_tally::DeleteMetafile(copy);
  }
}

}  // namespace lumbra
