// The files tests and benchmarks write at run time: images and other data
// made in memory, each written whole, replacing what was there.
#pragma once

#include <cstdint>
#include <fstream>
#include <span>
#include <string>

namespace lumbra::testing {

// Writes the bytes as the whole file; false when it could not be written.
inline bool WriteBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

}  // namespace lumbra::testing
