// The description of a fixed-layout record: its size and, per field, the
// type, offset and size. Queues and list controls read fields through it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace lumbra {

enum class FieldType : std::uint8_t { Text, Int8, UInt8, Int16, UInt16, Int32, UInt32, Real64 };

struct FieldDescription {
  FieldType type = FieldType::Text;
  std::uint32_t offset = 0;
  std::uint32_t size = 0;
};

struct RecordLayout {
  std::span<const FieldDescription> fields;
  std::uint32_t size = 0;
};

// The value of one field: its text for text fields, its number otherwise.
struct FieldValue {
  bool isText = false;
  std::string_view text;
  double number = 0;
};

// Whether every field lies inside the record and has the size of its type.
bool IsValidLayout(const RecordLayout& layout);

// The value of a field of a record laid out by `field` (the record must be
// at least as large as the layout says).
FieldValue ReadField(const std::byte* record, const FieldDescription& field);

}  // namespace lumbra
