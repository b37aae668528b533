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
    EXPECT_NE(icon, nullptr) << size;
    if (icon != nullptr) DestroyIcon(icon);
  }
}

TEST_F(ResourcesTest, DragCursorsAreDistinct32PixelArrowsPointingFromTheTopLeft) {
  Shape shapes[2];
  for (int i = 0; i < 2; ++i) {
    const std::string name = "DragCur" + std::to_string(i + 1);
    HCURSOR cursor = static_cast<HCURSOR>(LoadImageA(module_, name.c_str(), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
    ASSERT_NE(cursor, nullptr) << name;
    shapes[i] = ShapeOf(cursor);
    DestroyCursor(cursor);
    EXPECT_EQ(shapes[i].width, 32) << name;
    EXPECT_EQ(shapes[i].height, 32) << name;
    EXPECT_EQ(shapes[i].hotX + shapes[i].hotY, 0u) << name;
  }
  EXPECT_NE(shapes[0].mask, shapes[1].mask) << "the copy cursor shows a plus";
}

}  // namespace
