#pragma once
// Re-entrant lock on a plain POSIX mutex: the owning thread re-enters by
// counting, so callbacks that call back into the plug-in cannot deadlock.

#include <pthread.h>

#include <atomic>

class WDL_Mutex
{
public:
  WDL_Mutex() { pthread_mutex_init(&m_mutex, nullptr); }
  ~WDL_Mutex() { pthread_mutex_destroy(&m_mutex); }
  WDL_Mutex(const WDL_Mutex&) = delete;
  WDL_Mutex& operator=(const WDL_Mutex&) = delete;

  void Enter()
  {
    pthread_t self = pthread_self();
    // Only the holder can ever see its own id here, so a relaxed read is enough.
    if (m_ownerthread.load(std::memory_order_relaxed) == self)
    {
      ++m_lockcnt;
      return;
    }
    pthread_mutex_lock(&m_mutex);
    m_lockcnt = 0;
    m_ownerthread.store(self, std::memory_order_relaxed);
  }

  void Leave()
  {
    if (--m_lockcnt < 0)
    {
      m_ownerthread.store(pthread_t(), std::memory_order_relaxed);
      pthread_mutex_unlock(&m_mutex);
    }
  }

  pthread_mutex_t m_mutex;
  int m_lockcnt = 0;
  std::atomic<pthread_t> m_ownerthread{pthread_t()};
};

class PlugMutexScope
{
public:
  explicit PlugMutexScope(WDL_Mutex* m) : mMutex(m)
  {
    if (mMutex)
      mMutex->Enter();
  }
  ~PlugMutexScope()
  {
    if (mMutex)
      mMutex->Leave();
  }
  PlugMutexScope(const PlugMutexScope&) = delete;
  PlugMutexScope& operator=(const PlugMutexScope&) = delete;

private:
  WDL_Mutex* mMutex;
};
