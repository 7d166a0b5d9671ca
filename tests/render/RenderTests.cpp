#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "Screens.h"
#include "Snapshot.h"
#include "UIKit/TableDrawing.h"
#include "UIKit/TextDrawing.h"
#include "UIKit/UIRenderer.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UISegmentedControl.h"
#include "UIKit/UISwitch.h"
#include "UIKit/UITextField.h"
#include "UIKit/ViewDrawing.h"

using namespace render_support;
using snapshot::matchesReference;

namespace {

constexpr const char* kReferences = "tests/render/reference";
constexpr const char* kArabic = "استكشف انستغرام دون معرفة أصحاب الصور والفيديوهات";
const Ref<UIColor> kAccent = UIColor::colorWithRed(209 / 255.0, 59 / 255.0, 87 / 255.0, 1);

// A picture of one colour with a white disc in its middle, drawn in code.
Ref<UIImage> discImage(CGFloat side, CGFloat red, CGFloat green, CGFloat blue) {
    UIGraphicsBeginImageContextWithOptions({side, side}, false, 2);
    cairo_t* cr = UIGraphicsGetCurrentContext();
    cairo_set_source_rgb(cr, red, green, blue);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_arc(cr, side / 2, side / 2, side / 4, 0, 6.3);
    cairo_fill(cr);
    Ref<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

uint32_t pixelAt(cairo_surface_t* surface, CGFloat x, CGFloat y) {
    CGFloat scale = UIScreen::mainScreen()->scale();
    return snapshot::pixel(surface, static_cast<int>(x * scale), static_cast<int>(y * scale));
}

int channel(uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xff);
}

class Render : public ::testing::Test {
  protected:
    void SetUp() override {
        UIScreen::mainScreen()->setScale(2);
        UIScreen::mainScreen()->setSize({375, 667});
    }

    // Sections: a header with plain, detail and disclosure rows; an avatar
    // row with a checkmark and a tall row; a footer in two scripts; a rose.
    Ref<SampleTable> groupedSettings() {
        Ref<SampleTable> table = sampleTable("Tavelin");
        Ref<UITableViewCell> about = cell(UITableViewCellStyleDefault, "About");
        about->setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
        Ref<UITableViewCell> language = cell(UITableViewCellStyleValue1, "Language", "English");
        language->setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
        table->sections.push_back(
            {"General"_ns,
             nullptr,
             {cell(UITableViewCellStyleDefault, "Plain row"), language, about},
             {}});
        avatar = cell(UITableViewCellStyleSubtitle, "TorvenAskel", "TorvenAK");
        avatar->imageView()->setImage(discImage(40, 0.1, 0.3, 0.9));
        avatar->imageView()->layer()->setCornerRadius(8);
        avatar->imageView()->setClipsToBounds(true);
        avatar->setAccessoryType(UITableViewCellAccessoryCheckmark);
        avatar->setTintColor(kAccent);
        table->sections.push_back(
            {"Developer"_ns,
             NSString::string(std::string("Explore the timeline.\n ") + kArabic),
             {avatar, cell(UITableViewCellStyleValue1, "Version", "1.0")},
             {60}});
        table->sections.push_back({"special thanks"_ns,
                                   "🌹"_ns,
                                   {cell(UITableViewCellStyleValue1, "Navro", "@navro")},
                                   {}});
        return table;
    }

    Ref<UITableViewCell> avatar;
};

} // namespace

TEST_F(Render, GroupedTableScreenMatchesItsReference) {
    Ref<SampleTable> table = groupedSettings();
    Ref<UINavigationController> navigation = onStack(table);
    auto heart = make<UIBarButtonItem>(&UIBarButtonItem::initWithImage,
                                       discImage(22, 0.8, 0.2, 0.3).get(), 0L, nullptr, nullptr);
    table->navigationItem()->setRightBarButtonItem(heart);
    std::string error;
    SurfacePtr picture = renderScreen(navigation, &error);
    ASSERT_TRUE(picture) << error;
    EXPECT_EQ(cairo_image_surface_get_width(picture.get()), 750);
    EXPECT_EQ(cairo_image_surface_get_height(picture.get()), 1334);
    EXPECT_TRUE(matchesReference(picture.get(), kReferences, "grouped-table"));
}

