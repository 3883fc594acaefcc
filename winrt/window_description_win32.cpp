// The process's modules as the source of window descriptions.
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <string>

#include "winrt/window_description.h"

namespace lumbra {

namespace {

// Closes a toolhelp snapshot when it goes out of scope.
class Snapshot {
 public:
  explicit Snapshot(HANDLE handle) : handle_(handle) {}
  ~Snapshot() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  Snapshot(const Snapshot&) = delete;
  Snapshot& operator=(const Snapshot&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

HMODULE AsModule(ModuleHandle module) { return reinterpret_cast<HMODULE>(module); }

class ProcessModules final : public ResourceSource {
 public:
  ModuleHandle ProgramModule() const override {
    const ModuleHandle chosen = ProgramResourceModule();
    return chosen != 0 ? chosen : reinterpret_cast<ModuleHandle>(GetModuleHandleA(nullptr));
  }

  std::vector<ModuleHandle> LoadedModules() const override {
    std::vector<ModuleHandle> modules;
    Snapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0));
    if (snapshot.get() == INVALID_HANDLE_VALUE) return modules;
    MODULEENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Module32First(snapshot.get(), &entry); more;
         more = Module32Next(snapshot.get(), &entry)) {
      modules.push_back(reinterpret_cast<ModuleHandle>(entry.hModule));
    }
    return modules;
  }

  std::optional<std::span<const std::uint8_t>> FindModuleResource(
      ModuleHandle module, std::string_view type, std::string_view name) const override {
    const std::string typeText(type), nameText(name);
    HRSRC found = FindResourceA(AsModule(module), nameText.c_str(), typeText.c_str());
    if (found == nullptr) return std::nullopt;
    HGLOBAL loaded = LoadResource(AsModule(module), found);
    const DWORD size = SizeofResource(AsModule(module), found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data == nullptr) return std::nullopt;
    // Resource data stays mapped as long as its module is loaded.
    return std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(data), size);
  }
};

}  // namespace

const ResourceSource& DefaultResourceSource() {
  static const ProcessModules modules;
  return modules;
}

}  // namespace lumbra
