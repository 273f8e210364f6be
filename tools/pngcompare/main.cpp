// pngcompare A.png B.png: whether two pictures show the same colours pixel
// for pixel (alpha and the file's encoding aside). Exit 0 when they do, 1
// when they differ, 2 when a file cannot be read.

#include <png.h>

#include <cstdio>
#include <vector>

namespace
{

bool Read(const char* path, png_image* image, std::vector<png_byte>* rgb)
{
  *image = {};
  image->version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(image, path))
    return false;
  image->format = PNG_FORMAT_RGB;
  rgb->resize(PNG_IMAGE_SIZE(*image));
  return png_image_finish_read(image, nullptr, rgb->data(), 0, nullptr) != 0;
}

} // namespace

int main(int argc, char** argv)
{
  if (argc != 3)
  {
    fprintf(stderr, "usage: pngcompare A.png B.png\n");
    return 2;
  }
  png_image a, b;
  std::vector<png_byte> pa, pb;
  for (int i = 1; i <= 2; ++i)
    if (!Read(argv[i], i == 1 ? &a : &b, i == 1 ? &pa : &pb))
    {
      fprintf(stderr, "pngcompare: cannot read %s\n", argv[i]);
      return 2;
    }
  if (a.width != b.width || a.height != b.height)
  {
    printf("differ: %ux%u against %ux%u\n", a.width, a.height, b.width, b.height);
    return 1;
  }
  size_t differing = 0, first = 0;
  for (size_t i = 0; i < pa.size(); i += 3)
    if (pa[i] != pb[i] || pa[i + 1] != pb[i + 1] || pa[i + 2] != pb[i + 2])
      if (!differing++)
        first = i / 3;
  if (differing)
  {
    printf("differ: %zu pixels, the first at (%zu, %zu)\n", differing, first % a.width, first / a.width);
    return 1;
  }
  printf("same: %ux%u pixels\n", a.width, a.height);
  return 0;
}
