#include "UIKit/NavigationBarLayout.h"

#include <algorithm>
#include <vector>

#include "UIKit/TextDrawing.h"
#include "UIKit/UINavigationController.h"

namespace {

constexpr CGFloat kGap = 8;
constexpr CGFloat kBarTextSize = 17;

CGFloat widthOf(const std::string& text, const TextStyle& style) {
    return text.empty() ? 0 : textSize(text, style, 0).width;
}

// The room between the left side (back button or left item) and the right item.
struct Room {
    CGFloat left;
    CGFloat right;
};

Room roomBeside(const NavigationBarContent& content, CGFloat leftEnd) {
    CGFloat right = content.width - kNavigationBarMargin;
    if (content.rightWidth > 0) right -= content.rightWidth + kGap;
    return {leftEnd, right};
}

// The title centred if it fits there, else moved into the room, else cut.
CGRect placeTitle(CGFloat titleWidth, const Room& room, CGFloat barWidth) {
    CGFloat width = std::max<CGFloat>(0, std::min(titleWidth, room.right - room.left));
    CGFloat x =
        std::clamp((barWidth - width) / 2, room.left, std::max(room.left, room.right - width));
    return CGRectMake(x, 0, width, UINavigationBar::kHeight);
}

std::vector<std::string> backCandidates(const NavigationBarContent& content) {
    std::vector<std::string> texts;
    if (!content.backTitle.empty() && content.backTitle != "Back")
        texts.push_back(content.backTitle);
    texts.push_back("Back");
    texts.push_back("");
    return texts;
}

CGFloat backEnd(const std::string& text) {
    return text.empty() ? kBackTextX : kBackTextX + widthOf(text, barButtonStyle(false)) + kGap;
}

} // namespace

TextStyle barTitleStyle() {
    TextStyle style = barButtonStyle(true);
    style.alignment = NSTextAlignmentCenter;
    return style;
}

TextStyle barButtonStyle(bool bold) {
    TextStyle style;
    style.size = kBarTextSize;
    style.bold = bold;
    style.alignment = NSTextAlignmentLeft;
    return style;
}

NavigationBarLayout layoutNavigationBar(const NavigationBarContent& content) {
    NavigationBarLayout layout;
    CGFloat titleWidth = widthOf(content.title, barTitleStyle());
    if (!content.back) {
        CGFloat leftEnd =
            kNavigationBarMargin + (content.leftWidth > 0 ? content.leftWidth + kGap : 0);
        layout.title = placeTitle(titleWidth, roomBeside(content, leftEnd), content.width);
        return layout;
    }
    for (const std::string& text : backCandidates(content)) {
        Room room = roomBeside(content, backEnd(text));
        if (room.right - room.left < titleWidth && !text.empty()) continue;
        layout.backText = text;
        layout.title = placeTitle(titleWidth, room, content.width);
        CGFloat textEnd = content.title.empty() ? room.right : layout.title.origin.x - kGap;
        layout.backTitle = CGRectMake(kBackTextX, 0, std::max<CGFloat>(0, textEnd - kBackTextX),
                                      UINavigationBar::kHeight);
        break;
    }
    return layout;
}
