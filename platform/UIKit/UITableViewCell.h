// A table row: a content view with a text label, a detail text label (in the
// styles that have one) and an image view, plus an accessory at the right
// end. The value1 style gives the title its text's width and the detail the
// rest; when both do not fit, the detail is cut first (down to a share of
// the row), then the title. Its layoutSubviews (a message) places them, and adds a separator line
// one device pixel high to the cell by sending addSubview:, so that a
// subclass's addSubview: sees it.
#pragma once

#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIView.h"

enum UITableViewCellStyle : long {
    UITableViewCellStyleDefault = 0,
    UITableViewCellStyleValue1 = 1,
    UITableViewCellStyleValue2 = 2,
    UITableViewCellStyleSubtitle = 3,
};

enum UITableViewCellAccessoryType : long {
    UITableViewCellAccessoryNone = 0,
    UITableViewCellAccessoryDisclosureIndicator = 1,
    UITableViewCellAccessoryDetailDisclosureButton = 2,
    UITableViewCellAccessoryCheckmark = 3,
};

enum UITableViewCellSelectionStyle : long {
    UITableViewCellSelectionStyleNone = 0,
    UITableViewCellSelectionStyleBlue = 1,
    UITableViewCellSelectionStyleGray = 2,
    UITableViewCellSelectionStyleDefault = 3,
};

struct UITableViewCell : UIView {
    OBJC_CLASS(UITableViewCell, UIView)

    OBJC_METHOD(UITableViewCell*, initWithStyle, "initWithStyle:reuseIdentifier:", long, NSString*)
    // A cell of the default style.
    OBJC_OVERRIDE(UIView*, initWithFrame, "initWithFrame:", CGRect)

    OBJC_READONLY(UIView*, contentView)
    OBJC_READONLY(UILabel*, textLabel)
    // nil in the default style, which has no detail text.
    OBJC_READONLY(UILabel*, detailTextLabel)
    OBJC_READONLY(UIImageView*, imageView)
    OBJC_READONLY(NSString*, reuseIdentifier)
    OBJC_PROPERTY(long, accessoryType, setAccessoryType)
    OBJC_READONLY(UIView*, accessoryView)
    // The accessory view becomes a subview of the cell; it takes the
    // accessory type's place.
    OBJC_METHOD(void, setAccessoryView, "setAccessoryView:", UIView*)
    OBJC_PROPERTY(long, selectionStyle, setSelectionStyle)
    OBJC_PROPERTY_AS(bool, selected, isSelected, setSelected)
    // Selected and showing it: selection style other than none.
    OBJC_METHOD(bool, isHighlighted, "isHighlighted")
    OBJC_METHOD(void, prepareForReuse, "prepareForReuse")
    // Places the parts, and adds the separator by sending addSubview:.
    OBJC_OVERRIDE(void, layoutSubviews, "layoutSubviews")

    // C++ shorthand for [[UITableViewCell alloc] initWithStyle:reuseIdentifier:].
    static Ref<UITableViewCell> cellWithStyle(long style, NSString* reuseIdentifier) {
        return make<UITableViewCell>(&UITableViewCell::initWithStyle, style, reuseIdentifier);
    }

    // The style the cell was made with (C++ helper).
    long style() const { return _style; }
    // The separator line that the last layout pass made, if any (C++ helper).
    UIView* separatorView() const { return _separatorView; }

  private:
    void layoutAccessory(CGFloat width, CGFloat height, CGFloat* contentWidth) const;
    void layoutLabels(CGFloat width, CGFloat height) const;
    void addSeparator(CGFloat width, CGFloat height);

    long _style = UITableViewCellStyleDefault;
    Ref<NSString> _reuseIdentifier;
    Ref<UIView> _contentView;
    Ref<UILabel> _textLabel;
    Ref<UILabel> _detailTextLabel;
    Ref<UIImageView> _imageView;
    long _accessoryType = UITableViewCellAccessoryNone;
    Ref<UIView> _accessoryView;
    long _selectionStyle = UITableViewCellSelectionStyleDefault;
    bool _selected = false;
    Ref<UIView> _separatorView;
};
