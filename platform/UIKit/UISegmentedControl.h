// A row of segments, each showing a text or an image, at most one selected.
// An index out of range selects no segment. A pick by the user sends
// UIControlEventValueChanged; setting the index in code sends nothing.
#pragma once

#include "Foundation/NSArray.h"
#include "UIKit/UIControl.h"
#include "UIKit/UIImage.h"

inline constexpr long UISegmentedControlNoSegment = -1;

struct UISegmentedControl : UIControl {
    OBJC_CLASS(UISegmentedControl, UIControl)

    static constexpr CGFloat kSegmentWidth = 64;
    static constexpr CGFloat kHeight = 29;

    // Items: NSString or UIImage objects; other objects show their
    // description. nil makes no segments.
    static Ref<UISegmentedControl> segmentedControlWithItems(NSArray* items);
    UISegmentedControl* initWithItems(NSArray* items);

    long numberOfSegments() const { return static_cast<long>(_items->count()); }
    // The text of a segment, nil for an image segment or an index out of range.
    NSString* titleForSegmentAtIndex(long index) const;
    UIImage* imageForSegmentAtIndex(long index) const;

    long selectedSegmentIndex() const { return _selectedSegmentIndex; }
    void setSelectedSegmentIndex(long index);

    // The user picks a segment: answers false (and sends nothing) for an
    // index out of range or a disabled control; picking the selected segment
    // again sends value changed again, as a tap would.
    bool pickSegment(long index);

    // Messages.
    Ref<NSString> screenText();

  private:
    bool contains(long index) const { return index >= 0 && index < numberOfSegments(); }
    NSObject* itemAt(long index) const;

    Ref<NSArray> _items = NSArray::array();
    long _selectedSegmentIndex = UISegmentedControlNoSegment;
};
