// The wizard's pictures as Zentrive_Setup loads them under Wine: every id present at its size, button strips that
// LR_LOADMAP3DCOLORS leaves alone and that split into three 88 x 26 looks, a device tree image list with its mask.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "ArtLoading.h"
#include "art/ArtIds.h"

namespace {

using art_test::LoadBitmapResource;
using art_test::ReadPixels;

struct Expected {
    int id;
    int width;
    int height;
};

// Sizes as the wizard's windows expect them: pages 458 x 271, dialog pictures 395 x 130, strips 264 x 26.
const Expected kBitmaps[] = {
    {IDB_WIZARD, 600, 366},          {IDB_WELCOME, 458, 271},      {IDB_FINISH, 458, 271},
    {IDB_SUMMARY, 458, 271},         {IDB_DEVICE_LIST, 458, 271},  {IDB_IP_SETTINGS, 458, 271},
    {IDB_SERVER, 458, 271},          {IDB_NOTICE_SAVED, 395, 130}, {IDB_NOTICE_FAILED, 395, 130},
    {IDB_NOTICE_SHORTCUT, 395, 130}, {IDB_CONFIRM, 395, 130},      {IDB_SEARCHING_1, 266, 95},
    {IDB_SEARCHING_2, 266, 95},      {IDB_SEARCHING_3, 266, 95},   {IDB_SEARCHING_4, 266, 95},
    {IDB_SAVING_1, 266, 95},         {IDB_SAVING_2, 266, 95},      {IDB_SAVING_3, 266, 95},
    {IDB_SAVING_4, 266, 95},         {IDB_TREE_DEVICE, 30, 16},    {IDB_TREE_DEVICE_SELECTED, 30, 16},
};

const int kStrips[] = {
    IDB_BTN_MINIMIZE, IDB_BTN_CLOSE,  IDB_BTN_SETUP,  IDB_BTN_NEXT,     IDB_BTN_BACK,         IDB_BTN_REFRESH,
    IDB_BTN_EXIT,     IDB_BTN_SAVE,   IDB_BTN_OK,     IDB_BTN_STOP,     IDB_BTN_SHORTCUT,     IDB_BTN_USER_GUIDE,
    IDB_BTN_REDO,     IDB_BTN_CANCEL, IDB_BTN_WEB_UI, IDB_BTN_DRIVELET, IDB_BTN_CONFIRM_EXIT,
};

TEST(WizardArt, EveryBitmapLoadsAtItsSize) {
    for (const Expected& e : kBitmaps) {
        HBITMAP bitmap = LoadBitmapResource(e.id, LR_DEFAULTCOLOR);
        ASSERT_NE(bitmap, nullptr) << "bitmap " << e.id;
        BITMAP bm{};
        ASSERT_TRUE(GetObjectA(bitmap, sizeof bm, &bm));
        EXPECT_EQ(bm.bmWidth, e.width) << "bitmap " << e.id;
        EXPECT_EQ(bm.bmHeight, e.height) << "bitmap " << e.id;
        DeleteObject(bitmap);
    }
}

TEST(WizardArt, ButtonStripsKeepTheirColoursWhenLoadedAsTheHoverButtonLoadsThem) {
    for (int id : kStrips) {
        HBITMAP plain = LoadBitmapResource(id, LR_DEFAULTCOLOR);
        HBITMAP mapped = LoadBitmapResource(id, LR_LOADMAP3DCOLORS);
        ASSERT_NE(plain, nullptr) << "strip " << id;
        ASSERT_NE(mapped, nullptr) << "strip " << id;
        const art_test::Pixels a = ReadPixels(plain);
        const art_test::Pixels b = ReadPixels(mapped);
        EXPECT_EQ(a.width, 264) << "strip " << id;
        EXPECT_EQ(a.height, 26) << "strip " << id;
        EXPECT_TRUE(a.bgr == b.bgr) << "strip " << id << " is changed by LR_LOADMAP3DCOLORS";
        // The three looks (cx = width / 3) are not all the same picture.
        bool pressedDiffers = false, hoverDiffers = false;
        for (int y = 0; y < a.height; ++y) {
            for (int x = 0; x < 88; ++x) {
                pressedDiffers |= a.At(x, y) != a.At(x + 88, y);
                hoverDiffers |= a.At(x, y) != a.At(x + 176, y);
            }
        }
        EXPECT_TRUE(pressedDiffers && hoverDiffers) << "strip " << id;
        DeleteObject(plain);
        DeleteObject(mapped);
    }
}

TEST(WizardArt, DeviceTreeImageListTakesBothImagesWithWhiteAsMask) {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_TREEVIEW_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&init));
    HIMAGELIST list = ImageList_Create(30, 16, ILC_COLOR24 | ILC_MASK, 2, 4);
    ASSERT_NE(list, nullptr);
    for (int id : {IDB_TREE_DEVICE, IDB_TREE_DEVICE_SELECTED}) {
        HBITMAP bitmap = LoadBitmapResource(id, LR_DEFAULTCOLOR);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_GE(ImageList_AddMasked(list, bitmap, RGB(255, 255, 255)), 0) << "image " << id;
        DeleteObject(bitmap);
    }
    EXPECT_EQ(ImageList_GetImageCount(list), 2);

    // Drawn over a red ground, the corners (white in the picture) show the ground and the middle shows the glyph.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 30, 16);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, target);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT all{0, 0, 30, 16};
    FillRect(dc, &all, red);
    ASSERT_TRUE(ImageList_Draw(list, 1, dc, 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 29, 15), RGB(255, 0, 0));
    EXPECT_NE(GetPixel(dc, 15, 8), RGB(255, 0, 0));
    SelectObject(dc, old);
    DeleteObject(red);
    DeleteObject(target);
    DeleteDC(dc);
    ImageList_Destroy(list);
}

TEST(WizardArt, NoticeIconLoadsAtSmallAndLargeSizes) {
    for (int size : {16, 32}) {
        const SIZE s = art_test::LoadedIconSize(IDI_ZENTRIVE, size);
        EXPECT_EQ(s.cx, size);
        EXPECT_EQ(s.cy, size);
    }
}

}  // namespace
