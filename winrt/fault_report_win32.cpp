#include "winrt/fault_report_win32.h"

#include <windows.h>

#include <tlhelp32.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/error_state.h"

namespace lumbra {

namespace {

std::atomic<bool> g_installed{false};
std::atomic<bool> g_reporting{false};
LibraryStateQuery g_stateQuery = nullptr;

// Whether size bytes from address are committed and readable.
bool Readable(std::uint64_t address, std::size_t size) {
  const auto* p = reinterpret_cast<const char*>(static_cast<std::uintptr_t>(address));
  while (size > 0) {
    MEMORY_BASIC_INFORMATION info;
    if (VirtualQuery(p, &info, sizeof info) == 0) return false;
    if (info.State != MEM_COMMIT) return false;
    const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                           PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    if (!(info.Protect & readable) || (info.Protect & PAGE_GUARD)) return false;
    const auto* end = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    const std::size_t here = static_cast<std::size_t>(end - p);
    if (here >= size) return true;
    size -= here;
    p = end;
  }
  return true;
}

template <typename T>
std::optional<T> ReadAt(std::uint64_t address) {
  if (!Readable(address, sizeof(T))) return std::nullopt;
  T value;
  std::memcpy(&value, reinterpret_cast<const void*>(static_cast<std::uintptr_t>(address)),
              sizeof value);
  return value;
}

class ReportFile {
 public:
  explicit ReportFile(const std::string& name)
      : handle_(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~ReportFile() {
    if (ok()) CloseHandle(handle_);
  }
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;
  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Write(const std::string& text) {
    DWORD written = 0;
    WriteFile(handle_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
  void Line(const char* format, auto... values) {
    char text[600];
    const int n = std::snprintf(text, sizeof text, format, values...);
    if (n > 0) Write(std::string(text, std::min<std::size_t>(n, sizeof text - 1)) + "\r\n");
  }

 private:
  HANDLE handle_;
};

unsigned U32(std::uint64_t v) { return static_cast<unsigned>(v); }

void WriteRegisters(ReportFile& f, const CONTEXT& c) {
  f.Line("Registers:");
#if defined(_M_X64) || defined(__x86_64__)
  f.Line("  EAX=%08x CS=%04x EIP=%08x EFLGS=%08x", U32(c.Rax), c.SegCs, U32(c.Rip), U32(c.EFlags));
  f.Line("  EBX=%08x SS=%04x ESP=%08x EBP=%08x", U32(c.Rbx), c.SegSs, U32(c.Rsp), U32(c.Rbp));
  f.Line("  ECX=%08x DS=%04x ESI=%08x FS=%04x", U32(c.Rcx), c.SegDs, U32(c.Rsi), c.SegFs);
  f.Line("  EDX=%08x ES=%04x EDI=%08x GS=%04x", U32(c.Rdx), c.SegEs, U32(c.Rdi), c.SegGs);
#else
  f.Line("  EAX=%08x CS=%04x EIP=%08x EFLGS=%08x", U32(c.Eax), U32(c.SegCs), U32(c.Eip),
         U32(c.EFlags));
  f.Line("  EBX=%08x SS=%04x ESP=%08x EBP=%08x", U32(c.Ebx), U32(c.SegSs), U32(c.Esp), U32(c.Ebp));
  f.Line("  ECX=%08x DS=%04x ESI=%08x FS=%04x", U32(c.Ecx), U32(c.SegDs), U32(c.Esi), U32(c.SegFs));
  f.Line("  EDX=%08x ES=%04x EDI=%08x GS=%04x", U32(c.Edx), U32(c.SegEs), U32(c.Edi), U32(c.SegGs));
#endif
}

struct Registers {
  std::uint64_t ip, sp, fp;
};

Registers RegistersOf(const CONTEXT& c) {
#if defined(_M_X64) || defined(__x86_64__)
  return {c.Rip, c.Rsp, c.Rbp};
#else
  return {c.Eip, c.Esp, c.Ebp};
#endif
}

struct ModuleListing {
  ReportFile* file;
  int count;
};

void ListModule(ModuleListing* listing, PCSTR name, std::uint64_t base, std::uint64_t size) {
  if (listing->count == 0) listing->file->Line("Loaded Module List:");
  listing->file->Line("  %08x-%08x %s", U32(base), U32(base + size), name ? name : "");
  ++listing->count;
}

#if defined(_M_X64) || defined(__x86_64__)
constexpr const char* kEnumerateModules = "EnumerateLoadedModules64";
BOOL CALLBACK OnModule(PCSTR name, DWORD64 base, ULONG size, PVOID context) {
#else
constexpr const char* kEnumerateModules = "EnumerateLoadedModules";
BOOL CALLBACK OnModule(PCSTR name, ULONG base, ULONG size, PVOID context) {
#endif
  ListModule(static_cast<ModuleListing*>(context), name, base, size);
  return TRUE;
}
using EnumerateModules = BOOL(WINAPI*)(HANDLE, decltype(&OnModule), PVOID);

// Lists modules through the system's image-help library; false when it is
// absent or lists nothing.
bool WriteImageHelpModules(ReportFile& f) {
  HMODULE library = LoadLibraryA("IMAGEHLP.DLL");
  if (!library) return false;
  ModuleListing listing{&f, 0};
  auto enumerate = reinterpret_cast<EnumerateModules>(
      reinterpret_cast<void*>(GetProcAddress(library, kEnumerateModules)));
  if (enumerate) enumerate(GetCurrentProcess(), OnModule, &listing);
  FreeLibrary(library);
  return listing.count > 0;
}

void WriteOwnModules(ReportFile& f) {
  f.Line("Loaded Module List:");
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, GetCurrentProcessId());
  if (snapshot == INVALID_HANDLE_VALUE) return;
  MODULEENTRY32 entry;
  entry.dwSize = sizeof entry;
  for (BOOL more = Module32First(snapshot, &entry); more; more = Module32Next(snapshot, &entry)) {
    f.Line("  %08x: %s", U32(reinterpret_cast<std::uintptr_t>(entry.hModule)), entry.szExePath);
  }
  CloseHandle(snapshot);
}

// The module, section (1-based) and offset within it of a code address.
CallFrame LocateAddress(std::uint64_t framePointer, std::uint64_t address) {
  CallFrame frame{framePointer, address, 0, 0, {}};
  MEMORY_BASIC_INFORMATION info;
  if (!VirtualQuery(reinterpret_cast<const void*>(static_cast<std::uintptr_t>(address)), &info,
                    sizeof info) ||
      !info.AllocationBase)
    return frame;
  const auto base = reinterpret_cast<std::uintptr_t>(info.AllocationBase);
  char name[MAX_PATH] = {};
  if (!GetModuleFileNameA(static_cast<HMODULE>(info.AllocationBase), name, MAX_PATH)) return frame;
  const auto dos = ReadAt<IMAGE_DOS_HEADER>(base);
  if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE) return frame;
  const std::uint64_t ntAt = base + static_cast<std::uint32_t>(dos->e_lfanew);
  const auto nt = ReadAt<IMAGE_NT_HEADERS>(ntAt);
  if (!nt || nt->Signature != IMAGE_NT_SIGNATURE) return frame;
  frame.module = name;
  const std::uint64_t rva = address - base;
  const std::uint64_t sectionsAt =
      ntAt + offsetof(IMAGE_NT_HEADERS, OptionalHeader) + nt->FileHeader.SizeOfOptionalHeader;
  for (unsigned i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
    const auto s = ReadAt<IMAGE_SECTION_HEADER>(sectionsAt + i * sizeof(IMAGE_SECTION_HEADER));
    if (!s) break;
    const std::uint32_t size = std::max<std::uint32_t>(s->Misc.VirtualSize, s->SizeOfRawData);
    if (rva >= s->VirtualAddress && rva < s->VirtualAddress + static_cast<std::uint64_t>(size)) {
      frame.section = i + 1;
      frame.offset = rva - s->VirtualAddress;
      break;
    }
  }
  return frame;
}

void WriteReport(std::uint32_t code, const char* name, std::uint64_t address,
                 const CONTEXT& context) {
  const std::string fileName = FaultFileName([](const std::string& n) {
    return GetFileAttributesA(n.c_str()) != INVALID_FILE_ATTRIBUTES;
  });
  ReportFile f(fileName);
  if (!f.ok()) return;
  (void)code;
  f.Line("Exception: %s at %08x", name, U32(address));
  char program[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  f.Line("Process  : %s ", program);
  WriteRegisters(f, context);
  const Registers r = RegistersOf(context);
  f.Line("Bytes at EIP:");
  f.Write(FormatByteDump(r.ip, 32, ReadAt<std::uint8_t>));
  f.Line("Stack Dump at ESP:");
  f.Write(FormatDwordDump(r.sp, 32, ReadAt<std::uint32_t>));
  f.Line("Stack Dump at EBP-32:");
  f.Write(FormatDwordDump(r.fp - 32, 32, ReadAt<std::uint32_t>));
  if (!WriteImageHelpModules(f)) WriteOwnModules(f);
  f.Line("Call Stack:");
  const auto frames = WalkFrames(r.ip, r.fp, [](std::uint64_t fp) -> std::optional<FrameLink> {
    const auto saved = ReadAt<std::uintptr_t>(fp);
    const auto ret = ReadAt<std::uintptr_t>(fp + sizeof(std::uintptr_t));
    if (!saved || !ret) return std::nullopt;
    return FrameLink{*saved, *ret};
  });
  for (const FrameLink& link : frames)
    f.Write(FormatCallFrame(LocateAddress(link.framePointer, link.address)));
  LibraryState state = g_stateQuery ? g_stateQuery() : LibraryState{};
  state.errorCode = ERRORCODE();
  state.error = ERROR();
  f.Write(FormatLibraryState(state));
}

LONG WINAPI FaultFilter(EXCEPTION_POINTERS* pointers) { return FaultReportFilter(pointers); }

}  // namespace

long FaultReportFilter(void* exceptionPointers) {
  auto* pointers = static_cast<EXCEPTION_POINTERS*>(exceptionPointers);
  const std::uint32_t code = pointers->ExceptionRecord->ExceptionCode;
  const char* name = ExceptionName(code);
  if (!name || g_reporting.exchange(true)) return EXCEPTION_CONTINUE_SEARCH;
  WriteReport(code, name,
              reinterpret_cast<std::uintptr_t>(pointers->ExceptionRecord->ExceptionAddress),
              *pointers->ContextRecord);
  // The process ends here with the exception's code, without the system's
  // crash dialog or debugger.
  return EXCEPTION_EXECUTE_HANDLER;
}

void InstallFaultHandler() {
  if (g_installed.exchange(true)) return;
  SetUnhandledExceptionFilter(FaultFilter);
}

void SetLibraryStateQuery(LibraryStateQuery query) { g_stateQuery = query; }

void WriteFaultReportAndEnd(std::uint32_t code) {
  if (!g_reporting.exchange(true)) {
    CONTEXT context;
    std::memset(&context, 0, sizeof context);
    RtlCaptureContext(&context);
    const Registers r = RegistersOf(context);
    WriteReport(code, ExceptionName(code) ? ExceptionName(code) : "Access Violation", r.ip,
                context);
  }
  ExitProcess(code);
}

}  // namespace lumbra
