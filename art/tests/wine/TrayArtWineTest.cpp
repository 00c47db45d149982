// The tray utility's pictures as Pebblink loads them under Wine: its two icons at tray and dialog sizes, and the
// 18 x 18 disk image in an image list with white as its transparent colour.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "ArtLoading.h"
#include "art/ArtIds.h"

namespace {

TEST(TrayArt, IconsLoadAtTrayAndDialogSizes) {
    for (int id : {IDI_UTILITY, IDI_SAFE_REMOVE}) {
        for (int size : {16, 32}) {
            const SIZE s = art_test::LoadedIconSize(id, size);
            EXPECT_EQ(s.cx, size) << "icon " << id;
            EXPECT_EQ(s.cy, size) << "icon " << id;
        }
    }
}

TEST(TrayArt, UsbDiskImageFillsAnImageListOfWidth18) {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_TREEVIEW_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&init));
    HBITMAP bitmap = art_test::LoadBitmapResource(IDB_USB_DISK, LR_DEFAULTCOLOR);
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm{};
    ASSERT_TRUE(GetObjectA(bitmap, sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth, 18);
    EXPECT_EQ(bm.bmHeight, 18);
    DeleteObject(bitmap);

    HIMAGELIST list = ImageList_LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_USB_DISK), 18, 0,
                                           RGB(255, 255, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list), 1);
    ImageList_Destroy(list);
}

}  // namespace
