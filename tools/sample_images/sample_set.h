// The sample images the build puts beside the program: one file for every
// format and variant the viewer reads.
#pragma once

#include <vector>

#include "tools/sample_images/sample_files.h"

namespace lumbra::samples {

struct Sample {
  const char* file;   // an 8.3 name, numbered in the order to step through
  const char* shows;  // what the file is, for the folder's note
  Bytes (*make)();
};

// Every sample, in order.
const std::vector<Sample>& SampleSet();

}  // namespace lumbra::samples
