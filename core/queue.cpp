#include "core/queue.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "core/collating_compare.h"
#include "core/date_time.h"
#include "core/error_state.h"
#include "core/locale.h"

namespace lumbra {

namespace {

constexpr std::int32_t kInsufficientMemory = 8;
constexpr std::int32_t kEntryNotFound = 30;
constexpr std::int32_t kInvalidFieldType = 75;
constexpr std::int32_t kOutOfMemoryInArray = 501;
constexpr std::uint32_t kChangeSeedFactor = 25781083;  // 0x189635B

// The capacities the entries array steps through (256 is followed by 1024).
constexpr std::array<std::uint32_t, 19> kCapacitySteps = {
    2,    4,    8,     16,    32,    64,     128,    256,    1024,   2048,
    4096, 8192, 16000, 32000, 65000, 130000, 250000, 500000, 1000000};

std::uint32_t NextCapacity(std::uint32_t needed) {
  for (std::uint32_t step : kCapacitySteps) {
    if (step >= needed) return step;
  }
  return kMaxQueueEntries;
}

// Growing the entries array cannot fail quietly: the program cannot go on
// with a queue it cannot extend, so it ends.
[[noreturn]] void OutOfMemoryInArray() {
  SetErrorState(kOutOfMemoryInArray);
  std::fputs("Out of memory in WSLARRAY!\n", stderr);
  std::abort();
}

// How a key compares, chosen once per sort: texts in plain code order
// (the default collating table without digraphs) compare as bytes, 32-bit
// integers directly, everything else through the field's value.
enum class KeyCompare : std::uint8_t { CodeOrderText, CollatedText, Int32, Value };

struct SortKey {
  FieldDescription field;
  bool descending = false;
  KeyCompare how = KeyCompare::Value;
};

KeyCompare HowToCompare(const FieldDescription& field, const Locale& locale) {
  switch (field.type) {
    case FieldType::Text: {
      const bool codeOrder =
          locale.digraphs.empty() && locale.collatingOrder == DefaultCollatingOrder();
      return codeOrder ? KeyCompare::CodeOrderText : KeyCompare::CollatedText;
    }
    case FieldType::Int32: return KeyCompare::Int32;
    default: return KeyCompare::Value;
  }
}

std::int32_t Int32At(const std::byte* record, std::uint32_t offset) {
  std::int32_t value;
  std::memcpy(&value, record + offset, sizeof value);
  return value;
}

// Ranges this short are sorted by insertion, which keeps equal entries in
// order just as the merge does, with less work than splitting further.
constexpr std::size_t kInsertionRange = 12;

}  // namespace

class QueueEngine {
 public:
  QueueEngine(const RecordLayout& layout) : layout_(layout) {
    changes = static_cast<std::uint32_t>(CurrentTimeSerial()) * kChangeSeedFactor;
  }
  ~QueueEngine() = default;
  QueueEngine(const QueueEngine&) = delete;
  QueueEngine& operator=(const QueueEngine&) = delete;

  bool Append(const std::byte* record) {
    if (entries.size() >= kMaxQueueEntries) return false;
    std::byte* copy = NewRecord();
    if (copy == nullptr) return false;
    std::memcpy(copy, record, layout_.size);
    if (entries.size() + 1 > capacity_) {
      capacity_ = NextCapacity(static_cast<std::uint32_t>(entries.size() + 1));
      try {
        entries.reserve(capacity_);
      } catch (const std::bad_alloc&) {
        OutOfMemoryInArray();
      }
    }
    entries.push_back(copy);
    return true;
  }

  void Sort(std::vector<SortKey> keys) {
    keys_ = std::move(keys);
    locale_ = &RuntimeLocale();
    for (SortKey& key : keys_) key.how = HowToCompare(key.field, *locale_);
    if (entries.size() > 1) {
      std::vector<std::byte*> scratch(entries.size());
      scratch_ = scratch.data();
      SortRange(0, entries.size() - 1);
      scratch_ = nullptr;
    }
    keys_.clear();
  }

