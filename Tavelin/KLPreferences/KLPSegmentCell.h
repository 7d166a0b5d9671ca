// A choice among fixed values edited with a segmented control: segment i
// shows element i of displayedValues (values when none are given) and
// stores element i of values.
//
// A stored value that is not among values selects no segment. A pick of a
// segment past the end of values (displayedValues longer than values)
// stores nothing and reports nothing. Replacing values or displayedValues
// later does not rebuild the segments.
#pragma once

#include "KLPreferences/KLPCell.h"
#include "UIKit/UISegmentedControl.h"

struct KLPSegmentCell : KLPCell {
    OBJC_CLASS(KLPSegmentCell, KLPCell)

    // The segments show and store the items.
    static Ref<KLPSegmentCell> cellWithTitle_items(NSString* title, KLPSettings* setting,
                                                   NSArray* items, NSString* postNotification,
                                                   ValueChangedBlock changeBlock);
    // The segments show the values themselves.
    static Ref<KLPSegmentCell> cellWithTitle_values(NSString* title, KLPSettings* setting,
                                                    NSArray* values, NSString* postNotification,
                                                    ValueChangedBlock changeBlock);
    static Ref<KLPSegmentCell> cellWithTitle(NSString* title, KLPSettings* setting, NSArray* values,
                                             NSArray* displayedValues, NSString* postNotification,
                                             ValueChangedBlock changeBlock);
    KLPSegmentCell* init_cellWithTitle(NSString* title, KLPSettings* setting, NSArray* values,
                                       NSArray* displayedValues, NSString* postNotification,
                                       ValueChangedBlock changeBlock);

    UISegmentedControl* segment() const { return _segment; }
    void setSegment(UISegmentedControl* segment) { _segment = segment; }
    NSArray* values() const { return _values; }
    void setValues(NSArray* values) { _values = values; }
    NSArray* displayedValues() const { return _displayedValues; }
    void setDisplayedValues(NSArray* values) { _displayedValues = values; }

    // Messages.
    void segmentAction(UISegmentedControl* sender);
    void layoutSubviews();

  private:
    long storedIndex() const;

    Ref<UISegmentedControl> _segment;
    Ref<NSArray> _values;
    Ref<NSArray> _displayedValues;
};
