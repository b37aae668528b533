// The icon and the drag cursors as the shipped cvt.exe carries them.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "../support/Drive.h"

namespace {

class ResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string path = cvt::drive::WindowsPath(cvt::drive::ArgValue(__argc, __argv, "cvt"));
    module_ = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr) << path;
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }

  HMODULE module_ = nullptr;
};

struct Shape {
  int width = 0, height = 0;
  DWORD hotX = 0, hotY = 0;
  std::vector<unsigned char> mask;  // AND mask bits, to tell images apart
};

Shape ShapeOf(HICON image) {
  Shape shape;
  ICONINFO info{};
  if (image == nullptr || !GetIconInfo(image, &info)) return shape;
  BITMAP bitmap{};
  GetObjectA(info.hbmMask, sizeof bitmap, &bitmap);
  shape.width = bitmap.bmWidth;
  // A monochrome image keeps the AND and XOR masks in one bitmap of double height.
  shape.height = info.hbmColor != nullptr ? bitmap.bmHeight : bitmap.bmHeight / 2;
  shape.hotX = info.xHotspot;
  shape.hotY = info.yHotspot;
  shape.mask.resize(static_cast<size_t>(bitmap.bmWidthBytes) * bitmap.bmHeight);
  GetBitmapBits(info.hbmMask, static_cast<LONG>(shape.mask.size()), shape.mask.data());
  DeleteObject(info.hbmMask);
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  return shape;
}

TEST_F(ResourcesTest, ProgramIconHasBothSizes) {
  // The icon directory lists the images themselves; LoadImage alone would
  // stretch one size into the other.
  HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  ASSERT_NE(found, nullptr) << "icon 1";
  const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(module_, found)));
  ASSERT_NE(directory, nullptr);
  const WORD count = *reinterpret_cast<const WORD*>(directory + 4);
  ASSERT_LE(6 + count * 14u, SizeofResource(module_, found));
  std::vector<int> sizes;
  for (WORD i = 0; i < count; ++i) sizes.push_back(directory[6 + i * 14]);
  EXPECT_EQ(sizes, (std::vector<int>{16, 32}));

  for (int size : {16, 32}) {
    HICON icon = static_cast<HICON>(LoadImageA(module_, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr) << size;
    const Shape shape = ShapeOf(icon);
    EXPECT_EQ(shape.width, size);
    EXPECT_EQ(shape.height, size);
    DestroyIcon(icon);
  }
}

TEST_F(ResourcesTest, DragCursorsAreDistinct32PixelArrowsPointingFromTheTopLeft) {
  HCURSOR move = static_cast<HCURSOR>(LoadImageA(module_, "DragCur1", IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
  HCURSOR copy = static_cast<HCURSOR>(LoadImageA(module_, "DragCur2", IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
  ASSERT_NE(move, nullptr);
  ASSERT_NE(copy, nullptr);
  const Shape moveShape = ShapeOf(move), copyShape = ShapeOf(copy);
  for (const Shape& shape : {moveShape, copyShape}) {
    EXPECT_EQ(shape.width, 32);
    EXPECT_EQ(shape.height, 32);
    EXPECT_EQ(shape.hotX, 0u);
    EXPECT_EQ(shape.hotY, 0u);
  }
  EXPECT_NE(moveShape.mask, copyShape.mask) << "the copy cursor shows a plus";
  DestroyCursor(move);
  DestroyCursor(copy);
}

}  // namespace
