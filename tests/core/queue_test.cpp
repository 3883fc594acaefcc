#include "core/queue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "core/collating_compare.h"
#include "core/error_state.h"
#include "core/fixed_text.h"

namespace lumbra {
namespace {

#pragma pack(push, 1)
struct Row {
  FixedText<8> name;
  std::int32_t number = 0;
  std::int16_t group = 0;
  double weight = 0;
};
#pragma pack(pop)
static_assert(sizeof(Row) == 22);

constexpr FieldDescription kRowFields[] = {
    {FieldType::Text, 0, 8},
    {FieldType::Int32, 8, 4},
    {FieldType::Int16, 12, 2},
    {FieldType::Real64, 14, 8},
};

class QueueTest : public ::testing::Test {
 protected:
  void TearDown() override { ResetLocale(); }

  void Add(const char* name, std::int32_t number, std::int16_t group = 0) {
    row.name = name;
    row.number = number;
    row.group = group;
    row.weight = number * 0.5;
    queue.Add();
  }
  // The names of every entry in queue order.
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (std::uint32_t i = 1; i <= queue.Records(); ++i) {
      queue.Get(i);
      names.push_back(row.name.str());
    }
    return names;
  }
  std::vector<std::int32_t> Numbers() {
    std::vector<std::int32_t> numbers;
    for (std::uint32_t i = 1; i <= queue.Records(); ++i) {
      queue.Get(i);
      numbers.push_back(row.number);
    }
    return numbers;
  }

