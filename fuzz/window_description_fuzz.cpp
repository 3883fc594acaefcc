// Feeds arbitrary bytes to the description reader as a "DABDUMP" resource
// and reads every record and field it can reach.
#include <cstddef>
#include <cstdint>
#include <string>

#include "winrt/window_description.h"

namespace {

volatile std::size_t g_sink;

void Touch(const lumbra::Record& r, int depth) {
  if (!r || depth > lumbra::kMaxNestingDepth) return;
  std::size_t n = r.typeCode() + static_cast<std::size_t>(r.flags()) + r.dropTargets().size();
  const lumbra::Rect box = r.rect();
  n += static_cast<std::size_t>(box.x + box.width) + r.text().size() + r.cursor().size();
  const lumbra::InfoBlock info = r.info();
  n += info.EffectiveTip().size() + info.help.size() + info.alertKeys.size();
  n += r.font().face.size() + static_cast<std::size_t>(r.colours().background);
  n += r.use() ? r.use()->size : 0;
  n += r.icon().size() + r.fileName().size() + r.value().size() + r.name().size();
  n += static_cast<std::size_t>(r.boxColours().fill + r.gridColour() + r.bevel() + r.step());
  n += r.statusZones().size() + r.alertKeys().size() + r.wallpaper().size();
  g_sink = g_sink + n;
  Touch(r.menuBar(), depth + 1);
  Touch(r.toolBar(), depth + 1);
  for (const lumbra::Record& c : r.children()) Touch(c, depth + 1);
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
    Touch(window, 0);
  }
  g_sink = g_sink + static_cast<std::size_t>(buffer->FindWindowRecord("$PICVIEWWINDOW"));
  return 0;
}
