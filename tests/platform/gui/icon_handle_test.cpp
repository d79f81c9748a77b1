#include "gui_fixture.h"

#include "platform/gui/forms.h"
#include "platform/gui/icon.h"
#include "platform/win/win.h"

namespace guitest {
namespace {

using namespace win;

class IconHandles : public TGuiFixture {};

TEST_F(IconHandles, TheIconsHandleFollowsItsPictureAndCanBeTakenOrGiven)
{
    TIcon icon;
    EXPECT_EQ(icon.Handle(), nullptr);  // empty
    icon.SetPixels(2, 1, {0xFFFF0000, 0x80008000});
    HICON first = icon.Handle();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(icon.Handle(), first);
    TIconImage image;
    ASSERT_TRUE(GetIconImage(first, image));
    EXPECT_EQ(image.Pixels, (std::vector<uint32_t>{0xFFFF0000, 0x80004000}));  // premultiplied
    icon.SetPixels(1, 1, {0xFF0000FF});
    EXPECT_FALSE(GetIconImage(first, image));  // the old picture's handle went with it

    HICON taken = icon.ReleaseHandle();
    EXPECT_FALSE(icon.Empty());
    EXPECT_NE(icon.Handle(), taken);
    TIcon other;
    other.SetHandle(taken);  // now the other icon's
    EXPECT_EQ(other.Pixels(), (std::vector<uint32_t>{0xFF0000FF}));
    EXPECT_EQ(other.Handle(), taken);
    other.SetHandle(LoadIcon(nullptr, IDI_WARNING));
    EXPECT_EQ(other.Width(), 32);
    EXPECT_FALSE(GetIconImage(taken, image));
}

TEST_F(IconHandles, AFormsIconIsItsWindowsIcon)
{
    TForm* form = NewForm();
    form->Icon()->SetPixels(1, 1, {0xFF102030});
    form->Show();
    HWND window = form->Handle();
    auto shown = reinterpret_cast<HICON>(SendMessage(window, WM_GETICON, ICON_BIG, 0));
    EXPECT_EQ(shown, form->Icon()->Handle());
    form->Icon()->SetPixels(1, 1, {0xFF405060});
    shown = reinterpret_cast<HICON>(SendMessage(window, WM_GETICON, ICON_BIG, 0));
    TIconImage image;
    ASSERT_TRUE(GetIconImage(shown, image));
    EXPECT_EQ(image.Pixels[0], 0xFF405060u);
}

}  // namespace
}  // namespace guitest
