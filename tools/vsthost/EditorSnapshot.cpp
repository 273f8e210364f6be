#include "tools/vsthost/EditorSnapshot.h"

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "graphics/lice.h"
#include "platform/vst/AEffect.h"
#include "platform/vst/VstOpcodes.h"
#include "platform/vst/VstRecords.h"
#include "tools/artwork/ArtPng.h"

namespace
{
intptr_t Dispatch(AEffect* e, int32_t op, void* ptr = nullptr)
{
  return e->dispatcher(e, op, 0, 0, ptr, 0.0f);
}

void Sync(xcb_connection_t* c)
{
  free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

// The window's pixels (0x00RRGGBB) as a bitmap; null on failure.
std::unique_ptr<LICE_MemBitmap> ReadWindow(xcb_connection_t* c, xcb_window_t w, int width, int height)
{
  auto* img = xcb_get_image_reply(
    c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, w, 0, 0, uint16_t(width), uint16_t(height), ~0u), nullptr);
  if (!img)
    return nullptr;
  std::unique_ptr<LICE_MemBitmap> bm;
  if (xcb_get_image_data_length(img) >= width * height * 4)
  {
    bm = std::make_unique<LICE_MemBitmap>(width, height);
    auto* src = reinterpret_cast<const uint32_t*>(xcb_get_image_data(img));
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
      {
        uint32_t v = src[y * width + x];
        // Bytes A, R, G, B in memory.
        bm->getBits()[y * bm->getRowSpan() + x] =
          0xFFu | ((v >> 16) & 0xFF) << 8 | ((v >> 8) & 0xFF) << 16 | (v & 0xFF) << 24;
      }
  }
  free(img);
  return bm;
}
} // namespace

bool SnapshotEditor(AEffect* effect, const std::string& pngPath, std::string* error)
{
  if (!(effect->flags & kVstFlagHasEditor))
    return *error = "the effect has no editor", false;
  ERect* rect = nullptr;
  if (!Dispatch(effect, vst::op::kEditGetRect, &rect) || !rect)
    return *error = "the effect gave no editor size", false;
  const int w = rect->right - rect->left, h = rect->bottom - rect->top;
  xcb_connection_t* conn = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(conn))
  {
    xcb_disconnect(conn);
    return *error = "no X display to open the editor on (set DISPLAY, e.g. to an Xvfb)", false;
  }
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn)).data;
  xcb_window_t parent = xcb_generate_id(conn);
  xcb_create_window(conn, XCB_COPY_FROM_PARENT, parent, screen->root, 0, 0, uint16_t(w), uint16_t(h), 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
  xcb_map_window(conn, parent);
  Sync(conn);
  bool ok = false;
  if (Dispatch(effect, vst::op::kEditOpen, reinterpret_cast<void*>(uintptr_t(parent))))
  {
    // A few of the editor's frames, so that values posted to it are drawn.
    for (int i = 0; i < 8; ++i)
    {
      Dispatch(effect, vst::op::kEditIdle);
      std::this_thread::sleep_for(std::chrono::milliseconds(40));
    }
    Dispatch(effect, vst::op::kEditIdle);
    Sync(conn);
    std::unique_ptr<LICE_MemBitmap> bm = ReadWindow(conn, parent, w, h);
    ok = bm && ArtWritePNG(bm.get(), pngPath.c_str());
    Dispatch(effect, vst::op::kEditClose);
    if (!ok)
      *error = "could not read the editor back or write " + pngPath;
  }
  else
  {
    *error = "the effect did not open its editor";
  }
  xcb_destroy_window(conn, parent);
  xcb_disconnect(conn);
  return ok;
}
