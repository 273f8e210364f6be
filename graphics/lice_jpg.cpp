#include <setjmp.h>

#include <cstdio>
#include <cstring>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <jerror.h>

#include "graphics/lice_loader_private.h"
#include "graphics/lice_loaders.h"

namespace
{

// The error manager and the jump back into the loader, taken on errors and
// on the first warning that means data was lost.
struct JpegErrors
{
  jpeg_error_mgr mgr;
  jmp_buf jump;
};

void errorExit(j_common_ptr cinfo)
{
  longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}

// libjpeg goes on past these with made-up samples, to the last row of the
// size the header declares; the load stops at the first one instead. Other
// warnings (an unknown JFIF revision, stray bytes before a marker) lose
// nothing.
bool losesData(int msgCode)
{
  switch (msgCode)
  {
  case JWRN_JPEG_EOF:
  case JWRN_HIT_MARKER:
  case JWRN_HUFF_BAD_CODE:
  case JWRN_ARITH_BAD_CODE:
  case JWRN_MUST_RESYNC:
  case JWRN_BOGUS_PROGRESSION: return true;
  default: return false;
  }
}

void emitMessage(j_common_ptr cinfo, int level)
{
  if (level < 0 && losesData(cinfo->err->msg_code))
    errorExit(cinfo);
}

void outputMessage(j_common_ptr) {}

void formatMessage(j_common_ptr, char* buffer)
{
  buffer[0] = 0;
}

void resetErrors(j_common_ptr cinfo)
{
  cinfo->err->num_warnings = 0;
  cinfo->err->msg_code = 0;
}

// One decoded row of grey or other samples into A, R, G, B pixels. Colour
// images are decoded straight into the bitmap instead.
void convertRow(const JSAMPLE* s, int components, int width, LICE_PixelValue* out)
{
  unsigned char* p = reinterpret_cast<unsigned char*>(out);
  if (components == 1)
  {
    for (int x = 0; x < width; ++x, ++s, p += 4)
    {
      p[0] = 255;
      p[1] = p[2] = p[3] = *s;
    }
  }
  else
  {
    memset(p, 0, size_t(width) * 4);
  }
}

// State shared across the jump: set before setjmp, or volatile.
struct JpegRead
{
  jpeg_decompress_struct cinfo;
  JpegErrors errors;
  LICE_IBitmap* volatile bitmap = nullptr;
};

bool decode(JpegRead& r, FILE* fp, LICE_IBitmap* given, int64_t maxPixels)
{
  if (setjmp(r.errors.jump))
    return false;
  jpeg_create_decompress(&r.cinfo);
  jpeg_stdio_src(&r.cinfo, fp);
  jpeg_read_header(&r.cinfo, TRUE);
  // Checked before start-up, which sizes its buffers from the header.
  if (int64_t(r.cinfo.image_width) * r.cinfo.image_height > maxPixels)
    return false;
  // Colour output as A (255), R, G, B: the bitmap's own layout.
  const bool direct = r.cinfo.out_color_space == JCS_RGB;
  if (direct)
    r.cinfo.out_color_space = JCS_EXT_ARGB;
  jpeg_start_decompress(&r.cinfo);
  int w = int(r.cinfo.output_width), h = int(r.cinfo.output_height), comps = r.cinfo.output_components;
  if (int64_t(w) * h > maxPixels)
    return false;
  JSAMPARRAY line = direct ? nullptr
                           : (*r.cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&r.cinfo), JPOOL_IMAGE,
                                                          JDIMENSION(w * comps), 1);
  r.bitmap = lice_loadBitmap(given, w, h);
  if (!r.bitmap)
    return false;
  while (r.cinfo.output_scanline < r.cinfo.output_height)
  {
    LICE_PixelValue* row = lice_loadRow(r.bitmap, int(r.cinfo.output_scanline));
    JSAMPROW into = reinterpret_cast<JSAMPROW>(row);
    if (jpeg_read_scanlines(&r.cinfo, direct ? &into : line, 1) != 1)
      return false;
    if (!direct)
      convertRow(line[0], comps, w, row);
  }
  jpeg_finish_decompress(&r.cinfo);
  return true;
}

} // namespace

LICE_IBitmap* lice_ReadJPG(FILE* fp, LICE_IBitmap* bmp, int64_t maxPixels)
{
  if (!fp)
    return nullptr;
  JpegRead r;
  memset(&r.cinfo, 0, sizeof r.cinfo);
  memset(&r.errors, 0, sizeof r.errors);
  r.errors.mgr.error_exit = errorExit;
  r.errors.mgr.emit_message = emitMessage;
  r.errors.mgr.output_message = outputMessage;
  r.errors.mgr.format_message = formatMessage;
  r.errors.mgr.reset_error_mgr = resetErrors;
  r.cinfo.err = &r.errors.mgr;
  bool ok = decode(r, fp, bmp, maxPixels);
  jpeg_destroy_decompress(&r.cinfo);
  if (ok)
    return r.bitmap;
  lice_loadAbandon(bmp, r.bitmap);
  return nullptr;
}

LICE_IBitmap* LICE_LoadJPG(const char* filename, LICE_IBitmap* bmp)
{
  return lice_loadFile(filename, bmp, lice_ReadJPG);
}
