// Queue: an in-memory table of fixed-layout records. The owner works on one
// record buffer: it fills the buffer and adds it, or gets an entry by
// position into it. Entries are separate heap copies, so sorting and
// adding move pointers only.
//
// Every operation but Free first makes the engine (on first use) and clears
// the error state; failures set error 8 (out of memory or full), 30 (no
// such entry) or 75 (bad sort key or record layout).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>

#include "core/record_layout.h"

namespace lumbra {

inline constexpr std::uint32_t kMaxQueueEntries = 1000000;
inline constexpr std::size_t kMaxSortKeys = 16;

// The two record views: the probe is the record buffer, the entry view is
// the entry last bound by ReadEntry.
enum class QueueView : std::uint8_t { Probe, Entry };

class QueueEngine;

class Queue {
 public:
  // The buffer must stay valid and hold layout.size bytes while the queue
  // is used; the queue never keeps a pointer into it otherwise.
  Queue(void* buffer, RecordLayout layout);
  ~Queue();
  Queue(const Queue&) = delete;
  Queue& operator=(const Queue&) = delete;

  // Appends a copy of the record buffer.
  void Add();
  // Copies the entry at the 1-based position into the record buffer.
  void Get(std::uint32_t position);
  std::uint32_t Records();
  // Sorts by field numbers (1-based), ended by 0 or by the list's end; a
  // negative number sorts that field descending. Stable.
  void Sort(std::span<const std::int32_t> keys);
  void Sort(std::initializer_list<std::int32_t> keys) {
    Sort(std::span(keys.begin(), keys.size()));
  }
  // Deletes every entry and the engine.
  void Free();
  // A counter that moves with every Add and Sort.
  std::uint32_t Changes();
  // The 1-based position of the entry last got or added, 0 for none.
  std::uint32_t Pointer();

  // For list controls: binds the entry view to the entry at the position;
  // false for 0 or beyond the last entry.
  bool ReadEntry(std::uint32_t position);
  // The value of field n (1-based) of a view; nothing for a field number
  // out of range or an unbound entry view.
  std::optional<FieldValue> Field(QueueView view, std::int32_t n);

  void* Buffer() const { return buffer_; }
  const RecordLayout& Layout() const { return layout_; }

 private:
  bool MakeEngine();

  std::byte* buffer_;
  RecordLayout layout_;
  std::unique_ptr<QueueEngine> engine_;
};

}  // namespace lumbra
