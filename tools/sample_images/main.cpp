// Writes the sample images into a folder: sample_images <folder>.
// Files of the same names are replaced; nothing else in the folder is
// touched.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/sample_images/sample_set.h"

namespace {

bool Write(const std::filesystem::path& path, const lumbra::samples::Bytes& bytes) {
  std::FILE* file = std::fopen(path.string().c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: sample_images <folder>\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  std::string note = "Lumbra's sample images, one for every format and variant it reads.\r\n\r\n";
  for (const lumbra::samples::Sample& sample : lumbra::samples::SampleSet()) {
    if (!Write(folder / sample.file, sample.make())) {
      std::fprintf(stderr, "sample_images: cannot write %s\n",
                   (folder / sample.file).string().c_str());
      return 1;
    }
    note += std::string(sample.file) + "  " + sample.shows + "\r\n";
  }
  note +=
      "\r\nThe cursor (.CUR) opens from the command line or with Open Image (All Files);\r\n"
      "a folder listing shows only BMP, WMF, ICO, PCX, GIF and JPG files.\r\n";
  if (!Write(folder / "SAMPLES.TXT", lumbra::samples::Bytes(note.begin(), note.end()))) return 1;
  return 0;
}
