// The viewer's prefetch: the slot, its worker thread, and the offer of the
// decoded image to the image controls.
#include <windows.h>

#include <algorithm>
#include <exception>
#include <optional>
#include <system_error>
#include <utility>

#include "app/image_list.h"
#include "app/image_prefetch.h"
#include "images/gif_image.h"
#include "images/image_format_registry.h"
#include "images/image_formats.h"
#include "winrt/image_control_win32.h"

namespace lumbra {

namespace {

// Image controls load with their placement alone; the worker decodes with
// none, and the taker's placement is put on the image when it is adopted.
constexpr ImageLoadFlags kDecodeFlags = kPlaceStretched;

ImagePrefetch* g_viewerPrefetch = nullptr;

}  // namespace

bool PrefetchWanted() {
  char value[8] = {};
  const DWORD length = GetEnvironmentVariableA("LUMBRA_PREFETCH", value, sizeof value);
  return !(length == 1 && value[0] == '0');
}

bool IsPrefetchedFormat(std::string_view name) {
  if (name.empty() || name[0] == '~') return false;
  return IsDecodedAheadExtension(LookupExtension(name));
}

ImagePrefetch::ImagePrefetch(bool enabled) : enabled_(enabled) {
  g_viewerPrefetch = this;
  if (!enabled_) return;
  try {
    worker_ = std::thread([this] { Work(); });
  } catch (const std::system_error&) {
    enabled_ = false;
    return;
  }
  SetImageSupply([this](std::string_view name, ImageLoadFlags flags) {
    return Take(name, flags, ImageListGeneration);
  });
}

ImagePrefetch::~ImagePrefetch() {
  g_viewerPrefetch = nullptr;
  if (!enabled_) return;
  SetImageSupply(nullptr);
  ImagePtr dropped;
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    dropped = Empty();
  }
  changed_.notify_all();
  worker_.join();
}

ImagePtr ImagePrefetch::Empty() {
  slot_.key = {};
  slot_.ticket = ++tickets_;
  slot_.state = State::Empty;
  return std::move(slot_.image);
}

void ImagePrefetch::Request(std::string_view name, std::uint32_t generation) {
  if (!enabled_ || !IsPrefetchedFormat(name)) return;
  std::optional<FileFacts> held;
  {
    const std::lock_guard lock(mutex_);
    if (slot_.key.name == name && slot_.key.generation == generation) {
      // Under way: its file is checked when it is taken.
      if (slot_.state == State::Queued || slot_.state == State::Decoding) return;
      if (slot_.state == State::Ready) held = slot_.key.facts;
    }
  }
  if (held && FileFactsOf(name) == held) return;
  ImagePtr dropped;
  {
    const std::lock_guard lock(mutex_);
    dropped = Empty();
    slot_.key = {std::string(name), generation, {}};
    slot_.state = State::Queued;
  }
  changed_.notify_all();
}

bool ImagePrefetch::Ready(std::string_view name, std::uint32_t generation) {
  if (!enabled_) return false;
  const std::lock_guard lock(mutex_);
  return slot_.state == State::Ready && slot_.key.name == name &&
         slot_.key.generation == generation;
}

ImagePtr ImagePrefetch::Take(std::string_view name, ImageLoadFlags flags,
                             std::uint32_t generation) {
  if (!enabled_) return nullptr;
  ImagePtr image;
  ImagePtr dropped;
  PrefetchKey key;
  {
    std::unique_lock lock(mutex_);
    if (slot_.state == State::Empty || slot_.key.name != name) return nullptr;
    // Not decoded twice: a decode under way is waited for. One still queued
    // is not begun here; the caller's own load is as quick.
    changed_.wait(lock, [this] { return slot_.state != State::Decoding; });
    if (slot_.state == State::Ready && (flags & ~kPlacementMask) == kDecodeFlags) {
      image = std::move(slot_.image);
      key = slot_.key;
    }
    dropped = Empty();
  }
  if (!image) return nullptr;
  // The file must still be the one read.
  const std::optional<FileFacts> now = FileFactsOf(name);
  if (!now || !(key == PrefetchKey{std::string(name), generation, *now})) return nullptr;
  return image;
}

void ImagePrefetch::Discard(std::string_view name) {
  ImagePtr dropped;
  const std::lock_guard lock(mutex_);
  if (slot_.state != State::Empty && slot_.key.name == name) dropped = Empty();
}

void ImagePrefetch::DiscardOtherBuilds(std::uint32_t generation) {
  ImagePtr dropped;
  const std::lock_guard lock(mutex_);
  if (slot_.state != State::Empty && slot_.key.generation != generation) dropped = Empty();
}

void ImagePrefetch::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || slot_.state == State::Queued; });
    if (stopping_) return;
    const std::uint64_t ticket = slot_.ticket;
    const std::string name = slot_.key.name;
    slot_.state = State::Decoding;
    lock.unlock();
    ImagePtr image;
    std::optional<FileFacts> facts;
    try {
      // A file that cannot be read is left to its load, which tells.
      if (std::optional<ImageFile> file = ReadImageFile(name)) {
        facts = file->facts;
        image = DecodeImageFile(name, *file, kDecodeFlags);
        if (auto* gif = dynamic_cast<GifImage*>(image.get())) gif->RenderFirstFrame();
      }
    } catch (const std::exception&) {
      image = nullptr;  // out of memory: the load will try again
    }
    lock.lock();
    if (slot_.ticket == ticket) {
      if (facts) slot_.key.facts = *facts;
      slot_.image = std::move(image);
      slot_.state = slot_.image ? State::Ready : State::Failed;
    }
    changed_.notify_all();
    // A result no longer wanted ends here, outside the lock.
    if (image) {
      lock.unlock();
      image.reset();
      lock.lock();
    }
  }
}

ImagePrefetch* ViewerPrefetch() { return g_viewerPrefetch; }

}  // namespace lumbra
