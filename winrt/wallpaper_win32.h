// A window's wallpaper: an image painted over the window's background
// colour, stretched over the client area, tiled from its top-left corner,
// or at its natural size in that corner.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "images/image_object.h"

namespace lumbra {

class Wallpaper final : public ImageViewer {
 public:
  explicit Wallpaper(HWND window) : window_(window) {}
  ~Wallpaper();
  Wallpaper(const Wallpaper&) = delete;
  Wallpaper& operator=(const Wallpaper&) = delete;

  // Loads the named image, files before resources; a blank name or a
  // failed load leaves no wallpaper. Repaints the window.
  void Assign(std::string_view name);
  const std::string& name() const { return name_; }
  bool empty() const { return image_ == nullptr; }

  void SetStretched(bool on);
  void SetTiled(bool on);
  bool stretched() const { return stretched_; }
  bool tiled() const { return tiled_; }

  // Paints the wallpaper into a device context whose origin is the
  // window's client origin.
  void Paint(HDC dc, const RECT& client);
  // Gives the image's colours to the window's palette.
  void AddColours(PaletteTarget* palette);

  void RepaintImage(const ImageRect* rect) override;

 private:
  void Release();

  HWND window_;
  ImagePtr image_;
  std::string name_;
  bool stretched_ = false;
  bool tiled_ = false;
};

}  // namespace lumbra
