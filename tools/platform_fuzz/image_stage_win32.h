// A window with one image control, through which a file goes the way the
// viewer shows it: loaded by the control, painted in every placement into
// the window and into a memory device context, asked for its colours and
// its picture handle, and copied to the clipboard and read back.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "winrt/image_control_win32.h"

namespace lumbra {

class ImageStage {
 public:
  ImageStage();
  ~ImageStage();
  ImageStage(const ImageStage&) = delete;
  ImageStage& operator=(const ImageStage&) = delete;

  // Shows the named file through every step; answers whether it loaded.
  // The width and height of what loaded are left in *size when given.
  bool Show(const std::string& name, SIZE* size = nullptr);

 private:
  void PaintEveryPlacement();
  void CopyAndReadBack();

  HWND window_ = nullptr;
  HWND control_ = nullptr;
  std::unique_ptr<ImageControl> image_;
};

}  // namespace lumbra
