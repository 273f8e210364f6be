// The built libraries as hosts load them: export list, both entry points,
// the bundle layout, and the compressor's own identity, texts, chunks and
// audio through dlopen.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "tests/vst/LibraryInfo.h"
#include "platform/vst/VstRecords.h"
#include "tests/vst/TestHost.h"
#include "wdl/IPlug/vst/IPlugVSTBundle.h"

using namespace vst;

namespace
{

class Library
{
public:
  // Kept mapped after dlclose, as hosts keep plug-in bundles loaded.
  explicit Library(const char* path) : mHandle(dlopen(path, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)) {}
  ~Library()
  {
    if (mHandle)
      dlclose(mHandle);
  }
  TestHost::Entry Entry(const char* name) const
  {
    return mHandle ? reinterpret_cast<TestHost::Entry>(dlsym(mHandle, name)) : nullptr;
  }
  bool Loaded() const { return mHandle; }

private:
  void* mHandle;
};

std::vector<const char*> Libraries()
{
  std::vector<const char*> paths = {VST_TEST_EFFECT_PATH};
#ifdef KESTREL_VST_PATH
  paths.push_back(KESTREL_VST_PATH);
#endif
  return paths;
}

TEST(VstLibrary, ExportsOnlyTheEntryPoints)
{
  if (RunCommand("nm --version").find("GNU nm") == std::string::npos)
    GTEST_SKIP() << "nm is not installed";
  for (const char* path : Libraries())
    EXPECT_EQ(ExportedNames(path), (std::set<std::string>{"VSTPluginMain", "main"})) << path;
}

TEST(VstLibrary, BothEntryPointsCreateEffects)
{
  for (const char* path : Libraries())
  {
    Library lib(path);
    ASSERT_TRUE(lib.Loaded()) << dlerror();
    for (const char* name : {"VSTPluginMain", "main"})
    {
      TestHost::Entry entry = lib.Entry(name);
      ASSERT_NE(entry, nullptr) << path << " " << name;
      TestHost host;
      AEffect* e = host.Create(entry);
      ASSERT_NE(e, nullptr);
      EXPECT_EQ(e->magic, kVstEffectMagic);
      EXPECT_EQ(e->numInputs, 4);
      EXPECT_EQ(e->numOutputs, 2);
    }
  }
}

TEST(VstLibrary, SitsInItsBundle)
{
  for (std::string path : Libraries())
  {
    std::string contents = path.substr(0, path.rfind('/'));
    EXPECT_EQ(contents.substr(contents.size() - 13), ".vst/Contents") << path;
    EXPECT_EQ(access((contents + "/Resources").c_str(), F_OK), 0) << path;
  }
}

TEST(VstBundle, ResourcesBesideTheLibrary)
{
  WDL_String s;
  ASSERT_TRUE(VSTResourcePathForLibrary("/opt/vst/KestrelVST.vst/Contents/KestrelVST.so", &s));
  EXPECT_STREQ(s.Get(), "/opt/vst/KestrelVST.vst/Contents/Resources");
  ASSERT_TRUE(VSTResourcePathForLibrary("/KestrelVST.so", &s));
  EXPECT_STREQ(s.Get(), "/Resources");
  ASSERT_TRUE(VSTResourcePathForLibrary("KestrelVST.so", &s));
  EXPECT_STREQ(s.Get(), "./Resources");
  EXPECT_FALSE(VSTResourcePathForLibrary("", &s));
  EXPECT_FALSE(VSTResourcePathForLibrary(nullptr, &s));

  // Linked into this test program, the lookup names the program, not a host.
  char self[4096] = {};
  ASSERT_GT(readlink("/proc/self/exe", self, sizeof(self) - 1), 0);
  WDL_String expected;
  VSTResourcePathForLibrary(self, &expected);
  ASSERT_TRUE(VSTGetBundleResourcePath(&s));
  char resolved[4096] = {};
  std::string found = s.Get();
  std::string dir = found.substr(0, found.rfind('/'));
  ASSERT_NE(realpath(dir.c_str(), resolved), nullptr);
  EXPECT_EQ(std::string(resolved) + "/Resources", expected.Get());
}

#ifdef KESTREL_VST_PATH

class KestrelLibrary : public ::testing::Test
{
protected:
  void SetUp() override
  {
    ASSERT_TRUE(mLib.Loaded()) << dlerror();
    mEntry = mLib.Entry("VSTPluginMain");
    ASSERT_NE(mEntry, nullptr);
  }
  Library mLib{KESTREL_VST_PATH};
  TestHost::Entry mEntry = nullptr;
};

TEST_F(KestrelLibrary, Identity)
{
  TestHost host;
  AEffect* e = host.Create(mEntry);
  EXPECT_EQ(e->flags, 0x1019); // with an editor
  ERect* rect = nullptr;
  EXPECT_EQ(host.Dispatch(op::kEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right - rect->left, 700);
  EXPECT_EQ(rect->bottom - rect->top, 249);
  EXPECT_EQ(e->numParams, 12);
  EXPECT_EQ(e->numPrograms, 120);
  EXPECT_EQ(e->uniqueID, 0x34713335);
  EXPECT_EQ(e->version, 20000);
  EXPECT_EQ(e->initialDelay, 0);
  CanaryBuffer name(kVstEffectNameBytes), vendor(kVstVendorBytes), product(kVstProductBytes);
  EXPECT_EQ(host.Dispatch(op::kGetEffectName, 0, 0, name.Data()), 1);
  EXPECT_EQ(host.Dispatch(op::kGetVendorString, 0, 0, vendor.Data()), 1);
  EXPECT_EQ(host.Dispatch(op::kGetProductString, 0, 0, product.Data()), 1);
  EXPECT_EQ(name.Text(), "Kestrel Compressor");
  EXPECT_EQ(vendor.Text(), "Brackmere Audio");
  EXPECT_EQ(product.Text(), "");
  EXPECT_TRUE(name.GuardsIntact() && vendor.GuardsIntact() && product.GuardsIntact());
}

TEST_F(KestrelLibrary, EveryNameFitsWhole)
{
  TestHost host;
  AEffect* e = host.Create(mEntry);
  size_t longest = 0;
  int named = 0;
  for (int i = 0; i < e->numPrograms; ++i)
  {
    CanaryBuffer buf(kVstProgramNameBytes);
    named += int(host.Dispatch(op::kGetProgramNameIndexed, i, 0, buf.Data()));
    ASSERT_TRUE(buf.Terminated() && buf.GuardsIntact()) << i;
    longest = std::max(longest, buf.Text().size());
  }
  EXPECT_EQ(longest, 46u);
  EXPECT_EQ(named, 120); // 95 presets plus the "- n -" names of empty slots
  const char* names[] = {"Threshold", "Ratio",        "Compensation", "Attack",  "Release",     "Parallel",
                         "Decadence", "Detector HPF", "Sidechain",    "Impetus", "Auto Makeup", "Meter"};
  for (int i = 0; i < 12; ++i)
  {
    CanaryBuffer buf(kVstParamTextBytes), display(kVstParamTextBytes), label(kVstParamTextBytes);
    host.Dispatch(op::kGetParamName, i, 0, buf.Data());
    host.Dispatch(op::kGetParamDisplay, i, 0, display.Data());
    host.Dispatch(op::kGetParamLabel, i, 0, label.Data());
    EXPECT_EQ(buf.Text(), names[i]);
    EXPECT_TRUE(buf.GuardsIntact() && display.GuardsIntact() && label.GuardsIntact() && display.Terminated());
  }
  CanaryBuffer ratio(kVstParamTextBytes);
  host.Dispatch(op::kGetParamDisplay, 1, 0, ratio.Data());
  EXPECT_EQ(ratio.Text(), "4:1");
}

TEST_F(KestrelLibrary, ChunksCarryTheHeaderAndTwelveValues)
{
  TestHost host;
  AEffect* e = host.Create(mEntry);
  void* data = nullptr;
  ASSERT_EQ(host.Dispatch(op::kGetChunk, 1, 0, &data), 104);
  const uint8_t header[8] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
  EXPECT_EQ(memcmp(data, header, 8), 0);

  std::vector<double> values(12);
  memcpy(values.data(), static_cast<uint8_t*>(data) + 8, 96);
  values[0] = -24.0;
  values[1] = 2.0;
  TestHost other;
  AEffect* fresh = other.Create(mEntry);
  EXPECT_EQ(other.Dispatch(op::kSetChunk, 1, 96, values.data()), 1);
  EXPECT_FLOAT_EQ(fresh->getParameter(fresh, 0), 36.0f / 60.0f);
  EXPECT_FLOAT_EQ(fresh->getParameter(fresh, 1), 0.5f);
  (void)e;
}

// Two fresh instances on the same program see the same samples, one in each precision.
TEST_F(KestrelLibrary, FloatAndDoubleProcessingAgree)
{
  const int frames = 4096, block = 512;
  std::vector<float> f[4], fo[2];
  std::vector<double> d[4], dout[2];
  for (int c = 0; c < 4; ++c)
  {
    f[c].resize(frames);
    d[c].resize(frames);
    for (int i = 0; i < frames; ++i)
      d[c][size_t(i)] = f[c][size_t(i)] = c < 2 ? float(0.8 * sin(0.05 * i + c)) : 0.0f;
  }
  for (int c = 0; c < 2; ++c)
  {
    fo[c].resize(frames);
    dout[c].resize(frames);
  }
  TestHost hf, hd;
  AEffect* ef = hf.Create(mEntry);
  AEffect* ed = hd.Create(mEntry);
  for (TestHost* h : {&hf, &hd})
  {
    h->Dispatch(op::kSetBlockSize, 0, block);
    h->Dispatch(op::kSetProgram, 0, 3);
    h->Dispatch(op::kMainsChanged, 0, 1);
  }
  for (int pos = 0; pos < frames; pos += block)
  {
    float* fi[4] = {&f[0][size_t(pos)], &f[1][size_t(pos)], &f[2][size_t(pos)], &f[3][size_t(pos)]};
    float* fout[2] = {&fo[0][size_t(pos)], &fo[1][size_t(pos)]};
    double* di[4] = {&d[0][size_t(pos)], &d[1][size_t(pos)], &d[2][size_t(pos)], &d[3][size_t(pos)]};
    double* dot[2] = {&dout[0][size_t(pos)], &dout[1][size_t(pos)]};
    ef->processReplacing(ef, fi, fout, block);
    ed->processDoubleReplacing(ed, di, dot, block);
  }
  double energy = 0.0;
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < frames; ++i)
    {
      ASSERT_EQ(fo[c][size_t(i)], float(dout[c][size_t(i)])) << c << " " << i;
      energy += dout[c][size_t(i)] * dout[c][size_t(i)];
    }
  EXPECT_GT(energy, 1.0);
  EXPECT_TRUE(std::isfinite(energy));
}

#endif

} // namespace
