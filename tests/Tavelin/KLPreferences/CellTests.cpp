#include "Foundation/NSNumber.h"
#include "KLPreferences/KLPDeveloperCell.h"
#include "KLPreferences/KLPLinkCell.h"
#include "KLPreferences/KLPValueCell.h"
#include "KLPreferences/KLPViewSection.h"
#include "tests/Tavelin/KLPreferences/Fixtures.h"

using Cells = fixtures::CellTest;
using uikit_support::DeselectCalls;

TEST_F(Cells, ChangeReportStoresThenCallsTheBlockThenPostsEvenWithoutAName) {
    Ref<KLPCell> cell =
        KLPCell::cellWithTitle("T"_ns, setting("R", NSNumber::numberWithBool(false)));
    EXPECT_EQ(text(cell->textLabel()->text()), "T");
    EXPECT_FALSE(cell->title()) << "the title goes to the label only";
    Ref<UISwitch> control = make<UISwitch>(&UISwitch::initWithFrame, CGRectZero);
    cell->reportChange(NSNumber::numberWithBool(true), control); // no block, no name
    cell->setValueChanged([&](NSObject* argument) {
        EXPECT_TRUE(NSUserDefaults::standardUserDefaults()->boolForKey("R"_ns));
        record()(argument);
    });
    cell->setPostNotification("Changed"_ns);
    cell->reportChange(cell->setting()->value(), control); // the very object stored
    EXPECT_EQ(events, (std::vector<std::string>{"post (nil) control", "block control",
                                                "post Changed control"}));
}

TEST_F(Cells, ValueCellShowsItsDetailAndATapLeavesTheRowSelectedWithoutHighlight) {
    Ref<KLPValueCell> cell = KLPValueCell::cellWithTitle("Version"_ns, "1.0"_ns);
    EXPECT_EQ(text(cell->detailTextLabel()->text()), "1.0");
    Ref<KLPreferences> table = show({cell});
    EXPECT_TRUE(table->tableView()->tapRowAtIndexPath(row(0)));
    EXPECT_FALSE(cell->isHighlighted());
    EXPECT_TRUE(table->tableView()->indexPathForSelectedRow());
    EXPECT_FALSE(KLPValueCell::cellWithTitle("Absent"_ns, nullptr)->detailTextLabel()->text());
}

// Link and credits rows: a tap deselects, animated, then runs the block or
// opens the URL once; nil blocks and URLs that are no URL do nothing.
TEST_F(Cells, LinkAndCreditsCellsDeselectAnimatedAndActOnce) {
    std::vector<NSObject*> calls;
    std::vector<std::string> opened;
    UIApplication::sharedApplication()->setURLHandler([&](NSURL* url) {
        opened.push_back(text(url->absoluteString()));
        return true;
    });
    Ref<KLPLinkCell> link =
        KLPLinkCell::cellWithTitle("L"_ns, [&](NSObject* c) { calls.push_back(c); });
    Ref<KLPreferences> table =
        show({KLPLinkCell::cellWithTitle("Silent"_ns, nullptr), link,
              KLPDeveloperCell::cellWithTitle("A"_ns, nullptr, nullptr, "https://example.com/a"_ns),
              KLPDeveloperCell::cellWithTitle("B"_ns, nullptr, nullptr, "not a url"_ns),
              KLPDeveloperCell::cellWithTitle("C"_ns, nullptr, nullptr, nullptr)});
    DeselectCalls deselects;
    for (long r = 0; r < 5; ++r) {
        table->tableView()->tapRowAtIndexPath(row(r));
        EXPECT_FALSE(table->tableView()->indexPathForSelectedRow()) << r;
        EXPECT_TRUE(lastAnimated(deselects)) << r;
    }
    UIApplication::sharedApplication()->setURLHandler({});
    EXPECT_EQ(calls, std::vector<NSObject*>{link.get()});
    EXPECT_EQ(deselects.calls.size(), 5u);
    EXPECT_EQ(opened, std::vector<std::string>{"https://example.com/a"});
}

