// Bitmap images through cairo. imageNamed: takes a full device path (resolved
// under the device root) and loads a PNG file; a name ending in @2x or @3x
// gives an image of that scale. A missing or unreadable file gives nil.
// Decoded files are cached by path within a memory budget until a memory
// warning (UIApplicationDidReceiveMemoryWarningNotification).
#pragma once

#include <cairo.h>

#include "Foundation/NSString.h"
#include "ObjectModel/NSObject.h"
#include "UIKit/CGGeometry.h"

OBJC_TYPE_CODE(cairo_surface_t*, "^{_cairo_surface=}");

struct UIImage : NSObject {
    OBJC_CLASS(UIImage, NSObject)

    OBJC_CLASS_METHOD(Ref<UIImage>, imageNamed, "imageNamed:", const NSString*)
    // The initialiser: takes over one reference to the surface (an image
    // surface); no surface gives nil.
    OBJC_METHOD(UIImage*, initWithSurface, "initWithSurface:scale:name:", cairo_surface_t*, CGFloat,
                const NSString*)
    // Size in points: pixels divided by the scale.
    OBJC_METHOD(CGSize, size, "size")
    OBJC_READONLY(CGFloat, scale)
    // Draws the whole image scaled into the rectangle of the current image
    // context (bilinear); without a context nothing happens.
    OBJC_METHOD(void, drawInRect, "drawInRect:", CGRect)

    // C++ shorthand for [[UIImage alloc] initWithSurface:scale:name:].
    static Ref<UIImage> imageWithSurface(cairo_surface_t* surface, CGFloat scale,
                                         const NSString* name) {
        return make<UIImage>(&UIImage::initWithSurface, surface, scale, name);
    }
    ~UIImage();

    // For renderers (C++ helpers): the bitmap, its pixel size, and the file
    // name the image came from (nil for drawn images).
    int pixelWidth() const;
    int pixelHeight() const;
    NSString* name() const { return _name; }
    cairo_surface_t* surface() const { return _surface; }

  private:
    cairo_surface_t* _surface = nullptr;
    CGFloat _scale = 1;
    Ref<NSString> _name;
};

// Bitmap image contexts, a stack per thread. A scale of 0 means the main
// screen's. The bitmap has ceil(points x scale) pixels on each side.
void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, CGFloat scale);
// The drawing context on top of the stack, or nullptr.
cairo_t* UIGraphicsGetCurrentContext();
// A copy of what the current context holds, or nil without a context.
Ref<UIImage> UIGraphicsGetImageFromCurrentImageContext();
void UIGraphicsEndImageContext();
