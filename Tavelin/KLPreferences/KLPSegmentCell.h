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
    OBJC_CLASS_METHOD(Ref<KLPSegmentCell>, cellWithTitle_items,
                      "cellWithTitle:setting:items:postNotification:changeBlock:", NSString*,
                      KLPSettings*, NSArray*, NSString*, ValueChangedBlock)
    // The segments show the values themselves.
    OBJC_CLASS_METHOD(Ref<KLPSegmentCell>, cellWithTitle_values,
                      "cellWithTitle:setting:values:postNotification:changeBlock:", NSString*,
                      KLPSettings*, NSArray*, NSString*, ValueChangedBlock)
    OBJC_CLASS_METHOD(Ref<KLPSegmentCell>, cellWithTitle,
                      "cellWithTitle:setting:values:displayedValues:postNotification:changeBlock:",
                      NSString*, KLPSettings*, NSArray*, NSArray*, NSString*, ValueChangedBlock)
    OBJC_METHOD(KLPSegmentCell*, init_cellWithTitle,
                "cellWithTitle:setting:values:displayedValues:postNotification:changeBlock:",
                NSString*, KLPSettings*, NSArray*, NSArray*, NSString*, ValueChangedBlock)

    OBJC_PROPERTY(UISegmentedControl*, segment, setSegment)
    OBJC_PROPERTY(NSArray*, values, setValues)
    OBJC_PROPERTY(NSArray*, displayedValues, setDisplayedValues)

    OBJC_METHOD(void, segmentAction, "segmentAction:", UISegmentedControl*)
    OBJC_OVERRIDE(void, layoutSubviews, "layoutSubviews")

  private:
    long storedIndex() const;

    Ref<UISegmentedControl> _segment;
    Ref<NSArray> _values;
    Ref<NSArray> _displayedValues;
};
