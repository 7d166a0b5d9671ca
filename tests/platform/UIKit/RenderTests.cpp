#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <vector>

#include "ObjectModel/Message.h"
#include "Screens.h"
#include "Snapshot.h"
#include "UIKit/TableLayout.h"
#include "UIKit/TextDrawing.h"
#include "UIKit/UIRenderer.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UISegmentedControl.h"
#include "UIKit/UISlider.h"
#include "UIKit/UISwitch.h"
#include "UIKit/UITextField.h"
#include "UIKit/ViewDrawing.h"

using namespace render_support;
using snapshot::matchesReference;

namespace {

constexpr const char* kReferences = "tests/platform/UIKit/reference";
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

// The frames of the view and everything under it, in tree order.
void collectFrames(UIView* view, std::vector<CGRect>* frames) {
    frames->push_back(view->frame());
    for (NSObject* child : *view->subviews())
        collectFrames(static_cast<UIView*>(child), frames);
}

class Render : public ::testing::Test {
  protected:
    void SetUp() override {
        UIScreen::mainScreen()->setScale(2);
        UIScreen::mainScreen()->setSize({375, 667});
        std::string pattern = (std::filesystem::temp_directory_path() / "render-XXXXXX").string();
        dir_ = mkdtemp(pattern.data());
    }
    void TearDown() override {
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(dir_);
    }
    // Why the picture of the settings could not be written; empty when it was.
    std::string writeProblem(const std::filesystem::path& path) {
        Result<void> written = renderScreenPNG(onStack(groupedSettings()), path.string());
        return written ? "" : written.problem();
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
    std::filesystem::path dir_;
};

} // namespace

TEST_F(Render, GroupedTableMatchesItsReferenceWithGroupsTextsAndStatesWhereTheyShow) {
    Ref<SampleTable> table = groupedSettings();
    Ref<UINavigationController> navigation = onStack(table);
    auto heart = make<UIBarButtonItem>(&UIBarButtonItem::initWithImage,
                                       discImage(22, 0.8, 0.2, 0.3).get(), 0L, nullptr, nullptr);
    table->navigationItem()->setRightBarButtonItem(heart);
    Result<SurfacePtr> picture = renderScreen(navigation);
    ASSERT_TRUE(picture) << picture.problem();
    EXPECT_TRUE(matchesReference(picture->get(), kReferences, "grouped-table"));

    const TableLayout& frames = table->tableView()->tableLayout();
    ASSERT_EQ(frames.sections.size(), 3u);
    const CGFloat top = 64; // status and navigation bars
    // Rows stand in from the sides, white on the grouped grey.
    CGRect first = frames.sections[0].rows[0];
    EXPECT_EQ(first.origin.x, 16);
    EXPECT_EQ(first.size.width, 375 - 32);
    EXPECT_GT(first.origin.y, frames.sections[0].headerRect.origin.y);
    EXPECT_EQ(pixelAt(picture->get(), 8, top + first.origin.y + 20), 0xfff2f2f7u);
    EXPECT_EQ(pixelAt(picture->get(), 100, top + first.origin.y + 5), 0xffffffffu);
    // The group's corner is rounded: grey at its very corner.
    EXPECT_EQ(pixelAt(picture->get(), 16.5, top + first.origin.y + 0.5), 0xfff2f2f7u);
    // Heights through the delegate; sections follow one another.
    EXPECT_EQ(frames.sections[1].rows[0].size.height, 60);
    EXPECT_EQ(frames.sections[1].rows[1].size.height, UITableView::kAutomaticRowHeight);
    EXPECT_GT(frames.sections[1].rows[0].origin.y, CGRectGetMaxY(frames.sections[0].rows[2]) + 20);
    // The cells sit in those frames after the drawing.
    EXPECT_EQ(avatar->frame(), frames.sections[1].rows[0]);
    // The image keeps inside its rounded corner: no blue at the corner pixel.
    CGRect image = avatar->imageView()->frame();
    CGFloat imageX = avatar->frame().origin.x + image.origin.x;
    CGFloat imageY = top + avatar->frame().origin.y + image.origin.y;
    EXPECT_EQ(pixelAt(picture->get(), imageX + 0.2, imageY + 0.2), 0xffffffffu);
    EXPECT_GT(channel(pixelAt(picture->get(), imageX + 4, imageY + 4), 0), 200);
    // The checkmark in the cell's tint.
    uint32_t check = 0;
    for (CGFloat at = 16; at < 40 && !check; at += 0.5) {
        uint32_t p = pixelAt(picture->get(), 375 - at, top + avatar->frame().origin.y + 32);
        if (channel(p, 16) > 150 && channel(p, 8) < 120) check = p;
    }
    EXPECT_NE(check, 0u) << "no accent-coloured checkmark";

    // Footer lines run in their own direction: the Arabic second line ends at
    // the right margin, the English first line starts at the left.
    CGRect footer = frames.sections[1].footerRect;
    auto inkBetween = [&](CGFloat from, CGFloat to, CGFloat line) {
        int ink = 0;
        for (CGFloat x = from; x < to; x += 0.5)
            for (CGFloat y = 2; y < footer.size.height / 2 - 2; y += 0.5)
                ink +=
                    channel(pixelAt(picture->get(), x, top + footer.origin.y + line + y), 0) < 160;
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
            uint32_t p = pixelAt(picture->get(), x, top + y);
            int r = channel(p, 16), g = channel(p, 8), b = channel(p, 0);
            coloured += std::max({r, g, b}) - std::min({r, g, b}) > 80;
        }
    EXPECT_GT(coloured, 20);
}

namespace {

Ref<UITableViewCell> controlRow(const char* title, UIView* control) {
    Ref<UITableViewCell> row = cell(UITableViewCellStyleDefault, title);
    row->setAccessoryView(control);
    return row;
}

struct ControlsScreen {
    Ref<SampleTable> table = sampleTable("Controls");
    Ref<UISwitch> on = make<UISwitch>(&UISwitch::initWithFrame, CGRectZero);
    Ref<UISwitch> off = make<UISwitch>(&UISwitch::initWithFrame, CGRectZero);
    Ref<UISegmentedControl> segments = UISegmentedControl::segmentedControlWithItems(
        NSArray::arrayWithObjects({"One"_ns, "Two"_ns, "Three"_ns}));
    Ref<UITextField> typed =
        make<UITextField>(&UITextField::initWithFrame, CGRectMake(0, 0, 190, 30));
    Ref<UITextField> empty =
        make<UITextField>(&UITextField::initWithFrame, CGRectMake(0, 0, 190, 30));
    Ref<UISlider> slider = make<UISlider>(&UISlider::initWithFrame, CGRectMake(0, 0, 200, 31));

