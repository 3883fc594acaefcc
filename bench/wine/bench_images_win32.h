// The viewer benchmarks' images, written at run time into folders of the
// build tree with the sample images' writers. Every image carries a flat
// block of a known colour at its top left, and neighbours in a folder
// differ in it, so a driver reading the screen knows when an image is
// painted. A file already there is kept: the content depends only on its
// name.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace lumbra::bench {

// Where the block shows, in image pixels from the top left.
constexpr POINT kMarkPoint = {8, 8};

struct BenchImage {
  std::string path;
  COLORREF mark;  // the block's colour
};

// A 4000 x 3000 photo-like JPEG, and a small still GIF (200 x 150), each
// alone in a folder of its own.
BenchImage WriteLonePhoto();
BenchImage WriteLoneGif();

// A folder of count photo-like 4000 x 3000 JPEGs, named in the order to
// step through.
std::vector<BenchImage> WritePhotoFolder(int count);

// A folder of count small images of varied sizes whose formats take turns:
// BMP (24 and 8 bits), GIF, PCX, JPEG and icons.
std::vector<BenchImage> WriteMixedFolder(int count);

}  // namespace lumbra::bench
