// Bitmap images through cairo. imageNamed: takes a full device path (resolved
// under the device root) and loads a PNG file; a name ending in @2x or @3x
// gives an image of that scale. A missing or unreadable file gives nil.
#pragma once

#include <cairo.h>

#include "Foundation/NSString.h"
#include "UIKit/CGGeometry.h"
#include "ObjectModel/NSObject.h"

struct UIImage : NSObject {
    OBJC_CLASS(UIImage, NSObject)

    static Ref<UIImage> imageNamed(const NSString* path);
    // Takes over one reference to the surface (an image surface).
    static Ref<UIImage> imageWithSurface(cairo_surface_t* surface, CGFloat scale,
                                         const NSString* name);

    UIImage* initWithSurface(cairo_surface_t* surface, CGFloat scale, const NSString* name);
    ~UIImage();

    // Size in points: pixels divided by the scale.
    CGSize size() const;
    CGFloat scale() const { return _scale; }
    int pixelWidth() const;
    int pixelHeight() const;
    // The file name the image came from, or nil for drawn images.
    NSString* name() const { return _name; }
    cairo_surface_t* surface() const { return _surface; }

    // Draws the whole image scaled into the rectangle of the current image
    // context (bilinear); without a context nothing happens.
    void drawInRect(CGRect rect) const;

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
