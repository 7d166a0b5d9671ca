#include "UIKit/UITableViewCell.h"

#include <algorithm>

#include "UIKit/UIScreen.h"
#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

namespace {

constexpr CGFloat kMargin = 15;
constexpr CGFloat kImageInset = 4;
// What the standard accessory indicators (chevron, checkmark) take at the right end.
constexpr CGFloat kIndicatorSpace = 33;

// How the styles share a row between the two labels: the text label's share
// of the width, and whether the detail goes below the text.
struct StyleLayout {
    CGFloat textShare;
    bool stacked;
};

StyleLayout styleLayout(long style) {
    switch (style) {
    case UITableViewCellStyleValue1:
        return {0.6, false};
    case UITableViewCellStyleValue2:
        return {0.3, false};
    case UITableViewCellStyleSubtitle:
        return {1.0, true};
    default:
        return {1.0, false};
    }
}

Ref<UILabel> makeLabel(long alignment) {
    Ref<UILabel> label = UILabel::labelWithFrame(CGRectZero);
    label->setTextAlignment(alignment);
    return label;
}

} // namespace

Ref<UITableViewCell> UITableViewCell::cellWithStyle(long style, NSString* reuseIdentifier) {
    return make<UITableViewCell>(&UITableViewCell::initWithStyle, style, reuseIdentifier);
}

UITableViewCell* UITableViewCell::initWithStyle(long style, NSString* reuseIdentifier) {
    UIView::initWithFrame(CGRectMake(0, 0, UIScreen::mainScreen()->bounds().size.width, 44));
    _style = style;
    _reuseIdentifier = reuseIdentifier;
    _contentView = UIView::viewWithFrame(CGRectZero);
    _imageView = UIImageView::imageViewWithImage(nullptr);
    _textLabel =
        makeLabel(style == UITableViewCellStyleValue2 ? NSTextAlignmentRight : NSTextAlignmentLeft);
    if (style != UITableViewCellStyleDefault)
        _detailTextLabel = makeLabel(style == UITableViewCellStyleValue1 ? NSTextAlignmentRight
                                                                         : NSTextAlignmentLeft);
    send(this, "addSubview:"_sel, _contentView.get());
    for (UIView* part : {static_cast<UIView*>(_imageView), static_cast<UIView*>(_textLabel),
                         static_cast<UIView*>(_detailTextLabel)})
        send(_contentView, "addSubview:"_sel, part);
    return this;
}

void UITableViewCell::setAccessoryView(UIView* view) {
    if (_accessoryView == view) return;
    if (_accessoryView) _accessoryView->removeFromSuperview();
    _accessoryView = view;
    send(this, "addSubview:"_sel, view);
    setNeedsLayout();
}

void UITableViewCell::layoutSubviews() {
    CGFloat width = frame().size.width;
    CGFloat height = frame().size.height;
    CGFloat contentWidth = width;
    layoutAccessory(width, height, &contentWidth);
    _contentView->setFrame(CGRectMake(0, 0, contentWidth, height));
    layoutLabels(contentWidth, height);
    addSeparator(width, height);
}

void UITableViewCell::layoutAccessory(CGFloat width, CGFloat height, CGFloat* contentWidth) {
    if (_accessoryView) {
        CGSize size = _accessoryView->frame().size;
        CGFloat x = width - kMargin - size.width;
        _accessoryView->setFrame(
            CGRectMake(x, (height - size.height) / 2, size.width, size.height));
        *contentWidth = std::max<CGFloat>(0, x);
    } else if (_accessoryType != UITableViewCellAccessoryNone) {
        *contentWidth = std::max<CGFloat>(0, width - kIndicatorSpace);
    }
}

void UITableViewCell::layoutLabels(CGFloat width, CGFloat height) {
    CGFloat textX = kMargin;
    if (UIImage* image = _imageView->image()) {
        CGSize size = image->size();
        CGFloat room = std::max<CGFloat>(0, height - 2 * kImageInset);
        if (size.height > room && size.height > 0) size = {size.width * room / size.height, room};
        _imageView->setFrame(
            CGRectMake(kMargin, (height - size.height) / 2, size.width, size.height));
        textX = kMargin + size.width + kMargin;
    } else {
        _imageView->setFrame(CGRectZero);
    }
    CGFloat available = std::max<CGFloat>(0, width - textX - kMargin);
    StyleLayout layout = styleLayout(_style);
    CGFloat textWidth = available * layout.textShare;
    if (layout.stacked) {
        _textLabel->setFrame(CGRectMake(textX, kImageInset, available, height / 2 - kImageInset));
        if (_detailTextLabel)
            _detailTextLabel->setFrame(
                CGRectMake(textX, height / 2, available, height / 2 - kImageInset));
        return;
    }
    _textLabel->setFrame(CGRectMake(textX, 0, textWidth, height));
    if (_detailTextLabel)
        _detailTextLabel->setFrame(CGRectMake(textX + textWidth, 0, available - textWidth, height));
}

void UITableViewCell::addSeparator(CGFloat width, CGFloat height) {
    CGFloat line = 1.0 / UIScreen::mainScreen()->scale();
    if (!_separatorView) _separatorView = UIView::viewWithFrame(CGRectZero);
    _separatorView->setFrame(
        CGRectMake(kMargin, height - line, std::max<CGFloat>(0, width - kMargin), line));
    if (_separatorView->superview() != this) send(this, "addSubview:"_sel, _separatorView.get());
}

void UITableViewCell::prepareForReuse() {
    _selected = false;
}

const ClassInfo& UITableViewCell::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<UITableViewCell>()
            .method<"layoutSubviews", &UITableViewCell::layoutSubviews>()
            .method<"prepareForReuse", &UITableViewCell::prepareForReuse>()
            .build();
    return info;
}
