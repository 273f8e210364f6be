// Text, captions, links and file selectors.

#include "wdl/IPlug/IControls.h"
#include "wdl/IPlug/IPlugBase.h"
#include "wdl/IPlug/IPlugText.h"

ITextControl::ITextControl(IPlugBase* pPlug, IRECT* pR, IText* pText, const char* str)
  : IControl(pPlug, pR ? *pR : IRECT()), mText(pText ? *pText : IText())
{
  mStr.Set(str ? str : "");
}

void ITextControl::SetTextFromPlug(const char* str)
{
  if (!str)
    str = "";
  if (!strcmp(mStr.Get(), str))
    return;
  SetDirty(false);
  mStr.Set(str);
}

bool ITextControl::Draw(IGraphics* pGraphics)
{
  if (!mStr.GetLength())
    return true;
  return pGraphics->DrawIText(&mText, mStr.GetWritable(), &mDrawArea);
}

ICaptionControl::ICaptionControl(IPlugBase* pPlug, IRECT* pR, int paramIdx, IText* pText, bool showParamLabel)
  : ITextControl(pPlug, pR, pText), mShowParamLabel(showParamLabel)
{
  mParamIndex = paramIdx;
}

bool ICaptionControl::Draw(IGraphics* pGraphics)
{
  IParam* param = mPlugin ? mPlugin->GetParam(mParamIndex) : nullptr;
  if (!param)
  {
    mStr.Set("");
    return true;
  }
  // The parameter's value as mirrored into this control, so the editor
  // never waits for the plug-in's lock, which the audio thread may hold.
  char disp[MAX_PARAM_DISPLAY_LEN];
  param->GetDisplayForHost(param->FromNormalized(mValue), false, disp, sizeof(disp));
  mStr.Set(disp);
  if (mShowParamLabel)
  {
    // An empty label still leaves the separating space.
    mStr.Append(" ");
    mStr.Append(param->GetLabelForHost());
  }
  return ITextControl::Draw(pGraphics);
}

IURLControl::IURLControl(IPlugBase* pPlug, IRECT* pR, const char* url, const char* backupURL,
                         const char* errMsgOnFailure)
  : IControl(pPlug, pR ? *pR : IRECT())
{
  IPlugCopyText(mURL, url);
  IPlugCopyText(mBackupURL, backupURL);
  IPlugCopyText(mErrMsg, errMsgOnFailure);
}

void IURLControl::OnMouseDown(int /*x*/, int /*y*/, IMouseMod* /*pMod*/)
{
  IGraphics* gui = mPlugin ? mPlugin->GetGUI() : nullptr;
  if (!gui)
    return;
  if (mURL[0] && gui->OpenURL(mURL, mErrMsg, nullptr, nullptr))
    return;
  if (mBackupURL[0])
    gui->OpenURL(mBackupURL, mErrMsg, nullptr, nullptr);
}

IFileSelectorControl::IFileSelectorControl(IPlugBase* pPlug, IRECT* pR, int paramIdx, IBitmap* pBitmap,
                                           IGraphics::EFileAction action, const char* dir, const char* extensions)
  : IControl(pPlug, pR ? *pR : IRECT(), paramIdx), mBitmap(BitmapOrEmpty(pBitmap)), mFileAction(action)
{
  mDir.Set(dir ? dir : "");
  mExtensions.Set(extensions ? extensions : "");
}

bool IFileSelectorControl::Draw(IGraphics* pGraphics)
{
  if (mState != kFSSelecting)
    return true;
  return pGraphics->DrawBitmap(&mBitmap, &mDrawArea, 0, 0, nullptr);
}

void IFileSelectorControl::OnMouseDown(int /*x*/, int /*y*/, IMouseMod* /*pMod*/)
{
  IGraphics* gui = mPlugin ? mPlugin->GetGUI() : nullptr;
  if (!gui)
    return;
  mState = kFSSelecting;
  SetDirty(false);
  gui->PromptForFile(&mFile, mFileAction, mDir.Get(), mExtensions.Get());
  mState = kFSDone;
  mValue = mValue + 1.0 <= 1.0 ? mValue + 1.0 : 0.0;
  SetDirty(true);
}

bool IFileSelectorControl::IsDirty()
{
  if (mDirty)
    return true;
  if (mState != kFSDone)
    return false;
  mState = kFSNone;
  return true;
}

void IFileSelectorControl::GetLastSelectedFileForPlug(WDL_String* pStr) const
{
  if (pStr)
    pStr->Set(mFile.Get());
}

void IFileSelectorControl::SetLastSelectedFileFromPlug(const char* file)
{
  mFile.Set(file ? file : "");
}