    ControlsScreen() {
        on->setOn(true);
        on->setOnTintColor(kAccent);
        segments->setSelectedSegmentIndex(1);
        typed->setText("hello"_ns);
        typed->setTextAlignment(NSTextAlignmentRight);
        empty->setPlaceholder("Name"_ns);
        empty->setTextAlignment(NSTextAlignmentRight);
        slider->setValue(0.25f);
        table->sections.push_back(
            {"Switches"_ns, nullptr, {controlRow("Velin Mode", on), controlRow("Off", off)}, {}});
        table->sections.push_back({"Choices"_ns,
                                   "Segments, fields and a slider."_ns,
                                   {controlRow("Level", segments), controlRow("Text", typed),
                                    controlRow("Empty", empty), controlRow("Size", slider)},
                                   {}});
    }
};

// The colour in the middle of a view on the picture, or that far from it.
uint32_t middleOf(cairo_surface_t* picture, UIView* view, CGFloat dx = 0, CGFloat dy = 0) {
    CGRect frame = view->frame();
    CGFloat x = frame.origin.x + frame.size.width / 2 + dx;
    CGFloat y = frame.origin.y + frame.size.height / 2 + dy;
    for (UIView* at = view->superview(); at; at = at->superview()) {
        x += at->frame().origin.x;
        y += at->frame().origin.y;
    }
    return pixelAt(picture, x, y);
}

} // namespace

TEST_F(Render, ControlsShowTheirStateInEachAppearanceAndMatchTheirReferences) {
    struct Case {
        long style;
        const char* reference;
        uint32_t offTrack, segmentTrack, raisedSegment;
    };
    const Case cases[] = {
        {UIUserInterfaceStyleLight, "controls", 0xffeaeaebu, 0xffefeff0u, 0xffffffffu},
        {UIUserInterfaceStyleDark, "controls-dark", 0xff39393du, 0xff313135u, 0xff636366u},
    };
    for (const Case& c : cases) {
        UIScreen::mainScreen()->setUserInterfaceStyle(c.style);
        ControlsScreen screen;
        Ref<UINavigationController> navigation = onStack(screen.table);
        Result<SurfacePtr> picture = renderScreen(navigation);
        ASSERT_TRUE(picture);
        EXPECT_TRUE(matchesReference(picture->get(), kReferences, c.reference));
        cairo_surface_t* p = picture->get();
        // On: the track in the on-tint, whatever the appearance; off: the fill.
        EXPECT_EQ(middleOf(p, screen.on, -18), 0xffd13b57u) << c.reference;
        EXPECT_EQ(middleOf(p, screen.off, 18), c.offTrack) << c.reference;
        // The selected segment stands raised on the track; no tint fills it.
        EXPECT_EQ(middleOf(p, screen.segments, 0, -11), c.raisedSegment) << c.reference;
        EXPECT_EQ(middleOf(p, screen.segments, -64, -11), c.segmentTrack) << c.reference;
        Result<SurfacePtr> again = renderScreen(navigation);
        ASSERT_TRUE(again);
        EXPECT_TRUE(snapshot::samePixels(p, again->get())) << "rendering is deterministic";
    }
    UIScreen::mainScreen()->setUserInterfaceStyle(UIUserInterfaceStyleLight);
}

TEST_F(Render, DrawingLeavesEveryFrameWhereTheTablesOwnLayoutPutIt) {
    Ref<SampleTable> table = groupedSettings();
    Ref<UINavigationController> navigation = onStack(table);
    UITableView* view = table->tableView();
    view->setFrame(CGRectMake(0, 64, 375, 667 - 64)); // below the status and navigation bars
    view->layoutIfNeeded();
    std::vector<CGRect> laidOut;
    collectFrames(view, &laidOut);
    ASSERT_GT(laidOut.size(), 7u);
    ASSERT_TRUE(renderScreen(navigation));
    std::vector<CGRect> drawn;
    collectFrames(view, &drawn);
    EXPECT_EQ(drawn, laidOut);
    EXPECT_EQ(avatar->frame().origin.x, 16) << "grouped rows stand in from the sides";
}

TEST_F(Render, AWrittenPictureFollowsTheScreensSizeAndScale) {
    UIScreen::mainScreen()->setScale(3);
    UIScreen::mainScreen()->setSize({320, 480});
    Ref<SampleTable> table = groupedSettings();
    Result<void> written = renderScreenPNG(onStack(table), (dir_ / "screen.png").string());
    ASSERT_TRUE(written) << written.problem();
    cairo_surface_t* back = cairo_image_surface_create_from_png((dir_ / "screen.png").c_str());
    ASSERT_EQ(cairo_surface_status(back), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(back), 960);
    EXPECT_EQ(cairo_image_surface_get_height(back), 1440);
    cairo_surface_destroy(back);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "screen.png.tmp"));
    EXPECT_EQ(table->tableView()->tableLayout().sections[0].rows[0].size.width, 320 - 32);
}