  std::vector<std::byte*> entries;
  std::uint32_t current = 0;
  std::uint32_t pointer = 0;
  std::uint32_t changes = 0;
  const std::byte* boundEntry = nullptr;

 private:
  // <0, 0 or >0 as the first record sorts before, with or after the second.
  int Compare(const std::byte* a, const std::byte* b) const {
    for (const SortKey& key : keys_) {
      int result = 0;
      switch (key.how) {
        case KeyCompare::CodeOrderText:
          // Both fields have the same width, so no padding comes into it.
          result = std::memcmp(a + key.field.offset, b + key.field.offset, key.field.size);
          break;
        case KeyCompare::CollatedText:
          result = CollatingCompare(ReadField(a, key.field).text, ReadField(b, key.field).text,
                                    *locale_);
          break;
        case KeyCompare::Int32: {
          const std::int32_t x = Int32At(a, key.field.offset), y = Int32At(b, key.field.offset);
          result = x < y ? -1 : (x > y ? 1 : 0);
          break;
        }
        case KeyCompare::Value: {
          const double x = ReadField(a, key.field).number, y = ReadField(b, key.field).number;
          result = x < y ? -1 : (x > y ? 1 : 0);
          break;
        }
      }
      if (result != 0) return key.descending ? -result : result;
    }
    return 0;
  }

  void InsertionSort(std::size_t lo, std::size_t hi) {
    for (std::size_t i = lo + 1; i <= hi; ++i) {
      std::byte* entry = entries[i];
      std::size_t j = i;
      while (j > lo && Compare(entries[j - 1], entry) > 0) {
        entries[j] = entries[j - 1];
        --j;
      }
      entries[j] = entry;
    }
  }

  // Top-down merge sort of entries lo..hi (inclusive).
  void SortRange(std::size_t lo, std::size_t hi) {
    if (hi - lo < kInsertionRange) {
      InsertionSort(lo, hi);
      return;
    }
    const std::size_t mid = lo + (hi - lo) / 2;
    SortRange(lo, mid);
    SortRange(mid + 1, hi);
    // The entries of the first half not greater than the first of the
    // second half are already in place: find the first that is greater.
    const std::byte* pivot = entries[mid + 1];
    std::size_t first = lo, last = mid + 1;
    while (first < last) {
      const std::size_t probe = first + (last - first) / 2;
      if (Compare(entries[probe], pivot) <= 0) {
        first = probe + 1;
      } else {
        last = probe;
      }
    }
    if (first > mid) return;
    // Merge, taking from the first half on ties so equal keys keep their
    // order; what is left of the second half is already in place.
    std::size_t i = first, j = mid + 1, k = 0;
    while (i <= mid && j <= hi) {
      scratch_[k++] = Compare(entries[i], entries[j]) <= 0 ? entries[i++] : entries[j++];
    }
    while (i <= mid) scratch_[k++] = entries[i++];
    std::memcpy(&entries[first], scratch_, k * sizeof(std::byte*));
  }

  RecordLayout layout_;
  std::uint32_t capacity_ = 0;
  // The records live in blocks of many records each, which end with the
  // engine: one allocation per block instead of one per record, which
  // listing a folder of thousands of files felt.
  std::vector<std::unique_ptr<std::byte[]>> blocks_;
  std::size_t blockRecords_ = 0;
  std::size_t blockUsed_ = 0;

