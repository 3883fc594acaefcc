// Queue Sort of 1,000,000 image-list records by a text key and by a number
// key, against std::stable_sort of pointers to the same records with an
// equivalent comparator; Queue Add against pushing heap copies into a
// std::vector; FORMAT @D1, @T3 and @N9 against snprintf.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "bench/bench_table.h"
#include "core/date_time.h"
#include "core/fixed_text.h"
#include "core/picture.h"
#include "core/queue.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint32_t kEntries = 1000000;
constexpr int kRounds = 3;

#pragma pack(push, 1)
struct ImageEntry {
  lumbra::FixedText<255> PATH;
  lumbra::FixedText<255> FILENAME;
  std::int32_t SIZE = 0;
  lumbra::FixedText<20> DTPIC;
  std::int32_t DATE = 0;
  std::int32_t TIME = 0;
  lumbra::FixedText<3> TYPE;
  std::int32_t IMAGEPOS = 0;
};
#pragma pack(pop)
static_assert(sizeof(ImageEntry) == 549);

constexpr lumbra::FieldDescription kImageFields[] = {
    {lumbra::FieldType::Text, 0, 255},  {lumbra::FieldType::Text, 255, 255},
    {lumbra::FieldType::Int32, 510, 4}, {lumbra::FieldType::Text, 514, 20},
    {lumbra::FieldType::Int32, 534, 4}, {lumbra::FieldType::Int32, 538, 4},
    {lumbra::FieldType::Text, 542, 3},  {lumbra::FieldType::Int32, 545, 4},
};

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Records as a folder listing gives them: names of mixed case and length
// in no particular order, sizes spread widely with many repeats.
std::vector<ImageEntry> MakeRecords() {
  std::mt19937 random(42);
  std::vector<ImageEntry> records(kEntries);
  const char* stems[] = {"IMG_", "DSC", "Holiday ", "scan-", "Picture", "P"};
  for (std::uint32_t i = 0; i < kEntries; ++i) {
    ImageEntry& r = records[i];
    char name[64];
    std::snprintf(name, sizeof name, "%s%u.JPG", stems[random() % 6],
                  static_cast<unsigned>(random() % 2000000));
    r.PATH = "C:\\PICTURES\\ARCHIVE\\";
    r.FILENAME = name;
    r.SIZE = static_cast<std::int32_t>(random() % 5000000);
    r.DATE = 72687 + static_cast<std::int32_t>(random() % 5000);
    r.TIME = static_cast<std::int32_t>(random() % 8640000) + 1;
    r.TYPE = "JPG";
    r.IMAGEPOS = static_cast<std::int32_t>(i + 1);
  }
  return records;
}

double FillQueue(lumbra::Queue& queue, ImageEntry& buffer, const std::vector<ImageEntry>& records) {
  queue.Free();
  const auto start = Clock::now();
  for (const ImageEntry& r : records) {
    buffer = r;
    queue.Add();
  }
  return Seconds(start);
}

double FillPeer(std::vector<std::byte*>& peer, const std::vector<ImageEntry>& records) {
  for (std::byte* p : peer) delete[] p;
  peer.clear();
  const auto start = Clock::now();
  for (const ImageEntry& r : records) {
    auto* copy = new std::byte[sizeof(ImageEntry)];
    std::memcpy(copy, &r, sizeof r);
    peer.push_back(copy);
  }
  return Seconds(start);
}

struct Timing {
  double ours = 1e9;
  double peer = 1e9;
};

void Report(const char* what, const Timing& t) {
  std::printf("%-34s Lumbra %8.3f s   peer %8.3f s   ratio %.2f\n", what, t.ours, t.peer,
              t.ours / t.peer);
  lumbra::bench::TableRow(std::string("queue: ") + what, t.ours, "std", t.peer);
}

