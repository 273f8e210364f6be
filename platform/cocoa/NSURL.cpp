#include "platform/cocoa/NSURL.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstring>
#include <ctime>
#include <thread>

extern char** environ;

namespace
{

bool isHex(char c)
{
  return isxdigit(static_cast<unsigned char>(c)) != 0;
}

bool urlByteAllowed(unsigned char c)
{
  if (c <= 0x20 || c >= 0x7F)
    return false;
  return !strchr("<>\"{}|\\^`", c);
}

// The scheme of text: letters, digits, "+", "-" and "." after a letter,
// ending at the first ":"; empty when there is none.
std::string schemeOf(const std::string& text)
{
  size_t colon = text.find(':');
  if (colon == std::string::npos || colon == 0 || !isalpha(static_cast<unsigned char>(text[0])))
    return std::string();
  std::string s;
  for (size_t i = 0; i < colon; ++i)
  {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (!isalnum(c) && c != '+' && c != '-' && c != '.')
      return std::string();
    s += char(tolower(c));
  }
  return s;
}

std::string percentEncodePath(const std::string& path)
{
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : path)
  {
    if (isalnum(c) || strchr("-._~/", c))
    {
      out += char(c);
    }
    else
    {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

// Waits up to a second for the child; true when it succeeded or is still
// running (a thread then reaps it).
bool childSucceeded(pid_t pid)
{
  for (int ms = 0; ms < 1000; ++ms)
  {
    int status = 0;
    pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid)
      return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (r < 0)
      return true; // reaped elsewhere: it did start
    timespec pause = {0, 1000000};
    nanosleep(&pause, nullptr);
  }
  std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
  return true;
}

} // namespace

NSURL* NSURL::URLWithString(const char* text)
{
  if (!text || !*text)
    return nullptr;
  std::string s(text);
  for (size_t i = 0; i < s.size(); ++i)
  {
    if (!urlByteAllowed(static_cast<unsigned char>(s[i])))
      return nullptr;
    if (s[i] == '%' && (i + 2 >= s.size() || !isHex(s[i + 1]) || !isHex(s[i + 2])))
      return nullptr;
  }
  if (schemeOf(s).empty())
    return nullptr;
  return new NSURL(std::move(s));
}

NSURL* NSURL::fileURLWithPath(const char* path)
{
  if (!path || !*path)
    NSFatal("NSURL fileURLWithPath: nil or empty string parameter");
  std::string p(path);
  if (p[0] != '/')
  {
    char cwd[4096];
    std::string base = getcwd(cwd, sizeof cwd) ? cwd : "/";
    p = base + (base.back() == '/' ? "" : "/") + p;
  }
  return new NSURL("file://" + percentEncodePath(p));
}

std::string NSURL::scheme() const
{
  return schemeOf(mText);
}

NSWorkspace* NSWorkspace::sharedWorkspace()
{
  static NSWorkspace* shared = new NSWorkspace;
  return shared;
}

bool NSWorkspace::openURL(const NSURL* url)
{
  if (!url)
    return false;
  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0)
    return false;
  // The opener gets no terminal input and none of the host's files.
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  std::string program = mOpener, arg = url->absoluteString();
  char* argv[] = {program.data(), arg.data(), nullptr};
  pid_t pid = -1;
  int err = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (err != 0)
    return false;
  return childSucceeded(pid);
}
