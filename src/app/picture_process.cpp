#include "app/picture_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace qalto {
namespace {

// Sends all bytes; a writer that ended without reading them makes it stop (no SIGPIPE: the
// drawing goes through a socket).
void SendAll(int socket, const std::string& bytes) {
  for (size_t sent = 0; sent < bytes.size();) {
    ssize_t n = ::send(socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    sent += static_cast<size_t>(n);
  }
}

std::string ReadAll(int descriptor) {
  std::string text;
  char buffer[4096];
  for (;;) {
    ssize_t n = ::read(descriptor, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return text;
    text.append(buffer, static_cast<size_t>(n));
  }
}

// The last line the writer wrote to standard error: its reason, after any warning of Qt's.
std::string LastLine(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
    text.pop_back();
  const size_t end = text.rfind('\n');
  return end == std::string::npos ? text : text.substr(end + 1);
}

// Starts the writer with its standard input and error on the descriptors given and every
// signal unblocked (qalto-batch blocks TERM and INT for its watcher); 0 or the error number.
int Spawn(const std::string& writer, std::vector<std::string> arguments, int input, int errors,
          pid_t& child) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errors, STDERR_FILENO);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  std::vector<char*> argv;
  for (std::string& argument : arguments)
    argv.push_back(argument.data());
  argv.push_back(nullptr);
  const int failed =
      posix_spawn(&child, writer.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return failed;
}

}  // namespace

std::string PaintInProcess(const std::string& writer, const std::string& drawing,
                           const std::string& path, int width, int height) {
  const std::string cannotStart = "PNG pictures need the picture writer " + writer + ": ";
  int input[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, input) != 0)
    return cannotStart + std::strerror(errno);
  int errors[2];
  if (::pipe2(errors, O_CLOEXEC) != 0) {
    const int error = errno;
    ::close(input[0]);
    ::close(input[1]);
    return cannotStart + std::strerror(error);
  }
  pid_t child = 0;
  const int failed = Spawn(writer, {writer, path, std::to_string(width), std::to_string(height)},
                           input[1], errors[1], child);
  ::close(input[1]);
  ::close(errors[1]);
  if (failed != 0) {
    ::close(input[0]);
    ::close(errors[0]);
    return cannotStart + std::strerror(failed);
  }
  SendAll(input[0], drawing);
  ::close(input[0]);
  const std::string reason = LastLine(ReadAll(errors[0]));
  ::close(errors[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return "";
  if (WIFSIGNALED(status)) {
    return "cannot write " + path + ": the picture writer stopped by signal " +
           std::to_string(WTERMSIG(status));
  }
  return "cannot write " + path + (reason.empty() ? "" : ": " + reason);
}

}  // namespace qalto
