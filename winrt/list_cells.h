// The cells of a list's rows: each column's queue field formatted through
// the column's picture, with the colours, icon and level its row gives it.
// Only the rows asked for are read, so the cost of a row does not depend
// on the length of the queue.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/picture.h"
#include "core/queue.h"
#include "winrt/list_format.h"

namespace lumbra {

struct ListCell {
  std::string text;  // as formatted, without leading and trailing blanks
  ListColours colours = kNoListColours;
  std::int32_t icon = 0;
  std::int32_t level = 0;
};

class ListRows {
 public:
  explicit ListRows(const ListFormat& format);

  // The number of entries of the queue.
  static std::uint32_t Count(Queue& queue);
  // The cells of the row at a 1-based position, one per column; false
  // (and no cells) when the queue has no such entry. Reading the queue
  // leaves the program's error state as it was.
  bool Row(Queue& queue, std::uint32_t row, std::vector<ListCell>& cells) const;

 private:
  const ListFormat& format_;
  std::vector<Picture> pictures_;  // one per column, compiled once
};

}  // namespace lumbra
