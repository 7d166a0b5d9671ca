// Subclasses of the framework's cells, made in C++ and at run time: every
// accessor is a message, and factories make the receiving class.
#include <gtest/gtest.h>

#include <cctype>
#include <objc/runtime.h>
#include <string>

#include "Foundation/NSNumber.h"
#include "KLPreferences/KLPSliderCell.h"
#include "KLPreferences/KLPSwitchCell.h"
#include "KLPreferences/KLPreferences.h"
#include "ObjectModel/ClassBuilder.h"
#include "tests/platform/UIKit/Support.h"

using uikit_support::ScreenTest;

namespace {

constexpr const char* kSwitchFactory = "cellWithTitle:setting:postNotification:changeBlock:";

// A switch cell that keeps its own row height and tint, whatever it is given.
struct FixedSwitchCell : KLPSwitchCell {
    OBJC_CLASS(FixedSwitchCell, KLPSwitchCell)
    OBJC_OVERRIDE(int, height, "height")
    OBJC_OVERRIDE(void, setTintUIColor, "setTintUIColor:", UIColor*)
};

Ref<KLPSwitchCell> makeSwitchCell(Class cls, const char* title, KLPSettings* setting) {
    return send<Ref<KLPSwitchCell>>(cls, sel_registerName(kSwitchFactory),
                                    NSString::string(title).get(), setting,
                                    static_cast<NSString*>(nullptr), KLPCell::ValueChangedBlock{});
}

// A subclass made at run time: an ivar of its own, and an initialiser that
// runs the inherited one, then stamps the ivar and sets a row height.
long* stampOf(id cell) {
    Ivar stamp = class_getInstanceVariable(object_getClass(cell), "stamp");
    return reinterpret_cast<long*>(reinterpret_cast<char*>(cell) + ivar_getOffset(stamp));
}

KLPSwitchCell* stampingInit(id self, SEL cmd, NSString* title, KLPSettings* setting,
                            NSString* notification, KLPCell::ValueChangedBlock block) {
    auto* cell = sendSuper<KLPSwitchCell*>(self, KLPSwitchCell::objcClass(), cmd, title, setting,
                                           notification, std::move(block));
    *stampOf(cell) = 42;
    cell->setHeight(60);
    return cell;
}

Class runtimeSwitchCell() {
    if (Class known = objc_lookUpClass("RuntimeSwitchCell")) return known;
    Class cls = objc_allocateClassPair(KLPSwitchCell::objcClass(), "RuntimeSwitchCell", 0);
    EXPECT_TRUE(class_addIvar(cls, "stamp", sizeof(long), 3, "q"));
    SEL init = sel_registerName(kSwitchFactory);
    Method inherited = class_getInstanceMethod(KLPSwitchCell::objcClass(), init);
    class_addMethod(cls, init, toIMP(&stampingInit), method_getTypeEncoding(inherited));
    objc_registerClassPair(cls);
    return cls;
}

} // namespace

int FixedSwitchCell::heightImp() {
    return 90;
}

void FixedSwitchCell::setTintUIColorImp(UIColor*) {
    sendSuper(this, Super::objcClass(), "setTintUIColor:"_sel,
              static_cast<UIColor*>(UIColor::whiteColor()));
}

const ClassInfo& FixedSwitchCell::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<FixedSwitchCell>().build();
    return info;
}

using Subclasses = ScreenTest;

TEST_F(Subclasses, AnOverriddenAccessorChangesWhatTheTableShows) {
    Ref<KLPSwitchCell> fixed = makeSwitchCell(FixedSwitchCell::objcClass(), "Fixed", nullptr);
    Ref<KLPSwitchCell> plain = makeSwitchCell(KLPSwitchCell::objcClass(), "Plain", nullptr);
    ASSERT_EQ(object_getClass(fixed.get()), FixedSwitchCell::objcClass());
    Ref<KLPSection> section = KLPSection::sectionWithTitle(nullptr, nullptr);
    section->addCells(NSArray::arrayWithObjects({fixed.get(), plain.get()}));
    Ref<UIColor> accent = UIColor::colorWithRed(1, 0, 0, 1);
    Ref<KLPreferences> table = KLPreferences::tableWithSections(
        NSArray::arrayWithObjects({section.get()}), "T"_ns, accent);
    send(table, "viewWillAppear:"_sel, false);
    table->tableView()->layoutIfNeeded();
    EXPECT_DOUBLE_EQ(fixed->frame().size.height, 90);
    EXPECT_DOUBLE_EQ(plain->frame().size.height, 44);
    EXPECT_TRUE(objectsEqual(fixed->switchView()->onTintColor(), UIColor::whiteColor()));
    EXPECT_EQ(plain->switchView()->onTintColor(), accent.get());
}

TEST_F(Subclasses, AFactorySentToARuntimeSubclassMakesThatClass) {
    Class cls = runtimeSwitchCell();
    Ivar stamp = class_getInstanceVariable(cls, "stamp");
    ASSERT_TRUE(stamp);
    EXPECT_GE(static_cast<std::size_t>(ivar_getOffset(stamp)), sizeof(KLPSwitchCell));
    Ref<KLPSettings> setting =
        KLPSettings::settingsWithKey("RuntimeKey"_ns, NSNumber::numberWithBool(true));
    Ref<KLPSwitchCell> cell = makeSwitchCell(cls, "Run", setting);
    ASSERT_TRUE(cell);
    EXPECT_EQ(object_getClass(cell.get()), cls);
    EXPECT_EQ(*stampOf(cell.get()), 42);
    EXPECT_EQ(cell->height(), 60);
    EXPECT_EQ(cell->textLabel()->text()->utf8(), "Run");
    EXPECT_EQ(cell->setting(), setting.get());
    ASSERT_TRUE(cell->switchView());
    EXPECT_TRUE(cell->switchView()->isOn());
}

TEST_F(Subclasses, CellsAnswerForEveryPropertyAccessor) {
    Ref<KLPSliderCell> cell = KLPSliderCell::cellWithTitle("S"_ns, nullptr, 0, 1, nullptr, nullptr);
    for (std::string name :
         {"tintUIColor", "setting", "title", "postNotification", "valueChanged", "height",
          "sliderCell", "lLabel", "rLabel", "cLabel", "vLabel", "min", "max"}) {
        std::string setter = "set" + name;
        setter[3] = static_cast<char>(std::toupper(setter[3]));
        EXPECT_TRUE(cell->respondsToSelector(sel_registerName(name.c_str()))) << name;
        EXPECT_TRUE(cell->respondsToSelector(sel_registerName((setter + ":").c_str()))) << setter;
    }
    EXPECT_FALSE(cell->respondsToSelector("setNoSuchProperty:"_sel));
}
