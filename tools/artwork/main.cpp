// kestrel_artwork <folder>...: writes the editor's images into each folder.

#include <cstdio>
#include <string>

#include "tools/artwork/ArtPng.h"
#include "tools/artwork/KestrelArtwork.h"

int main(int argc, char** argv)
{
  if (argc < 2)
  {
    std::fprintf(stderr, "usage: %s <folder>...\n", argv[0]);
    return 2;
  }
  for (const KestrelImageSpec& spec : kKestrelImages)
  {
    auto image = ArtDrawImage(spec.mId);
    for (int d = 1; d < argc; ++d)
    {
      const std::string path = std::string(argv[d]) + "/" + spec.mFile;
      if (!image || !ArtWritePNG(image.get(), path.c_str()))
      {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
        return 1;
      }
    }
  }
  return 0;
}
