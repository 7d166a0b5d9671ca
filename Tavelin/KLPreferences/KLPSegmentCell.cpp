#include "KLPreferences/KLPSegmentCell.h"

#include "ObjectModel/ClassBuilder.h"

Ref<KLPSegmentCell> KLPSegmentCell::cellWithTitle_itemsImp(Class cls, NSString* title,
                                                           KLPSettings* setting, NSArray* items,
                                                           NSString* postNotification,
                                                           ValueChangedBlock changeBlock) {
    return make<KLPSegmentCell>(cls, &KLPSegmentCell::init_cellWithTitle, title, setting, items,
                                items, postNotification, std::move(changeBlock));
}

Ref<KLPSegmentCell> KLPSegmentCell::cellWithTitle_valuesImp(Class cls, NSString* title,
                                                            KLPSettings* setting, NSArray* values,
                                                            NSString* postNotification,
                                                            ValueChangedBlock changeBlock) {
    return make<KLPSegmentCell>(cls, &KLPSegmentCell::init_cellWithTitle, title, setting, values,
                                nullptr, postNotification, std::move(changeBlock));
}

Ref<KLPSegmentCell> KLPSegmentCell::cellWithTitleImp(Class cls, NSString* title,
                                                     KLPSettings* setting, NSArray* values,
                                                     NSArray* displayedValues,
                                                     NSString* postNotification,
                                                     ValueChangedBlock changeBlock) {
    return make<KLPSegmentCell>(cls, &KLPSegmentCell::init_cellWithTitle, title, setting, values,
                                displayedValues, postNotification, std::move(changeBlock));
}

KLPSegmentCell* KLPSegmentCell::init_cellWithTitleImp(NSString* title, KLPSettings* setting,
                                                      NSArray* values, NSArray* displayedValues,
                                                      NSString* postNotification,
                                                      ValueChangedBlock changeBlock) {
    if (!initWithTitle(title, setting)) return nullptr;
    setValues(values);
    setDisplayedValues(displayedValues ? displayedValues : values);
    Ref<UISegmentedControl> control =
        UISegmentedControl::segmentedControlWithItems(this->displayedValues());
    setSegment(control);
    control->setSelectedSegmentIndex(storedIndex());
    installControl(control, ControlPlace::Accessory, "segmentAction:"_sel,
                   UIControlEventValueChanged, postNotification, std::move(changeBlock));
    return this;
}

long KLPSegmentCell::storedIndex() const {
    NSArray* choices = values();
    KLPSettings* stored = setting();
    if (!choices || !stored) return UISegmentedControlNoSegment;
    NSUInteger index = choices->indexOfObject(stored->value());
    return index == NSNotFound ? UISegmentedControlNoSegment : static_cast<long>(index);
}

void KLPSegmentCell::segmentActionImp(UISegmentedControl* sender) {
    long index = sender ? sender->selectedSegmentIndex() : UISegmentedControlNoSegment;
    NSArray* choices = values();
    if (!choices || index < 0 || static_cast<NSUInteger>(index) >= choices->count()) return;
    Ref<NSObject> value = choices->objectAtIndex(static_cast<NSUInteger>(index));
    reportChange(value, value);
}

void KLPSegmentCell::layoutSubviewsImp() {
    sendSuper(this, Super::objcClass(), "layoutSubviews"_sel);
    tintControl(segment(), "setTintColor:"_sel);
}

OBJC_IMPLEMENT_LOADED_CLASS(KLPSegmentCell)
