#include <gtest/gtest.h>

#include <pthread.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <thread>
#include <vector>

#include "wdl/heapbuf.h"
#include "wdl/mutex.h"
#include "wdl/ptrlist.h"
#include "wdl/wdlstring.h"

TEST(HeapBufGrowth, AllocationsFollowTheGranuleRule)
{
  struct Case
  {
    int granul, size, alloc;
  } cases[] = {
    {4096, 8, 4000},            // 4096 + 8 + 96 rounds down to 4096, less 96
    {4096, 8192, 12192},        // g = 4096: 12384 -> 12288 - 96
    {4096, 4000, 8096},         // not 4000: the block keeps 96 bytes below a page multiple
    {128, 11, 139},             // small granules: g + n
    {128, 1000, 1500},          // g = n/2 once that exceeds the granule
    {4096, 20000000, 24190880}, // g capped at 4 MiB
  };
  for (const Case& c : cases)
  {
    WDL_HeapBuf hb(c.granul);
    ASSERT_NE(hb.Resize(c.size), nullptr);
    EXPECT_EQ(hb.GetAlloc(), c.alloc) << "granule " << c.granul << " size " << c.size;
    EXPECT_EQ(hb.GetSize(), c.size);
  }
}

TEST(HeapBufGrowth, ShrinkReallocatesOnlyWellBelowTheAllocation)
{
  WDL_HeapBuf hb(4096);
  hb.Resize(8192);
  void* block = hb.Get();
  hb.Resize(8); // 8 is not below 12192 - 4 x 4096
  EXPECT_EQ(hb.GetAlloc(), 12192);
  EXPECT_EQ(hb.Get(), block);

  WDL_HeapBuf big(4096);
  big.Resize(100000);
  int before = big.GetAlloc();
  big.Resize(10, false); // no resize-down: keep the block
  EXPECT_EQ(big.GetAlloc(), before);
  big.Resize(100000);
  big.Resize(10); // a real shrink
  EXPECT_EQ(big.GetAlloc(), 4000);
  EXPECT_EQ(big.GetSize(), 10);
}

TEST(HeapBufGrowth, SameSizeChangesNothing)
{
  WDL_HeapBuf hb(4096);
  hb.Resize(100);
  int alloc = hb.GetAlloc();
  void* block = hb.Get();
  hb.Resize(100);
  EXPECT_EQ(hb.GetAlloc(), alloc);
  EXPECT_EQ(hb.Get(), block);
  EXPECT_EQ(hb.Resize(0), nullptr);
}

TEST(HeapBufFailure, NegativeOrOverflowingSizesLeaveTheBufferAlone)
{
  WDL_HeapBuf hb(4096);
  hb.Resize(16);
  memset(hb.Get(), 0x5A, 16);
  void* block = hb.Get();
  for (int bad : {-1, INT_MIN, INT_MAX, INT_MAX - 100})
  {
    hb.Resize(bad);
    EXPECT_EQ(hb.GetSize(), 16) << bad;
    EXPECT_EQ(hb.Get(), block);
    EXPECT_EQ(hb.GetAlloc(), 4000);
  }
  EXPECT_EQ(static_cast<unsigned char*>(hb.Get())[15], 0x5A);

  WDL_HeapBuf small(128);
  small.Resize(1500000000); // g + n overflows an int
  EXPECT_EQ(small.GetSize(), 0);
}

TEST(TypedBuf, CountOverflowAndAppendAfterFailureStoreNothing)
{
  WDL_TypedBuf<double> buf;
  ASSERT_TRUE(buf.Resize(4));
  EXPECT_FALSE(buf.Resize(INT_MAX / 4)); // bytes overflow an int
  EXPECT_FALSE(buf.Resize(-3));
  EXPECT_EQ(buf.GetSize(), 4);
  double v = 1.5;
  ASSERT_NE(buf.Add(&v), nullptr);
  EXPECT_EQ(buf.GetSize(), 5);
  EXPECT_EQ(buf.Get()[4], 1.5);
  EXPECT_EQ(buf.Add(&v, INT_MAX), nullptr);
  EXPECT_EQ(buf.GetSize(), 5);
}

namespace
{
struct Tracked
{
  explicit Tracked(std::vector<int>* log, int id) : mLog(log), mId(id) {}
  ~Tracked() { mLog->push_back(mId); }
  std::vector<int>* mLog;
  int mId;
};
} // namespace

TEST(PtrList, DeleteShiftsAndEmptyDeletesLastToFirst)
{
  std::vector<int> deleted;
  WDL_PtrList<Tracked> list;
  for (int i = 0; i < 4; ++i)
    list.Add(new Tracked(&deleted, i));
  EXPECT_EQ(list.Get(-1), nullptr);
  EXPECT_EQ(list.Get(4), nullptr);
  list.Delete(1, true);
  list.Delete(7, true); // out of range: nothing
  ASSERT_EQ(list.GetSize(), 3);
  EXPECT_EQ(list.Get(1)->mId, 2);
  int alloc = list.m_hb.GetAlloc();
  list.Empty(true);
  EXPECT_EQ(deleted, (std::vector<int>{1, 3, 2, 0}));
  EXPECT_EQ(list.m_hb.GetAlloc(), alloc); // lists never shrink
  EXPECT_EQ(list.Get(0), nullptr);
}

TEST(String, NeverNullAndBoundedSetAndAppend)
{
  WDL_String s;
  ASSERT_NE(s.Get(), nullptr);
  EXPECT_STREQ(s.Get(), "");
  s.Set("");
  EXPECT_EQ(s.m_hb.GetAlloc(), 0); // an empty set on a fresh string allocates nothing
  s.Set("0123456789");
  EXPECT_EQ(s.m_hb.GetAlloc(), 139);
  s.Set("abcdef", 3);
  EXPECT_STREQ(s.Get(), "abc");
  EXPECT_EQ(s.m_hb.GetAlloc(), 139); // strings only grow
  s.Append("xyz", 2);
  EXPECT_STREQ(s.Get(), "abcxy");
  s.Append(s.Get()); // appending itself survives the block moving
  EXPECT_STREQ(s.Get(), "abcxyabcxy");
  s.Set(s.Get() + 5);
  EXPECT_STREQ(s.Get(), "abcxy");
  s.Set("");
  EXPECT_STREQ(s.Get(), "");
}

TEST(Mutex, ReentersAndNeedsOneLeavePerEnter)
{
  WDL_Mutex m;
  m.Enter();
  m.Enter();
  m.Enter();
  std::atomic<bool> got{false};
  std::thread other([&] {
    m.Enter();
    got = true;
    m.Leave();
  });
  m.Leave();
  m.Leave();
  // Still held once: another thread's try-lock fails (no sleep to guess by).
  int probe = -1;
  std::thread([&] {
    probe = pthread_mutex_trylock(&m.m_mutex);
    if (probe == 0)
      pthread_mutex_unlock(&m.m_mutex);
  }).join();
  EXPECT_EQ(probe, EBUSY);
  EXPECT_FALSE(got.load());
  m.Leave();
  other.join();
  EXPECT_TRUE(got.load());
}

TEST(Mutex, ScopeGuardLeavesOnException)
{
  WDL_Mutex m;
  try
  {
    PlugMutexScope lock(&m);
    throw 1;
  }
  catch (int)
  {
  }
  std::thread other([&] { PlugMutexScope lock(&m); });
  other.join();
  PlugMutexScope none(nullptr); // a null mutex is allowed
}
