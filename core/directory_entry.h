// DirectoryEntry: the record a directory listing writes, 282 bytes with
// its fields at fixed offsets and no padding.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/fixed_text.h"
#include "core/record_layout.h"

namespace lumbra {

// Attribute bits kept in DQ:ATTRIB (the Windows FILE_ATTRIBUTE_* values).
inline constexpr std::uint8_t kAttributeReadOnly = 0x01;
inline constexpr std::uint8_t kAttributeHidden = 0x02;
inline constexpr std::uint8_t kAttributeSystem = 0x04;
inline constexpr std::uint8_t kAttributeDirectory = 0x10;
inline constexpr std::uint8_t kAttributeArchive = 0x20;
inline constexpr std::uint8_t kKeptAttributes = 0x37;

#pragma pack(push, 1)
struct DirectoryEntry {
  FixedText<256> NAME;      // DQ:NAME, the long file name
  FixedText<13> SHORTNAME;  // DQ:SHORTNAME, the 8.3 name
  std::int32_t DATE = 0;    // DQ:DATE, date serial of the last write
  std::int32_t TIME = 0;    // DQ:TIME, time serial of the last write
  std::int32_t SIZE = 0;    // DQ:SIZE, low 32 bits of the size
  std::uint8_t ATTRIB = 0;  // DQ:ATTRIB, attributes AND 0x37
};
#pragma pack(pop)

static_assert(sizeof(DirectoryEntry) == 282);
static_assert(offsetof(DirectoryEntry, SHORTNAME) == 256);
static_assert(offsetof(DirectoryEntry, DATE) == 269);
static_assert(offsetof(DirectoryEntry, TIME) == 273);
static_assert(offsetof(DirectoryEntry, SIZE) == 277);
static_assert(offsetof(DirectoryEntry, ATTRIB) == 281);

inline constexpr FieldDescription kDirectoryEntryFields[] = {
    {FieldType::Text, 0, 256},  {FieldType::Text, 256, 13}, {FieldType::Int32, 269, 4},
    {FieldType::Int32, 273, 4}, {FieldType::Int32, 277, 4}, {FieldType::UInt8, 281, 1},
};

inline constexpr RecordLayout kDirectoryEntryLayout{kDirectoryEntryFields, sizeof(DirectoryEntry)};

}  // namespace lumbra