template <typename Less>
Timing TimeSort(const std::vector<ImageEntry>& records, std::int32_t key, Less less) {
  ImageEntry buffer;
  lumbra::Queue queue(&buffer, {kImageFields, sizeof(ImageEntry)});
  std::vector<std::byte*> peer;
  Timing t;
  for (int round = 0; round < kRounds; ++round) {
    FillQueue(queue, buffer, records);
    auto start = Clock::now();
    queue.Sort({key});
    t.ours = std::min(t.ours, Seconds(start));

    FillPeer(peer, records);
    start = Clock::now();
    std::stable_sort(peer.begin(), peer.end(), less);
    t.peer = std::min(t.peer, Seconds(start));
  }
  // Both orders must agree entry for entry.
  for (std::uint32_t i = 0; i < kEntries; i += 997) {
    queue.Get(i + 1);
    if (std::memcmp(&buffer, peer[i], sizeof buffer) != 0) {
      std::printf("orders differ at %u\n", i + 1);
      std::exit(1);
    }
  }
  for (std::byte* p : peer) delete[] p;
  queue.Free();
  return t;
}

template <typename Format>
double PerSecond(Format format) {
  constexpr int kCount = 1000000;
  std::size_t sink = 0;
  const auto start = Clock::now();
  for (int i = 0; i < kCount; ++i) sink += format(i).size();
  const double seconds = Seconds(start);
  if (sink == 0) std::puts("");
  return kCount / seconds;
}

}  // namespace

int main() {
  const std::vector<ImageEntry> records = MakeRecords();
  std::printf("%u image-list records of %zu bytes, best of %d rounds\n", kEntries,
              sizeof(ImageEntry), kRounds);

  Timing add;
  {
    ImageEntry buffer;
    lumbra::Queue queue(&buffer, {kImageFields, sizeof(ImageEntry)});
    std::vector<std::byte*> peer;
    for (int round = 0; round < kRounds; ++round) {
      add.ours = std::min(add.ours, FillQueue(queue, buffer, records));
      add.peer = std::min(add.peer, FillPeer(peer, records));
    }
    for (std::byte* p : peer) delete[] p;
  }
  Report("Add (peer: vector of heap copies)", add);

  constexpr std::size_t kName = offsetof(ImageEntry, FILENAME);
  constexpr std::size_t kSize = offsetof(ImageEntry, SIZE);
  Report("Sort by FL:FILENAME (stable_sort)",
         TimeSort(records, 2, [](const std::byte* a, const std::byte* b) {
           return std::memcmp(a + kName, b + kName, 255) < 0;
         }));
  Report("Sort by FL:SIZE (stable_sort)",
         TimeSort(records, 3, [](const std::byte* a, const std::byte* b) {
           std::int32_t x, y;
           std::memcpy(&x, a + kSize, 4);
           std::memcpy(&y, b + kSize, 4);
           return x < y;
         }));

  const lumbra::Picture d1 = lumbra::CompilePicture("@D1");
  const lumbra::Picture t3 = lumbra::CompilePicture("@T3");
  const lumbra::Picture n9 = lumbra::CompilePicture("@N9");
  const double d1Rate = PerSecond([&](int i) { return lumbra::FORMAT(4 + i % 2994000, d1); });
  const double t3Rate = PerSecond([&](int i) { return lumbra::FORMAT(1 + i * 8 % 8640000, t3); });
  const double n9Rate = PerSecond([&](int i) { return lumbra::FORMAT(i * 7, n9); });
  const double d1Text = PerSecond([&](int i) { return lumbra::FORMAT(4 + i % 2994000, "@D1"); });
  const double peerRate = PerSecond([](int i) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%2d/%02d/%02d", 1 + i % 12, 1 + i % 28, i % 100);
    return std::string(buffer);
  });
  std::printf("FORMAT per second: @D1 %.0f, @T3 %.0f, @N9 %.0f, @D1 compiled each call %.0f\n",
              d1Rate, t3Rate, n9Rate, d1Text);
  std::printf("snprintf of a date-like text per second: %.0f (ratio @D1 %.2f)\n", peerRate,
              peerRate / d1Rate);
  lumbra::bench::TableRow("picture: FORMAT @D1, one call", 1 / d1Rate, "snprintf", 1 / peerRate);
  return 0;
}
