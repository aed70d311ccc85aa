// Runs a program as a child process with its standard output and error collected into a file, and
// waits for it with a deadline. Used where a scenario ends the process (one main window per
// process, fatal errors) and by the end-to-end tests.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

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

}  // namespace zelvo_test
