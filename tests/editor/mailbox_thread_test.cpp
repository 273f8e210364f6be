// Values from other threads: the audio thread posts meter values and an
// automation thread sets parameters while the editor thread ticks and draws.
// Run under ThreadSanitizer in CI; afterwards every control shows the last
// value sent to it.

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "tests/editor/EditorFixture.h"

TEST(ValueMailbox, LatestPostWinsAndNonFiniteIsDropped)
{
  IValueMailbox box;
  double v = -1.0;
  EXPECT_FALSE(box.Take(&v));
  box.Post(0.25);
  box.Post(NAN);
  box.Post(0.75);
  ASSERT_TRUE(box.Take(&v));
  EXPECT_EQ(v, 0.75);
  EXPECT_FALSE(box.Take(&v));
  box.Post(-0.0);
  ASSERT_TRUE(box.Take(&v));
  EXPECT_EQ(v, 0.0);
}

TEST(ValueMailbox, AudioAndAutomationThreadsWhileTheEditorDraws)
{
  auto plug = MakeEditorPlug();
  auto* gui = MakeEditor(plug.get());
  gui->AttachBackground(1, "bg");
  IBitmap knob = gui->LoadIBitmap(3, "knob", 10);
  auto* meterIn = new IBitmapControl(plug.get(), 0, 0, -1, &knob);
  auto* meterOut = new IBitmapControl(plug.get(), 20, 0, -1, &knob);
  auto* bound = new IKnobMultiControl(plug.get(), 40, 0, 2, &knob);
  gui->AttachControl(meterIn);
  gui->AttachControl(meterOut);
  gui->AttachControl(bound);
  plug->AttachGraphics(gui);

  constexpr int kPosts = 20000;
  std::atomic<bool> done{false};
  std::thread audio([&] {
    for (int i = 1; i <= kPosts; ++i)
    {
      meterIn->PostValueFromPlug(double(i % 97) / 96.0);
      meterOut->PostValueFromPlug(i == kPosts ? 0.5 : double(i % 13) / 12.0 * 1.5);
    }
  });
  std::thread automation([&] {
    for (int i = 1; i <= kPosts; ++i)
      gui->SetParameterFromPlug(2, i == kPosts ? 0.375 : double(i % 7) / 6.0, false);
  });
  std::thread joiner([&] {
    audio.join();
    automation.join();
    done = true;
  });
  int draws = 0;
  do
  {
    IRECT r;
    if (gui->IsDirty(&r))
      draws += gui->Draw(&r);
  } while (!done);
  joiner.join();
  IRECT r;
  if (gui->IsDirty(&r))
    gui->Draw(&r);
  EXPECT_GT(draws, 0);
  EXPECT_EQ(meterIn->GetValue(), double(kPosts % 97) / 96.0);
  EXPECT_EQ(meterOut->GetValue(), 0.5);
  EXPECT_EQ(bound->GetValue(), 0.375);
}

// The editor never waits for the plug-in's lock, which the audio thread
// holds for a whole block: a caption redraws while another thread holds it.
TEST(ValueMailbox, CaptionDrawsWhileThePluginIsLocked)
{
  auto plug = MakeEditorPlug();
  auto* gui = MakeEditor(plug.get());
  IRECT r(0, 0, 30, 10);
  auto* caption = new ICaptionControl(plug.get(), &r, 1, nullptr, false);
  gui->AttachControl(caption);
  plug->AttachGraphics(gui);
  std::atomic<int> stage{0}; // 1 locked, 2 drawn, 3 let go after 5 s
  std::thread holder([&] {
    PlugMutexScope lock(plug->GetMutex());
    int locked = stage = 1;
    for (int ms = 0; ms < 5000 && stage == 1; ++ms)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    stage.compare_exchange_strong(locked, 3);
  });
  while (stage == 0)
    std::this_thread::yield();
  gui->SetParameterFromPlug(1, 0.25, true);
  gui->IsDirty(&r); // the tick that takes the value
  gui->Draw(&r);
  int locked = 1;
  EXPECT_TRUE(stage.compare_exchange_strong(locked, 2));
  holder.join();
  EXPECT_EQ(atof(caption->GetText()), 0.25);
}
