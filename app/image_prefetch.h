// The image the viewer is likely to show next, decoded ahead on a worker
// thread: one slot, one worker, one request at a time. The worker reads the
// file, taking the facts that decide whether the decoded image may still be
// shown with the bytes, and decodes it without an owner; the window's
// thread goes on at once, and the image is adopted for its control there
// when it is taken.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "images/image_object.h"
#include "images/image_source.h"

namespace lumbra {

// Whether the environment leaves prefetching on: LUMBRA_PREFETCH=0 turns
// it off.
bool PrefetchWanted();

// Whether a name is of a format decoded ahead: BMP, GIF, JPEG and PCX files.
// Icons and metafiles are made by the platform and loaded when shown.
bool IsPrefetchedFormat(std::string_view name);

// What a decoded image is kept under. It stands for a fresh load only while
// the name, the build of the image list and the file's size and last write
// are all as they were when its bytes were read.
struct PrefetchKey {
  std::string name;
  std::uint32_t generation = 0;
  FileFacts facts;
  friend bool operator==(const PrefetchKey&, const PrefetchKey&) = default;
};

class ImagePrefetch {
 public:
  // While it lives it is the viewer's prefetch and offers its image to the
  // image controls. Turned off (or without a thread to be had), it reads,
  // decodes and offers nothing.
  explicit ImagePrefetch(bool enabled);
  // Withdraws the offer, lets a decode in flight finish, joins the worker.
  ~ImagePrefetch();
  ImagePrefetch(const ImagePrefetch&) = delete;
  ImagePrefetch& operator=(const ImagePrefetch&) = delete;

  // Has the worker read and decode the named file, in place of what the
  // slot held. Names of formats not decoded ahead are left alone, and so is
  // the name the slot already holds for the build while its file is
  // unchanged.
  void Request(std::string_view name, std::uint32_t generation);
  // Whether the image for the name in the build is decoded and waits to be
  // taken (its file is checked when it is taken).
  bool Ready(std::string_view name, std::uint32_t generation);
  // The image decoded for the name in the build, when its file is still the
  // one read; waits while that decode runs. Nothing otherwise, and the
  // caller loads the file itself. The slot is emptied when it held the name.
  ImagePtr Take(std::string_view name, ImageLoadFlags flags, std::uint32_t generation);
  // Empties the slot when it holds the name.
  void Discard(std::string_view name);
  // Empties the slot unless it was asked for in this build of the image
  // list (the image of the command line, asked for before its list is
  // built).
  void DiscardOtherBuilds(std::uint32_t generation);

 private:
  enum class State : std::uint8_t { Empty, Queued, Decoding, Ready, Failed };
  // Queued: asked for, not yet begun. Decoding: the worker reads and
  // decodes; the key's facts are those of the bytes read once it has read.
  struct Slot {
    PrefetchKey key;
    std::uint64_t ticket = 0;  // which request the worker's result belongs to
    State state = State::Empty;
    ImagePtr image;
  };

  void Work();
  // Under the lock: the slot made empty; gives its image, to be ended
  // outside the lock.
  ImagePtr Empty();

  bool enabled_;
  std::mutex mutex_;
  std::condition_variable changed_;
  Slot slot_;
  std::uint64_t tickets_ = 0;
  bool stopping_ = false;
  std::thread worker_;  // declared last: ended (joined already) before what it uses
};

// The viewer's prefetch while one lives, else nothing.
ImagePrefetch* ViewerPrefetch();

}  // namespace lumbra
