#include "Foundation/NSKeyValueCoding.h"

#include <cstring>
#include <objc/runtime.h>
#include <string>

#include "Foundation/NSException.h"
#include "Foundation/NSNumber.h"
#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

namespace {

// One scalar type: boxed from a getter or from memory, unboxed into a setter
// or into memory.
struct Scalar {
    char code;
    Ref<NSObject> (*get)(id, SEL);
    Ref<NSObject> (*load)(const char*);
    void (*set)(id, SEL, NSNumber*);
    void (*store)(char*, NSNumber*);
};

template <class T, auto Box, auto Unbox> struct ScalarOf {
    static Ref<NSObject> get(id object, SEL sel) { return Box(send<T>(object, sel)); }
    static Ref<NSObject> load(const char* at) {
        T value;
        std::memcpy(&value, at, sizeof value);
        return Box(value);
    }
    static void set(id object, SEL sel, NSNumber* number) {
        send<void>(object, sel, static_cast<T>((number->*Unbox)()));
    }
    static void store(char* at, NSNumber* number) {
        T value = static_cast<T>((number->*Unbox)());
        std::memcpy(at, &value, sizeof value);
    }
    static constexpr Scalar with(char code) { return {code, &get, &load, &set, &store}; }
};

Ref<NSObject> boxBool(bool v) {
    return NSNumber::numberWithBool(v);
}
Ref<NSObject> boxInt(int v) {
    return NSNumber::numberWithInt(v);
}
Ref<NSObject> boxLong(long long v) {
    return NSNumber::numberWithLongLong(v);
}
Ref<NSObject> boxFloat(float v) {
    return NSNumber::numberWithFloat(v);
}
Ref<NSObject> boxDouble(double v) {
    return NSNumber::numberWithDouble(v);
}

constexpr Scalar kScalars[] = {
    ScalarOf<bool, boxBool, &NSNumber::boolValue>::with('B'),
    ScalarOf<int, boxInt, &NSNumber::intValue>::with('i'),
    ScalarOf<long, boxLong, &NSNumber::longLongValue>::with('q'),
    ScalarOf<float, boxFloat, &NSNumber::floatValue>::with('f'),
    ScalarOf<double, boxDouble, &NSNumber::doubleValue>::with('d'),
};

const Scalar* scalarFor(char code) {
    for (const Scalar& scalar : kScalars)
        if (scalar.code == code) return &scalar;
    return nullptr;
}

[[noreturn]] void raise(const char* name, id object, const std::string& what) {
    throw NSException(name, std::string("[<") + object_getClassName(object) + "> " + what + "]");
}

[[noreturn]] void undefinedKey(id object, const char* method, NSString* key) {
    raise(NSUndefinedKeyException, object,
          std::string(method) + ": this class is not key value coding-compliant for the key " +
              (key ? key->UTF8String() : "(nil)"));
}

std::string capitalised(const std::string& key) {
    std::string out = key;
    if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') out[0] = char(out[0] - 'a' + 'A');
    return out;
}

Method instanceMethod(id object, const std::string& name, SEL& sel) {
    sel = sel_registerName(name.c_str());
    return class_getInstanceMethod(object->class_pointer, sel);
}

Ivar underscoreIvar(id object, const std::string& key) {
    return class_getInstanceVariable(object->class_pointer, ("_" + key).c_str());
}

char* ivarAddress(id object, Ivar ivar) {
    return reinterpret_cast<char*>(object) + ivar_getOffset(ivar);
}

Ref<NSObject> objectFromGetter(id object, SEL sel) {
    if (implementationRetainsResult(objc_msg_lookup(object, sel)))
        return send<Ref<NSObject>>(object, sel);
    return send<NSObject*>(object, sel);
}

Ref<NSObject> valueOfKind(id object, char code, SEL sel, const char* method, NSString* key) {
    if (code == '@') return objectFromGetter(object, sel);
    if (const Scalar* scalar = scalarFor(code)) return scalar->get(object, sel);
    undefinedKey(object, method, key);
}

Ref<NSObject> ivarValue(id object, Ivar ivar, NSString* key) {
    char code = ivar_getTypeEncoding(ivar)[0];
    char* at = ivarAddress(object, ivar);
    if (code == '@') return *reinterpret_cast<NSObject**>(at);
    if (const Scalar* scalar = scalarFor(code)) return scalar->load(at);
    undefinedKey(object, "valueForUndefinedKey:", key);
}

Retained<NSObject> valueForKeyImp(id self, SEL, NSString* key) {
    std::string name = key ? key->utf8() : std::string();
    SEL sel;
    for (const std::string& getter : {name, "is" + capitalised(name)})
        if (Method method = key ? instanceMethod(self, getter, sel) : nullptr) {
            char code[8];
            method_getReturnType(method, code, sizeof code);
            return valueOfKind(self, code[0], sel, "valueForUndefinedKey:", key).retained();
        }
    if (Ivar ivar = key ? underscoreIvar(self, name) : nullptr)
        return ivarValue(self, ivar, key).retained();
    undefinedKey(self, "valueForUndefinedKey:", key);
}

NSNumber* numberFor(id object, NSObject* value, NSString* key) {
    if (auto* number = as<NSNumber>(value)) return number;
    raise(NSInvalidArgumentException, object,
          std::string("setValue:forKey: needs a number for the key ") + key->UTF8String());
}

void storeObject(char* at, NSObject* value) {
    Ref<NSObject> old = Ref<NSObject>::adopt(*reinterpret_cast<NSObject**>(at));
    *reinterpret_cast<NSObject**>(at) = Ref<NSObject>(value).leak();
}

void setKind(id self, char code, NSObject* value, NSString* key, SEL sel, char* at) {
    if (code == '@') {
        if (at)
            storeObject(at, value);
        else
            send<void>(self, sel, value);
        return;
    }
    const Scalar* scalar = scalarFor(code);
    if (!scalar) undefinedKey(self, "setValue:forUndefinedKey:", key);
    NSNumber* number = numberFor(self, value, key);
    if (at)
        scalar->store(at, number);
    else
        scalar->set(self, sel, number);
}

void setValueForKeyImp(id self, SEL, NSObject* value, NSString* key) {
    if (!key) undefinedKey(self, "setValue:forUndefinedKey:", key);
    std::string name = key->utf8();
    SEL sel;
    if (Method method = instanceMethod(self, "set" + capitalised(name) + ":", sel)) {
        char code[8];
        method_getArgumentType(method, 2, code, sizeof code);
        return setKind(self, code[0], value, key, sel, nullptr);
    }
    if (Ivar ivar = underscoreIvar(self, name))
        return setKind(self, ivar_getTypeEncoding(ivar)[0], value, key, nullptr,
                       ivarAddress(self, ivar));
    undefinedKey(self, "setValue:forUndefinedKey:", key);
}

void installKeyValueCoding() {
    static const bool installed = [] {
        Class root = NSObject::objcClass();
        noteRetainedResult(toIMP(&valueForKeyImp));
        class_addMethod(root, sel_registerName("valueForKey:"), toIMP(&valueForKeyImp),
                        encoding<Retained<NSObject>, NSString*>());
        class_addMethod(root, sel_registerName("setValue:forKey:"), toIMP(&setValueForKeyImp),
                        encoding<void, NSObject*, NSString*>());
        return true;
    }();
    (void)installed;
}

[[maybe_unused]] const bool installedAtLoad = (installKeyValueCoding(), true);

} // namespace

Ref<NSObject> valueForKey(NSObject* object, NSString* key) {
    installKeyValueCoding();
    return send<Ref<NSObject>>(object, "valueForKey:"_sel, key);
}

void setValueForKey(NSObject* object, NSObject* value, NSString* key) {
    installKeyValueCoding();
    send<void>(object, "setValue:forKey:"_sel, value, key);
}
