// An independently written host finds and instantiates the libraries:
// Ardour's headless VST 2 scanner. It always exits 0, so its output and its
// cache file are what count.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/vst/LibraryInfo.h"

namespace
{

constexpr const char* kScanner = "/usr/lib/ardour7/ardour-vst-scanner";

struct ScanResult
{
  std::string output, cache;
};

ScanResult Scan(const std::string& library)
{
  namespace fs = std::filesystem;
  char dirTemplate[] = "/tmp/kestrel-vstscan-XXXXXX";
  ScanResult result;
  if (!mkdtemp(dirTemplate))
    return result;
  const std::string dir = dirTemplate;
  result.output = RunCommand("XDG_CACHE_HOME='" + dir + "' LD_LIBRARY_PATH=/usr/lib/ardour7 timeout 120 " + kScanner +
                             " -f '" + library + "'");
  for (const auto& entry : fs::recursive_directory_iterator(dir))
  {
    if (entry.path().extension() != ".v2i")
      continue;
    std::ifstream in(entry.path());
    std::stringstream text;
    text << in.rdbuf();
    result.cache += text.str();
  }
  fs::remove_all(dir);
  return result;
}

ScanResult ExpectFound(const std::string& library, const std::string& name, const std::string& maker)
{
  ScanResult r = Scan(library);
  EXPECT_NE(r.output.find("Found Plugin:"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find(name), std::string::npos) << r.output;
  EXPECT_NE(r.cache.find("name=\"" + name + "\""), std::string::npos) << r.cache;
  EXPECT_NE(r.cache.find("creator=\"" + maker + "\""), std::string::npos) << r.cache;
  EXPECT_NE(r.cache.find("n_inputs=\"4\""), std::string::npos) << r.cache;
  EXPECT_NE(r.cache.find("n_outputs=\"2\""), std::string::npos) << r.cache;
  EXPECT_NE(r.cache.find("can_process_replace=\"1\""), std::string::npos) << r.cache;
  return r;
}

class ArdourScanner : public ::testing::Test
{
protected:
  void SetUp() override
  {
    if (access(kScanner, X_OK) != 0)
      GTEST_SKIP() << "Ardour's VST 2 scanner is not installed (package ardour)";
#ifdef VST_SANITIZED_BUILD
    GTEST_SKIP() << "the scanner cannot load a sanitized library; the release build runs this test";
#endif
  }
};

TEST_F(ArdourScanner, FindsTheTestEffect)
{
  ExpectFound(VST_TEST_EFFECT_PATH, "Test Effect", "Test Maker");
}

#ifdef KESTREL_VST_PATH
TEST_F(ArdourScanner, FindsKestrelVST)
{
  ScanResult r = ExpectFound(KESTREL_VST_PATH, "Kestrel Compressor", "Brackmere Audio");
  EXPECT_NE(r.cache.find("has_editor=\"1\""), std::string::npos) << r.cache;
}
#endif

} // namespace
