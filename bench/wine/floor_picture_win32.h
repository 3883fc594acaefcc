// A picture handed to the paint floor already decoded: the image decoded in
// the benchmark's process, painted into a 24-bit bitmap inside a named file
// mapping (the information header, then the rows), which the floor opens
// by its name.
#pragma once

#include <windows.h>

#include <string>

namespace lumbra::bench {

class FloorPicture {
 public:
  // Fails the benchmark when the image does not decode or does not paint
  // its mark.
  FloorPicture(const std::string& path, COLORREF mark, const std::string& name);
  ~FloorPicture();
  FloorPicture(const FloorPicture&) = delete;
  FloorPicture& operator=(const FloorPicture&) = delete;

 private:
  HANDLE mapping_ = nullptr;
  void* view_ = nullptr;
};

// The name of the n-th floor picture of this process.
std::string FloorPictureName(int n);

}  // namespace lumbra::bench
