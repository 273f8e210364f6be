// Fast paths of the gradient; the generic loop defines the results.

#include "graphics/lice_gradient.h"

namespace {

bool always(const LICE_GradientJob&) { return true; }

}  // namespace

const LICE_FastPath<LICE_GradientJob> g_liceGradientPaths[] = {
    {"generic", always, LICE_GradientGeneric},
};
const int g_liceGradientPathCount = int(sizeof(g_liceGradientPaths) / sizeof(g_liceGradientPaths[0]));

const char* LICE_RunGradientJob(const LICE_GradientJob& job)
{
  return LICE_RunJob(g_liceGradientPaths, g_liceGradientPathCount, job);
}
