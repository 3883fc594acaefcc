// Feeds arbitrary bytes to the description reader as a "DABDUMP" resource
// and reads every record and field it can reach, the way a window is built:
// depth first, no deeper than the nesting limit and no more records than
// the buffer can hold.
#include <cstddef>
#include <cstdint>
#include <string>

#include "winrt/window_description.h"

namespace {

volatile std::uint32_t g_sink;

std::uint32_t U(std::int64_t v) { return static_cast<std::uint32_t>(v); }

void Touch(const lumbra::Record& r, int depth, std::size_t& budget) {
  if (!r || depth > lumbra::kMaxNestingDepth || budget == 0) return;
  --budget;
  std::uint32_t n = r.typeCode() + U(r.flags()) + U(r.dropTargets().size());
  const lumbra::Rect box = r.rect();
  n += U(box.x) + U(box.width) + U(r.text().size()) + U(r.cursor().size());
  const lumbra::InfoBlock info = r.info();
  n += U(info.EffectiveTip().size()) + U(info.help.size()) + U(info.alertKeys.size());
  n += U(r.font().face.size()) + U(r.colours().background);
  n += r.use() ? r.use()->size : 0u;
  n += U(r.icon().size()) + U(r.fileName().size()) + U(r.value().size()) + U(r.name().size());
  n += U(r.boxColours().fill) + U(r.gridColour()) + r.bevel() + (r.step() > 1.0 ? 1u : 0u);
  n += U(r.statusZones().size()) + U(r.alertKeys().size()) + U(r.wallpaper().size());
  g_sink = g_sink + n;
  Touch(r.menuBar(), depth + 1, budget);
  Touch(r.toolBar(), depth + 1, budget);
  for (const lumbra::Record& c : r.children()) Touch(c, depth + 1, budget);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string tag = "lumbra$LUMBRA";
  std::string resource = tag + '\0';
  resource.append(reinterpret_cast<const char*>(data), size);
  auto buffer = lumbra::DescriptionBuffer::FromResource(
      {reinterpret_cast<const std::uint8_t*>(resource.data()), resource.size()}, tag);
  if (!buffer) return 0;
  lumbra::Record window = buffer->FirstWindow();
  for (std::size_t i = 0; window && i < buffer->ChainLimit(); ++i, window = window.next()) {
    std::size_t budget = buffer->RecordLimit();
    Touch(window, 0, budget);
  }
  g_sink = g_sink + U(buffer->FindWindowRecord("$PICVIEWWINDOW"));
  return 0;
}