TEST_F(Render, APresentedControllerIsWhatShows) {
    Ref<SampleTable> below = groupedSettings();
    Ref<UINavigationController> navigation = onStack(below);
    Ref<UIViewController> sheet = make<UIViewController>(&UIViewController::init);
    Ref<UIView> red = UIView::viewWithFrame(CGRectMake(0, 0, 375, 667));
    red->setBackgroundColor(UIColor::colorWithRed(1, 0, 0, 1));
    sheet->setView(red);
    navigation->presentViewController(sheet, false, nullptr);
    ASSERT_EQ(navigation->visibleViewController(), sheet.get());
    Result<SurfacePtr> picture = renderScreen(navigation);
    ASSERT_TRUE(picture);
    // No navigation bar: red right below the status bar.
    EXPECT_EQ(pixelAt(picture->get(), 100, 30), 0xffff0000u);
    navigation->dismissViewControllerAnimated(false, nullptr);
    EXPECT_EQ(navigation->visibleViewController(), below.get());
}

namespace {

// A view that draws itself: its own drawInContext: stays.
struct Stripe : UIView {
    OBJC_CLASS(Stripe, UIView)
};

void drawStripe(id, SEL, DrawContext* context) {
    cairo_set_source_rgb(context->cr, 0, 1, 0);
    cairo_rectangle(context->cr, 0, 0, 10, 10);
    cairo_fill(context->cr);
}

const ClassInfo& Stripe::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<Stripe>().function<"drawInContext:">(&drawStripe).build();
    return info;
}

} // namespace

