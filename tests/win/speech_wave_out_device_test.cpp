// The engine's waveOut device against Wine's waveOut and the session's null sink: blocks played
// in order are reported once each, from the device's own thread; Reset drops what is left
// without reporting it; a closed device can be opened again.
#include "wave_out_device_win32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace ostrel::orvatone {
namespace {

using namespace std::chrono_literals;

constexpr int kRate = 8000;
constexpr int kBlockSamples = kRate / 20;  // 50 ms
constexpr auto kPatience = 15s;

class Reports {
 public:
  std::function<void()> Callback() {
    return [this] {
      std::lock_guard lock(mutex_);
      ++count_;
      if (std::this_thread::get_id() == caller_) ++onCaller_;
      changed_.notify_all();
    };
  }
  bool WaitFor(int count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] { return count_ >= count; });
  }
  int Count() {
    std::lock_guard lock(mutex_);
    return count_;
  }
  int OnCaller() {
    std::lock_guard lock(mutex_);
    return onCaller_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int count_ = 0;
  int onCaller_ = 0;
  const std::thread::id caller_ = std::this_thread::get_id();
};

std::vector<std::int16_t> Tone() {
  std::vector<std::int16_t> block(kBlockSamples);
  for (int i = 0; i < kBlockSamples; ++i) block[static_cast<std::size_t>(i)] = (i / 10) % 2 ? 3000 : -3000;
  return block;
}

TEST(WaveOutDeviceTest, EveryPlayedBlockIsReportedOnceFromTheDevicesOwnThread) {
  WaveOutDevice device;
  Reports reports;
  ASSERT_TRUE(device.Open(kRate, reports.Callback())) << "no sound device in the session";
  EXPECT_FALSE(device.Open(kRate, reports.Callback())) << "opened twice";
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(device.Write(Tone()));
  ASSERT_TRUE(reports.WaitFor(6)) << "reported " << reports.Count() << " of 6";
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(reports.Count(), 6);
  EXPECT_EQ(reports.OnCaller(), 0) << "the driver's callback or the caller did the device's work";

  // Closed, it takes nothing, and it opens again with its thread.
  device.Close();
  EXPECT_FALSE(device.Write(Tone()));
  Reports again;
  ASSERT_TRUE(device.Open(kRate, again.Callback()));
  ASSERT_TRUE(device.Write(Tone()));
  ASSERT_TRUE(again.WaitFor(1));
  device.Close();
  EXPECT_EQ(reports.Count(), 6);
}

TEST(WaveOutDeviceTest, ResetDropsWhatWasNotPlayedWithoutReportingIt) {
  WaveOutDevice device;
  Reports reports;
  ASSERT_TRUE(device.Open(kRate, reports.Callback()));
  constexpr int kBlocks = 60;  // three seconds
  for (int i = 0; i < kBlocks; ++i) ASSERT_TRUE(device.Write(Tone()));
  ASSERT_TRUE(reports.WaitFor(2));
  device.Reset();
  const int atReset = reports.Count();
  EXPECT_LT(atReset, kBlocks / 2) << "the blocks Reset dropped were reported as played";
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(reports.Count(), atReset);

  // Still open after a Reset: the next block plays and is reported.
  ASSERT_TRUE(device.Write(Tone()));
  ASSERT_TRUE(reports.WaitFor(atReset + 1));
  device.Close();
  EXPECT_EQ(reports.Count(), atReset + 1);
}

}  // namespace
}  // namespace ostrel::orvatone
