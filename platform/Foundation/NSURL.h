// An absolute URL. URLWithString: answers nil for text that is no URL: no
// scheme, characters a URL cannot hold (spaces, controls, non-ASCII) or a
// broken percent escape.
#pragma once

#include "Foundation/NSString.h"
#include "ObjectModel/NSObject.h"

struct NSURL : NSObject {
    OBJC_CLASS(NSURL, NSObject)

    OBJC_CLASS_METHOD(Ref<NSURL>, URLWithString, "URLWithString:", const NSString*)
    OBJC_METHOD(NSURL*, initWithString, "initWithString:", const NSString*)
    OBJC_READONLY(NSString*, absoluteString)
    OBJC_READONLY(NSString*, scheme)
    OBJC_OVERRIDE(bool, isEqual, "isEqual:", NSObject*)
    OBJC_OVERRIDE(unsigned long, hash, "hash")

  private:
    Ref<NSString> _absoluteString;
    Ref<NSString> _scheme;
};
