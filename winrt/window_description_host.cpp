// On the host there are no program modules: descriptions come only from
// sources that the caller installs (tests hold theirs in memory).
#include "winrt/window_description.h"

namespace lumbra {

namespace {
class NoModules final : public ResourceSource {
 public:
  ModuleHandle ProgramModule() const override { return 0; }
  std::vector<ModuleHandle> LoadedModules() const override { return {}; }
  std::optional<std::span<const std::uint8_t>> FindModuleResource(ModuleHandle, std::string_view,
                                                                  std::string_view) const override {
    return std::nullopt;
  }
};
}  // namespace

const ResourceSource& DefaultResourceSource() {
  static const NoModules none;
  return none;
}

}  // namespace lumbra
