// Caption quick buttons: copying one onto another, and which changes repaint the frame.
#include "forms_fixture.h"
#include "platform/gui/image_list.h"

using namespace win;

namespace {

class QuickButtonsTest : public formstest::TFormsFixture {
protected:
    // Frame repaints the form's procedure sees from now on.
    int CountFramePaints(const std::function<void()>& AChange)
    {
        auto count = std::make_shared<int>(0);
        TWndMethod previous = Form->WindowProc;
        Form->WindowProc = [count, previous](TMessage& M) {
            if (M.Msg == WM_NCPAINT) ++*count;
            previous(M);
        };
        AChange();
        Form->WindowProc = previous;
        return *count;
    }
};

TEST_F(QuickButtonsTest, AssignCopiesTheLookButNotTheClick)
{
    NewSkinnedForm();
    TspQuickButtonItem* source = Corvalis->QuickButtons()->Add();
    TspQuickButtonItem* target = Corvalis->QuickButtons()->Add();
    source->SetImageIndex(3);
    source->SetHint("Open");
    source->SetEnabled(false);
    source->SetVisible(false);
    source->Down = true;
    int clicks = 0;
    target->OnClick = [&](TObject*) { ++clicks; };
    target->Assign(source);
    EXPECT_EQ(target->ImageIndex(), 3);
    EXPECT_EQ(target->Hint(), "Open");
    EXPECT_FALSE(target->Enabled());
    EXPECT_FALSE(target->Visible());
    EXPECT_FALSE(target->Down);
    ASSERT_TRUE(target->OnClick);
    target->OnClick(nullptr);
    EXPECT_EQ(clicks, 1);
}

TEST_F(QuickButtonsTest, LookChangesRepaintTheFrameAHintDoesNot)
{
    NewSkinnedForm();
    TspQuickButtonItem* item = Corvalis->QuickButtons()->Add();
    EXPECT_GT(CountFramePaints([&] { item->SetImageIndex(1); }), 0);
    EXPECT_GT(CountFramePaints([&] { item->SetEnabled(false); }), 0);
    EXPECT_GT(CountFramePaints([&] { item->SetVisible(false); }), 0);
    EXPECT_EQ(CountFramePaints([&] { item->SetHint("Save"); }), 0);
}

}  // namespace
