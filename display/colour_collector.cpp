// Collecting colours and reducing them by box splitting.
#include "display/colour_collector.h"

#include <algorithm>
#include <utility>

namespace lumbra {

std::size_t SplitColours(std::span<Colour> colours, int component, std::uint8_t mean) {
  const auto upper = std::partition(colours.begin(), colours.end(), [&](Colour c) {
    return ColourComponent(c, component) <= mean;
  });
  const auto lower = static_cast<std::size_t>(upper - colours.begin());
  if (lower == 0 || lower == colours.size()) return colours.size() / 2;
  return lower;
}

void ColourCollector::AddColour(Colour colour) {
  if (colours_.size() < kMaxCollectedColours) colours_.push_back(colour);
}

void ColourCollector::AddTable(const std::uint8_t* entries, std::uint32_t count) {
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint8_t* e = entries + 4 * i;
    AddColour(MakeColour(e[2], e[1], e[0]));
  }
}

void ColourCollector::AddPixel(Colour colour) {
  // A full collector changes no more: a colour present stays, one absent
  // would be dropped.
  if (colours_.size() >= kMaxCollectedColours) return;
  const auto at = std::lower_bound(colours_.begin(), colours_.end(), colour);
  if (at == colours_.end() || *at != colour) colours_.insert(at, colour);
}

void ColourCollector::SetAside() {
  aside_ = std::move(colours_);
  colours_.clear();
}

void ColourCollector::Restore() {
  colours_ = std::move(aside_);
  aside_.clear();
}

void ColourCollector::Clear() { colours_.clear(); }

// The box over colours [first, first + count): for two or more colours the
// component of the largest spread (the earlier one on a tie) and its mean.
ColourCollector::Box ColourCollector::MakeBox(std::uint32_t first, std::uint32_t count) {
  Box box;
  box.first = first;
  box.count = count;
  box.node = static_cast<std::int32_t>(tree_.size());
  tree_.push_back(Node{});
  if (count < 2) return box;
  std::uint64_t sum[3] = {};
  std::uint64_t squares[3] = {};
  for (std::uint32_t i = first; i < first + count; ++i) {
    for (int k = 0; k < 3; ++k) {
      const std::uint64_t v = ColourComponent(colours_[i], k);
      sum[k] += v;
      squares[k] += v * v;
    }
  }
  // Small boxes weigh double: 3 / count is 1 for two or three colours.
  const unsigned shift = 3 / count;
  for (int k = 0; k < 3; ++k) {
    const std::uint64_t spread = (squares[k] - sum[k] * sum[k] / count) << shift;
    if (k == 0 || spread > box.spread) {
      box.spread = spread;
      box.component = static_cast<std::uint8_t>(k);
      box.mean = static_cast<std::uint8_t>(sum[k] / count);
    }
  }
  return box;
}

// Puts a box into the list of unsplit boxes: by spread, largest first,
// after the boxes of equal spread; boxes of one colour go last.
void ColourCollector::Enlist(std::vector<Box>& boxes, const Box& box) {
  auto at = boxes.end();
  if (box.count > 1) {
    at = std::find_if(boxes.begin(), boxes.end(),
                      [&](const Box& b) { return b.count < 2 || b.spread < box.spread; });
  }
  boxes.insert(at, box);
}

// Splits the first box of the list into its lower and upper parts.
void ColourCollector::Split(std::vector<Box>& boxes) {
  const Box box = boxes.front();
  boxes.erase(boxes.begin());
  const std::span<Colour> range(colours_.data() + box.first, box.count);
  const auto lower = static_cast<std::uint32_t>(SplitColours(range, box.component, box.mean));
  const Box low = MakeBox(box.first, lower);
  const Box high = MakeBox(box.first + lower, box.count - lower);
  Node& node = tree_[static_cast<std::size_t>(box.node)];
  node.component = box.component;
  node.mean = box.mean;
  node.lower = low.node;
  node.upper = high.node;
  Enlist(boxes, low);
  Enlist(boxes, high);
}

std::uint32_t ColourCollector::Reduce(std::uint32_t n) {
  FreeTree();
  std::sort(colours_.begin(), colours_.end());
  colours_.erase(std::unique(colours_.begin(), colours_.end()), colours_.end());
  if (colours_.empty()) return 0;

  // Greys and the other colours are boxes of their own from the start.
  const auto greys = static_cast<std::uint32_t>(
      std::stable_partition(colours_.begin(), colours_.end(), IsGrey) - colours_.begin());
  const auto all = static_cast<std::uint32_t>(colours_.size());
  std::vector<Box> boxes;
  if (greys > 0) {
    const Box box = MakeBox(0, greys);
    greyRoot_ = box.node;
    Enlist(boxes, box);
  }
  if (greys < all) {
    const Box box = MakeBox(greys, all - greys);
    otherRoot_ = box.node;
    Enlist(boxes, box);
  }
  while (boxes.size() < n && boxes.front().count > 1) Split(boxes);

  // Each box left is a colour of the palette: the mean of its colours.
  std::vector<Colour> reduced;
  reduced.reserve(boxes.size());
  for (const Box& box : boxes) {
    std::uint64_t sum[3] = {};
    for (std::uint32_t i = box.first; i < box.first + box.count; ++i) {
      for (int k = 0; k < 3; ++k) sum[k] += ColourComponent(colours_[i], k);
    }
    tree_[static_cast<std::size_t>(box.node)].index = static_cast<std::uint32_t>(reduced.size());
    reduced.push_back(MakeColour(static_cast<std::uint32_t>(sum[0] / box.count),
                                 static_cast<std::uint32_t>(sum[1] / box.count),
                                 static_cast<std::uint32_t>(sum[2] / box.count)));
  }
  colours_ = std::move(reduced);
  return static_cast<std::uint32_t>(colours_.size());
}

std::uint32_t ColourCollector::FindIndex(Colour colour) const {
  std::int32_t at = IsGrey(colour) ? greyRoot_ : otherRoot_;
  if (at < 0) at = greyRoot_ >= 0 ? greyRoot_ : otherRoot_;
  if (at < 0) return 0;
  for (;;) {
    const Node& node = tree_[static_cast<std::size_t>(at)];
    if (node.lower < 0) return node.index;
    at = ColourComponent(colour, node.component) > node.mean ? node.upper : node.lower;
  }
}

void ColourCollector::FreeTree() {
  tree_.clear();
  greyRoot_ = -1;
  otherRoot_ = -1;
}

ColourCollector& TheColourCollector() {
  static ColourCollector collector;
  return collector;
}

}  // namespace lumbra
