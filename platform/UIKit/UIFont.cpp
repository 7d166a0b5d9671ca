#include "UIKit/UIFont.h"

#include <algorithm>
#include <cmath>
#include <fontconfig/fontconfig.h>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ObjectModel/ClassBuilder.h"

namespace {

struct Resolved {
    std::string family;
    std::string file;
};

std::string lowercase(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return out;
}

std::vector<std::string> familiesOf(FcPattern* pattern) {
    std::vector<std::string> families;
    FcChar8* family = nullptr;
    for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &family) == FcResultMatch; ++i)
        families.push_back(lowercase(reinterpret_cast<const char*>(family)));
    return families;
}

// The families that stand for the name: the name itself and the aliases that
// fontconfig's configuration binds strongly to it (metric-compatible ones),
// not the weak fallbacks it adds for any name.
std::vector<std::string> acceptedFamilies(FcPattern* substituted, bool acceptGeneric) {
    std::vector<std::string> accepted;
    FcValue value;
    FcValueBinding binding;
    for (int i = 0;
         FcPatternGetWithBinding(substituted, FC_FAMILY, i, &value, &binding) == FcResultMatch;
         ++i) {
        if (value.type != FcTypeString) continue;
        if (binding == FcValueBindingWeak && !acceptGeneric) continue;
        accepted.push_back(lowercase(reinterpret_cast<const char*>(value.u.s)));
    }
    return accepted;
}

std::optional<Resolved> matchFamily(const std::string& name, bool acceptGeneric) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    std::vector<std::string> accepted = acceptedFamilies(pattern, acceptGeneric);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return std::nullopt;
    std::optional<Resolved> found;
    for (const std::string& family : familiesOf(match)) {
        if (std::find(accepted.begin(), accepted.end(), family) == accepted.end()) continue;
        FcChar8* file = nullptr;
        FcChar8* display = nullptr;
        FcPatternGetString(match, FC_FILE, 0, &file);
        FcPatternGetString(match, FC_FAMILY, 0, &display);
        found = Resolved{reinterpret_cast<const char*>(display),
                         file ? reinterpret_cast<const char*>(file) : ""};
        break;
    }
    FcPatternDestroy(match);
    return found;
}

// Looks a family up once per name and process.
std::optional<Resolved> resolve(std::string_view name, bool acceptGeneric) {
    static std::mutex mutex;
    static std::map<std::string, std::optional<Resolved>, std::less<>> cache;
    std::string key = lowercase(name);
    std::lock_guard lock(mutex);
    if (auto hit = cache.find(key); hit != cache.end()) return hit->second;
    return cache.emplace(key, matchFamily(key, acceptGeneric)).first->second;
}

constexpr std::string_view kSystemFamily = "sans-serif";

} // namespace

Ref<UIFont> UIFont::fontWithNameImp(Class cls, const NSString* name, CGFloat size) {
    return make<UIFont>(cls, &UIFont::initWithName, name, size);
}

Ref<UIFont> UIFont::systemFontOfSizeImp(Class cls, CGFloat size) {
    return make<UIFont>(cls, &UIFont::initWithName, "sans-serif"_ns, size);
}

UIFont* UIFont::initWithNameImp(const NSString* name, CGFloat size) {
    if (!sendSuper<NSObject*>(this, NSObject::objcClass(), "init"_sel)) return nullptr;
    if (!name || name->length() == 0 || !(size > 0) || !std::isfinite(size)) return nullptr;
    std::optional<Resolved> resolved = resolve(name->utf8(), name->utf8() == kSystemFamily);
    if (!resolved) return nullptr;
    _fontName = NSString::string(name->utf8());
    _familyName = NSString::string(resolved->family);
    _filePath = NSString::string(resolved->file);
    _pointSize = size;
    return this;
}

OBJC_IMPLEMENT_LOADED_CLASS(UIFont)
