#include "Foundation/NSNumber.h"
#include "KLPreferences/KLPSliderCell.h"
#include "tests/Tavelin/KLPreferences/Fixtures.h"

namespace {

class SliderCell : public fixtures::CellTest {
  protected:
    Ref<KLPSliderCell> makeCell(NSObject* stored, KLPCell::ValueChangedBlock block = nullptr) {
        setting = CellTest::setting("volume");
        if (stored) setting->setValue(stored);
        return KLPSliderCell::cellWithTitle("Volume"_ns, setting, 0, 1, "VolumeChanged"_ns,
                                            std::move(block));
    }
    static void layOut(KLPSliderCell* cell, CGFloat width) {
        cell->setFrame(CGRectMake(0, 0, width, 75));
        cell->layoutIfNeeded();
        // The headless table cell's content view spans the whole cell.
        cell->contentView()->setFrame(CGRectMake(0, 0, width, 75));
        send(cell, "layoutSubviews"_sel);
    }
    Ref<KLPSettings> setting;
};

} // namespace

TEST_F(SliderCell, InATableTheRowIs75HighShowsItsFourLabelsAndATapLeavesNoHighlight) {
    Ref<KLPSliderCell> cell = makeCell(NSNumber::numberWithFloat(0.5f));
    Ref<KLPreferences> table = show({cell}, true);
    EXPECT_EQ(cell->frame().size.height, 75);
    EXPECT_EQ(screenText(navigation)->utf8(),
              " | Prefs | \n\n  [0.00 ----o---- 1.00]  0.00  1.00  Volume  0.50\n");
    EXPECT_FALSE(cell->textLabel()->text());
    EXPECT_TRUE(table->tableView()->tapRowAtIndexPath(row(0)));
    EXPECT_FALSE(cell->isHighlighted());
}

TEST_F(SliderCell, StoredValuesReadAsTheirFloatValueAndAnythingElseAsZero) {
    const std::pair<Ref<NSObject>, const char*> cases[] = {{nullptr, "0.00"},
                                                           {"0.75"_ns, "0.75"},
                                                           {NSArray::array(), "0.00"},
                                                           {NSNumber::numberWithInt(5), "5.00"}};
    for (const auto& [value, shown] : cases)
        EXPECT_EQ(text(makeCell(value)->vLabel()->text()), shown);
    EXPECT_EQ(makeCell(NSNumber::numberWithInt(5))->sliderCell()->value(), 1.0f);
    Ref<KLPSliderCell> unbound =
        KLPSliderCell::cellWithTitle("X"_ns, nullptr, -1, 1, nullptr, nullptr);
    EXPECT_EQ(text(unbound->vLabel()->text()), "0.00");
}

TEST_F(SliderCell, MovingTheSliderStoresAFloatAndUpdatesTheLabelBeforeTheBlockRuns) {
    Ref<KLPSliderCell> cell = makeCell(nullptr, [&](NSObject* argument) {
        events.push_back("block " + label(argument) + " " + text(cell->vLabel()->text()));
    });
    cell->sliderCell()->dragTo(0.256f);
    auto* stored = as<NSNumber>(setting->value());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->kind(), NSNumber::Kind::Float);
    EXPECT_EQ(stored->floatValue(), 0.256f);
    EXPECT_EQ(events,
              (std::vector<std::string>{"block control 0.26", "post VolumeChanged control"}));
    send(cell, "sliderChanged:"_sel, static_cast<NSObject*>(NSArray::array().get()));
    EXPECT_EQ(events.size(), 2u);
}

// Frames in single precision; at 375 the lower label still starts at x = 5.
TEST_F(SliderCell, LayoutOf320And375PointRows) {
    const struct {
        CGFloat width;
        CGRect slider, lower, upper;
    } cases[] = {{375, CGRectMake(83.3333359f, 40, 208.333328f, 25),
                  CGRectMake(5, 40, 73.3333359f, 25), CGRectMake(296.666656f, 40, 73.3333359f, 25)},
                 {320, CGRectMake(71.1111145f, 40, 177.777771f, 25),
                  CGRectMake(5.00000381f, 40, 61.1111107f, 25),
                  CGRectMake(253.888885f, 40, 61.1111107f, 25)}};
    Ref<KLPSliderCell> cell = makeCell(nullptr);
    for (const auto& c : cases) {
        layOut(cell, c.width);
        EXPECT_EQ(cell->sliderCell()->frame(), c.slider) << c.width;
        EXPECT_EQ(cell->lLabel()->frame(), c.lower) << c.width;
        EXPECT_EQ(cell->rLabel()->frame(), c.upper) << c.width;
    }
    EXPECT_EQ(cell->cLabel()->frame(), CGRectMake(17, 8, 177.777771f, 25));
    EXPECT_EQ(cell->vLabel()->frame(), CGRectMake(152.777771f, 8, 142.222229f, 25));
}

TEST_F(SliderCell, NarrowRowsGiveNoNegativeWidths) {
    Ref<KLPSliderCell> cell = makeCell(nullptr);
    for (CGFloat width : {45.0, 20.0, 0.0, -10.0}) {
        layOut(cell, width);
        for (NSObject* view : *cell->contentView()->subviews())
            EXPECT_GE(static_cast<UIView*>(view)->frame().size.width, 0) << "width " << width;
        EXPECT_EQ(cell->lLabel()->frame().size.width, 0);
    }
    layOut(cell, 46);
    EXPECT_GT(cell->lLabel()->frame().size.width, 0);
}