TEST_F(Cells, CreditsCellRedrawsItsAvatarAtTheScreenScaleAndCutsItToACircle) {
    uikit_support::writePNG("/Library/avatar.png", 200, 100, 0, 1, 0);
    Ref<KLPDeveloperCell> cell = KLPDeveloperCell::cellWithTitle(
        "Dev"_ns, "@dev"_ns, UIImage::imageNamed("/Library/avatar.png"_ns), nullptr);
    UIImage* avatar = cell->imageView()->image();
    EXPECT_EQ(avatar->size(), CGSizeMake(35, 35));
    EXPECT_EQ(uikit_support::pixelAt(avatar->surface(), 69, 0), 0xFF00FF00u); // 70 pixels wide
    cell->setFrame(CGRectMake(0, 0, 320, 44));
    cell->layoutIfNeeded();
    EXPECT_DOUBLE_EQ(cell->imageView()->layer()->cornerRadius(), 17.5);
    EXPECT_TRUE(cell->imageView()->clipsToBounds());
    Ref<KLPDeveloperCell> blank =
        KLPDeveloperCell::cellWithTitle("-"_ns, nullptr, nullptr, nullptr);
    EXPECT_EQ(uikit_support::pixelAt(blank->imageView()->image()->surface(), 35, 35), 0u);
}

TEST_F(Cells, SectionsKeepTheirCellsInOrderAndSkipNil) {
    Ref<KLPSection> section = KLPSection::sectionWithTitle(nullptr, nullptr);
    Ref<KLPCell> a = KLPCell::cellWithTitle("a"_ns, nullptr),
                 b = KLPCell::cellWithTitle("b"_ns, nullptr);
    section->addCell(a);
    section->addCells(NSArray::array());
    section->addCell(nullptr);
    section->addCells(NSArray::arrayWithObjects({b.get(), a.get()}));
    ASSERT_EQ(section->cells()->count(), 3u);
    EXPECT_EQ(section->cells()->objectAtIndex(1), b.get());
}

TEST_F(Cells, ViewSectionBuildsOneSeparatorlessCellAndRunsItsLayoutAfterTheBase) {
    int inits = 0;
    std::vector<CGFloat> widths;
    Ref<KLPViewSection> section = KLPViewSection::sectionWithHeight(
        70, [&](UITableViewCell* cell) { inits += static_cast<KLPCell*>(cell)->height(); },
        [&](UITableViewCell* cell) { widths.push_back(cell->contentView()->frame().size.width); });
    ASSERT_EQ(section->cells()->count(), 1u);
    auto* cell = as<KLPViewCell>(section->cells()->objectAtIndex(0));
    for (CGFloat width : {320.0, 375.0}) {
        cell->setFrame(CGRectMake(0, 0, width, 70));
        cell->layoutIfNeeded();
    }
    EXPECT_EQ(widths, (std::vector<CGFloat>{320, 375}));
    EXPECT_EQ(inits, 70) << "once, with the height set";
    EXPECT_FALSE(cell->separatorView()->superview());
    Ref<KLPViewSection> bare = KLPViewSection::sectionWithHeight(10, nullptr, nullptr);
    static_cast<UITableViewCell*>(bare->cells()->objectAtIndex(0))->layoutIfNeeded();
}

// With hidden separators a subview exactly one device pixel high is refused.
TEST_F(Cells, SeparatorFilterRefusesExactlyOneDevicePixel) {
    Ref<KLPViewCell> cell = KLPViewCell::cellWithHeight(44, nullptr, nullptr);
    const struct {
        bool hide;
        CGFloat scale, height;
        bool added;
    } cases[] = {{false, 2, 0.5, true}, {true, 2, 0.5, false}, {true, 2, 1, true},
                 {true, 2, 0, true},    {true, 1, 1, false},   {true, 1, 0.5, true}};
    for (const auto& c : cases) {
        cell->setHideSeperators(c.hide);
        UIScreen::mainScreen()->setScale(c.scale);
        Ref<UIView> view = UIView::viewWithFrame(CGRectMake(0, 0, 10, c.height));
        send(cell, "addSubview:"_sel, view.get());
        EXPECT_EQ(view->superview() == cell.get(), c.added) << c.scale << " " << c.height;
    }
    send(cell, "addSubview:"_sel, static_cast<UIView*>(nullptr));
}
