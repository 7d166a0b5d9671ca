#include "Support.h"
#include "UIKit/TableLayout.h"
#include "UIKit/ViewDrawing.h"

using namespace uikit_support;
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

// The pixel at a point of the picture at scale 2.
uint32_t at(cairo_surface_t* picture, CGFloat x, CGFloat y) {
    return pixelAt(picture, static_cast<int>(x * 2), static_cast<int>(y * 2));
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

// The SE's screen at scale 2; root_ is a folder to write pictures into.
class Render : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        UIScreen::mainScreen()->setSize({375, 667});
    }
    void TearDown() override {
        std::filesystem::permissions(root_, std::filesystem::perms::owner_all);
        ScreenTest::TearDown();
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
        avatar = cell(UITableViewCellStyleSubtitle, "TorvenAskel", "TorvenAK");
        avatar->imageView()->setImage(discImage(40, 0.1, 0.3, 0.9));
        avatar->imageView()->layer()->setCornerRadius(8);
        avatar->imageView()->setClipsToBounds(true);
        avatar->setAccessoryType(UITableViewCellAccessoryCheckmark);
        avatar->setTintColor(kAccent);
        table->sections = {
            {"General"_ns, nullptr, {cell(0, "Plain row"), language, about}},
            {"Developer"_ns,
             NSString::string(std::string("Explore the timeline.\n ") + kArabic),
             {avatar, cell(UITableViewCellStyleValue1, "Version", "1.0")},
             {60}},
            {"special thanks"_ns, "🌹"_ns, {cell(UITableViewCellStyleValue1, "Navro", "@navro")}}};
        return table;
    }

    Ref<UITableViewCell> avatar;
};

} // namespace

TEST_F(Render, GroupedTableMatchesItsReferenceAndShowsWhatIsTooSmallForItsTolerance) {
    Ref<SampleTable> table = groupedSettings();
    Ref<UINavigationController> navigation = onStack(table);
    table->navigationItem()->setRightBarButtonItem(make<UIBarButtonItem>(
        &UIBarButtonItem::initWithImage, discImage(22, 0.8, 0.2, 0.3).get(), 0L, nullptr, nullptr));
    const CGFloat top = 64; // status and navigation bars
    UITableView* view = table->tableView();
    view->setFrame(CGRectMake(0, top, 375, 667 - top));
    view->layoutIfNeeded();
    std::vector<CGRect> laidOut, drawn;
    collectFrames(view, &laidOut);
    Result<SurfacePtr> picture = renderScreen(navigation);
    ASSERT_TRUE(picture) << picture.problem();
    cairo_surface_t* p = picture->get();
    EXPECT_TRUE(matchesReference(p, kReferences, "grouped-table"));
    collectFrames(view, &drawn);
    EXPECT_EQ(drawn, laidOut) << "drawing leaves every frame where the table's layout put it";
    // The image keeps inside its rounded corner: no blue at the corner pixel.
    CGPoint image = avatar->imageView()->frame().origin;
    image = {avatar->frame().origin.x + image.x, top + avatar->frame().origin.y + image.y};
    EXPECT_EQ(at(p, image.x + 0.2, image.y + 0.2), 0xffffffffu);
    EXPECT_GT(channel(at(p, image.x + 4, image.y + 4), 0), 200);
    // The checkmark in the cell's tint.
    bool check = false;
    for (CGFloat x = 16; x < 40 && !check; x += 0.5) {
        uint32_t c = at(p, 375 - x, top + avatar->frame().origin.y + 32);
        check = channel(c, 16) > 150 && channel(c, 8) < 120;
    }
    EXPECT_TRUE(check) << "no accent-coloured checkmark";
    // The rose has saturated colour (red or green), which grey text never has.
    CGRect rose = view->tableLayout().sections[2].footerRect;
    int coloured = 0;
    for (CGFloat x = rose.origin.x; x < rose.origin.x + 30; x += 0.5)
        for (CGFloat y = rose.origin.y; y < CGRectGetMaxY(rose); y += 0.5) {
            uint32_t c = at(p, x, top + y);
            int r = channel(c, 16), g = channel(c, 8), b = channel(c, 0);
            coloured += std::max({r, g, b}) - std::min({r, g, b}) > 80;
        }
    EXPECT_GT(coloured, 20);
}

