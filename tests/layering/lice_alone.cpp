#include "graphics/lice.h"

int main()
{
  return LICE_GetPixel(nullptr, 0, 0);
}
