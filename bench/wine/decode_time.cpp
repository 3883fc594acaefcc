#include "bench/wine/decode_time.h"

#include "bench/wine/program_driver_win32.h"
#include "images/image_format_registry.h"

namespace lumbra::bench {

namespace {

// A viewer that shows nothing: attaching one makes an image decode what it
// defers until it is shown (a GIF's first frame).
class NoViewer : public ImageViewer {
 public:
  void RepaintImage(const ImageRect*) override {}
};

}  // namespace

ImagePtr DecodeImage(const std::string& path) {
  // The control's own load: by name, from the file, stretched placement,
  // the source kept; then shown once.
  ImagePtr image = LoadImageByName(nullptr, path, false, kPlaceStretched);
  if (!image) Fail("the image " + path + " does not decode");
  NoViewer viewer;
  image->AttachViewer(&viewer, nullptr);
  image->DetachViewer(&viewer);
  return image;
}

double DecodeSeconds(const std::string& path) {
  const double start = Now();
  const ImagePtr image = DecodeImage(path);
  return Now() - start;
}

double WatchedDecodeSeconds(const std::string& path) {
  const ScreenWatch watch;
  return DecodeSeconds(path);
}

}  // namespace lumbra::bench
