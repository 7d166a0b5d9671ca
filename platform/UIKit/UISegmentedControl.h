// A row of segments, each showing a text or an image, at most one selected,
// drawn in the current style: a rounded track, the selected segment raised.
// An index out of range selects no segment. A pick by the user sends
// UIControlEventValueChanged; setting the index in code sends nothing.
#pragma once

#include "Foundation/NSArray.h"
#include "UIKit/UIControl.h"
#include "UIKit/UIImage.h"

inline constexpr long UISegmentedControlNoSegment = -1;

struct UISegmentedControl : UIControl {
    OBJC_CLASS(UISegmentedControl, UIControl)

    // Items: NSString or UIImage objects; other objects show their
    // description. nil makes no segments.
    OBJC_METHOD(UISegmentedControl*, initWithItems, "initWithItems:", NSArray*)
    OBJC_METHOD(long, numberOfSegments, "numberOfSegments")
    // The text of a segment, nil for an image segment or an index out of range.
    OBJC_METHOD(NSString*, titleForSegmentAtIndex, "titleForSegmentAtIndex:", long)
    OBJC_METHOD(UIImage*, imageForSegmentAtIndex, "imageForSegmentAtIndex:", long)
    OBJC_READONLY(long, selectedSegmentIndex)
    OBJC_METHOD(void, setSelectedSegmentIndex, "setSelectedSegmentIndex:", long)
    // The selected segment's fill; nil: the system's raised segment.
    OBJC_PROPERTY(UIColor*, selectedSegmentTintColor, setSelectedSegmentTintColor)
    OBJC_OVERRIDE(Ref<NSString>, screenText, "screenText")

    static constexpr CGFloat kSegmentWidth = 64;
    static constexpr CGFloat kHeight = 32;

    // C++ shorthand for [[UISegmentedControl alloc] initWithItems:].
    static Ref<UISegmentedControl> segmentedControlWithItems(NSArray* items) {
        return make<UISegmentedControl>(&UISegmentedControl::initWithItems, items);
    }

    // The user picks a segment: answers false (and sends nothing) for an
    // index out of range or a disabled control; picking the selected segment
    // again sends value changed again, as a tap would.
    bool pickSegment(long index);

  private:
    bool contains(long index) const { return index >= 0 && index < numberOfSegments(); }
    NSObject* itemAt(long index) const;

    Ref<NSArray> _items = NSArray::array();
    long _selectedSegmentIndex = UISegmentedControlNoSegment;
    Ref<UIColor> _selectedSegmentTintColor;
};
