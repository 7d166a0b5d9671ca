// Points, sizes and rectangles in the platform's coordinate type.
#pragma once

#include "ObjectModel/Encoding.h"

using CGFloat = double;

struct CGPoint {
    CGFloat x = 0;
    CGFloat y = 0;
    bool operator==(const CGPoint&) const = default;
};

struct CGSize {
    CGFloat width = 0;
    CGFloat height = 0;
    bool operator==(const CGSize&) const = default;
};

struct CGRect {
    CGPoint origin;
    CGSize size;
    bool operator==(const CGRect&) const = default;
};

inline constexpr CGRect CGRectZero{};

// How far content stands in from each edge.
struct UIEdgeInsets {
    CGFloat top = 0;
    CGFloat left = 0;
    CGFloat bottom = 0;
    CGFloat right = 0;
    bool operator==(const UIEdgeInsets&) const = default;
};

inline constexpr UIEdgeInsets UIEdgeInsetsZero{};

constexpr CGPoint CGPointMake(CGFloat x, CGFloat y) {
    return {x, y};
}
constexpr CGSize CGSizeMake(CGFloat width, CGFloat height) {
    return {width, height};
}
constexpr CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) {
    return {{x, y}, {width, height}};
}
constexpr CGFloat CGRectGetMinX(CGRect r) {
    return r.origin.x;
}
constexpr CGFloat CGRectGetMinY(CGRect r) {
    return r.origin.y;
}
constexpr CGFloat CGRectGetWidth(CGRect r) {
    return r.size.width;
}
constexpr CGFloat CGRectGetHeight(CGRect r) {
    return r.size.height;
}
constexpr CGFloat CGRectGetMaxX(CGRect r) {
    return r.origin.x + r.size.width;
}
constexpr CGFloat CGRectGetMaxY(CGRect r) {
    return r.origin.y + r.size.height;
}
constexpr bool CGRectEqualToRect(CGRect a, CGRect b) {
    return a == b;
}

OBJC_TYPE_CODE(CGPoint, "{CGPoint=dd}");
OBJC_TYPE_CODE(CGSize, "{CGSize=dd}");
OBJC_TYPE_CODE(CGRect, "{CGRect={CGPoint=dd}{CGSize=dd}}");
OBJC_TYPE_CODE(UIEdgeInsets, "{UIEdgeInsets=dddd}");
