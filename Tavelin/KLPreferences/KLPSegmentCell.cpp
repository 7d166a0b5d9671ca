#include "KLPreferences/KLPSegmentCell.h"

#include "ObjectModel/ClassBuilder.h"

Ref<KLPSegmentCell> KLPSegmentCell::cellWithTitle_items(NSString* title, KLPSettings* setting,
                                                        NSArray* items, NSString* postNotification,
                                                        ValueChangedBlock changeBlock) {
    return cellWithTitle(title, setting, items, items, postNotification, std::move(changeBlock));
}

Ref<KLPSegmentCell> KLPSegmentCell::cellWithTitle_values(NSString* title, KLPSettings* setting,
                                                         NSArray* values,
                                                         NSString* postNotification,
                                                         ValueChangedBlock changeBlock) {
    return cellWithTitle(title, setting, values, nullptr, postNotification, std::move(changeBlock));
}

Ref<KLPSegmentCell> KLPSegmentCell::cellWithTitle(NSString* title, KLPSettings* setting,
                                                  NSArray* values, NSArray* displayedValues,
                                                  NSString* postNotification,
                                                  ValueChangedBlock changeBlock) {
    return make<KLPSegmentCell>(&KLPSegmentCell::init_cellWithTitle, title, setting, values,
                                displayedValues, postNotification, std::move(changeBlock));
}

KLPSegmentCell* KLPSegmentCell::init_cellWithTitle(NSString* title, KLPSettings* setting,
                                                   NSArray* values, NSArray* displayedValues,
                                                   NSString* postNotification,
                                                   ValueChangedBlock changeBlock) {
    if (!initWithTitle(title, setting)) return nullptr;
    setPostNotification(postNotification);
    setValueChanged(std::move(changeBlock));
    _values = values;
    _displayedValues = displayedValues ? displayedValues : values;
    _segment = UISegmentedControl::segmentedControlWithItems(_displayedValues);
    _segment->addTarget(this, "segmentAction:"_sel, UIControlEventValueChanged);
    _segment->setSelectedSegmentIndex(storedIndex());
    setAccessoryView(_segment);
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    return this;
}

long KLPSegmentCell::storedIndex() const {
    if (!_values || !setting()) return UISegmentedControlNoSegment;
    NSUInteger index = _values->indexOfObject(setting()->value());
    return index == NSNotFound ? UISegmentedControlNoSegment : static_cast<long>(index);
}

void KLPSegmentCell::segmentAction(UISegmentedControl* sender) {
    long index = sender ? sender->selectedSegmentIndex() : UISegmentedControlNoSegment;
    if (!_values || index < 0 || static_cast<NSUInteger>(index) >= _values->count()) return;
    Ref<NSObject> value = _values->objectAtIndex(static_cast<NSUInteger>(index));
    reportChange(value, value);
}

void KLPSegmentCell::layoutSubviews() {
    sendSuper(this, UITableViewCell::objcClass(), "layoutSubviews"_sel);
    if (_segment) _segment->setTintColor(tintUIColor());
}

const ClassInfo& KLPSegmentCell::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<KLPSegmentCell>()
                                      .method<"segmentAction:", &KLPSegmentCell::segmentAction>()
                                      .method<"layoutSubviews", &KLPSegmentCell::layoutSubviews>()
                                      .build();
    return info;
}
