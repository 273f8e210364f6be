#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "graphics/gdi/gdp_pool.h"
#include "graphics/gdi/swell-gdi.h"
#include "platform/cocoa/NSImage.h"

TEST(GDP_CtxPool, DeletedRecordComesBackZeroedWithTheNewFields)
{
  HDC first = SWELL_CreateMemContext(nullptr, 2, 2);
  ASSERT_NE(first, nullptr);
  first->selectedPen = reinterpret_cast<HGDIOBJ>(0x10);
  first->backgroundColor = 0x123456;
  first->backgroundMode = 2;
  first->currentX = 7.5f;
  first->textColor = 0xFFFFFF;
  SWELL_DeleteGfxContext(first);

  HDC second = SWELL_CreateMemContext(nullptr, 3, 1);
  ASSERT_EQ(second, first);
  EXPECT_EQ(second->selectedPen, nullptr);
  EXPECT_EQ(second->selectedBrush, nullptr);
  EXPECT_EQ(second->releasedObject, nullptr);
  EXPECT_EQ(second->backgroundColor, 0);
  EXPECT_EQ(second->backgroundMode, 0);
  EXPECT_EQ(second->currentX, 0.0f);
  EXPECT_EQ(second->textColor, 0);
  EXPECT_NE(second->frameBuffer, nullptr);
  EXPECT_NE(second->cgContext, nullptr);
  SWELL_DeleteGfxContext(second);
}

TEST(GDP_CtxPool, KeepsAtMost1024Records)
{
  std::vector<GDP_CTX*> records;
  for (int i = 0; i < GDP_POOL_LIMIT + 50; ++i)
    records.push_back(SWELL_GDP_CTX_NEW());
  EXPECT_EQ(GDP_CtxPoolCount(), 0);
  for (int i = 0; i < GDP_POOL_LIMIT; ++i)
    SWELL_DeleteGfxContext(records[size_t(i)]);
  EXPECT_EQ(GDP_CtxPoolCount(), 1024);
  // The pool is full: these are freed (a leak or double free here shows
  // under the sanitizers).
  for (size_t i = GDP_POOL_LIMIT; i < records.size(); ++i)
    SWELL_DeleteGfxContext(records[i]);
  EXPECT_EQ(GDP_CtxPoolCount(), 1024);
  // Taking one from a full pool makes room for exactly one.
  GDP_CTX* again = SWELL_GDP_CTX_NEW();
  EXPECT_EQ(again, records[GDP_POOL_LIMIT - 1]);
  EXPECT_EQ(GDP_CtxPoolCount(), 1023);
  SWELL_DeleteGfxContext(again);
  EXPECT_EQ(GDP_CtxPoolCount(), 1024);
}

TEST(GDP_ObjPool, ObjectsRecycleThroughDeleteObjectUpToTheLimit)
{
  std::vector<GDP_OBJECT*> objects;
  for (int i = 0; i < GDP_POOL_LIMIT + 3; ++i)
  {
    GDP_OBJECT* o = GDP_OBJECT_NEW();
    o->kind = GDP_KIND_BRUSH;
    o->cgColor = CreateColor(i, 1.0f);
    objects.push_back(o);
  }
  for (GDP_OBJECT* o : objects)
    DeleteObject(o);
  EXPECT_EQ(GDP_ObjPoolCount(), 1024);
  GDP_OBJECT* recycled = GDP_OBJECT_NEW();
  EXPECT_EQ(recycled->kind, 0);
  EXPECT_EQ(recycled->cgColor, nullptr);
  DeleteObject(recycled); // kind 0 is not a GDI kind: freed outright
  EXPECT_EQ(GDP_ObjPoolCount(), 1023);
}

TEST(GDP_CtxPool, ManyThreadsNeverOverfillOrShareARecord)
{
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
  {
    threads.emplace_back([] {
      for (int round = 0; round < 200; ++round)
      {
        GDP_CTX* mine[8];
        for (GDP_CTX*& c : mine)
        {
          c = SWELL_GDP_CTX_NEW();
          c->currentX = float(round);
        }
        for (GDP_CTX* c : mine)
        {
          if (c->currentX != float(round))
            ADD_FAILURE() << "record shared between threads";
          SWELL_DeleteGfxContext(c);
        }
      }
    });
  }
  for (std::thread& t : threads)
    t.join();
  EXPECT_LE(GDP_CtxPoolCount(), GDP_POOL_LIMIT);
}

TEST(DeleteObject, StockNullPenAndBrushStayUsable)
{
  static GDP_OBJECT nullPen = {GDP_KIND_PEN, nullptr, -1, nullptr, nullptr, nullptr, 0};
  static GDP_OBJECT nullBrush = {GDP_KIND_BRUSH, nullptr, -1, nullptr, nullptr, nullptr, 0};
  int pooled = GDP_ObjPoolCount();
  DeleteObject(&nullPen);
  DeleteObject(&nullBrush);
  EXPECT_EQ(nullPen.kind, GDP_KIND_PEN);
  EXPECT_EQ(nullPen.param, -1);
  EXPECT_EQ(nullBrush.kind, GDP_KIND_BRUSH);
  EXPECT_EQ(GDP_ObjPoolCount(), pooled);
}

TEST(DeleteObject, ReleasesAnImageOnlyWhenItOwnsIt)
{
  NSImage* image = new NSImage(NSSize{2, 2});
  image->retain(); // ours, plus one for each object below
  image->retain();

  GDP_OBJECT* owning = GDP_OBJECT_NEW();
  owning->kind = GDP_KIND_BITMAP;
  owning->param = 1;
  owning->image = image;
  DeleteObject(owning);
  EXPECT_EQ(image->retainCount(), 2);

  GDP_OBJECT* borrowing = GDP_OBJECT_NEW();
  borrowing->kind = GDP_KIND_BITMAP;
  borrowing->param = 0;
  borrowing->image = image;
  borrowing->extraObject = image; // released whatever the kind's flag says
  DeleteObject(borrowing);
  EXPECT_EQ(image->retainCount(), 1);
  image->release();
}
