// Editor requests. The editor framework that opens windows is not part of
// this build yet; the calls below reach it once IGraphics offers them.

#include "wdl/IPlug/IGraphics.h"
#include "wdl/IPlug/vst/IPlugVST.h"

namespace {

// The window operations are found on the editor type when it has them, so
// this binding needs no change when they land.
template <class G>
void EditorSize(G* editor, int* w, int* h)
{
  if constexpr (requires { editor->Width(); editor->Height(); }) {
    *w = editor->Width();
    *h = editor->Height();
  } else {
    *w = *h = 0;
  }
}

template <class G>
bool EditorOpenWindow(G* editor, void* parent)
{
  if constexpr (requires { editor->OpenWindow(parent); })
    return editor->OpenWindow(parent) != nullptr;
  else
    return false;
}

template <class G>
void EditorCloseWindow(G* editor)
{
  if constexpr (requires { editor->CloseWindow(); }) editor->CloseWindow();
}

ERect EditorRect(IGraphics* editor)
{
  int w, h;
  EditorSize(editor, &w, &h);
  return ERect{0, 0, int16_t(h), int16_t(w)};
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
  if (!GetGUI() || !EditorOpenWindow(GetGUI(), ptr)) return 0;
  OnGUIOpen();
  return 1;
}

intptr_t IPlugVST::EditorClose()
{
  if (!GetGUI()) return 0;
  OnGUIClose();
  EditorCloseWindow(GetGUI());
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
