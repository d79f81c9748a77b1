// Value and label objects of the frame: their formulas, their setters' rules, and what they draw.
#include "skin/forms/value_objects.h"

#include "skin_frame_fixture.h"

namespace {

class ValueObjectsTest : public formstest::TSkinFrameFixture {
protected:
    // A skin with the given records added; a 60 x 20 active picture (index 1) whose columns 0..9, 10..19, ...
    // are filled with kStrip[0], kStrip[1], ...
    template <class... R>
    void UseSkin(std::unique_ptr<R>... ARecords)
    {
        NewSkinnedForm();
        TspSkinData* skin = MakeSkin();
        auto strip = std::make_unique<TBitmap>(60, 20, pf24bit);
        for (Integer i = 0; i < 6; ++i) {
            strip->Canvas()->Brush()->SetColor(kStrip[i]);
            strip->Canvas()->FillRect(Rect(i * 10, 0, i * 10 + 10, 20));
        }
        skin->FActivePictures.push_back(std::move(strip));
        skin->FActivePicturesNames->Add("strip.bmp");
        (skin->ObjectList.push_back(std::move(ARecords)), ...);
        Corvalis->SetSkinData(skin);
        Pump();
    }
    template <class T>
    T* Object(const std::string& AName)
    {
        const Integer i = Corvalis->GetIndex(AName);
        return i < 0 ? nullptr : dynamic_cast<T*>(Corvalis->Objects(i));
    }
    static constexpr TColor kStrip[6] = {clRed, clLime, clBlue, clYellow, clFuchsia, clAqua};
};

template <class R>
std::unique_ptr<R> Record(const std::string& AName, TRect ASkinRect, TRect AActiveRect = TRect{})
{
    auto r = std::make_unique<R>(AName);
    r->SkinRect = ASkinRect;
    r->ActiveSkinRect = AActiveRect;
    r->ActivePictureIndex = 1;
    return r;
}

TEST_F(ValueObjectsTest, TrackBarPlacesAndValuesRoundHalfToEven)
{
    auto h = Record<TspDataSkinTrackBar>("h", Rect(2, 30, 14, 40));
    h->BeginPoint = {0, 5};
    h->EndPoint = {10, 5};
    h->MaxValue = 4;
    auto v = Record<TspDataSkinTrackBar>("v", Rect(20, 30, 30, 50));
    v->BeginPoint = {5, 15};  // the bottom end holds MinValue
    v->EndPoint = {10, 5};    // equal X and Y distances: vertical
    v->MaxValue = 4;
    UseSkin(std::move(h), std::move(v));
    auto* hb = Object<TspSkinTrackBarObject>("h");
    auto* vb = Object<TspSkinTrackBarObject>("v");
    ASSERT_TRUE(hb && vb);
    EXPECT_EQ(hb->TrackKind, tkHorizontal);
    EXPECT_EQ(vb->TrackKind, tkVertical);
    const struct {
        Integer Value;
        Integer HX;  // 10 * value / 4, half to even
        Integer VY;  // 5 + 10 * (1 - value / 4), half to even
    } places[] = {{0, 0, 15}, {1, 2, 13}, {2, 5, 10}, {3, 8, 7}, {4, 10, 5}};
    for (const auto& p : places) {
        EXPECT_EQ(hb->PlaceOfValue(p.Value), (TPoint{p.HX, 5})) << p.Value;
        EXPECT_EQ(vb->PlaceOfValue(p.Value), (TPoint{5, p.VY})) << p.Value;
    }
    const struct {
        Integer X;
        Integer Value;
    } values[] = {{0, 0}, {1, 0}, {4, 2}, {5, 2}, {6, 2}, {7, 3}, {10, 4}};  // 4 * x / 10, 2.0 at 5, 1.6 at 4
    for (const auto& v2 : values) EXPECT_EQ(hb->ValueOfPlace({v2.X, 5}), v2.Value) << v2.X;
    EXPECT_EQ(hb->ButtonPos(), (TPoint{0, 5})) << "starts at MinValue";
}

TEST_F(ValueObjectsTest, TrackBarSetterClampsReportsOnceAndDragStopsAtTheEnd)
{
    auto t = Record<TspDataSkinTrackBar>("t", Rect(10, 30, 70, 40));
    t->BeginPoint = {5, 5};
    t->EndPoint = {55, 5};
    t->MaxValue = 50;
    t->ButtonRect = Rect(0, 0, 6, 6);
    UseSkin(std::move(t));
    std::vector<Integer> reported;
    Corvalis->OnTrackBarChangeValueEvent = [&](TObject*, const std::string& AName, Integer AValue) {
        EXPECT_EQ(AName, "t");
        reported.push_back(AValue);
    };
    Corvalis->TrackBarSetValue("t", 80);
    EXPECT_EQ(Corvalis->TrackBarGetValue("t"), 50);
    Corvalis->TrackBarSetValue("t", 50);
    Corvalis->TrackBarSetValue("t", 20);
    EXPECT_EQ(reported, (std::vector<Integer>{50, 20})) << "an equal value changes nothing";
    EXPECT_EQ(Corvalis->TrackBarGetValue("nobody"), 0);

    auto* bar = Object<TspSkinTrackBarObject>("t");
    const TRect o = bar->ObjectRect;
    // The button sits at x 25; a press on it starts the drag, then the mouse runs past EndPoint.
    bar->MouseDown(o.Left + 25, o.Top + 5, mbLeft);
    EXPECT_TRUE(bar->Dragging());
    bar->MouseMove(o.Left + 50, o.Top + 5);
    EXPECT_EQ(bar->ButtonPos().X, 50);
    bar->MouseMove(o.Left + 58, o.Top + 5);
    EXPECT_EQ(bar->ButtonPos().X, 50) << "stays at the last place inside the track";
    EXPECT_EQ(bar->Value(), 45);
    bar->MouseUp(o.Left + 58, o.Top + 5, mbLeft);
    EXPECT_FALSE(bar->Dragging());
}

TEST_F(ValueObjectsTest, GaugePlacesAndDrawsNothingWhenEmptyDuringAFramePaint)
{
    auto g = Record<TspDataSkinGauge>("g", Rect(10, 30, 30, 36), Rect(0, 0, 20, 6));
    g->MaxValue = 8;
    auto v = Record<TspDataSkinGauge>("v", Rect(40, 30, 46, 50), Rect(0, 0, 6, 20));
    v->MaxValue = 8;
    v->Kind = gkVertical;
    UseSkin(std::move(g), std::move(v));
    auto* gauge = Object<TspSkinGaugeObject>("g");
    auto* vertical = Object<TspSkinGaugeObject>("v");
    ASSERT_TRUE(gauge && vertical);
    const struct {
        Integer Value;
        Integer X;  // 20 * value / 8
        Integer Y;  // 20 * (1 - value / 8)
    } cases[] = {{0, 0, 20}, {1, 2, 18}, {3, 8, 12}, {5, 12, 8}, {8, 20, 0}, {12, 20, 0}, {-3, 0, 20}};
    for (const auto& c : cases) {
        gauge->SimplySetValue(c.Value);
        vertical->SimplySetValue(c.Value);
        EXPECT_EQ(gauge->ProgressPos().X, c.X) << c.Value;
        EXPECT_EQ(vertical->ProgressPos().Y, c.Y) << c.Value;
    }

    gauge->SimplySetValue(0);
    TBitmap canvas(80, 60, pf24bit);
    canvas.Canvas()->Brush()->SetColor(clWhite);
    canvas.Canvas()->FillRect(Rect(0, 0, 80, 60));
    gauge->Draw(canvas.Canvas(), false);
    EXPECT_EQ(ColorToRGB(canvas.Canvas()->Pixels(12, 32)), ColorToRGB(clWhite)) << "frame paint: nothing";
    gauge->Draw(canvas.Canvas(), true);
    EXPECT_EQ(ColorToRGB(canvas.Canvas()->Pixels(12, 32)), ColorToRGB(kFrameColor)) << "alone: the empty picture";
    Corvalis->GaugeSetValue("g", 4);
    gauge->Draw(canvas.Canvas(), false);
    EXPECT_EQ(ColorToRGB(canvas.Canvas()->Pixels(12, 32)), ColorToRGB(clRed)) << "filled part";
    EXPECT_EQ(ColorToRGB(canvas.Canvas()->Pixels(22, 32)), ColorToRGB(kFrameColor)) << "empty part";
}

TEST_F(ValueObjectsTest, FrameGaugeShowsFramesByValueAndIgnoresValuesOutside)
{
    auto g = Record<TspDataSkinFrameGaugeObject>("g", Rect(10, 30, 15, 35), Rect(0, 0, 55, 5));
    g->MaxValue = 100;
    g->CountFrames = 11;
    auto odd = Record<TspDataSkinFrameGaugeObject>("odd", Rect(20, 30, 25, 35), Rect(0, 0, 20, 5));
    odd->MaxValue = 5;
    odd->CountFrames = 4;
    UseSkin(std::move(g), std::move(odd));
    auto* gauge = Object<TspSkinFrameGaugeObject>("g");
    ASSERT_TRUE(gauge);
    EXPECT_EQ(gauge->FrameW, 5);
    const struct {
        Integer Value;
        Integer Frame;
    } cases[] = {{0, 1}, {9, 1}, {10, 2}, {19, 2}, {55, 6}, {99, 10}, {100, 11}};
    for (const auto& c : cases) {
        Corvalis->FrameGaugeSetValue("g", c.Value);
        EXPECT_EQ(gauge->FrameFromValue(), c.Frame) << c.Value;
    }
    Corvalis->FrameGaugeSetValue("g", 150);
    Corvalis->FrameGaugeSetValue("g", -1);
    EXPECT_EQ(gauge->Value(), 100) << "values outside are ignored, not clamped";

    // A range that is no multiple of the gaps stays on the strip's last frame.
    auto* odd_gauge = Object<TspSkinFrameGaugeObject>("odd");
    odd_gauge->SetValue(5);
    EXPECT_EQ(odd_gauge->FrameFromValue(), 4);
}

TEST_F(ValueObjectsTest, KnobAnglesAndCrossingZeroClockwiseRaisesOneStep)
{
    auto k = Record<TspDataSkinFrameRegulatorObject>("k", Rect(10, 10, 50, 50), Rect(0, 0, 60, 20));
    k->MaxValue = 100;
    k->CountFrames = 5;
    UseSkin(std::move(k));
    auto* knob = Object<TspSkinFrameRegulatorObject>("k");
    ASSERT_TRUE(knob);
    knob->ObjectRect = Rect(10, 10, 50, 50);  // 40 x 40, centre (20, 20)
    const struct {
        Integer X, Y, Angle;
    } angles[] = {{20, 40, 0}, {0, 20, 90}, {20, 0, 180}, {40, 20, 270}, {0, 40, 45},
                  {24, 40, 349}, {16, 40, 12}, {-10, 99, 45}};  // the last is limited to the corner (0, 40)
    for (const auto& a : angles) EXPECT_EQ(knob->PointToAngle(a.X, a.Y), a.Angle) << a.X << "," << a.Y;

    std::vector<Integer> reported;
    Corvalis->OnFrameRegulatorChangeValueEvent = [&](TObject*, const std::string&, Integer V) { reported.push_back(V); };
    knob->MouseDown(10 + 24, 10 + 40, mbLeft);  // 349 degrees
    knob->MouseMove(10 + 16, 10 + 40);          // 12 degrees: across the line, clockwise
    EXPECT_EQ(reported, (std::vector<Integer>{25}));
    knob->MouseMove(10 + 24, 10 + 40);  // back across: down one step
    EXPECT_EQ(reported, (std::vector<Integer>{25, 0}));
    knob->MouseUp(10 + 24, 10 + 40, mbLeft);
    Corvalis->FrameRegulatorSetValue("k", 101);
    EXPECT_EQ(Corvalis->FrameRegulatorGetValue("k"), 0) << "outside the range: ignored";
}

TEST_F(ValueObjectsTest, LinearRegulatorStepsByFrameWidth)
{
    auto r = Record<TspDataSkinFrameRegulatorObject>("r", Rect(10, 10, 50, 20), Rect(0, 0, 60, 20));
    r->MinValue = 10;
    r->MaxValue = 30;
    r->CountFrames = 3;  // frames 20 wide: 10 pixels and 10 units per step
    r->Kind = rkHorizontal;
    UseSkin(std::move(r));
    auto* reg = Object<TspSkinFrameRegulatorObject>("r");
    ASSERT_TRUE(reg);
    EXPECT_EQ(reg->Value(), 10) << "0 moved into the range";
    reg->MouseDown(20, 15, mbLeft);
    reg->MouseMove(29, 15);
    EXPECT_EQ(reg->Value(), 10) << "9 pixels: less than a step";
    reg->MouseMove(30, 15);
    EXPECT_EQ(reg->Value(), 20);
    reg->MouseMove(45, 15);
    EXPECT_EQ(reg->Value(), 30);
    reg->MouseMove(60, 15);
    EXPECT_EQ(reg->Value(), 30) << "limited to the range";
    reg->MouseMove(50, 15);
    EXPECT_EQ(reg->Value(), 20);
}

TEST_F(ValueObjectsTest, BitLabelCutsTheLastFittingCharacterAndLeavesUnknownOnesBlank)
{
    // Six 10-wide cells in one row: "ABCDEF" are the strip's six colours; 23 pixels hold two cells and 3 columns.
    auto b = Record<TspDataSkinBitLabel>("b", Rect(10, 30, 33, 40), Rect(0, 0, 60, 10));
    b->SymbolWidth = 10;
    b->SymbolHeight = 10;
    b->Symbols->Add("ABC");
    b->Symbols->Add("DEF");  // second row: not in this picture's 10 rows; the test uses the first only
    UseSkin(std::move(b));
    auto* label = Object<TspSkinBitLabelObject>("b");
    ASSERT_TRUE(label);
    Integer column = -1, row = -1;
    EXPECT_TRUE(label->FindSymbol('E', column, row));
    EXPECT_EQ(column, 1);
    EXPECT_EQ(row, 1);
    EXPECT_FALSE(label->FindSymbol('z', column, row));

    TBitmap canvas(80, 60, pf24bit);
    auto colour = [&](Integer X) { return ColorToRGB(canvas.Canvas()->Pixels(X, 35)); };
    label->SetTextValue("CzBA", false);
    label->Draw(canvas.Canvas(), true);
    EXPECT_EQ(colour(12), ColorToRGB(clBlue));
    EXPECT_EQ(colour(22), ColorToRGB(kFrameColor)) << "z is not in the font: background";
    EXPECT_EQ(colour(31), ColorToRGB(clLime)) << "B cut to 3 columns";
    label->SetTextValue("ABCA", false);
    label->Draw(canvas.Canvas(), true);
    EXPECT_EQ(colour(30), ColorToRGB(clBlue)) << "C cut; nothing after it";
}

TEST_F(ValueObjectsTest, SwitchTogglesOnPressAndQuietSetShowsFullyOn)
{
    auto s = Record<TspDataSkinSwitch>("s", Rect(10, 30, 20, 40), Rect(0, 0, 10, 10));
    s->Morphing = true;
    UseSkin(std::move(s));
    auto* sw = Object<TspSkinSwitchObject>("s");
    ASSERT_TRUE(sw);
    std::vector<TSwitchState> states;
    Corvalis->OnSwitchChangeStateEvent = [&](TObject*, const std::string&, TSwitchState S) { states.push_back(S); };
    EXPECT_EQ(Corvalis->SwitchGetState("s"), swsOff);
    sw->MouseDown(12, 32, mbLeft);
    sw->MouseDown(12, 32, mbLeft);
    EXPECT_EQ(states, (std::vector<TSwitchState>{swsOn, swsOff}));
    sw->SimpleSetState(swsOn);
    EXPECT_EQ(sw->MorphKf(), 1);
    EXPECT_TRUE(sw->Active);
    EXPECT_EQ(states.size(), 2u) << "the quiet setter reports nothing";
    sw->MouseLeave();
    EXPECT_TRUE(sw->Active) << "the look follows the state, not the mouse";
}

TEST_F(ValueObjectsTest, LabelAlignsItsTextAndSkinChangeSettersAreQuiet)
{
    auto l = Record<TspDataSkinLabel>("l", Rect(10, 30, 70, 50));
    l->FontName = "DejaVu Sans";
    l->FontHeight = 12;
    l->FontColor = clWhite;
    l->TextValue = "ab";
    UseSkin(std::move(l));
    auto* label = Object<TspSkinLabelObject>("l");
    ASSERT_TRUE(label);
    TBitmap probe(60, 20, pf24bit);
    probe.Canvas()->Font()->SetName("DejaVu Sans");
    probe.Canvas()->Font()->SetHeight(12);
    const TSize size = probe.Canvas()->TextExtent("ab");
    for (auto [alignment, x] : {std::pair{taLeftJustify, 0}, std::pair{taRightJustify, 60 - size.cx},
                                std::pair{taCenter, 30 - size.cx / 2}}) {
        label->Alignment = alignment;
        EXPECT_EQ(label->TextOrigin(probe.Canvas()), (TPoint{x, 10 - size.cy / 2}));
    }
    Corvalis->FInChangeSkinData = true;
    Corvalis->LabelSetText("l", "quiet");
    Corvalis->FInChangeSkinData = false;
    EXPECT_EQ(label->TextValue(), "quiet");
}

}  // namespace
