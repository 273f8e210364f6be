// Editor requests, answered by the editor's own size and window calls. A
// Linux host hands an X11 window id to open into: the editor's view goes
// into a window of the Cocoa stand-in, which is presented as a child of the
// host's window and pumped from the host's idle calls.

#include <utility>

#include "platform/cocoa/NSView.h"
#include "platform/cocoa/NSWindow.h"
#include "wdl/IPlug/x11/X11Presenter.h"
#include "wdl/IPlug/IGraphics.h"
#include "wdl/IPlug/vst/IPlugVST.h"

namespace
{

ERect EditorRect(IGraphics* editor)
{
  return ERect{0, 0, int16_t(editor->Height()), int16_t(editor->Width())};
}

} // namespace

class IPlugVST::EditorCallScope
{
public:
  explicit EditorCallScope(IPlugVST* plug) : mPlug(plug) { ++mPlug->mEditorCalls; }
  ~EditorCallScope()
  {
    if (--mPlug->mEditorCalls)
      return;
    mPlug->mClosedPresenters.clear();
  }
  EditorCallScope(const EditorCallScope&) = delete;
  EditorCallScope& operator=(const EditorCallScope&) = delete;

private:
  IPlugVST* mPlug;
};

void IPlugVST::AttachGraphics(IGraphics* pGraphics)
{
  if (!pGraphics)
    return;
  IPlugBase::AttachGraphics(pGraphics);
  mAEffect.flags |= kVstFlagHasEditor;
  mRect = EditorRect(pGraphics);
}

void IPlugVST::ResizeGraphics(int /*w*/, int /*h*/)
{
  // The editor's own size counts; the host is not told.
  if (GetGUI())
    mRect = EditorRect(GetGUI());
}

intptr_t IPlugVST::EditorGetRect(void* ptr)
{
  if (!ptr || !GetGUI())
    return 0;
  *static_cast<ERect**>(ptr) = &mRect;
  return 1;
}

intptr_t IPlugVST::EditorOpen(void* ptr)
{
  IGraphics* g = GetGUI();
  if (!g || !ptr)
    return 0;
  EditorCallScope scope(this);
  // Closing ends a gesture, which the host may answer by opening the editor
  // itself; this open replaces that one too.
  do
    CloseEditorWindow();
  while (mPresenter || mEditorWindow);
  // The pointer is an X11 window id, never an object.
  const uintptr_t parentId = reinterpret_cast<uintptr_t>(ptr);
  // Room for this presenter among the closed ones, so that closing it
  // from inside an editor request never has to allocate.
  mClosedPresenters.reserve(mClosedPresenters.size() + 1);
  NSRect area = NSMakeRect(0, 0, g->Width(), g->Height());
  mEditorWindow = new NSWindow(area);
  NSView* content = new NSView(area);
  mEditorWindow->setContentView(content);
  content->release();
  mPresenter = std::make_unique<X11Presenter>();
  if (!g->OpenWindow(content) || !mPresenter->Open(parentId, mEditorWindow))
  {
    CloseEditorWindow();
    return 0;
  }
  mEditorWindow->display();
  mPresenter->Idle();
  OnGUIOpen();
  return 1;
}

void IPlugVST::CloseEditorWindow()
{
  // Taken first: closing the editor ends its gesture, and the host may
  // answer that by opening the editor again.
  std::unique_ptr<X11Presenter> presenter = std::move(mPresenter);
  NSWindow* window = std::exchange(mEditorWindow, nullptr);
  if (!presenter && !window)
    return;
  if (GetGUI())
    GetGUI()->CloseWindow();
  if (presenter)
  {
    presenter->Close(); // destroys the child unless the host already destroyed it with its parent
    if (mEditorCalls)
      mClosedPresenters.push_back(std::move(presenter));
    else
      presenter.reset();
  }
  NSRelease(window);
}

intptr_t IPlugVST::EditorClose()
{
  if (!GetGUI())
    return 0;
  EditorCallScope scope(this);
  const bool wasOpen = mPresenter != nullptr;
  if (wasOpen)
    OnGUIClose();
  CloseEditorWindow();
  return 1;
}

intptr_t IPlugVST::Idle()
{
  // X events, the editor's timer and the copy to the screen, on the host's thread.
  EditorCallScope scope(this);
  if (mPresenter)
    mPresenter->Idle();
  OnIdle();
  return 0;
}

IGraphics* MakeGraphics(IPlugVST* /*pPlug*/, int /*w*/, int /*h*/, int /*fps*/)
{
  return nullptr;
}
