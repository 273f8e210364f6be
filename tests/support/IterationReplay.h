#pragma once
// Seeded random tests: every iteration runs, or only the one `--iteration N`
// names, and each failure says how to replay it.

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>

inline int& ReplayedIteration()
{
  static int only = -1;
  return only;
}

// `run` returns an empty string when its iteration passes. Stops after five
// failures, which are enough to see a pattern.
inline void RunIterations(int count, const std::function<std::string(int)>& run)
{
  const int only = ReplayedIteration();
  const int first = only >= 0 ? only : 0, last = only >= 0 ? only : count - 1;
  int failures = 0;
  for (int it = first; it <= last && failures < 5; ++it)
  {
    const std::string fail = run(it);
    if (!fail.empty())
    {
      ++failures;
      ADD_FAILURE() << "iteration " << it << " (replay with --iteration " << it << "): " << fail;
    }
  }
}

// The test binary's main: takes `--iteration N` out of argv for GoogleTest.
inline int ReplayMain(int argc, char** argv)
{
  for (int i = 1; i < argc; ++i)
  {
    if (!strcmp(argv[i], "--iteration") && i + 1 < argc)
    {
      ReplayedIteration() = atoi(argv[i + 1]);
      memmove(argv + i, argv + i + 2, sizeof(char*) * size_t(argc - i - 1));
      argc -= 2;
      break;
    }
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
