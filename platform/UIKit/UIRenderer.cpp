#include "UIKit/UIRenderer.h"

#include <cmath>

#include "ObjectModel/Message.h"
#include "UIKit/PictureFile.h"
#include "UIKit/TextDrawing.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UIScreen.h"
#include "UIKit/ViewDrawing.h"

namespace {

constexpr CGFloat kStatusBarHeight = 20;
constexpr CGFloat kBarTextSize = 17;
constexpr CGFloat kBarMargin = 16;
constexpr CGFloat kBarImageSize = 28;
constexpr UIColor::Components kBarBackground{248 / 255.0, 248 / 255.0, 248 / 255.0, 1};
constexpr UIColor::Components kBarHairline{0, 0, 0, 0.3};

void fail(std::string* error, const std::string& reason) {
    if (error) *error = reason;
}

UIViewController* shownController(UIViewController* controller) {
    while (controller->presentedViewController())
        controller = controller->presentedViewController();
    return controller;
}

void fillRect(cairo_t* cr, CGRect rect, const UIColor::Components& color) {
    setSourceColor(cr, color);
    cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_fill(cr);
}

TextStyle barTextStyle(const UIColor::Components& color, bool bold, long alignment) {
    TextStyle style;
    style.size = kBarTextSize;
    style.bold = bold;
    style.color = color;
    style.alignment = alignment;
    return style;
}

void drawBattery(cairo_t* cr, CGFloat right) {
    CGRect body = CGRectMake(right - 24.5, 5, 22, 10.5);
    addRoundedRect(cr, body, 2.5);
    setSourceColor(cr, {0, 0, 0, 0.4});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    fillRoundedRect(cr, CGRectMake(body.origin.x + 1.5, 6.5, 19, 7.5), 1.3, palette::kBlack);
    fillRoundedRect(cr, CGRectMake(right - 1.8, 8.3, 1.6, 4), 0.8, {0, 0, 0, 0.4});
}

void drawStatusBar(cairo_t* cr, CGFloat width) {
    fillRect(cr, CGRectMake(0, 0, width, kStatusBarHeight), kBarBackground);
    TextStyle time = barTextStyle(palette::kBlack, true, NSTextAlignmentCenter);
    time.size = 12;
    drawText(cr, "9:41", time, CGRectMake(0, 0, width, kStatusBarHeight));
    drawBattery(cr, width - 6);
}

// A bar button at the edge (its left end, or its right end when `fromRight`);
// answers its width.
CGFloat drawBarButton(cairo_t* cr, UIBarButtonItem* item, CGFloat edge, bool fromRight,
                      const UIColor::Components& tint) {
    CGFloat middle = kStatusBarHeight + UINavigationBar::kHeight / 2;
    if (UIImage* image = item->image()) {
        CGSize size = image->size();
        CGFloat fit = std::min({1.0, kBarImageSize / std::max(size.width, 1.0),
                                kBarImageSize / std::max(size.height, 1.0)});
        CGSize shown{size.width * fit, size.height * fit};
        CGFloat x = fromRight ? edge - shown.width : edge;
        paintImage(cr, image, CGRectMake(x, middle - shown.height / 2, shown.width, shown.height),
                   &tint);
        return shown.width;
    }
    std::string title = item->title() ? item->title()->utf8() : std::string();
    TextStyle style =
        barTextStyle(tint, item->style() == UIBarButtonItemStyleDone, NSTextAlignmentLeft);
    CGFloat width = textSize(title, style, 0).width;
    CGFloat x = fromRight ? edge - width : edge;
    drawText(cr, title, style,
             CGRectMake(x, kStatusBarHeight, width + 1, UINavigationBar::kHeight));
    return width;
}

void drawBackButton(cairo_t* cr, UIViewController* previous, const UIColor::Components& tint,
                    CGFloat maxWidth) {
    CGFloat middle = kStatusBarHeight + UINavigationBar::kHeight / 2;
    cairo_move_to(cr, 18, middle - 10.5);
    cairo_line_to(cr, 8.5, middle);
    cairo_line_to(cr, 18, middle + 10.5);
    setSourceColor(cr, tint);
    cairo_set_line_width(cr, 3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    NSString* title = previous->title();
    drawText(cr, title && title->length() ? title->utf8() : "Back",
             barTextStyle(tint, false, NSTextAlignmentLeft),
             CGRectMake(26, kStatusBarHeight, maxWidth, UINavigationBar::kHeight));
}

void drawNavigationBar(cairo_t* cr, CGFloat width, UINavigationController* navigation,
                       UIViewController* top) {
    CGRect bar = CGRectMake(0, kStatusBarHeight, width, UINavigationBar::kHeight);
    fillRect(cr, bar, kBarBackground);
    fillRect(cr, CGRectMake(0, CGRectGetMaxY(bar), width, 0.5), kBarHairline);
    UIColor::Components tint = tintOf(navigation->navigationBar());
    Ref<UINavigationItem> item = send<Ref<UINavigationItem>>(top, "navigationItem"_sel);
    CGFloat side = width / 4;
    if (UIBarButtonItem* left = item->leftBarButtonItem()) {
        drawBarButton(cr, left, kBarMargin, false, tint);
    } else if (Ref<NSArray> stack = navigation->viewControllers(); stack->count() > 1) {
        auto* previous = static_cast<UIViewController*>(stack->objectAtIndex(stack->count() - 2));
        drawBackButton(cr, previous, tint, side - 26);
    }
    if (UIBarButtonItem* right = item->rightBarButtonItem())
        drawBarButton(cr, right, width - kBarMargin, true, tint);
    NSString* title = item->title() ? item->title() : top->title();
    if (title)
        drawText(cr, title->utf8(), barTextStyle(palette::kBlack, true, NSTextAlignmentCenter),
                 CGRectMake(side, kStatusBarHeight, width - 2 * side, UINavigationBar::kHeight));
}

// Lays the shown view out in the content area and draws it.
void drawContent(DrawContext* context, UIViewController* top, CGRect area) {
    fillRect(context->cr, area, palette::kWhite);
    Ref<UIView> view = send<Ref<UIView>>(top, "view"_sel);
    if (!view) return;
    view->setFrame(area);
    view->layoutIfNeeded();
    cairo_save(context->cr);
    cairo_rectangle(context->cr, area.origin.x, area.origin.y, area.size.width, area.size.height);
    cairo_clip(context->cr);
    drawViewTree(context, view);
    cairo_restore(context->cr);
}

void drawScreen(DrawContext* context, UIViewController* controller, CGSize size) {
    UIViewController* shown = shownController(controller);
    auto* navigation = as<UINavigationController>(shown);
    UIViewController* top = navigation ? navigation->topViewController() : shown;
    CGFloat barsHeight = kStatusBarHeight + (navigation ? UINavigationBar::kHeight : 0);
    CGRect area =
        CGRectMake(0, barsHeight, size.width, std::max<CGFloat>(0, size.height - barsHeight));
    if (top) drawContent(context, top, area);
    drawStatusBar(context->cr, size.width);
    if (navigation && top) drawNavigationBar(context->cr, size.width, navigation, top);
}

bool pixelSize(CGSize points, CGFloat scale, int* width, int* height) {
    CGFloat w = std::ceil(points.width * scale), h = std::ceil(points.height * scale);
    if (!(w >= 1 && h >= 1 && w <= kMaxScreenPixels && h <= kMaxScreenPixels)) return false;
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

} // namespace

SurfacePtr renderScreen(UIViewController* controller, std::string* error) {
    if (!controller) {
        fail(error, "nothing to render: no view controller was given");
        return nullptr;
    }
    UIScreen* screen = UIScreen::mainScreen();
    CGSize size = screen->bounds().size;
    int width = 0, height = 0;
    if (!pixelSize(size, screen->scale(), &width, &height)) {
        fail(error, "the screen of " + std::to_string(size.width) + " x " +
                        std::to_string(size.height) + " points at scale " +
                        std::to_string(screen->scale()) + " gives no picture of 1 to " +
                        std::to_string(kMaxScreenPixels) +
                        " pixels a side; choose another size or scale");
        return nullptr;
    }
    registerDrawing();
    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    cairo_t* cr = cairo_create(surface.get());
    cairo_scale(cr, screen->scale(), screen->scale());
    DrawContext context{cr, screen->scale()};
    drawScreen(&context, controller, size);
    cairo_destroy(cr);
    cairo_surface_flush(surface.get());
    return surface;
}

bool renderScreenPNG(UIViewController* controller, const std::string& path, std::string* error) {
    if (path.empty()) {
        fail(error, "cannot write the picture: no file path was given");
        return false;
    }
    SurfacePtr surface = renderScreen(controller, error);
    if (!surface) return false;
    std::string problem;
    if (writePictureFile(surface.get(), path, &problem)) return true;
    fail(error, problem);
    return false;
}
