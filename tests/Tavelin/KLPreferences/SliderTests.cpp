#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "Foundation/NSNumber.h"
#include "KLPreferences/KLPSliderCell.h"
#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"
#include "UIKit/ScreenText.h"
#include "tests/Tavelin/KLPreferences/Fixtures.h"

using fixtures::CellTest;
using fixtures::text;

namespace {

// Records the values of the slider at each value-changed action.
struct SliderWatcher : NSObject {
    OBJC_CLASS(SliderWatcher, NSObject)
    void changed(NSObject* sender) { values.push_back(static_cast<UISlider*>(sender)->value()); }
    std::vector<float> values;
};

Ref<UISlider> watchedSlider(SliderWatcher* watcher) {
    Ref<UISlider> slider = make<UISlider>(&UISlider::initWithFrame, CGRectZero);
    slider->addTarget(watcher, "changed:"_sel, UIControlEventValueChanged);
    return slider;
}

} // namespace

const ClassInfo& SliderWatcher::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<SliderWatcher>().method<"changed:", &SliderWatcher::changed>().build();
    return info;
}

TEST(Slider, ValuesAreClampedIntoTheBoundsAndABoundPastTheOtherMovesIt) {
    Ref<UISlider> slider = make<UISlider>(&UISlider::initWithFrame, CGRectZero);
    slider->setValue(5);
    EXPECT_EQ(slider->value(), 1.0f);
    slider->setValue(-2);
    EXPECT_EQ(slider->value(), 0.0f);
    slider->setMaximumValue(10);
    slider->setValue(7.5f);
    slider->setMaximumValue(5);
    EXPECT_EQ(slider->value(), 5.0f);
    slider->setMinimumValue(6);
    EXPECT_EQ(slider->maximumValue(), 6.0f);
    EXPECT_EQ(slider->value(), 6.0f);
    slider->setMaximumValue(-1);
    EXPECT_EQ(slider->minimumValue(), -1.0f);
    EXPECT_EQ(slider->value(), -1.0f);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    slider->setValue(nan);
    slider->setMinimumValue(nan);
    slider->setMaximumValue(nan);
    EXPECT_EQ(slider->value(), -1.0f);
    EXPECT_EQ(slider->minimumValue(), -1.0f);
    EXPECT_EQ(slider->maximumValue(), -1.0f);
}

// A continuous drag reports every step that moved the thumb; otherwise once, at the end.
TEST(Slider, DragsReportContinuouslyOrOnceAtTheEnd) {
    Ref<SliderWatcher> watcher = Ref<SliderWatcher>::adopt(alloc<SliderWatcher>());
    Ref<UISlider> slider = watchedSlider(watcher);
    slider->setValue(0.5f);
    EXPECT_TRUE(watcher->values.empty());
    slider->drag({0.2f, 0.3f, 0.3f, 0.256f, 7});
    EXPECT_EQ(watcher->values, (std::vector<float>{0.2f, 0.3f, 0.256f, 1.0f}));

    watcher->values.clear();
    slider->setContinuous(false);
    slider->drag({0.2f, 0.3f, 0.256f});
    slider->drag({0.9f, 0.256f});
    slider->dragTo(-3);
    slider->dragTo(0);
    EXPECT_EQ(watcher->values, (std::vector<float>{0.256f, 0.0f}));
    slider->setEnabled(false);
    slider->dragTo(1);
    EXPECT_EQ(slider->value(), 0.0f);
    EXPECT_EQ(watcher->values.size(), 2u);
}

TEST(Slider, TheScreenTextShowsTheBoundsAndTheThumb) {
    Ref<UISlider> slider = make<UISlider>(&UISlider::initWithFrame, CGRectZero);
    EXPECT_EQ(text(send<Ref<NSString>>(slider, "screenText"_sel)), "[0.00 o-------- 1.00]");
    slider->setValue(0.5f);
    EXPECT_EQ(text(slider->screenText()), "[0.00 ----o---- 1.00]");
    slider->setMinimumValue(-2);
    slider->setValue(1);
    EXPECT_EQ(text(slider->screenText()), "[-2.00 --------o 1.00]");
    slider->setMaximumValue(-2);
    EXPECT_EQ(text(slider->screenText()), "[-2.00 o-------- -2.00]");
    slider->setMinimumValue(-std::numeric_limits<float>::infinity());
    slider->setMaximumValue(std::numeric_limits<float>::infinity());
    EXPECT_EQ(text(slider->screenText()), "[-inf o-------- inf]");
}