namespace {

// Rows of switches, segments, text fields and a slider, in a screen's state.
struct ControlsScreen {
    Ref<SampleTable> table = sampleTable("Controls");
    Ref<UISwitch> on = make<UISwitch>(&UISwitch::initWithFrame, CGRectZero);
    Ref<UISwitch> off = make<UISwitch>(&UISwitch::initWithFrame, CGRectZero);
    Ref<UISegmentedControl> segments = UISegmentedControl::segmentedControlWithItems(
        NSArray::arrayWithObjects({"One"_ns, "Two"_ns, "Three"_ns}));
    Ref<UITextField> typed = field(), empty = field();
    Ref<UISlider> slider = make<UISlider>(&UISlider::initWithFrame, CGRectMake(0, 0, 200, 31));

    static Ref<UITextField> field() {
        Ref<UITextField> field =
            make<UITextField>(&UITextField::initWithFrame, CGRectMake(0, 0, 190, 30));
        field->setTextAlignment(NSTextAlignmentRight);
        return field;
    }
    static Ref<UITableViewCell> row(const char* title, UIView* control) {
        Ref<UITableViewCell> row = cell(UITableViewCellStyleDefault, title);
        row->setAccessoryView(control);
        return row;
    }
    ControlsScreen() {
        on->setOn(true);
        on->setOnTintColor(kAccent);
        segments->setSelectedSegmentIndex(1);
        typed->setText("hello"_ns);
        empty->setPlaceholder("Name"_ns);
        slider->setValue(0.25f);
        table->sections = {{"Switches"_ns, nullptr, {row("Velin Mode", on), row("Off", off)}},
                           {"Choices"_ns,
                            "Segments, fields and a slider."_ns,
                            {row("Level", segments), row("Text", typed), row("Empty", empty),
                             row("Size", slider)}}};
    }
};

// The colour in the middle of a view on the picture, or that far from it.
uint32_t middleOf(cairo_surface_t* picture, UIView* view, CGFloat dx = 0, CGFloat dy = 0) {
    CGRect frame = view->frame();
    CGPoint point = {frame.origin.x + frame.size.width / 2 + dx,
                     frame.origin.y + frame.size.height / 2 + dy};
    for (UIView* parent = view->superview(); parent; parent = parent->superview())
        point = {point.x + parent->frame().origin.x, point.y + parent->frame().origin.y};
    return at(picture, point.x, point.y);
}

} // namespace

TEST_F(Render, ControlsShowTheirStateInEachAppearanceAndMatchTheirReferences) {
    const std::tuple<long, const char*, uint32_t, uint32_t, uint32_t> cases[] = {
        {UIUserInterfaceStyleLight, "controls", 0xffeaeaebu, 0xffefeff0u, 0xffffffffu},
        {UIUserInterfaceStyleDark, "controls-dark", 0xff39393du, 0xff313135u, 0xff636366u},
    };
    for (auto [style, reference, offTrack, segmentTrack, raisedSegment] : cases) {
        SCOPED_TRACE(reference);
        UIScreen::mainScreen()->setUserInterfaceStyle(style);
        ControlsScreen screen;
        Ref<UINavigationController> navigation = onStack(screen.table);
        Result<SurfacePtr> picture = renderScreen(navigation);
        ASSERT_TRUE(picture);
        cairo_surface_t* p = picture->get();
        EXPECT_TRUE(matchesReference(p, kReferences, reference));
        // On: the track in the on-tint, whatever the appearance; off: the fill.
        EXPECT_EQ(middleOf(p, screen.on, -18), 0xffd13b57u);
        EXPECT_EQ(middleOf(p, screen.off, 18), offTrack);
        // The selected segment stands raised on the track; no tint fills it.
        EXPECT_EQ(middleOf(p, screen.segments, 0, -11), raisedSegment);
        EXPECT_EQ(middleOf(p, screen.segments, -64, -11), segmentTrack);
        Result<SurfacePtr> again = renderScreen(navigation);
        ASSERT_TRUE(again);
        EXPECT_TRUE(snapshot::samePixels(p, again->get())) << "rendering is deterministic";
    }
    UIScreen::mainScreen()->setUserInterfaceStyle(UIUserInterfaceStyleLight);
}

// A view class made at run time that draws itself: its own drawInContext: stays.
void drawStripe(id, SEL, DrawContext* context) {
    cairo_set_source_rgb(context->cr, 0, 1, 0);
    cairo_rectangle(context->cr, 0, 0, 10, 10);
    cairo_fill(context->cr);
}

