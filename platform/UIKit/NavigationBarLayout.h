// Where a navigation bar's title and back button go, as the device decides:
// the title centred when it can be, else moved aside between the buttons,
// else cut at its tail; the back button shows the previous screen's title
// when the title still fits beside it, else "Back", else the chevron alone.
#pragma once

#include <string>

#include "UIKit/CGGeometry.h"

struct TextStyle;

struct NavigationBarContent {
    CGFloat width = 0;
    std::string title;
    // A back button (the bar has no left item): the previous screen's title.
    bool back = false;
    std::string backTitle;
    // The widths of the left and right items (0: none).
    CGFloat leftWidth = 0;
    CGFloat rightWidth = 0;
};

struct NavigationBarLayout {
    // The title's rectangle in the bar, at most the room it has.
    CGRect title{};
    // What the back button says beside its chevron ("" for the chevron alone).
    std::string backText;
    CGRect backTitle{};
};

inline constexpr CGFloat kNavigationBarMargin = 16;
// Where the back button's text starts, right of the chevron.
inline constexpr CGFloat kBackTextX = 26;

// The styles of the bar's title and of its buttons.
TextStyle barTitleStyle();
TextStyle barButtonStyle(bool bold);

NavigationBarLayout layoutNavigationBar(const NavigationBarContent& content);