  std::byte* NewRecord() {
    if (blockUsed_ == blockRecords_) {
      constexpr std::size_t kFirstBlock = 16, kLargestBlock = 1024;
      const std::size_t records = std::clamp(blockRecords_ * 2, kFirstBlock, kLargestBlock);
      std::unique_ptr<std::byte[]> block(new (std::nothrow) std::byte[records * layout_.size]);
      if (!block) return nullptr;
      try {
        blocks_.push_back(std::move(block));
      } catch (const std::bad_alloc&) {
        return nullptr;
      }
      blockRecords_ = records;
      blockUsed_ = 0;
    }
    return blocks_.back().get() + layout_.size * blockUsed_++;
  }
  std::vector<SortKey> keys_;
  const Locale* locale_ = nullptr;
  std::byte** scratch_ = nullptr;
};

Queue::Queue(void* buffer, RecordLayout layout)
    : buffer_(static_cast<std::byte*>(buffer)), layout_(layout) {}

Queue::~Queue() = default;

bool Queue::MakeEngine() {
  if (ERRORCODE() != 0) ClearErrorState();  // clearing is costly; adds come by the million
  if (engine_) return true;
  if (buffer_ == nullptr || !IsValidLayout(layout_)) {
    SetErrorState(kInvalidFieldType);
    return false;
  }
  engine_ = std::make_unique<QueueEngine>(layout_);
  return true;
}

void Queue::Add() {
  if (!MakeEngine()) return;
  QueueEngine& engine = *engine_;
  if (!engine.Append(buffer_)) {
    SetErrorState(kInsufficientMemory);
    return;
  }
  engine.current = static_cast<std::uint32_t>(engine.entries.size() - 1);
  engine.pointer = engine.current + 1;
  ++engine.changes;
}

void Queue::Get(std::uint32_t position) {
  if (!MakeEngine()) return;
  QueueEngine& engine = *engine_;
  if (position == 0) {
    SetErrorState(kEntryNotFound);
    engine.pointer = 0;
    return;
  }
  if (position > engine.entries.size()) {
    SetErrorState(kEntryNotFound);
    return;
  }
  engine.current = position - 1;
  std::memcpy(buffer_, engine.entries[engine.current], layout_.size);
  engine.pointer = position;
}

std::uint32_t Queue::Records() {
  if (!MakeEngine()) return 0;
  return static_cast<std::uint32_t>(engine_->entries.size());
}

void Queue::Sort(std::span<const std::int32_t> keys) {
  if (!MakeEngine()) return;
  std::vector<SortKey> sortKeys;
  for (const std::int32_t key : keys) {
    if (key == 0) break;
    const std::int64_t magnitude = key < 0 ? -std::int64_t{key} : std::int64_t{key};
    // More keys than the limit, or a field the record does not have, is
    // refused before anything moves.
    if (sortKeys.size() == kMaxSortKeys ||
        magnitude > static_cast<std::int64_t>(layout_.fields.size())) {
      SetErrorState(kInvalidFieldType);
      return;
    }
    sortKeys.push_back({layout_.fields[static_cast<std::size_t>(magnitude - 1)], key < 0});
  }
  engine_->Sort(std::move(sortKeys));
  engine_->boundEntry = nullptr;
  ++engine_->changes;
}

void Queue::Free() { engine_.reset(); }

std::uint32_t Queue::Changes() {
  if (!MakeEngine()) return 0;
  return engine_->changes;
}

std::uint32_t Queue::Pointer() {
  if (!MakeEngine()) return 0;
  return engine_->pointer;
}

bool Queue::ReadEntry(std::uint32_t position) {
  if (!MakeEngine()) return false;
  QueueEngine& engine = *engine_;
  if (position == 0 || position > engine.entries.size()) return false;
  engine.current = position - 1;
  engine.boundEntry = engine.entries[engine.current];
  return true;
}

std::optional<FieldValue> Queue::Field(QueueView view, std::int32_t n) {
  if (!MakeEngine()) return std::nullopt;
  if (n < 1 || n > static_cast<std::int32_t>(layout_.fields.size())) return std::nullopt;
  const std::byte* record = view == QueueView::Probe ? buffer_ : engine_->boundEntry;
  if (record == nullptr) return std::nullopt;
  return ReadField(record, layout_.fields[static_cast<std::size_t>(n - 1)]);
}

}  // namespace lumbra
