// The program-wide colour collector: gathers the colours that a window
// palette or a 24-bit conversion needs, and reduces them to at most n
// colours by splitting the colour set into boxes, greys apart from the
// other colours, with a tree that maps any colour to its box.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace lumbra {

// A colour as the platform's COLORREF holds it: 0x00BBGGRR.
using Colour = std::uint32_t;

inline constexpr std::size_t kMaxCollectedColours = 16000;

constexpr std::uint8_t ColourComponent(Colour c, int component) {
  return static_cast<std::uint8_t>(c >> (8 * component));  // 0 red, 1 green, 2 blue
}
constexpr Colour MakeColour(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return red | (green << 8) | (blue << 16);
}
constexpr bool IsGrey(Colour c) {
  return ColourComponent(c, 0) == ColourComponent(c, 1) &&
         ColourComponent(c, 1) == ColourComponent(c, 2);
}

// Splits colours in place by one component: those whose component is not
// greater than the mean first. When that leaves either part empty, the
// colours are cut into halves by count instead. Gives the size of the
// lower part.
std::size_t SplitColours(std::span<Colour> colours, int component, std::uint8_t mean);

class ColourCollector {
 public:
  // Appends a colour, or count colour-table entries (blue, green, red, 0).
  // Past 16,000 colours an addition is dropped.
  void AddColour(Colour colour);
  void AddTable(const std::uint8_t* entries, std::uint32_t count);
  // Inserts a colour at its place in ascending order, unless present.
  void AddPixel(Colour colour);
  // Keeps the colours held aside and starts empty; Restore gives them back
  // (the colours collected meanwhile are dropped).
  void SetAside();
  void Restore();
  void Clear();

  // Reduces the colours to at most n (duplicates removed first) and keeps
  // the tree of the reduction. The collector then holds the reduced
  // colours, in palette-index order; gives their number.
  std::uint32_t Reduce(std::uint32_t n);
  // The palette index of a colour by the tree of the last reduction (0
  // without one).
  std::uint32_t FindIndex(Colour colour) const;
  void FreeTree();

  std::span<const Colour> colours() const { return colours_; }
  bool empty() const { return colours_.empty(); }
  bool full() const { return colours_.size() >= kMaxCollectedColours; }

 private:
  // A node of the reduction tree: inner nodes choose a child by one
  // component against its mean; leaves give a palette index.
  struct Node {
    std::int32_t lower = -1;  // -1: a leaf
    std::int32_t upper = -1;
    std::uint8_t component = 0;
    std::uint8_t mean = 0;
    std::uint32_t index = 0;
  };
  // An unsplit box: a range of the colours and how it would split.
  struct Box {
    std::uint32_t first = 0;
    std::uint32_t count = 0;
    std::uint64_t spread = 0;
    std::uint8_t component = 0;
    std::uint8_t mean = 0;
    std::int32_t node = -1;
  };

  Box MakeBox(std::uint32_t first, std::uint32_t count);
  static void Enlist(std::vector<Box>& boxes, const Box& box);
  void Split(std::vector<Box>& boxes);

  std::vector<Colour> colours_;
  std::vector<Colour> aside_;
  std::vector<Node> tree_;
  std::int32_t greyRoot_ = -1;
  std::int32_t otherRoot_ = -1;
};

// The one collector of the program.
ColourCollector& TheColourCollector();

}  // namespace lumbra
