#include "core/record_layout.h"

#include <cstring>

namespace lumbra {

namespace {

std::uint32_t SizeOfType(FieldType type) {
  switch (type) {
    case FieldType::Int8:
    case FieldType::UInt8: return 1;
    case FieldType::Int16:
    case FieldType::UInt16: return 2;
    case FieldType::Int32:
    case FieldType::UInt32: return 4;
    case FieldType::Real64: return 8;
    case FieldType::Text: return 0;
  }
  return 0;
}

template <typename T>
double Number(const std::byte* at) {
  T value;
  std::memcpy(&value, at, sizeof value);
  return static_cast<double>(value);
}

}  // namespace

bool IsValidLayout(const RecordLayout& layout) {
  if (layout.size == 0) return false;
  for (const FieldDescription& field : layout.fields) {
    const std::uint32_t expected = SizeOfType(field.type);
    if (field.size == 0 || (expected != 0 && field.size != expected)) return false;
    if (field.offset > layout.size || field.size > layout.size - field.offset) return false;
  }
  return true;
}

FieldValue ReadField(const std::byte* record, const FieldDescription& field) {
  const std::byte* at = record + field.offset;
  FieldValue value;
  switch (field.type) {
    case FieldType::Text:
      value.isText = true;
      value.text = std::string_view(reinterpret_cast<const char*>(at), field.size);
      break;
    case FieldType::Int8: value.number = Number<std::int8_t>(at); break;
    case FieldType::UInt8: value.number = Number<std::uint8_t>(at); break;
    case FieldType::Int16: value.number = Number<std::int16_t>(at); break;
    case FieldType::UInt16: value.number = Number<std::uint16_t>(at); break;
    case FieldType::Int32: value.number = Number<std::int32_t>(at); break;
    case FieldType::UInt32: value.number = Number<std::uint32_t>(at); break;
    case FieldType::Real64: value.number = Number<double>(at); break;
  }
  return value;
}

}  // namespace lumbra
