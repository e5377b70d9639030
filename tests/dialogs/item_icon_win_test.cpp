// LoadItemIcon against the real platform: each fallback gives the icon it
// should (checked by its pixels), and repeated loads leave no GDI objects behind.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "dialogs/item_icon_win.h"
#include "support/process_counters_win.h"
#include "support/temp_dir.h"

namespace vsmr {
namespace {

constexpr std::uint32_t kRed = 0x00FF0000;    // BGRA as a little-endian word
constexpr std::uint32_t kWhite = 0x00FFFFFF;

void Put16(std::string& out, unsigned v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// An icon file with one opaque red image each of 32 and 16 pixels.
std::string RedIconFile() {
  const int sizes[] = {32, 16};
  std::vector<std::string> images;
  for (int s : sizes) {
    std::string img;
    Put32(img, 40);  // BITMAPINFOHEADER
    Put32(img, s);
    Put32(img, 2 * s);  // colour and mask halves
    Put16(img, 1);
    Put16(img, 32);
    for (int i = 0; i < 6; ++i) Put32(img, 0);
    for (int i = 0; i < s * s; ++i) Put32(img, 0xFFFF0000);  // opaque red
    img.append(static_cast<std::size_t>(((s + 31) / 32) * 4 * s), '\0');  // mask: all drawn
    images.push_back(img);
  }
  std::string out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 2);
  std::uint32_t offset = 6 + 16 * 2;
  for (std::size_t i = 0; i < images.size(); ++i) {
    out.push_back(static_cast<char>(sizes[i]));
    out.push_back(static_cast<char>(sizes[i]));
    out.push_back(0);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<std::uint32_t>(images[i].size()));
    Put32(out, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const std::string& img : images) out += img;
  return out;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary);
  f << bytes;
}

// The icon drawn at its own size onto white, as top-down pixels.
struct Picture {
  int width = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t Center() const { return pixels.empty() ? 0 : pixels[pixels.size() / 2 + width / 2]; }
  bool operator==(const Picture&) const = default;
};

Picture Draw(HICON icon) {
  Picture picture;
  ICONINFO info{};
  if (icon == nullptr || !GetIconInfo(icon, &info)) return picture;
  BITMAP bm{};
  GetObjectA(info.hbmMask, sizeof bm, &bm);
  int w = bm.bmWidth;
  int h = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);

  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, dib);
  auto* p = static_cast<std::uint32_t*>(bits);
  for (int i = 0; i < w * h; ++i) p[i] = kWhite;
  DrawIconEx(dc, 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
  GdiFlush();
  picture.width = w;
  for (int i = 0; i < w * h; ++i) picture.pixels.push_back(p[i] & 0x00FFFFFF);
  SelectObject(dc, old);
  DeleteObject(dib);
  DeleteDC(dc);
  return picture;
}

std::string ProgramPath() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path(self);
  return path.substr(0, path.rfind('\\') + 1) + "vesmira.exe";
}

class ItemIconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = LoadLibraryExA(ProgramPath().c_str(), nullptr,
                              LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program_, nullptr) << ProgramPath();
    resources_.module = program_;
    ico_ = dir_.File("red.ico");
    WriteFile(ico_, RedIconFile());
    text_ = dir_.File("note.txt");
    WriteFile(text_, "text\r\n");
    missing_ = dir_.File("no such folder/nothing.exe");
  }
  void TearDown() override {
    if (program_) FreeLibrary(program_);
  }
  Picture Resource(int id, int size) {
    HICON icon = static_cast<HICON>(
        LoadImageA(program_, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    Picture p = Draw(icon);
    if (icon) DestroyIcon(icon);
    return p;
  }
  Picture Shell(const std::string& file, bool small) {
    SHFILEINFOA info{};
    SHGetFileInfoA(file.c_str(), 0, &info, sizeof info,
                   SHGFI_ICON | (small ? SHGFI_SMALLICON : SHGFI_LARGEICON));
    Picture p = Draw(info.hIcon);
    if (info.hIcon) DestroyIcon(info.hIcon);
    return p;
  }

  TempDir dir_;
  HMODULE program_ = nullptr;
  ItemIconResources resources_;
  std::string ico_, text_, missing_;
};

TEST_F(ItemIconTest, EachFallbackGivesItsIcon) {
  ASSERT_EQ(Resource(IDI_APP_LARGE, 32).width, 32);
  ASSERT_EQ(Resource(IDI_APP_SMALL, 16).width, 16);
  struct Row {
    const char* name;
    std::string file;
    int index;
    int size;
    Picture expected;
  } rows[] = {
      {"icon in the file, large", ico_, 0, kItemIconLarge, {}},
      {"icon in the file, small", ico_, 0, kItemIconSmall, {}},
      {"index past the file's icons: the shell's icon", ico_, 7, kItemIconLarge,
       Shell(ico_, false)},
      {"file without icons: the shell's small icon", text_, 0, kItemIconSmall, Shell(text_, true)},
      {"path naming nothing: the large program icon", missing_, 0, kItemIconLarge,
       Resource(IDI_APP_LARGE, 32)},
      {"path naming nothing: the small program icon", missing_, 0, kItemIconSmall,
       Resource(IDI_APP_SMALL, 16)},
      {"empty path: the small program icon", "", 0, kItemIconSmall, Resource(IDI_APP_SMALL, 16)},
  };
  for (Row& row : rows) {
    SCOPED_TRACE(row.name);
    IconHandle icon = LoadItemIcon(row.file.c_str(), row.index, row.size, resources_);
    ASSERT_TRUE(icon);
    Picture got = Draw(icon.get());
    EXPECT_EQ(got.width, row.size);
    if (row.expected.pixels.empty()) {
      EXPECT_EQ(got.Center(), kRed);
    } else {
      EXPECT_TRUE(got == row.expected);
      EXPECT_NE(got.Center(), kRed);
    }
  }
  // The shell's icon for a text file is not the program's own icon.
  EXPECT_FALSE(Shell(text_, true) == Resource(IDI_APP_SMALL, 16));
}

TEST_F(ItemIconTest, OtherSizesGiveNoIcon) {
  for (int size : {0, 1, 24, 48, -16}) {
    SCOPED_TRACE(size);
    EXPECT_FALSE(LoadItemIcon(ico_.c_str(), 0, size, resources_));
  }
}

TEST_F(ItemIconTest, ManyLoadsLeaveNoObjectsBehind) {
  auto load_all = [&](bool keep) {
    for (const std::string* file : {&ico_, &text_, &missing_}) {
      for (int size : {kItemIconLarge, kItemIconSmall}) {
        IconHandle icon = LoadItemIcon(file->c_str(), file == &ico_ ? 9 : 0, size, resources_);
        IconHandle direct = LoadItemIcon(ico_.c_str(), 0, size, resources_);
        if (keep) direct.Release();  // deliberately leaked: proves the count sees icons
      }
    }
  };
  load_all(false);  // first use loads the shell's images once for the process
  int before = CountGdiObjects();
  for (int i = 0; i < 200; ++i) load_all(false);
  int after = CountGdiObjects();
  EXPECT_LE(after - before, 5) << "before " << before << ", after " << after;

  load_all(true);
  load_all(true);
  EXPECT_GE(CountGdiObjects() - after, 12) << "leaked icons must show in the count";
}

}  // namespace
}  // namespace vsmr
