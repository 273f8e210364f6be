#pragma once
// A window binding for tests: no window, images read from PNG files in a
// folder (or made by a loader the test sets), and every prompt, URL and
// screen copy recorded.

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "wdl/IPlug/graphics/IGraphicsLice.h"

class IGraphicsTest : public IGraphicsLice
{
public:
  using Loader = std::function<LICE_IBitmap*(int id, const char* name)>;

  IGraphicsTest(IPlugBase* pPlug, int w, int h, int fps = 0) : IGraphicsLice(pPlug, w, h, fps) {}
  ~IGraphicsTest() override
  {
    if (mDeleted)
      ++*mDeleted;
  }

  bool DrawScreen(IRECT* pR) override;
  bool DrawIText(IText* pTxt, char* str, IRECT* pR) override;
  void PromptUserInput(IControl* pControl, IParam* pParam) override;
  void HostPath(WDL_String* pPath) override { pPath->Set("/host"); }
  void PluginPath(WDL_String* pPath) override { pPath->Set("/plugin"); }
  void PromptForFile(WDL_String* pFilename, EFileAction action, const char* dir, const char* extensions) override;
  bool PromptForColor(IColor*, const char*) override { return false; }
  bool OpenURL(const char* url, const char*, const char*, const char*) override;
  using IGraphicsLice::OpenWindow;
  void* OpenWindow(void* pParent) override;
  void CloseWindow() override;
  void* GetWindow() override { return mWindow; }
  LICE_IBitmap* OSLoadBitmap(int id, const char* name) override;

  Loader mLoader;
  std::string mImageDir;
  std::atomic<int> mLoads{0};
  int* mDeleted = nullptr;
  int mScreenDraws = 0;
  std::vector<std::string> mTexts;
  std::vector<std::string> mURLs;
  bool mOpenURLResult = false;
  int mPrompts = 0;
  IParam* mLastPromptParam = nullptr;
  int mFilePrompts = 0;
  void* mWindow = nullptr;
};