  Row row;
  Queue queue{&row, {kRowFields, sizeof(Row)}};
};

using Texts = std::vector<std::string>;

TEST_F(QueueTest, AddGetAndPositions) {
  EXPECT_EQ(queue.Records(), 0u);
  Add("one", 1);
  Add("two", 2);
  Add("three", 3);
  EXPECT_EQ(queue.Records(), 3u);
  EXPECT_EQ(queue.Pointer(), 3u);
  EXPECT_EQ(ERRORCODE(), 0);

  queue.Get(2);
  EXPECT_EQ(row.name, "two");
  EXPECT_EQ(row.number, 2);
  EXPECT_EQ(queue.Pointer(), 2u);

  // Beyond the last entry: error 30, pointer and buffer unchanged.
  row.name = "changed";
  queue.Get(4);
  EXPECT_EQ(ERRORCODE(), 30);
  EXPECT_EQ(ERROR(), "Entry Not Found");
  EXPECT_EQ(queue.Pointer(), 2u);
  EXPECT_EQ(row.name, "changed");

  // Position 0: error 30 and no pointer.
  queue.Get(0);
  EXPECT_EQ(ERRORCODE(), 30);
  EXPECT_EQ(queue.Pointer(), 0u);
  EXPECT_EQ(row.name, "changed");

  // The stored copies are independent of the buffer.
  queue.Get(1);
  EXPECT_EQ(row.name, "one");
  EXPECT_EQ(ERRORCODE(), 0);  // each operation clears the error first
}

TEST_F(QueueTest, FreeEmptiesAndTheQueueCanBeUsedAgain) {
  Add("a", 1);
  Add("b", 2);
  queue.Free();
  EXPECT_EQ(queue.Records(), 0u);
  EXPECT_EQ(queue.Pointer(), 0u);
  Add("c", 3);
  EXPECT_EQ(Names(), (Texts{"c"}));
  queue.Free();
  queue.Free();  // freeing an unused queue does nothing
  EXPECT_EQ(queue.Records(), 0u);
}

TEST_F(QueueTest, ChangeCounterMovesWithAddAndSort) {
  const std::uint32_t start = queue.Changes();
  Add("b", 1);
  const std::uint32_t afterAdd = queue.Changes();
  EXPECT_EQ(afterAdd, start + 1);
  Add("a", 2);
  queue.Sort({1});
  EXPECT_EQ(queue.Changes(), afterAdd + 2);
  queue.Get(1);
  queue.Sort({9});  // refused: no change
  EXPECT_EQ(queue.Changes(), afterAdd + 2);
}

TEST_F(QueueTest, TextOrderIsCodeOrderWithTrailingBlanksIgnored) {
  Add("a", 1);
  Add("B", 2);
  Add("b", 3);
  Add("A", 4);
  queue.Sort({1});
  EXPECT_EQ(Names(), (Texts{"A", "B", "a", "b"}));

  const Locale& locale = RuntimeLocale();
  EXPECT_EQ(CollatingCompare("abc", "abc   ", locale), 0);
  EXPECT_LT(CollatingCompare("ab", "abc", locale), 0);
  EXPECT_GT(CollatingCompare("abd", "abc  ", locale), 0);
  EXPECT_LT(CollatingCompare("ab\t", "ab", locale), 0);  // a tab sorts before the padding blank
  EXPECT_EQ(CollatingCompare("", "  ", locale), 0);
  EXPECT_GT(CollatingCompare("\xE9", "z", locale), 0);  // bytes compare unsigned
}

TEST_F(QueueTest, CollatingOrderAndDigraphs) {
  Locale& locale = RuntimeLocale();
  // Weights that put each small letter right after its capital.
  for (int c = 'a'; c <= 'z'; ++c) {
    locale.collatingOrder[static_cast<std::size_t>(c)] =
        static_cast<std::uint16_t>((c - 32) * 2 + 1);
    locale.collatingOrder[static_cast<std::size_t>(c - 32)] =
        static_cast<std::uint16_t>((c - 32) * 2);
  }
  Add("b", 1);
  Add("B", 2);
  Add("a", 3);
  Add("A", 4);
  queue.Sort({1});
  EXPECT_EQ(Names(), (Texts{"A", "a", "B", "b"}));

  ResetLocale();
  locale.digraphs.push_back({0xC6, {'A', 'E'}});
  EXPECT_EQ(CollatingCompare("\xC6ON", "AEON", locale), 0);
  EXPECT_LT(CollatingCompare("AD", "\xC6", locale), 0);
  EXPECT_GT(CollatingCompare("AF", "\xC6Z", locale), 0);
  EXPECT_LT(CollatingCompare("\xC6", "AEA", locale), 0);
}

TEST_F(QueueTest, SortIsStableAndKeysCombine) {
  Add("x", 3, 1);
  Add("y", 1, 2);
  Add("x", 1, 1);
  Add("z", 2, 2);
  Add("y", 3, 1);
  Add("x", 2, 2);

  queue.Sort({1});  // equal names keep the order of addition
  EXPECT_EQ(Numbers(), (std::vector<std::int32_t>{3, 1, 2, 1, 3, 2}));
  queue.Sort({1});  // sorting twice changes nothing
  EXPECT_EQ(Numbers(), (std::vector<std::int32_t>{3, 1, 2, 1, 3, 2}));

  queue.Sort({2});  // by number; names stay in order among equal numbers
  EXPECT_EQ(Names(), (Texts{"x", "y", "x", "z", "x", "y"}));

  queue.Sort({3, -2, 1});  // group ascending, number descending, name
  EXPECT_EQ(Numbers(), (std::vector<std::int32_t>{3, 3, 1, 2, 2, 1}));
  EXPECT_EQ(Names(), (Texts{"x", "y", "x", "x", "z", "y"}));

  queue.Sort({-1});  // descending reverses the key only: ties keep their order
  EXPECT_EQ(Names(), (Texts{"z", "y", "y", "x", "x", "x"}));
  EXPECT_EQ(Numbers(), (std::vector<std::int32_t>{2, 3, 1, 3, 1, 2}));

  queue.Sort({4, 0, 1});  // the list ends at 0; real fields compare as numbers
  EXPECT_EQ(Numbers(), (std::vector<std::int32_t>{1, 1, 2, 2, 3, 3}));
}

TEST_F(QueueTest, SortMatchesAStableReferenceOnRandomData) {
  std::mt19937 random(7);
  struct Reference {
    std::string name;
    std::int32_t number;
    std::int16_t group;
    std::uint32_t order;
  };
  std::vector<Reference> reference;
  for (std::uint32_t i = 0; i < 3000; ++i) {
    std::string name(1 + random() % 3, ' ');
    for (char& c : name) c = static_cast<char>('a' + random() % 3);
    const auto number = static_cast<std::int32_t>(random() % 50) - 25;
    const auto group = static_cast<std::int16_t>(random() % 4);
    Add(name.c_str(), number, group);
    reference.push_back({name, number, group, i});
  }
  queue.Sort({3, -1});
  std::stable_sort(reference.begin(), reference.end(), [](const Reference& a, const Reference& b) {
    if (a.group != b.group) return a.group < b.group;
    return a.name > b.name;
  });
  for (std::uint32_t i = 0; i < reference.size(); ++i) {
    queue.Get(i + 1);
    ASSERT_EQ(row.name.str(), reference[i].name) << i;
    ASSERT_EQ(row.number, reference[i].number) << i;
  }
}

TEST_F(QueueTest, BadSortKeysSortNothing) {
  Add("b", 2);
  Add("a", 1);
  queue.Sort({1, 5});
  EXPECT_EQ(ERRORCODE(), 75);
  EXPECT_EQ(ERROR(), "Invalid Field Type Descriptor");
  queue.Sort({-5});
  EXPECT_EQ(ERRORCODE(), 75);
  queue.Sort({std::numeric_limits<std::int32_t>::min()});
  EXPECT_EQ(ERRORCODE(), 75);
  const std::vector<std::int32_t> seventeen(17, 1);
  queue.Sort(seventeen);
  EXPECT_EQ(ERRORCODE(), 75);
  EXPECT_EQ(Names(), (Texts{"b", "a"}));
  const std::vector<std::int32_t> sixteen(16, 2);
  queue.Sort(sixteen);
  EXPECT_EQ(ERRORCODE(), 0);
  EXPECT_EQ(Names(), (Texts{"a", "b"}));
}

TEST_F(QueueTest, ReadEntryBindsTheEntryViewForFields) {
  Add("first", 10, 1);
  Add("second", 20, 2);
  EXPECT_FALSE(queue.Field(QueueView::Entry, 1).has_value());  // nothing bound yet
  EXPECT_FALSE(queue.ReadEntry(0));
  EXPECT_FALSE(queue.ReadEntry(3));
  ASSERT_TRUE(queue.ReadEntry(1));
  EXPECT_EQ(queue.Pointer(), 2u);  // ReadEntry does not move the pointer
  const auto name = queue.Field(QueueView::Entry, 1);
  ASSERT_TRUE(name.has_value());
  EXPECT_TRUE(name->isText);
  EXPECT_EQ(name->text, "first   ");
  EXPECT_EQ(queue.Field(QueueView::Entry, 4)->number, 5.0);
  EXPECT_EQ(queue.Field(QueueView::Probe, 2)->number, 20.0);  // the record buffer
  EXPECT_FALSE(queue.Field(QueueView::Entry, 0).has_value());
  EXPECT_FALSE(queue.Field(QueueView::Entry, 5).has_value());
}

TEST(QueueLayout, InvalidLayoutsMakeNoEngine) {
  std::byte buffer[8]{};
  const FieldDescription outside[] = {{FieldType::Int32, 6, 4}};
  const FieldDescription wrongSize[] = {{FieldType::Int32, 0, 2}};
  const FieldDescription empty[] = {{FieldType::Text, 0, 0}};
  for (std::span<const FieldDescription> fields :
       {std::span(outside), std::span(wrongSize), std::span(empty)}) {
    Queue queue(buffer, {fields, sizeof buffer});
    queue.Add();
    EXPECT_EQ(ERRORCODE(), 75);
    EXPECT_EQ(queue.Records(), 0u);
  }
  Queue noBuffer(nullptr, {std::span(outside), 0});
  EXPECT_EQ(noBuffer.Records(), 0u);
  EXPECT_EQ(ERRORCODE(), 75);
}

TEST(QueueCapacity, AFullQueueRefusesTheNextEntry) {
  std::int32_t value = 0;
  const FieldDescription fields[] = {{FieldType::Int32, 0, 4}};
  Queue queue(&value, {fields, sizeof value});
  for (std::uint32_t i = 0; i < kMaxQueueEntries; ++i) {
    value = static_cast<std::int32_t>(i);
    queue.Add();
  }
  ASSERT_EQ(ERRORCODE(), 0);
  ASSERT_EQ(queue.Records(), kMaxQueueEntries);
  const std::uint32_t changes = queue.Changes();
  value = -1;
  queue.Add();
  EXPECT_EQ(ERRORCODE(), 8);
  EXPECT_EQ(ERROR(), "Insufficient Memory");
  EXPECT_EQ(queue.Records(), kMaxQueueEntries);
  EXPECT_EQ(queue.Pointer(), kMaxQueueEntries);
  EXPECT_EQ(queue.Changes(), changes);
  queue.Get(kMaxQueueEntries);
  EXPECT_EQ(value, static_cast<std::int32_t>(kMaxQueueEntries - 1));
  queue.Sort({-1});
  queue.Get(1);
  EXPECT_EQ(value, static_cast<std::int32_t>(kMaxQueueEntries - 1));
}

}  // namespace
}  // namespace lumbra
