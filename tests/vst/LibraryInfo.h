#pragma once
// Reading a built VST 2 library from outside: its exported names and a run
// of a command with its output.

#include <cstdio>
#include <set>
#include <string>

// Runs a shell command; its standard output and error, or "" when it cannot run.
inline std::string RunCommand(const std::string& command)
{
  std::string out;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe)
    return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof(buf), pipe)) > 0)
    out.append(buf, n);
  pclose(pipe);
  return out;
}

// Names of the defined global symbols in a library's dynamic table (nm -D).
inline std::set<std::string> ExportedNames(const std::string& path)
{
  std::set<std::string> names;
  std::string listing = RunCommand("nm -D --defined-only '" + path + "'");
  size_t pos = 0;
  while (pos < listing.size())
  {
    size_t end = listing.find('\n', pos);
    if (end == std::string::npos)
      end = listing.size();
    std::string line = listing.substr(pos, end - pos);
    pos = end + 1;
    // "<address> <type> <name>": upper-case types are global.
    size_t a = line.find(' '), b = a == std::string::npos ? a : line.find(' ', a + 1);
    if (b == std::string::npos || a + 2 != b || !isupper(static_cast<unsigned char>(line[a + 1])))
      continue;
    if (line[a + 1] == 'A')
      continue; // version node names
    names.insert(line.substr(b + 1));
  }
  return names;
}
