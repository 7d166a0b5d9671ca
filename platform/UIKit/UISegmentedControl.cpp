#include "UIKit/UISegmentedControl.h"

#include <string>

#include "ObjectModel/ClassBuilder.h"

Ref<UISegmentedControl> UISegmentedControl::segmentedControlWithItems(NSArray* items) {
    return make<UISegmentedControl>(&UISegmentedControl::initWithItems, items);
}

UISegmentedControl* UISegmentedControl::initWithItems(NSArray* items) {
    if (items) _items = items;
    UIControl::initWithFrame(CGRectMake(0, 0, kSegmentWidth * numberOfSegments(), kHeight));
    return this;
}

NSObject* UISegmentedControl::itemAt(long index) const {
    return contains(index) ? _items->objectAtIndex(static_cast<NSUInteger>(index)) : nullptr;
}

NSString* UISegmentedControl::titleForSegmentAtIndex(long index) const {
    return as<NSString>(itemAt(index));
}

UIImage* UISegmentedControl::imageForSegmentAtIndex(long index) const {
    return as<UIImage>(itemAt(index));
}

void UISegmentedControl::setSelectedSegmentIndex(long index) {
    _selectedSegmentIndex = contains(index) ? index : UISegmentedControlNoSegment;
}

bool UISegmentedControl::pickSegment(long index) {
    if (!contains(index) || !isEnabled()) return false;
    _selectedSegmentIndex = index;
    sendActionsForControlEvents(UIControlEventValueChanged);
    return true;
}

namespace {

std::string itemText(NSObject* item) {
    if (UIImage* image = as<UIImage>(item)) {
        std::string name = image->name() ? image->name()->utf8() : "image";
        return name.substr(name.find_last_of('/') + 1);
    }
    return describe(item)->utf8();
}

} // namespace

Ref<NSString> UISegmentedControl::screenText() {
    std::string text = "[";
    for (long i = 0; i < numberOfSegments(); ++i) {
        std::string item = itemText(itemAt(i));
        text += (i ? " | " : " ") + (i == _selectedSegmentIndex ? "*" + item + "*" : item);
    }
    return NSString::string(text + " ]");
}

const ClassInfo& UISegmentedControl::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<UISegmentedControl>()
                                      .method<"screenText", &UISegmentedControl::screenText>()
                                      .build();
    return info;
}
