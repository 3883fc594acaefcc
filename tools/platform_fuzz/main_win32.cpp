// The platform mutation runner: mutated copies of seed files of every
// format go through the image control's load, paint and copy under the
// real platform; a crash guard records each input that faulted or hung.
//
//   platform_fuzz run SECONDS SEEDS OUT     the runner (the crash guard)
//   platform_fuzz child FAMILY FIRST COUNT SEEDS OUT
//                                           one batch, run by the guard
//   platform_fuzz show FILE...              each file through the same
//                                           steps, its size printed; a
//                                           fault reaches the debugger
//
// Seeds are the files of SEEDS, grouped into families by extension. The
// guard runs batches in a child process, each batch for the family that
// has had the least time so far; a child that ends abnormally or stops
// answering leaves the number of the input it was on, which the guard
// makes again and keeps in OUT/findings.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tools/platform_fuzz/image_stage_win32.h"
#include "tools/platform_fuzz/mutation.h"

namespace {

using lumbra::platform_fuzz::Bytes;

struct Family {
  const char* name;
  std::vector<std::string> extensions;
};

const Family kFamilies[] = {
    {"bitmap", {".bmp"}},   {"icon", {".ico", ".cur", ".ani", ".dll"}},
    {"metafile", {".wmf"}}, {"pcx", {".pcx"}},
    {"gif", {".gif"}},      {"jpeg", {".jpg"}},
};

constexpr std::uint32_t kBatch = 200;
constexpr DWORD kBatchDeadline = 120000;  // ms; a batch that takes longer hangs

struct Seed {
  std::string extension;
  Bytes bytes;
};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::vector<Seed> SeedsOf(const Family& family, const std::string& folder) {
  std::vector<Seed> seeds;
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return seeds;
  do {
    const std::string name = found.cFileName;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) continue;
    const std::string extension = Lower(name.substr(dot));
    for (const std::string& wanted : family.extensions) {
      if (extension != wanted) continue;
      std::ifstream in(folder + "\\" + name, std::ios::binary);
      seeds.push_back({extension, Bytes(std::istreambuf_iterator<char>(in), {})});
    }
  } while (FindNextFileA(find, &found));
  FindClose(find);
  return seeds;
}

