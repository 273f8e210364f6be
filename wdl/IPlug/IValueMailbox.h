#pragma once
// A one-value mailbox between threads: any thread posts a double, the editor
// thread takes it. Lock-free and allocation-free, so the audio thread may
// post; a newer post replaces one not yet taken (only the latest value
// matters to a display). Non-finite values are never posted.

#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>

class IValueMailbox
{
public:
  void Post(double value)
  {
    if (!std::isfinite(value))
      return;
    mBits.store(std::bit_cast<uint64_t>(value), std::memory_order_release);
  }

  bool Take(double* pValue)
  {
    // The plain load keeps an idle tick free of read-modify-writes.
    if (mBits.load(std::memory_order_relaxed) == kEmpty)
      return false;
    uint64_t bits = mBits.exchange(kEmpty, std::memory_order_acquire);
    if (bits == kEmpty)
      return false;
    *pValue = std::bit_cast<double>(bits);
    return true;
  }

private:
  // A quiet NaN: no finite post can store it.
  static constexpr uint64_t kEmpty = 0x7FF8000000000B0Bull;
  std::atomic<uint64_t> mBits{kEmpty};
};
