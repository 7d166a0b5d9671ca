// An absolute URL. URLWithString: answers nil for text that is no URL: no
// scheme, characters a URL cannot hold (spaces, controls, non-ASCII) or a
// broken percent escape.
#pragma once

#include "Foundation/NSString.h"
#include "ObjectModel/NSObject.h"

struct NSURL : NSObject {
    OBJC_CLASS(NSURL, NSObject)

    static Ref<NSURL> URLWithString(const NSString* text);
    NSURL* initWithString(const NSString* text);

    NSString* absoluteString() const { return _absoluteString; }
    NSString* scheme() const { return _scheme; }

    // Messages.
    bool isEqual(NSObject* other);

  private:
    Ref<NSString> _absoluteString;
    Ref<NSString> _scheme;
};
