#include "UIKit/UIRenderer.h"

#include <cmath>

#include "ObjectModel/Message.h"
#include "UIKit/NavigationBarLayout.h"
#include "UIKit/PictureFile.h"
#include "UIKit/ScreenChrome.h"
#include "UIKit/TextDrawing.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UITableView.h"
#include "UIKit/ViewDrawing.h"

namespace {

constexpr CGFloat kBarImageSize = 28;

void fillRect(cairo_t* cr, CGRect rect, const UIColor::Components& color) {
    setSourceColor(cr, color);
    cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_fill(cr);
}

// What shows behind the bars at the top of the content: its own colour, or
// the background its kind of view has.
UIColor::Components backgroundBehind(UIView* view) {
    if (view && view->backgroundColor() && view->backgroundColor()->components().alpha == 1)
        return view->backgroundColor()->components();
    auto* table = as<UITableView>(view);
    if (table && table->style() == UITableViewStyleGrouped)
        return UIColor::systemGroupedBackgroundColor()->components();
    return UIColor::systemBackgroundColor()->components();
}

std::string titleOf(NSString* title) {
    return title ? title->utf8() : std::string();
}

CGSize barItemSize(UIBarButtonItem* item) {
    if (!item) return {};
    if (UIImage* image = item->image()) {
        CGSize size = image->size();
        CGFloat fit = std::min({1.0, kBarImageSize / std::max(size.width, 1.0),
                                kBarImageSize / std::max(size.height, 1.0)});
        return {size.width * fit, size.height * fit};
    }
    return {textSize(titleOf(item->title()),
                     barButtonStyle(item->style() == UIBarButtonItemStyleDone), 0)
                .width,
            UINavigationBar::kHeight};
}

// A bar in a width, mirrored when it reads right to left: what the layout
// puts at the left shows at the right.
struct Bar {
    CGFloat top;
    CGFloat width;
    bool rightToLeft;
    CGRect place(CGRect rect) const {
        rect.origin.y += top;
        return mirroredRect(rect, rightToLeft ? width : 0);
    }
};

// A bar button at its left end x.
void drawBarButton(cairo_t* cr, UIBarButtonItem* item, CGFloat x, const Bar& bar,
                   const UIColor::Components& tint) {
    CGSize size = barItemSize(item);
    if (UIImage* image = item->image()) {
        CGFloat y = (UINavigationBar::kHeight - size.height) / 2;
        paintImage(cr, image, bar.place(CGRectMake(x, y, size.width, size.height)), &tint);
        return;
    }
    TextStyle style = barButtonStyle(item->style() == UIBarButtonItemStyleDone);
    style.color = tint;
    drawText(cr, titleOf(item->title()), style,
             bar.place(CGRectMake(x, 0, size.width + 1, UINavigationBar::kHeight)));
}

void drawBackChevron(cairo_t* cr, const Bar& bar, const UIColor::Components& tint) {
    CGFloat middle = bar.top + UINavigationBar::kHeight / 2;
    MirroredDrawing mirrored(cr, bar.rightToLeft ? bar.width : 0);
    cairo_move_to(cr, 19, middle - 10.5);
    cairo_line_to(cr, 9, middle);
    cairo_line_to(cr, 19, middle + 10.5);
    setSourceColor(cr, tint);
    cairo_set_line_width(cr, 3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void drawBackTitle(cairo_t* cr, const NavigationBarLayout& layout, const Bar& bar,
                   const UIColor::Components& tint) {
    TextStyle style = barButtonStyle(false);
    style.color = tint;
    if (bar.rightToLeft) style.alignment = NSTextAlignmentRight;
    drawText(cr, layout.backText, style, bar.place(layout.backTitle));
}

NavigationBarContent barContent(UINavigationController* navigation, UIViewController* top,
                                UINavigationItem* item, CGFloat width) {
    NavigationBarContent content;
    content.width = width;
    content.title = titleOf(item->title() ? item->title() : top->title());
    content.leftWidth = barItemSize(item->leftBarButtonItem()).width;
    content.rightWidth = barItemSize(item->rightBarButtonItem()).width;
    Ref<NSArray> stack = navigation->viewControllers();
    if (!item->leftBarButtonItem() && stack->count() > 1) {
        auto* previous = static_cast<UIViewController*>(stack->objectAtIndex(stack->count() - 2));
        content.back = true;
        content.backTitle = titleOf(previous->title());
    }
    return content;
}

void drawNavigationBar(cairo_t* cr, const Bar& bar, UINavigationController* navigation,
                       UIViewController* controller) {
    UIColor::Components tint = tintOf(navigation->navigationBar());
    Ref<UINavigationItem> item = send<Ref<UINavigationItem>>(controller, "navigationItem"_sel);
    NavigationBarContent content = barContent(navigation, controller, item, bar.width);
    NavigationBarLayout layout = layoutNavigationBar(content);
    if (UIBarButtonItem* left = item->leftBarButtonItem()) {
        drawBarButton(cr, left, kNavigationBarMargin, bar, tint);
    } else if (content.back) {
        drawBackChevron(cr, bar, tint);
        drawBackTitle(cr, layout, bar, tint);
    }
    if (UIBarButtonItem* right = item->rightBarButtonItem())
        drawBarButton(cr, right, bar.width - kNavigationBarMargin - content.rightWidth, bar, tint);
    TextStyle style = barTitleStyle();
    style.color = UIColor::labelColor()->components();
    drawText(cr, content.title, style, bar.place(layout.title));
}

// Lays the shown view out in the content area, on screen, and draws it.
void drawContent(DrawContext* context, UIView* view, CGRect area) {
    fillRect(context->cr, area, UIColor::systemBackgroundColor()->components());
    if (!view) return;
    UIView::setScreenRootView(view);
    view->setFrame(area);
    view->setNeedsLayout();
    view->layoutIfNeeded();
    cairo_save(context->cr);
    cairo_rectangle(context->cr, area.origin.x, area.origin.y, area.size.width, area.size.height);
    cairo_clip(context->cr);
    drawViewTree(context, view);
    cairo_restore(context->cr);
    UIView::setScreenRootView(nullptr);
}

// The navigation controller whose bar shows, if any, and the controller shown.
ShownController shownOf(UIViewController* controller) {
    auto [navigation, top] = shownController(controller);
    if (navigation && navigation->isNavigationBarHidden()) navigation = nullptr;
    return {navigation, top};
}

CGFloat barsHeight(const DeviceModel& device, const ShownController& shown) {
    return device.statusBarHeight + (shown.navigation ? UINavigationBar::kHeight : 0);
}

void drawScreen(DrawContext* context, UIViewController* controller) {
    const DeviceModel& device = UIScreen::mainScreen()->device();
    auto [navigation, top] = shownOf(controller);
    CGFloat barsHeight = ::barsHeight(device, {navigation, top});
    CGSize size = device.size;
    CGRect area =
        CGRectMake(0, barsHeight, size.width, std::max<CGFloat>(0, size.height - barsHeight));
    Ref<UIView> view = top ? send<Ref<UIView>>(top, "view"_sel) : nullptr;
    drawContent(context, view, area);
    fillRect(context->cr, CGRectMake(0, 0, size.width, barsHeight), backgroundBehind(view));
    UIColor::Components ink = UIColor::labelColor()->components();
    drawStatusBar(context->cr, device, ink);
    drawCutout(context->cr, device);
    if (navigation && top)
        drawNavigationBar(context->cr,
                          {device.statusBarHeight, size.width, view && isRightToLeft(view)},
                          navigation, top);
    drawHomeIndicator(context->cr, device, ink);
}

bool pixelSize(CGSize points, CGFloat scale, int* width, int* height) {
    CGFloat w = std::ceil(points.width * scale), h = std::ceil(points.height * scale);
    if (!(w >= 1 && h >= 1 && w <= kMaxScreenPixels && h <= kMaxScreenPixels)) return false;
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

} // namespace

CGFloat screenBarsHeight(UIViewController* controller) {
    const DeviceModel& device = UIScreen::mainScreen()->device();
    return controller ? barsHeight(device, shownOf(controller)) : device.statusBarHeight;
}

Result<SurfacePtr> renderScreen(UIViewController* controller) {
    if (!controller) return Problem{"nothing to render: no view controller was given"};
    UIScreen* screen = UIScreen::mainScreen();
    CGSize size = screen->bounds().size;
    int width = 0, height = 0;
    if (!pixelSize(size, screen->scale(), &width, &height))
        return Problem{
            "the screen of " + std::to_string(size.width) + " x " + std::to_string(size.height) +
            " points at scale " + std::to_string(screen->scale()) + " gives no picture of 1 to " +
            std::to_string(kMaxScreenPixels) + " pixels a side; choose another size or scale"};
    registerDrawing();
    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    cairo_t* cr = cairo_create(surface.get());
    cairo_scale(cr, screen->scale(), screen->scale());
    DrawContext context{cr, screen->scale()};
    drawScreen(&context, controller);
    cairo_destroy(cr);
    cairo_surface_flush(surface.get());
    return surface;
}

Result<void> renderScreenPNG(UIViewController* controller, const std::string& path) {
    if (path.empty()) return Problem{"cannot write the picture: no file path was given"};
    Result<SurfacePtr> surface = renderScreen(controller);
    if (!surface) return Problem{surface.problem()};
    return writePictureFile(surface->get(), path);
}
