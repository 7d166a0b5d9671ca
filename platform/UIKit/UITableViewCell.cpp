#include "UIKit/UITableViewCell.h"

#include <algorithm>

#include "ObjectModel/ClassBuilder.h"
#include "UIKit/UIScreen.h"

namespace {

constexpr CGFloat kMargin = 15;
constexpr CGFloat kImageInset = 4;
// What the standard accessory indicators (chevron, checkmark) take at the right end.
constexpr CGFloat kIndicatorSpace = 33;

// Between a value1 cell's title and detail.
constexpr CGFloat kDetailGap = 8;
// What a detail keeps at least of the row when the title is long: this share
// of the row, or all of its text when that is less.
constexpr CGFloat kDetailMinimumShare = 0.3;
// The title column of the value2 style.
constexpr CGFloat kValue2TitleShare = 0.3;

struct RowShare {
    CGFloat title;
    CGFloat detail;
};

// Value1: the title takes its text's width and the detail the rest; when
// they do not fit, the detail gives first, down to its minimum, then the title.
RowShare shareRow(CGFloat title, CGFloat detail, CGFloat available) {
    CGFloat gap = title > 0 && detail > 0 ? kDetailGap : 0;
    if (title + gap + detail <= available) return {title, detail};
    CGFloat keep = std::min(detail, available * kDetailMinimumShare);
    CGFloat shownTitle = std::max<CGFloat>(0, std::min(title, available - gap - keep));
    return {shownTitle, std::max<CGFloat>(0, available - gap - shownTitle)};
}

CGFloat textWidth(UILabel* label) {
    return label && label->text() ? label->intrinsicContentSize().width : 0;
}

Ref<UILabel> makeLabel(long alignment) {
    Ref<UILabel> label = UILabel::labelWithFrame(CGRectZero);
    label->setTextAlignment(alignment);
    return label;
}

} // namespace

UITableViewCell* UITableViewCell::initWithStyleImp(long style, NSString* reuseIdentifier) {
    CGRect frame = CGRectMake(0, 0, UIScreen::mainScreen()->bounds().size.width, 44);
    if (!sendSuper<UIView*>(this, UIView::objcClass(), "initWithFrame:"_sel, frame)) return nullptr;
    _style = style;
    _reuseIdentifier = reuseIdentifier;
    _contentView = UIView::viewWithFrame(CGRectZero);
    _imageView = UIImageView::imageViewWithImage(nullptr);
    _textLabel =
        makeLabel(style == UITableViewCellStyleValue2 ? NSTextAlignmentRight : NSTextAlignmentLeft);
    if (style != UITableViewCellStyleDefault) {
        _detailTextLabel = makeLabel(style == UITableViewCellStyleValue1 ? NSTextAlignmentRight
                                                                         : NSTextAlignmentLeft);
        _detailTextLabel->setTextColor(UIColor::secondaryLabelColor());
    }
    addSubview(_contentView);
    for (UIView* part : {static_cast<UIView*>(_imageView), static_cast<UIView*>(_textLabel),
                         static_cast<UIView*>(_detailTextLabel)})
        _contentView->addSubview(part);
    return this;
}

UIView* UITableViewCell::initWithFrameImp(CGRect) {
    return initWithStyle(UITableViewCellStyleDefault, nullptr);
}

void UITableViewCell::setAccessoryViewImp(UIView* view) {
    if (_accessoryView == view) return;
    if (_accessoryView) _accessoryView->removeFromSuperview();
    _accessoryView = view;
    addSubview(view);
    setNeedsLayout();
}

bool UITableViewCell::isHighlightedImp() {
    return isSelected() && selectionStyle() != UITableViewCellSelectionStyleNone;
}

void UITableViewCell::layoutSubviewsImp() {
    CGSize size = frame().size;
    CGFloat contentWidth = size.width;
    layoutAccessory(size.width, size.height, &contentWidth);
    contentView()->setFrame(CGRectMake(0, 0, contentWidth, size.height));
    layoutLabels(contentWidth, size.height);
    addSeparator(size.width, size.height);
}

void UITableViewCell::layoutAccessory(CGFloat width, CGFloat height, CGFloat* contentWidth) const {
    if (UIView* accessory = accessoryView()) {
        CGSize size = accessory->frame().size;
        CGFloat x = width - kMargin - size.width;
        accessory->setFrame(CGRectMake(x, (height - size.height) / 2, size.width, size.height));
        *contentWidth = std::max<CGFloat>(0, x);
    } else if (accessoryType() != UITableViewCellAccessoryNone) {
        *contentWidth = std::max<CGFloat>(0, width - kIndicatorSpace);
    }
}

void UITableViewCell::layoutLabels(CGFloat width, CGFloat height) const {
    CGFloat textX = kMargin;
    UIImageView* picture = imageView();
    if (UIImage* image = picture->image()) {
        CGSize size = image->size();
        CGFloat room = std::max<CGFloat>(0, height - 2 * kImageInset);
        if (size.height > room && size.height > 0) size = {size.width * room / size.height, room};
        picture->setFrame(CGRectMake(kMargin, (height - size.height) / 2, size.width, size.height));
        textX = kMargin + size.width + kMargin;
    } else {
        picture->setFrame(CGRectZero);
    }
    CGFloat available = std::max<CGFloat>(0, width - textX - kMargin);
    UILabel* text = textLabel();
    UILabel* detail = detailTextLabel();
    if (_style == UITableViewCellStyleSubtitle) {
        text->setFrame(CGRectMake(textX, kImageInset, available, height / 2 - kImageInset));
        detail->setFrame(CGRectMake(textX, height / 2, available, height / 2 - kImageInset));
        return;
    }
    if (_style == UITableViewCellStyleValue2) {
        CGFloat column = available * kValue2TitleShare;
        text->setFrame(CGRectMake(textX, 0, column, height));
        detail->setFrame(CGRectMake(textX + column, 0, available - column, height));
        return;
    }
    if (!detail) {
        text->setFrame(CGRectMake(textX, 0, available, height));
        return;
    }
    RowShare share = shareRow(textWidth(text), textWidth(detail), available);
    text->setFrame(CGRectMake(textX, 0, share.title, height));
    detail->setFrame(CGRectMake(textX + available - share.detail, 0, share.detail, height));
}

void UITableViewCell::addSeparator(CGFloat width, CGFloat height) {
    CGFloat line = 1.0 / UIScreen::mainScreen()->scale();
    if (!_separatorView) _separatorView = UIView::viewWithFrame(CGRectZero);
    _separatorView->setFrame(
        CGRectMake(kMargin, height - line, std::max<CGFloat>(0, width - kMargin), line));
    if (_separatorView->superview() != this) addSubview(_separatorView);
}

void UITableViewCell::prepareForReuseImp() {
    setSelected(false);
}

OBJC_IMPLEMENT_LOADED_CLASS(UITableViewCell)