TEST_F(Render, GroupedTablePlacesGroupsTextsAndStatesWhereTheyShow) {
    Ref<SampleTable> table = groupedSettings();
    Ref<UINavigationController> navigation = onStack(table);
    SurfacePtr picture = renderScreen(navigation, nullptr);
    ASSERT_TRUE(picture);
    TableFrames frames = tableFrames(table->tableView());
    ASSERT_EQ(frames.sections.size(), 3u);
    const CGFloat top = 64; // status and navigation bars
    // Rows stand in from the sides, white on the grouped grey.
    CGRect first = frames.sections[0].rows[0];
    EXPECT_EQ(first.origin.x, 16);
    EXPECT_EQ(first.size.width, 375 - 32);
    EXPECT_GT(first.origin.y, frames.sections[0].headerRect.origin.y);
    EXPECT_EQ(pixelAt(picture.get(), 8, top + first.origin.y + 20), 0xfff2f2f7u);
    EXPECT_EQ(pixelAt(picture.get(), 100, top + first.origin.y + 5), 0xffffffffu);
    // The group's corner is rounded: grey at its very corner.
    EXPECT_EQ(pixelAt(picture.get(), 16.5, top + first.origin.y + 0.5), 0xfff2f2f7u);
    // Heights through the delegate; sections follow one another.
    EXPECT_EQ(frames.sections[1].rows[0].size.height, 60);
    EXPECT_EQ(frames.sections[1].rows[1].size.height, UITableView::kAutomaticRowHeight);
    EXPECT_GT(frames.sections[1].rows[0].origin.y, CGRectGetMaxY(frames.sections[0].rows[2]) + 20);
    // The cells sit in those frames after the drawing.
    EXPECT_EQ(avatar->frame(), frames.sections[1].rows[0]);
    // The image keeps inside its rounded corner: no blue at the corner pixel.
    CGRect image = avatar->imageView()->frame();
    CGFloat x = avatar->frame().origin.x + image.origin.x;
    CGFloat y = top + avatar->frame().origin.y + image.origin.y;
    EXPECT_EQ(pixelAt(picture.get(), x + 0.2, y + 0.2), 0xffffffffu);
    EXPECT_GT(channel(pixelAt(picture.get(), x + 4, y + 4), 0), 200);
    // The checkmark in the cell's tint.
    uint32_t check = 0;
    for (CGFloat at = 16; at < 40 && !check; at += 0.5) {
        uint32_t p = pixelAt(picture.get(), 375 - at, top + avatar->frame().origin.y + 32);
        if (channel(p, 16) > 150 && channel(p, 8) < 120) check = p;
    }
    EXPECT_NE(check, 0u) << "no accent-coloured checkmark";
}

TEST_F(Render, FooterLinesRunInTheirOwnDirectionAndTheRoseIsInColour) {
    Ref<SampleTable> table = groupedSettings();
    Ref<UINavigationController> navigation = onStack(table);
    SurfacePtr picture = renderScreen(navigation, nullptr);
    ASSERT_TRUE(picture);
    TableFrames frames = tableFrames(table->tableView());
    const CGFloat top = 64;
    // The second footer line (Arabic) ends at the right margin and leaves the
    // left end empty; the first (English) starts at the left.
    CGRect footer = frames.sections[1].footerRect;
    auto inkBetween = [&](CGFloat from, CGFloat to, CGFloat line) {
        int ink = 0;
        for (CGFloat x = from; x < to; x += 0.5)
            for (CGFloat y = 2; y < footer.size.height / 2 - 2; y += 0.5)
                ink +=
                    channel(pixelAt(picture.get(), x, top + footer.origin.y + line + y), 0) < 160;
        return ink;
    };
    CGFloat half = footer.size.height / 2;
    EXPECT_GT(inkBetween(footer.origin.x, footer.origin.x + 40, 0), 0);
    EXPECT_EQ(inkBetween(footer.origin.x, footer.origin.x + 40, half), 0);
    EXPECT_GT(inkBetween(CGRectGetMaxX(footer) - 40, CGRectGetMaxX(footer), half), 0);
    // The rose has saturated colour (red or green), which grey text never has.
    CGRect rose = frames.sections[2].footerRect;
    int coloured = 0;
    for (CGFloat x = rose.origin.x; x < rose.origin.x + 30; x += 0.5)
        for (CGFloat y = rose.origin.y; y < CGRectGetMaxY(rose); y += 0.5) {
            uint32_t p = pixelAt(picture.get(), x, top + y);
            int r = channel(p, 16), g = channel(p, 8), b = channel(p, 0);
            coloured += std::max({r, g, b}) - std::min({r, g, b}) > 80;
        }
    EXPECT_GT(coloured, 20);
}