namespace {

class SliderCell : public CellTest {
  protected:
    Ref<KLPSliderCell> makeCell(NSObject* stored, KLPCell::ValueChangedBlock block = nullptr) {
        setting = KLPSettings::settingsWithKey("volume"_ns, nullptr);
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

TEST_F(SliderCell, AStoredHalfShowsTheSliderInTheMiddleWithItsFourLabels) {
    Ref<KLPSliderCell> cell = makeCell(NSNumber::numberWithFloat(0.5f));
    EXPECT_EQ(cell->sliderCell()->value(), 0.5f);
    EXPECT_EQ(text(cell->vLabel()->text()), "0.50");
    EXPECT_EQ(text(cell->lLabel()->text()), "0.00");
    EXPECT_EQ(text(cell->rLabel()->text()), "1.00");
    EXPECT_EQ(text(cell->cLabel()->text()), "Volume");
    EXPECT_FALSE(cell->textLabel()->text());
    EXPECT_EQ(cell->height(), 75);
}

TEST_F(SliderCell, StoredValuesReadAsTheirFloatValueAndAnythingElseAsZero) {
    EXPECT_EQ(text(makeCell(nullptr)->vLabel()->text()), "0.00");
    EXPECT_EQ(text(makeCell(NSString::string("0.75"))->vLabel()->text()), "0.75");
    EXPECT_EQ(text(makeCell(NSArray::array())->vLabel()->text()), "0.00");
    Ref<KLPSliderCell> outside = makeCell(NSNumber::numberWithInt(5));
    EXPECT_EQ(text(outside->vLabel()->text()), "5.00");
    EXPECT_EQ(outside->sliderCell()->value(), 1.0f);
    Ref<KLPSliderCell> unbound =
        KLPSliderCell::cellWithTitle("X"_ns, nullptr, -1, 1, nullptr, nullptr);
    EXPECT_EQ(text(unbound->vLabel()->text()), "0.00");
    EXPECT_EQ(text(unbound->lLabel()->text()), "-1.00");
}

TEST_F(SliderCell, MovingTheSliderStoresAFloatUpdatesTheLabelThenCallsTheBlockAndPosts) {
    std::vector<std::string> blockSaw;
    Ref<KLPSliderCell> cell = makeCell(nullptr, [&](NSObject* argument) {
        blockSaw.push_back(std::string(argument == cell->sliderCell() ? "slider" : "other") +
                           " label " + text(cell->vLabel()->text()) + " posts " +
                           std::to_string(posted.size()));
    });
    cell->sliderCell()->dragTo(0.256f);
    auto* stored = as<NSNumber>(setting->value());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->kind(), NSNumber::Kind::Float);
    EXPECT_EQ(stored->floatValue(), 0.256f);
    EXPECT_EQ(text(cell->vLabel()->text()), "0.26");
    EXPECT_EQ(blockSaw, std::vector<std::string>{"slider label 0.26 posts 0"});
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(text(posted[0]->name()), "VolumeChanged");
    EXPECT_EQ(posted[0]->object(), cell->sliderCell());

    cell->sliderCell()->drag({0.1f, 0.2f, 0.3f});
    EXPECT_EQ(posted.size(), 4u);
    EXPECT_EQ(as<NSNumber>(setting->value())->floatValue(), 0.3f);
    send(cell, "sliderChanged:"_sel, static_cast<NSObject*>(NSArray::array().get()));
    EXPECT_EQ(posted.size(), 4u);
}

// Frames in single precision; at 375 the lower label still starts at x = 5.
TEST_F(SliderCell, LayoutOf320And375PointRows) {
    struct Case {
        CGFloat width;
        CGRect slider, lower, upper;
    };
    const Case cases[] = {{375, CGRectMake(83.3333359f, 40, 208.333328f, 25),
                           CGRectMake(5, 40, 73.3333359f, 25),
                           CGRectMake(296.666656f, 40, 73.3333359f, 25)},
                          {320, CGRectMake(71.1111145f, 40, 177.777771f, 25),
                           CGRectMake(5.00000381f, 40, 61.1111107f, 25),
                           CGRectMake(253.888885f, 40, 61.1111107f, 25)}};
    Ref<KLPSliderCell> cell = makeCell(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        layOut(cell, c.width);
        EXPECT_EQ(cell->sliderCell()->frame(), c.slider);
        EXPECT_EQ(cell->lLabel()->frame(), c.lower);
        EXPECT_EQ(cell->rLabel()->frame(), c.upper);
    }
    // Laid out last at 320.
    EXPECT_EQ(cell->cLabel()->frame(), CGRectMake(17, 8, 177.777771f, 25));
    EXPECT_EQ(cell->vLabel()->frame(), CGRectMake(152.777771f, 8, 142.222229f, 25));
}

TEST_F(SliderCell, NarrowRowsGiveNoNegativeWidths) {
    Ref<KLPSliderCell> cell = makeCell(nullptr);
    for (CGFloat width : {44.0, 20.0, 0.0, -10.0}) {
        layOut(cell, width);
        for (NSObject* view : *cell->contentView()->subviews())
            EXPECT_GE(static_cast<UIView*>(view)->frame().size.width, 0) << "width " << width;
        EXPECT_EQ(cell->lLabel()->frame().size.width, 0);
        EXPECT_EQ(CGRectGetMaxX(cell->lLabel()->frame()) + 5, cell->sliderCell()->frame().origin.x);
    }
    layOut(cell, 45);
    EXPECT_EQ(cell->lLabel()->frame().size.width, 0);
    layOut(cell, 46);
    EXPECT_GT(cell->lLabel()->frame().size.width, 0);
}

TEST_F(SliderCell, InATableTheRowIs75HighAndATapLeavesNoHighlight) {
    Ref<KLPSliderCell> cell = makeCell(NSNumber::numberWithFloat(0.5f));
    Ref<KLPreferences> table = showInTable(cell, true);
    EXPECT_EQ(cell->frame().size.height, 75);
    EXPECT_EQ(screenText(navigation)->utf8(),
              " | Prefs | \n\n  [0.00 ----o---- 1.00]  0.00  1.00  Volume  0.50\n");
    EXPECT_TRUE(table->tableView()->tapRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0)));
    EXPECT_TRUE(cell->isSelected());
    EXPECT_FALSE(cell->isHighlighted());
}
