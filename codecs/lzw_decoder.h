// The GIF variable-length-code LZW decoder: one per frame, giving one pixel
// (colour index) at a time.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace lumbra {

class LzwDecoder {
 public:
  static constexpr int kMaxCodes = 4096;

  // data: the frame's data sub-blocks (length byte first), up to the end of
  // the file; minCodeSize: 2 to 11.
  LzwDecoder(std::span<const std::uint8_t> data, int minCodeSize);

  // The next pixel; 0 once the data is used up.
  std::uint8_t NextPixel() {
    if (top_ > 0) return stack_[--top_];
    return DecodeNext();
  }

  // The next count pixels into out: the same pixels as count calls of
  // NextPixel, with the pending bytes of each string copied in one go.
  void DecodeInto(std::uint8_t* out, std::size_t count) {
    while (count > 0) {
      if (top_ == 0) {
        *out++ = DecodeNext();
        --count;
        continue;
      }
      const std::size_t n = std::min(count, static_cast<std::size_t>(top_));
      for (std::size_t i = 0; i < n; ++i) out[i] = stack_[static_cast<std::size_t>(--top_)];
      out += n;
      count -= n;
    }
  }

 private:
  void Reset();
  int ReadCode();
  bool ReadSubBlock();
  std::uint8_t DecodeNext();

  std::span<const std::uint8_t> data_;
  std::size_t position_ = 0;  // next sub-block's length byte in data_
  std::array<std::uint8_t, 260> buffer_{};
  int lastByte_ = 2;
  int lastBit_ = 0;
  int currentBit_ = 0;
  bool outOfBlocks_ = false;
  int inputCodeSize_;
  int clearCode_;
  int endCode_;
  int codeSize_ = 0;
  int limitCode_ = 0;
  int nextFree_ = 0;
  bool firstTime_ = true;
  int previous_ = 0;
  std::uint8_t firstChar_ = 0;
  std::array<std::uint16_t, kMaxCodes> head_{};
  std::array<std::uint8_t, kMaxCodes> tail_{};
  std::array<std::uint8_t, kMaxCodes> stack_{};
  int top_ = 0;
};

}  // namespace lumbra
