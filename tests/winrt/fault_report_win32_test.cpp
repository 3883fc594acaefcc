// The fault report as a faulting program writes it: a child process faults
// in this test's working folder and the test reads what it left.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string ChildPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path);
  return p.substr(0, p.find_last_of("\\/") + 1) + "winrt_fault_child.exe";
}

// Runs the child with an argument and returns its exit code.
DWORD RunChild(const std::string& argument) {
  std::string command = "\"" + ChildPath() + "\" " + argument;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    ADD_FAILURE() << "cannot start " << command;
    return 0;
  }
  if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
    ADD_FAILURE() << argument << ": the child did not end";
    TerminateProcess(process.hProcess, 1);
  }
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

std::string ReadAll(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool Exists(const std::string& name) {
  return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveReports() {
  for (const char* c = "123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_"; *c; ++c) {
    DeleteFileA((std::string("WXFAULT") + *c + ".TXT").c_str());
  }
}

TEST(FaultReportChild, AccessViolationWritesEverySectionInOrder) {
  RemoveReports();
  EXPECT_EQ(RunChild("access"), 0xC0000005u);
  const std::string report = ReadAll("WXFAULT1.TXT");
  ASSERT_FALSE(report.empty()) << "no WXFAULT1.TXT";
  const std::vector<std::string> sections = {
      "Exception: Access Violation at ",
      "\r\nProcess  : ",
      ".exe \r\nRegisters:\r\n  EAX=",
      " CS=",
      "\r\n  EBX=",
      "\r\n  ECX=",
      "\r\n  EDX=",
      "\r\nBytes at EIP:\r\n  ",
      "\r\nStack Dump at ESP:\r\n  ",
      "\r\nStack Dump at EBP-32:\r\n",
      "Loaded Module List:\r\n  ",
      "Call Stack:\r\n",
      "winrt_fault_child.exe\n",
      "Library State:\r\n  EVENT      = 0\r\n",
      "  ERRORCODE  = 535\r\n  ERROR      = Window is already open\r\n"};
  std::size_t at = 0;
  for (const std::string& s : sections) {
    const std::size_t found = report.find(s, at);
    ASSERT_NE(found, std::string::npos) << "missing or out of order: " << s << "\n" << report;
    at = found + s.size();
  }
}

TEST(FaultReportChild, NextNameAfterNineAndNothingForOtherCodes) {
  RemoveReports();
  for (char c = '1'; c <= '9'; ++c) std::ofstream(std::string("WXFAULT") + c + ".TXT") << "old";
  RunChild("C000001D");
  EXPECT_TRUE(Exists("WXFAULTA.TXT"));
  EXPECT_NE(ReadAll("WXFAULTA.TXT").find("Exception: Illegal Instruction at "), std::string::npos);
  EXPECT_EQ(ReadAll("WXFAULT1.TXT"), "old");

  // Integer divide by zero is not one of the reported faults: the handler
  // passes it on (EXCEPTION_CONTINUE_SEARCH = 0) and writes nothing.
  EXPECT_EQ(RunChild("ask C0000094"), 10u);
  EXPECT_FALSE(Exists("WXFAULTB.TXT"));
  // The handler's answer for a reported fault ends the process (1).
  EXPECT_EQ(RunChild("ask C00000FD"), 11u);
  EXPECT_NE(ReadAll("WXFAULTB.TXT").find("Exception: Stack Overflow at "), std::string::npos);
  RemoveReports();
}

}  // namespace
