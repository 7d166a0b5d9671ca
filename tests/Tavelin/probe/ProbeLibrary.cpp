// A second injected library, as another developer's would be: at load it
// replaces a method in each layer through the runtime and counts what its
// replacements see. The tests read the counts through its exported symbols.
#include <cstdlib>
#include <objc/runtime.h>
#include <vector>

#include "Foundation/NSString.h"
#include "ObjectModel/Implementation.h"
#include "UIKit/CGGeometry.h"

#define PROBE_EXPORT __attribute__((visibility("default")))

extern "C" {
PROBE_EXPORT int probe_setMediaCoordCalls = 0;
PROBE_EXPORT std::vector<CGRect> probe_frames;
}

namespace {

IMP previousSetMediaCoord, previousSetFrame, previousBoolForKey;

void setMediaCoord(id self, SEL cmd, id coord) {
    ++probe_setMediaCoordCalls;
    fromIMP<void(id, SEL, id)>(previousSetMediaCoord)(self, cmd, coord);
}

void setFrame(id self, SEL cmd, CGRect frame) {
    probe_frames.push_back(frame);
    fromIMP<void(id, SEL, CGRect)>(previousSetFrame)(self, cmd, frame);
}

int cellHeight(id, SEL) {
    return 120;
}

// Velin Mode reads as on, whatever is stored.
bool boolForKey(id self, SEL cmd, id key) {
    auto* name = static_cast<NSString*>(key);
    return (name && name->utf8() == "TVLSWitch1") ||
           fromIMP<bool(id, SEL, id)>(previousBoolForKey)(self, cmd, key);
}

// Replaces the method that `cls` answers for the selector, keeping the old one.
IMP replace(Class cls, const char* selector, IMP replacement) {
    Method method = class_getInstanceMethod(cls, sel_registerName(selector));
    if (!method) std::abort();
    return method_setImplementation(method, replacement);
}

__attribute__((constructor)) void probe_init() {
    previousSetMediaCoord =
        replace(objc_getClass("IGPost"), "setMediaCoord:", toIMP(&setMediaCoord));
    previousSetFrame = replace(objc_getClass("UIView"), "setFrame:", toIMP(&setFrame));
    previousBoolForKey =
        replace(objc_getClass("NSUserDefaults"), "boolForKey:", toIMP(&boolForKey));
    replace(objc_getClass("KLPCell"), "height", toIMP(&cellHeight));
}

} // namespace
