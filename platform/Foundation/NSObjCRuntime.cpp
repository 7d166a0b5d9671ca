#include "Foundation/NSObjCRuntime.h"

#include <string>

#include "Foundation/NSString.h"

namespace {

// The last class found on this thread. Classes are never removed, so a found
// class can be answered again; a missing one is asked anew every time, since
// it may be registered later. The name object is kept, so that the same
// (immutable) string is known by its address before its bytes.
struct LastLookup {
    Ref<NSString> object;
    unsigned long hash = 0;
    std::string name;
    Class cls = Nil;
};

} // namespace

Class NSClassFromString(const NSString* name) {
    if (!name) return Nil;
    // Foundation is loaded with the program: its thread's storage is static.
    [[gnu::tls_model("initial-exec")]] thread_local LastLookup last;
    if (last.object.get() == name) return last.cls;
    if (last.cls && last.hash == name->utf8Hash() && last.name == name->utf8()) return last.cls;
    Class cls = classNamed(name->UTF8String());
    if (cls) last = {const_cast<NSString*>(name), name->utf8Hash(), name->utf8(), cls};
    return cls;
}
