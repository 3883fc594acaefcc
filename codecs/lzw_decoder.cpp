// LZW decoding of GIF frame data.
#include "codecs/lzw_decoder.h"

namespace lumbra {

LzwDecoder::LzwDecoder(std::span<const std::uint8_t> data, int minCodeSize)
    : data_(data),
      inputCodeSize_(minCodeSize),
      clearCode_(1 << minCodeSize),
      endCode_((1 << minCodeSize) + 1) {
  Reset();
}

void LzwDecoder::Reset() {
  codeSize_ = inputCodeSize_ + 1;
  limitCode_ = 2 * clearCode_;
  nextFree_ = clearCode_ + 2;
  top_ = 0;
}

// Appends the next data sub-block behind the last two bytes of the buffer;
// false (and out of blocks) at the terminating empty sub-block or the end of
// the bytes.
bool LzwDecoder::ReadSubBlock() {
  buffer_[0] = buffer_[static_cast<std::size_t>(lastByte_ - 2)];
  buffer_[1] = buffer_[static_cast<std::size_t>(lastByte_ - 1)];
  const std::size_t length = position_ < data_.size() ? data_[position_] : 0;
  if (length == 0 || position_ + 1 + length > data_.size()) {
    outOfBlocks_ = true;
    return false;
  }
  for (std::size_t i = 0; i < length; ++i) buffer_[2 + i] = data_[position_ + 1 + i];
  position_ += 1 + length;
  currentBit_ = currentBit_ - lastBit_ + 16;
  lastByte_ = 2 + static_cast<int>(length);
  lastBit_ = 8 * lastByte_;
  return true;
}

int LzwDecoder::ReadCode() {
  // Short sub-blocks may hold fewer bits than one code: take sub-blocks
  // until the code is whole, so the read never runs past the buffer.
  while (currentBit_ + codeSize_ > lastBit_) {
    if (outOfBlocks_ || !ReadSubBlock()) return endCode_;
  }
  const std::size_t at = static_cast<std::size_t>(currentBit_ / 8);
  const std::uint32_t bits = buffer_[at] | (buffer_[at + 1] << 8) | (buffer_[at + 2] << 16);
  const int code = static_cast<int>((bits >> (currentBit_ % 8)) & ((1u << codeSize_) - 1));
  currentBit_ += codeSize_;
  return code;
}

std::uint8_t LzwDecoder::DecodeNext() {
  int code = ReadCode();
  if (code == clearCode_ || firstTime_) {
    firstTime_ = false;
    Reset();
    while (code >= clearCode_) {
      // A clear code followed only by codes at or above it: once the data
      // is gone the frame ends with zeros.
      if (outOfBlocks_) return 0;
      code = ReadCode();
    }
    previous_ = code;
    firstChar_ = static_cast<std::uint8_t>(code);
    return firstChar_;
  }
  if (code == endCode_) {
    outOfBlocks_ = true;
    return 0;
  }
  int incoming = code;
  if (code >= nextFree_) {
    if (code > nextFree_) incoming = 0;
    stack_[static_cast<std::size_t>(top_++)] = firstChar_;
    code = previous_;
  }
  // Every defined code's head is below the code itself, so the walk ends;
  // the bound keeps the stack safe whatever the tables hold.
  while (code >= clearCode_ && top_ < kMaxCodes - 1) {
    stack_[static_cast<std::size_t>(top_++)] = tail_[static_cast<std::size_t>(code)];
    code = head_[static_cast<std::size_t>(code)];
  }
  firstChar_ = static_cast<std::uint8_t>(code);
  if (nextFree_ < kMaxCodes) {
    head_[static_cast<std::size_t>(nextFree_)] = static_cast<std::uint16_t>(previous_);
    tail_[static_cast<std::size_t>(nextFree_)] = firstChar_;
    ++nextFree_;
    if (nextFree_ >= limitCode_ && codeSize_ < 12) {
      ++codeSize_;
      limitCode_ *= 2;
    }
  }
  previous_ = incoming;
  return firstChar_;
}

}  // namespace lumbra
