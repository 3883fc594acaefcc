// A program started by a test: its process and thread handles, closed when
// the test is done, and the process ended first if it is still running, so
// that a failing test leaves nothing behind.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/native_probe_win32.h"

namespace lumbra::probe {

class ChildProcess {
 public:
  // Starts the program with the command line "\"program\" arguments" in
  // the folder given.
  ChildProcess(const std::string& program, const std::string& arguments,
               const std::string& folder) {
    std::string command = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info_)) {
      info_ = {};
    }
  }
  ~ChildProcess() {
    if (!Started()) return;
    if (Running()) {
      TerminateProcess(info_.hProcess, 1);
      WaitForSingleObject(info_.hProcess, kPatience);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return info_.hProcess != nullptr; }
  bool Running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
  HANDLE Handle() const { return info_.hProcess; }
  DWORD Id() const { return info_.dwProcessId; }

  // Whether the process ends within the patience given.
  bool Ends(DWORD patience = kPatience) const {
    return WaitForSingleObject(info_.hProcess, patience) == WAIT_OBJECT_0;
  }
  // The exit code (STILL_ACTIVE while the process runs).
  DWORD ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION info_{};
};

}  // namespace lumbra::probe