TEST_F(Render, AViewClassMayDrawItselfAndHiddenViewsDoNotShow) {
    Ref<UIViewController> controller = make<UIViewController>(&UIViewController::init);
    Ref<UIView> root = UIView::viewWithFrame(CGRectZero);
    Ref<Stripe> stripe = make<Stripe>(&Stripe::initWithFrame, CGRectMake(20, 20, 10, 10));
    stripe->setBackgroundColor(UIColor::blackColor());
    Ref<UIView> hidden = UIView::viewWithFrame(CGRectMake(50, 20, 10, 10));
    hidden->setBackgroundColor(UIColor::blackColor());
    hidden->setHidden(true);
    send(root, "addSubview:"_sel, stripe.get());
    send(root, "addSubview:"_sel, hidden.get());
    controller->setView(root);
    Result<SurfacePtr> picture = renderScreen(controller);
    ASSERT_TRUE(picture);
    EXPECT_EQ(pixelAt(picture->get(), 25, 45), 0xff00ff00u);
    EXPECT_EQ(pixelAt(picture->get(), 55, 45), 0xffffffffu);
}

TEST_F(Render, AMissingFontFallsBackAndSaysSoOnce) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(installedFamily("No Such Family Anywhere"), kSystemFamily);
    EXPECT_EQ(installedFamily("No Such Family Anywhere"), kSystemFamily);
    EXPECT_EQ(installedFamily(kSystemFamily), kSystemFamily);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("\"No Such Family Anywhere\" is not installed"), std::string::npos);
    EXPECT_EQ(said.find("No Such Family", said.find("No Such Family") + 20), std::string::npos)
        << said;
}

TEST_F(Render, PathsThatCannotBeWrittenAreClearErrors) {
    std::ofstream(dir_ / "file") << "x";
    std::filesystem::create_directory(dir_ / "taken");
    const std::pair<std::filesystem::path, const char*> cases[] = {
        {dir_ / "missing" / "screen.png", "does not exist; create it"},
        {dir_ / "file" / "screen.png", "not a folder"},
        {"", "no file path"},
        {dir_ / "taken", "cannot write the picture to"}};
    for (const auto& [path, reason] : cases)
        EXPECT_NE(writeProblem(path).find(reason), std::string::npos) << path << ": " << reason;
    EXPECT_TRUE(std::filesystem::is_empty(dir_ / "taken"));
    if (geteuid() == 0) return; // root writes everywhere
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_exec);
    EXPECT_NE(writeProblem(dir_ / "screen.png").find("permission denied"), std::string::npos);
}

TEST_F(Render, NoControllerOrNoScreenAreaGiveNoPicture) {
    EXPECT_NE(renderScreen(nullptr).problem().find("no view controller"), std::string::npos);
    Ref<SampleTable> table = groupedSettings();
    Ref<UINavigationController> navigation = onStack(table);
    ASSERT_TRUE(UIScreen::mainScreen()->setSize({0, 0}));
    EXPECT_NE(renderScreen(navigation).problem().find("choose another size"), std::string::npos);
    ASSERT_TRUE(UIScreen::mainScreen()->setSize({100000, 100}));
    EXPECT_FALSE(renderScreen(navigation));
    EXPECT_FALSE(renderScreenPNG(navigation, "/tmp/never.png"));
    EXPECT_FALSE(std::filesystem::exists("/tmp/never.png"));
}
