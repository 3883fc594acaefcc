// A queue of records laid out like the viewer's image list (FL:PATH,
// FL:FILENAME, FL:SIZE, FL:DTPIC, FL:DATE, FL:TIME, FL:TYPE, FL:IMAGEPOS),
// for the list control's tests and benchmark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/date_time.h"
#include "core/fixed_text.h"
#include "core/picture.h"
#include "core/queue.h"

namespace lumbra::testing {

struct ImageRecord {
  FixedText<255> PATH;
  FixedText<255> FILENAME;
  std::int32_t SIZE = 0;
  FixedText<20> DTPIC;
  std::int32_t DATE = 0;
  std::int32_t TIME = 0;
  FixedText<3> TYPE;
  std::int32_t IMAGEPOS = 0;
};

inline constexpr FieldDescription kImageRecordFields[] = {
    {FieldType::Text, offsetof(ImageRecord, PATH), 255},
    {FieldType::Text, offsetof(ImageRecord, FILENAME), 255},
    {FieldType::Int32, offsetof(ImageRecord, SIZE), 4},
    {FieldType::Text, offsetof(ImageRecord, DTPIC), 20},
    {FieldType::Int32, offsetof(ImageRecord, DATE), 4},
    {FieldType::Int32, offsetof(ImageRecord, TIME), 4},
    {FieldType::Text, offsetof(ImageRecord, TYPE), 3},
    {FieldType::Int32, offsetof(ImageRecord, IMAGEPOS), 4},
};

// The list format of the viewer's file listing.
inline constexpr const char* kFileListFormat =
    "116L(1)|M~Path~S(255)@S255@57L(1)|M~Name~@S255@42R(1)|M~Size~L@N9@20L(1)~Date~@S20@/";

// What record n (from 1) of a filled list holds.
inline std::string ImageName(std::uint32_t n) { return "IMAGE" + std::to_string(n) + ".GIF"; }
inline std::int32_t ImageSize(std::uint32_t n) {
  return static_cast<std::int32_t>(n * 1237 % 9000000);
}
inline std::int32_t ImageDate(std::uint32_t n) {
  return DateSerial(2007, 10, 23) + static_cast<std::int32_t>(n % 1000);
}
inline std::int32_t ImageTime(std::uint32_t n) {
  return TimeSerial(static_cast<std::int32_t>(n % 24), static_cast<std::int32_t>(n % 60), 0, 0);
}
// The date text as the image list writes it: @D1, a blank, @T3.
inline std::string ImageDateText(std::uint32_t n) {
  return FORMAT(ImageDate(n), "@D1") + " " + FORMAT(ImageTime(n), "@T3");
}

struct ImageListQueue {
  ImageRecord FL;
  Queue queue{&FL, RecordLayout{kImageRecordFields, sizeof(ImageRecord)}};

  // Empties the queue and adds records 1 to n.
  void Fill(std::uint32_t n) {
    queue.Free();
    for (std::uint32_t i = 1; i <= n; ++i) {
      // The date texts repeat every 3,000 records; they are made once each
      // (taking one back from the queue fills the whole record buffer, so
      // that comes first).
      const std::string dateText = i <= kDatePeriod ? ImageDateText(i) : DateTextOf(i);
      FL.PATH = "C:\\PICTURES\\";
      FL.FILENAME = ImageName(i);
      FL.SIZE = ImageSize(i);
      FL.DATE = ImageDate(i);
      FL.TIME = ImageTime(i);
      FL.DTPIC = dateText;
      FL.TYPE = "GIF";
      FL.IMAGEPOS = static_cast<std::int32_t>(i);
      queue.Add();
    }
  }

 private:
  static constexpr std::uint32_t kDatePeriod = 3000;
  std::string DateTextOf(std::uint32_t n) {
    queue.Get((n - 1) % kDatePeriod + 1);
    return FL.DTPIC.str();
  }
};

}  // namespace lumbra::testing
