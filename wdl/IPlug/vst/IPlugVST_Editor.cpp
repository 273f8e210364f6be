// Editor requests, answered by the editor's own size and window calls.

#include "wdl/IPlug/IGraphics.h"
#include "wdl/IPlug/vst/IPlugVST.h"

namespace {

ERect EditorRect(IGraphics* editor)
{
  return ERect{0, 0, int16_t(editor->Height()), int16_t(editor->Width())};
}

}  // namespace

void IPlugVST::AttachGraphics(IGraphics* pGraphics)
{
  if (!pGraphics) return;
  IPlugBase::AttachGraphics(pGraphics);
  mAEffect.flags |= kVstFlagHasEditor;
  mRect = EditorRect(pGraphics);
}

void IPlugVST::ResizeGraphics(int /*w*/, int /*h*/)
{
  // The editor's own size counts; the host is not told.
  if (GetGUI()) mRect = EditorRect(GetGUI());
}

intptr_t IPlugVST::EditorGetRect(void* ptr)
{
  if (!ptr || !GetGUI()) return 0;
  *static_cast<ERect**>(ptr) = &mRect;
  return 1;
}

intptr_t IPlugVST::EditorOpen(void* ptr)
{
  if (!GetGUI() || !GetGUI()->OpenWindow(ptr)) return 0;
  OnGUIOpen();
  return 1;
}

intptr_t IPlugVST::EditorClose()
{
  if (!GetGUI()) return 0;
  OnGUIClose();
  GetGUI()->CloseWindow();
  return 1;
}

intptr_t IPlugVST::Idle()
{
  OnIdle();
  return 0;
}

IGraphics* MakeGraphics(IPlugVST* /*pPlug*/, int /*w*/, int /*h*/, int /*fps*/)
{
  return nullptr;
}
