#include "UIKit/UISegmentedControl.h"

#include <string>

#include "ObjectModel/ClassBuilder.h"

UISegmentedControl* UISegmentedControl::initWithItemsImp(NSArray* items) {
    if (items) _items = items;
    CGRect frame = CGRectMake(0, 0, kSegmentWidth * static_cast<CGFloat>(_items->count()), kHeight);
    if (!sendSuper<UIView*>(this, UIControl::objcClass(), "initWithFrame:"_sel, frame))
        return nullptr;
    return this;
}

long UISegmentedControl::numberOfSegmentsImp() {
    return static_cast<long>(_items->count());
}

NSObject* UISegmentedControl::itemAt(long index) const {
    return contains(index) ? _items->objectAtIndex(static_cast<NSUInteger>(index)) : nullptr;
}

NSString* UISegmentedControl::titleForSegmentAtIndexImp(long index) {
    return as<NSString>(itemAt(index));
}

UIImage* UISegmentedControl::imageForSegmentAtIndexImp(long index) {
    return as<UIImage>(itemAt(index));
}

void UISegmentedControl::setSelectedSegmentIndexImp(long index) {
    _selectedSegmentIndex = contains(index) ? index : UISegmentedControlNoSegment;
}

bool UISegmentedControl::pickSegment(long index) {
    if (!contains(index) || !isEnabled()) return false;
    Ref<UISegmentedControl> keep = this;
    setSelectedSegmentIndex(index);
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

Ref<NSString> UISegmentedControl::screenTextImp() {
    std::string text = "[";
    const long selected = selectedSegmentIndex();
    for (long i = 0; i < numberOfSegments(); ++i) {
        std::string item = itemText(itemAt(i));
        text += (i ? " | " : " ") + (i == selected ? "*" + item + "*" : item);
    }
    return NSString::string(text + " ]");
}

OBJC_IMPLEMENT_LOADED_CLASS(UISegmentedControl)
