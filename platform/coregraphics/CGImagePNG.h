#pragma once
// Saving an image as a PNG file (8-bit RGBA), for looking at what was
// drawn. Skip-first images are written opaque; premultiplied ones are
// divided back by their alpha.

#include "platform/coregraphics/CGImage.h"

// False, leaving no file behind, when image or path is null, the file
// cannot be written or the encoder fails.
bool CGImageWritePNG(CGImageRef image, const char* path);