// Input number n of a family: a mutation of seed n mod the seed count.
Seed InputOf(const std::vector<Seed>& seeds, std::uint64_t n) {
  const Seed& seed = seeds[n % seeds.size()];
  return {seed.extension, lumbra::platform_fuzz::Mutate(seed.bytes, n)};
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

std::string ProgressFile(const std::string& out, const char* family) {
  return out + "\\progress-" + family;
}

// Ends the process at once with the fault's code, instead of the system's
// fault dialog, so that the guard sees an abnormal end.
LONG WINAPI EndOnFault(EXCEPTION_POINTERS* fault) {
  TerminateProcess(GetCurrentProcess(), fault->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

int RunBatch(const Family& family, std::uint64_t first, std::uint32_t count,
             const std::string& seedFolder, const std::string& out) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(EndOnFault);
  const std::vector<Seed> seeds = SeedsOf(family, seedFolder);
  if (seeds.empty()) return 0;
  lumbra::ImageStage stage;
  for (std::uint64_t n = first; n < first + count; ++n) {
    const Seed input = InputOf(seeds, n);
    const std::string path = out + "\\work\\input-" + family.name + input.extension;
    WriteBytes(path, input.bytes);
    std::ofstream(ProgressFile(out, family.name), std::ios::trunc) << n << "\n";
    stage.Show(path);
  }
  return 0;
}

struct Tally {
  std::uint64_t next = 0;  // the next input number
  std::uint64_t run = 0;   // inputs run through load, paint and copy
  std::uint64_t findings = 0;
  DWORD milliseconds = 0;  // time spent in this family's batches
};

// Runs one batch in a child process; answers the number of the input that
// faulted or hung, or -1 when the batch ended normally.
std::int64_t GuardBatch(const Family& family, const Tally& tally, const std::string& seeds,
                        const std::string& out) {
  char program[MAX_PATH];
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  std::ostringstream line;
  line << '"' << program << "\" child " << family.name << ' ' << tally.next << ' ' << kBatch
       << " \"" << seeds << "\" \"" << out << '"';
  std::string command = line.str();
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::fprintf(stderr, "cannot start a batch: %lu\n", GetLastError());
    std::exit(1);
  }
  DWORD code = 0;
  if (WaitForSingleObject(process.hProcess, kBatchDeadline) == WAIT_TIMEOUT) {
    TerminateProcess(process.hProcess, 0xDEADu);
    WaitForSingleObject(process.hProcess, INFINITE);
  }
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (code == 0) return -1;
  std::int64_t at = -1;
  std::ifstream(ProgressFile(out, family.name)) >> at;
  std::fprintf(stderr, "%s input %lld ended with code %08lX\n", family.name,
               static_cast<long long>(at), code);
  return at < static_cast<std::int64_t>(tally.next) ? static_cast<std::int64_t>(tally.next) : at;
}

// Milliseconds since the runner started (the 32-bit tick count wraps only
// after 49 days).
DWORD Elapsed(DWORD start) { return GetTickCount() - start; }

int Run(double seconds, const std::string& seedFolder, const std::string& out) {
  CreateDirectoryA(out.c_str(), nullptr);
  CreateDirectoryA((out + "\\work").c_str(), nullptr);
  CreateDirectoryA((out + "\\findings").c_str(), nullptr);
  std::map<std::string, Tally> tallies;
  std::map<std::string, std::vector<Seed>> seeds;
  for (const Family& family : kFamilies) seeds[family.name] = SeedsOf(family, seedFolder);
  const DWORD start = GetTickCount();
  const auto budget = static_cast<DWORD>(seconds * 1000);
  // Each batch goes to the family that has had the least time so far, so
  // that the families share the budget evenly however slow their inputs.
  while (Elapsed(start) < budget) {
    const Family* family = nullptr;
    for (const Family& candidate : kFamilies) {
      if (seeds[candidate.name].empty()) continue;
      if (!family || tallies[candidate.name].milliseconds < tallies[family->name].milliseconds) {
        family = &candidate;
      }
    }
    if (!family) break;
    Tally& tally = tallies[family->name];
    const DWORD batchStart = GetTickCount();
    const std::int64_t faulted = GuardBatch(*family, tally, seedFolder, out);
    tally.milliseconds += Elapsed(batchStart);
    if (faulted < 0) {
      tally.run += kBatch;
      tally.next += kBatch;
      continue;
    }
    const auto n = static_cast<std::uint64_t>(faulted);
    const Seed input = InputOf(seeds[family->name], n);
    WriteBytes(out + "\\findings\\" + family->name + "-" + std::to_string(n) + input.extension,
               input.bytes);
    tally.run += n - tally.next + 1;
    tally.findings += 1;
    tally.next = n + 1;
  }
  for (const Family& family : kFamilies) {
    const Tally& tally = tallies[family.name];
    std::printf(
        "%-8s %8llu inputs run through load, paint and copy in %lu s, %llu findings (%zu seeds)\n",
        family.name, static_cast<unsigned long long>(tally.run),
        static_cast<unsigned long>(tally.milliseconds / 1000),
        static_cast<unsigned long long>(tally.findings), seeds[family.name].size());
  }
  return 0;
}

// Each file through the stage, with what it loaded as.
int ShowFiles(int count, char** names) {
  lumbra::ImageStage stage;
  for (int i = 0; i < count; ++i) {
    std::printf("%s: ", names[i]);
    std::fflush(stdout);
    SIZE size{};
    if (stage.Show(names[i], &size)) {
      std::printf("%ldx%ld\n", size.cx, size.cy);
    } else {
      std::printf("no image\n");
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "show" && argc > 2) return ShowFiles(argc - 2, argv + 2);
  if (mode == "run" && argc == 5) return Run(std::atof(argv[2]), argv[3], argv[4]);
  if (mode == "child" && argc == 7) {
    for (const Family& family : kFamilies) {
      if (family.name == std::string(argv[2])) {
        return RunBatch(family, std::strtoull(argv[3], nullptr, 10),
                        static_cast<std::uint32_t>(std::strtoul(argv[4], nullptr, 10)), argv[5],
                        argv[6]);
      }
    }
  }
  std::fprintf(stderr,
               "usage: platform_fuzz run SECONDS SEEDS OUT\n"
               "       platform_fuzz child FAMILY FIRST COUNT SEEDS OUT\n"
               "       platform_fuzz show FILE...\n");
  return 2;
}
