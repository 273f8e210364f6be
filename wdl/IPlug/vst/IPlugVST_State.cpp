// State chunks: an 8-byte header (magic, version) and the effect's state.

#include <cstring>

#include "wdl/IPlug/vst/IPlugVST.h"

void InitializeVSTChunk(ByteChunk* pChunk)
{
  pChunk->Clear();
  pChunk->Put(&kVSTChunkMagic);
  pChunk->Put(&kVSTChunkVersion);
}

int GetIPlugVerFromChunk(ByteChunk* pChunk, int* pPos)
{
  int32_t magic = 0, version = 0;
  int pos = pChunk->Get(&magic, *pPos);
  if (pos < 0 || magic != kVSTChunkMagic)
    return 0;
  pos = pChunk->Get(&version, pos);
  *pPos = pos;
  return pos < 0 ? 0 : version;
}

intptr_t IPlugVST::GetChunk(void** ppData, bool isBank)
{
  if (!ppData)
    return 0;
  ByteChunk* state = isBank ? &mBankState : &mProgramState;
  InitializeVSTChunk(state);
  if (isBank)
    ModifyCurrentPreset();
  if (!SerializeState(state) || !state->Size())
    return 0;
  *ppData = state->GetData();
  return state->Size();
}

intptr_t IPlugVST::SetChunk(const void* data, intptr_t size, bool isBank)
{
  if (!data || size < 0 || size > INT32_MAX)
    return 0;
  ByteChunk* state = isBank ? &mBankState : &mProgramState;
  if (!state->Resize(int(size)))
    return 0;
  if (size)
    memcpy(state->GetData(), data, size_t(size));
  int pos = 0;
  int version = GetIPlugVerFromChunk(state, &pos);
  pos = UnserializeState(state, pos);
  if (!isBank || version <= 0xFFFF)
    ModifyCurrentPreset();
  if (pos < 0)
    return 0;
  RedrawParamControls();
  return 1;
}
