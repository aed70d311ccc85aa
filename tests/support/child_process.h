// Runs a program as a child process with its standard output and error collected into a file, and
// waits for it with a deadline. Used where a scenario ends the process (one main window per
// process, fatal errors) and by the end-to-end tests. On Windows only run_child_test is offered,
// made with CreateProcessA.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zelvo_test {

#ifdef _WIN32

// Runs one DISABLED_ test of this program in a child process and waits for it: its exit status
// (-1 when it did not end in time) and what it wrote to standard output and error.
inline std::pair<int, std::string> run_child_test(
    const std::string& name, std::chrono::seconds deadline = std::chrono::seconds(60)) {
  char self[MAX_PATH] = {}, folder[MAX_PATH] = {}, output_path[MAX_PATH] = {};
  if (!GetModuleFileNameA(nullptr, self, MAX_PATH) || !GetTempPathA(MAX_PATH, folder) ||
      !GetTempFileNameA(folder, "zct", 0, output_path))
    return {-1, "no place for the child's output\n"};
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE output = CreateFileA(output_path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (output == INVALID_HANDLE_VALUE) return {-1, "no place for the child's output\n"};
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = output;
  startup.hStdError = output;
  std::string command =
      std::string("\"") + self + "\" --gtest_also_run_disabled_tests --gtest_filter=" + name;
  PROCESS_INFORMATION child{};
  const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &child);
  CloseHandle(output);
  int status = -1;
  std::string note;
  if (!started) {
    note = "the child did not start\n";
  } else {
    const DWORD ms = static_cast<DWORD>(deadline.count() * 1000);
    if (WaitForSingleObject(child.hProcess, ms) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(child.hProcess, &code);
      status = static_cast<int>(code);
    } else {
      TerminateProcess(child.hProcess, 1);
      WaitForSingleObject(child.hProcess, 5000);
      note = "child did not end in time\n";
    }
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
  }
  std::ifstream in(output_path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  in.close();
  DeleteFileA(output_path);
  return {status, note + text.str()};
}

#else

class ChildProcess {
 public:
  // Starts `argv[0]` with the given arguments. `env` entries "NAME=value" are set, "NAME" alone is
  // removed from the child's environment. `cwd` empty keeps the current directory.
  ChildProcess(std::vector<std::string> argv, std::vector<std::string> env = {},
               std::string cwd = {}) {
    char path[] = "/tmp/zelvo-child-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return;
    output_path_ = path;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(fd, 1);
      dup2(fd, 2);
      const int null_in = open("/dev/null", O_RDONLY);
      if (null_in >= 0) dup2(null_in, 0);
      for (const std::string& e : env) {
        const auto eq = e.find('=');
        if (eq == std::string::npos)
          unsetenv(e.c_str());
        else
          setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
      }
      if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
      std::vector<char*> args;
      for (std::string& a : argv) args.push_back(a.data());
      args.push_back(nullptr);
      execv(args[0], args.data());
      _exit(127);
    }
    close(fd);
  }
  ~ChildProcess() {
    if (running()) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (!output_path_.empty()) unlink(output_path_.c_str());
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }
  bool running() const { return pid_ > 0 && !exited_; }

  // Waits until the child ends or the deadline passes; true when it ended.
  bool wait(std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (running()) {
      int status = 0;
      const pid_t r = waitpid(pid_, &status, WNOHANG);
      if (r == pid_) {
        exited_ = true;
        status_ = status;
        break;
      }
      if (r < 0 || std::chrono::steady_clock::now() >= end) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return !running();
  }

  // The exit status of a normal end; -1 while running or after a signal.
  int exit_status() const { return exited_ && WIFEXITED(status_) ? WEXITSTATUS(status_) : -1; }
  bool killed_by_signal() const { return exited_ && WIFSIGNALED(status_); }

  std::string output() const {
    std::ifstream in(output_path_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

 private:
  pid_t pid_ = -1;
  bool exited_ = false;
  int status_ = 0;
  std::string output_path_;
};

// This test program's own path, for re-running it with a test filter.
inline std::string self_path() {
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  buf[n] = 0;
  return buf;
}

// Runs one DISABLED_ test of this program in a child process and waits for it.
inline std::pair<int, std::string> run_child_test(
    const std::string& name, std::chrono::seconds deadline = std::chrono::seconds(60)) {
  ChildProcess child({self_path(), "--gtest_also_run_disabled_tests", "--gtest_filter=" + name});
  if (!child.wait(deadline)) return {-1, "child did not end in time\n" + child.output()};
  return {child.exit_status(), child.output()};
}

#endif

}  // namespace zelvo_test
