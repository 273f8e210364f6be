#include "tests/support/IGraphicsTest.h"

bool IGraphicsTest::DrawScreen(IRECT*)
{
  ++mScreenDraws;
  return true;
}

bool IGraphicsTest::DrawIText(IText*, char* str, IRECT*)
{
  mTexts.push_back(str ? str : "");
  return true;
}

void IGraphicsTest::PromptUserInput(IControl*, IParam* pParam)
{
  ++mPrompts;
  mLastPromptParam = pParam;
}

void IGraphicsTest::PromptForFile(WDL_String*, EFileAction, const char*, const char*)
{
  ++mFilePrompts;
}

bool IGraphicsTest::OpenURL(const char* url, const char*, const char*, const char*)
{
  mURLs.push_back(url ? url : "");
  return mOpenURLResult;
}

void* IGraphicsTest::OpenWindow(void* pParent)
{
  CloseWindow();
  mWindow = pParent ? pParent : this;
  return mWindow;
}

void IGraphicsTest::CloseWindow()
{
  ReleaseMouseCapture();
  mWindow = nullptr;
}

LICE_IBitmap* IGraphicsTest::OSLoadBitmap(int id, const char* name)
{
  ++mLoads;
  if (mLoader)
    return mLoader(id, name);
  if (mImageDir.empty() || !name)
    return nullptr;
  return LICE_LoadPNG((mImageDir + "/" + name).c_str(), nullptr);
}
