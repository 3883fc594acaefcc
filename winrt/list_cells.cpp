#include "winrt/list_cells.h"

#include <cmath>
#include <optional>

#include "core/error_state.h"
#include "core/fixed_text.h"

namespace lumbra {

namespace {

// Numbers of columns without a picture (or with one that does not compile)
// are shown as plain numbers.
const Picture& PlainNumber() {
  static const Picture picture = CompilePicture("@S32");
  return picture;
}

std::string Trimmed(std::string_view text) {
  return std::string(StripLeadingBlanks(ClipTrailingBlanks(text)));
}

std::string Formatted(const FieldValue& value, const Picture& picture) {
  if (picture.kind == PictureKind::Invalid) {
    return value.isText ? Trimmed(value.text) : Trimmed(FORMAT(value.number, PlainNumber()));
  }
  return Trimmed(value.isText ? FORMAT(value.text, picture) : FORMAT(value.number, picture));
}

// A field read as a whole number (a colour, an icon number or a level),
// or nothing when the queue lacks the field or its value is not a number.
std::optional<std::int32_t> WholeNumber(Queue& queue, std::int32_t field) {
  const std::optional<FieldValue> value = queue.Field(QueueView::Entry, field);
  if (!value) return std::nullopt;
  const double number = value->isText ? DEFORMAT(value->text, PlainNumber()) : value->number;
  if (!std::isfinite(number) || number < -2147483648.0 || number > 2147483647.0) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(number);
}

// The queue's operations clear the error state; the list reads the queue
// while it paints, in the middle of whatever the program is doing, so it
// puts the state back.
class ErrorStateKept {
 public:
  ErrorStateKept() : saved_(CurrentErrorState()) {}
  ~ErrorStateKept() { CurrentErrorState() = saved_; }
  ErrorStateKept(const ErrorStateKept&) = delete;
  ErrorStateKept& operator=(const ErrorStateKept&) = delete;

 private:
  ErrorState saved_;
};

}  // namespace

ListRows::ListRows(const ListFormat& format) : format_(format) {
  for (const ListColumn& column : format.columns)
    pictures_.push_back(CompilePicture(column.picture));
}

std::uint32_t ListRows::Count(Queue& queue) {
  ErrorStateKept kept;
  return queue.Records();
}

bool ListRows::Row(Queue& queue, std::uint32_t row, std::vector<ListCell>& cells) const {
  ErrorStateKept kept;
  cells.clear();
  if (!queue.ReadEntry(row)) return false;
  cells.resize(format_.columns.size());
  for (std::size_t i = 0; i < format_.columns.size(); ++i) {
    const ListColumn& column = format_.columns[i];
    ListCell& cell = cells[i];
    if (const auto value = queue.Field(QueueView::Entry, column.field)) {
      cell.text = Formatted(*value, pictures_[i]);
    }
    // The fields after the column's own: four colours, the icon, the level.
    std::int32_t next = column.field + 1;
    cell.colours = column.colours;
    if (column.flags & ListFlag::Colours) {
      for (std::int32_t& colour : cell.colours) {
        if (const auto own = WholeNumber(queue, next); own && *own != -1) colour = *own;
        ++next;
      }
    }
    if (column.flags & ListFlag::Icon) cell.icon = WholeNumber(queue, next++).value_or(0);
    if (column.flags & ListFlag::Tree) cell.level = WholeNumber(queue, next++).value_or(0);
  }
  return true;
}

}  // namespace lumbra