TEST_F(Render, APresentedControllerShowsWithViewsThatDrawThemselvesAndNoHiddenOnes) {
    Ref<SampleTable> below = groupedSettings();
    Ref<UINavigationController> navigation = onStack(below);
    Ref<UIViewController> sheet = make<UIViewController>(&UIViewController::init);
    sheet->view()->setBackgroundColor(UIColor::colorWithRed(1, 0, 0, 1));
    Class cls = subclassOf(UIView::objcClass(), "Stripe", "drawInContext:"_sel, toIMP(&drawStripe),
                           encoding<void, DrawContext*>());
    Ref<UIView> stripe = make<UIView>(cls, &UIView::initWithFrame, CGRectMake(20, 20, 10, 10));
    Ref<UIView> hidden = UIView::viewWithFrame(CGRectMake(50, 20, 10, 10));
    stripe->setBackgroundColor(UIColor::blackColor());
    hidden->setBackgroundColor(UIColor::blackColor());
    hidden->setHidden(true);
    send(sheet->view(), "addSubview:"_sel, stripe.get());
    send(sheet->view(), "addSubview:"_sel, hidden.get());
    navigation->presentViewController(sheet, false, nullptr);
    ASSERT_EQ(navigation->visibleViewController(), sheet.get());
    Result<SurfacePtr> picture = renderScreen(navigation);
    ASSERT_TRUE(picture);
    // No navigation bar: red right below the status bar.
    EXPECT_EQ(at(picture->get(), 100, 30), 0xffff0000u);
    EXPECT_EQ(at(picture->get(), 25, 45), 0xff00ff00u);
    EXPECT_EQ(at(picture->get(), 55, 45), 0xffff0000u);
    navigation->dismissViewControllerAnimated(false, nullptr);
    EXPECT_EQ(navigation->visibleViewController(), below.get());
}

TEST_F(Render, AWrittenPictureFollowsTheScreenAndWhatCannotBeWrittenIsAClearError) {
    UIScreen::mainScreen()->setScale(3);
    UIScreen::mainScreen()->setSize({320, 480});
    ASSERT_EQ(writeProblem(root_ / "screen.png"), "");
    cairo_surface_t* back = cairo_image_surface_create_from_png((root_ / "screen.png").c_str());
    EXPECT_EQ(cairo_image_surface_get_width(back), 960);
    EXPECT_EQ(cairo_image_surface_get_height(back), 1440);
    cairo_surface_destroy(back);
    for (const auto& left : std::filesystem::directory_iterator(root_))
        EXPECT_EQ(left.path().filename(), "screen.png") << "no temporary file stays";
    // No controller or no screen area: no picture.
    EXPECT_NE(renderScreen(nullptr).problem().find("no view controller"), std::string::npos);
    ASSERT_TRUE(UIScreen::mainScreen()->setSize({0, 0}));
    EXPECT_NE(writeProblem(root_ / "zero.png").find("choose another size"), std::string::npos);
    ASSERT_TRUE(UIScreen::mainScreen()->setSize({100000, 100}));
    EXPECT_NE(writeProblem(root_ / "wide.png"), "");
    EXPECT_FALSE(std::filesystem::exists(root_ / "wide.png"));
    ASSERT_TRUE(UIScreen::mainScreen()->setSize({320, 480}));
    std::ofstream(root_ / "file") << "x";
    std::filesystem::create_directory(root_ / "taken");
    const std::pair<std::filesystem::path, const char*> cases[] = {
        {root_ / "missing" / "screen.png", "does not exist; create it"},
        {root_ / "file" / "screen.png", "not a folder"},
        {"", "no file path"},
        {root_ / "taken", "cannot write the picture to"}};
    for (const auto& [path, reason] : cases)
        EXPECT_NE(writeProblem(path).find(reason), std::string::npos) << path << ": " << reason;
    EXPECT_TRUE(std::filesystem::is_empty(root_ / "taken"));
    if (geteuid() == 0) return; // root writes everywhere
    std::filesystem::permissions(root_, std::filesystem::perms::owner_read |
                                            std::filesystem::perms::owner_exec);
    EXPECT_NE(writeProblem(root_ / "screen.png").find("permission denied"), std::string::npos);
}
