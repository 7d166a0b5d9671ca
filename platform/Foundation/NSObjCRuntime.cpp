#include "Foundation/NSObjCRuntime.h"

#include "Foundation/NSString.h"

Class NSClassFromString(const NSString* name) {
    return name ? classNamed(name->UTF8String()) : Nil;
}
