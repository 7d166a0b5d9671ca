// A table row: a content view with a text label, a detail text label (in the
// styles that have one) and an image view, plus an accessory at the right
// end. Its layoutSubviews (a message) places them, and adds a separator line
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

    static Ref<UITableViewCell> cellWithStyle(long style, NSString* reuseIdentifier);
    UITableViewCell* initWithStyle(long style, NSString* reuseIdentifier);
    UITableViewCell* initWithFrame(CGRect) {
        return initWithStyle(UITableViewCellStyleDefault, nullptr);
    }

    long style() const { return _style; }
    UIView* contentView() const { return _contentView; }
    UILabel* textLabel() const { return _textLabel; }
    // nil in the default style, which has no detail text.
    UILabel* detailTextLabel() const { return _detailTextLabel; }
    UIImageView* imageView() const { return _imageView; }
    NSString* reuseIdentifier() const { return _reuseIdentifier; }

    long accessoryType() const { return _accessoryType; }
    void setAccessoryType(long type) { _accessoryType = type; }
    UIView* accessoryView() const { return _accessoryView; }
    // The accessory view becomes a subview of the cell; it takes the
    // accessory type's place.
    void setAccessoryView(UIView* view);
    long selectionStyle() const { return _selectionStyle; }
    void setSelectionStyle(long style) { _selectionStyle = style; }
    bool isSelected() const { return _selected; }
    void setSelected(bool selected) { _selected = selected; }
    // Selected and showing it: selection style other than none.
    bool isHighlighted() const {
        return _selected && _selectionStyle != UITableViewCellSelectionStyleNone;
    }
    // The separator line that the last layout pass made, if any.
    UIView* separatorView() const { return _separatorView; }

    // Messages.
    void layoutSubviews();
    void prepareForReuse();

  private:
    void layoutAccessory(CGFloat width, CGFloat height, CGFloat* contentWidth);
    void layoutLabels(CGFloat width, CGFloat height);
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
