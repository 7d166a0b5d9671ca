#include "KLPreferences/KLPSpecifierList.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSKeyValueCoding.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSNumber.h"
#include "Foundation/PropertyList.h"
#include "KLPreferences/KLPLinkCell.h"
#include "KLPreferences/KLPListCell.h"
#include "KLPreferences/KLPSegmentCell.h"
#include "KLPreferences/KLPSliderCell.h"
#include "KLPreferences/KLPSwitchCell.h"
#include "KLPreferences/KLPTextFieldCell.h"
#include "KLPreferences/KLPValueCell.h"

namespace fs = std::filesystem;

namespace {

// What building one list needs: where it came from, the files of the panes
// above it (a detail naming one of them is a cycle), and where warnings go.
struct Context {
    std::string source;
    fs::path folder;
    std::vector<std::string> open;
    std::vector<std::string>* warnings;
    // The controller being built, for the link rows that push its children.
    std::shared_ptr<KLPreferences*> owner = std::make_shared<KLPreferences*>(nullptr);
};

Ref<NSString> text(const std::string& utf8) {
    return NSString::stringWithUTF8String(utf8.c_str());
}

// One specifier's values, read by type; the first problem is kept.
class Specifier {
  public:
    explicit Specifier(NSDictionary* item) : item_(item) {}

    template <class T> T* get(const char* name, const char* kind) {
        NSObject* value = item_->objectForKey(text(name));
        if (!value) return nullptr;
        if (auto* typed = as<T>(value)) return typed;
        fail(std::string(name) + " is not " + kind);
        return nullptr;
    }
    NSString* string(const char* name) { return get<NSString>(name, "a string"); }
    NSArray* array(const char* name) { return get<NSArray>(name, "an array"); }
    NSObject* object(const char* name) { return item_->objectForKey(text(name)); }
    float number(const char* name, float fallback) {
        NSNumber* value = get<NSNumber>(name, "a number");
        return value ? value->floatValue() : fallback;
    }
    bool flag(const char* name, bool fallback) {
        NSNumber* value = get<NSNumber>(name, "a boolean");
        return value ? value->boolValue() : fallback;
    }
    NSString* label() { return string("label"); }
    const NSDictionary::Storage& entries() const { return item_->entries(); }
    NSDictionary* item() const { return item_; }

    void fail(const std::string& problem) {
        if (problem_.empty()) problem_ = problem;
    }
    bool ok() const { return problem_.empty(); }
    const std::string& problem() const { return problem_; }

  private:
    NSDictionary* item_;
    std::string problem_;
};

// ---- settings and rows

// The setting's key and store (the standard one without `defaults`); nil
// with a problem.
NSString* settingKey(Specifier& spec) {
    NSString* key = spec.string("key");
    if (!key && spec.ok()) spec.fail("a control needs a key");
    return key;
}

NSUserDefaults* settingStore(Specifier& spec) {
    NSString* domain = spec.string("defaults");
    if (!domain) return NSUserDefaults::standardUserDefaults();
    NSUserDefaults* store = KLPDefaultsForDomain(domain);
    if (!store) spec.fail("defaults \"" + domain->utf8() + "\" names no domain");
    return store;
}

Ref<KLPSettings> boundSetting(Specifier& spec, NSObject* fallback) {
    NSString* key = settingKey(spec);
    NSObject* defaultValue = spec.object("default");
    NSUserDefaults* store = settingStore(spec);
    if (!spec.ok()) return nullptr;
    return KLPSettings::settingsWithKey_defaults(key, defaultValue ? defaultValue : fallback,
                                                 store);
}

NSString* note(Specifier& spec) {
    return spec.string("PostNotification");
}

// validValues with their titles (the values themselves when no titles are
// given); false when they do not pair up.
bool choices(Specifier& spec, NSArray*& values, NSArray*& titles) {
    values = spec.array("validValues");
    titles = spec.array("validTitles");
    if (!values && spec.ok()) spec.fail("validValues is missing");
    if (!titles) titles = values;
    if (!spec.ok()) return false;
    if (values->count() != titles->count())
        spec.fail("validValues and validTitles differ in length");
    for (NSObject* title : *titles)
        if (!as<NSString>(title) && spec.ok()) spec.fail("validTitles holds a non-string");
    return spec.ok();
}

NSObject* firstOr(NSArray* values, NSObject* fallback) {
    return values->count() > 0 ? values->objectAtIndex(0) : fallback;
}

Ref<KLPCell> makeSwitch(Specifier& spec, Context&) {
    Ref<KLPSettings> setting = boundSetting(spec, NSNumber::numberWithBool(false));
    if (!setting) return nullptr;
    return KLPSwitchCell::cellWithTitle(spec.label(), setting, note(spec), nullptr);
}

Ref<KLPCell> makeSlider(Specifier& spec, Context&) {
    float min = spec.number("min", 0), max = spec.number("max", 1);
    bool showValue = spec.flag("showValue", true);
    if (min > max) spec.fail("min is above max");
    Ref<KLPSettings> setting = boundSetting(spec, NSNumber::numberWithFloat(min));
    if (!setting) return nullptr;
    Ref<KLPCell> cell =
        KLPSliderCell::cellWithTitle(spec.label(), setting, min, max, note(spec), nullptr);
    Ref<NSObject> valueLabel = valueForKey(cell, "vLabel"_ns);
    setValueForKey(valueLabel, NSNumber::numberWithBool(!showValue), "hidden"_ns);
    return cell;
}

Ref<KLPCell> makeSegment(Specifier& spec, Context&) {
    NSArray *values, *titles;
    if (!choices(spec, values, titles)) return nullptr;
    Ref<KLPSettings> setting = boundSetting(spec, firstOr(values, ""_ns));
    if (!setting) return nullptr;
    return KLPSegmentCell::cellWithTitle(spec.label(), setting, values, titles, note(spec),
                                         nullptr);
}

Ref<KLPCell> makeEditText(Specifier& spec, Context&) {
    NSString* placeholder = spec.string("placeholder");
    Ref<KLPSettings> setting = boundSetting(spec, ""_ns);
    if (!setting) return nullptr;
    return KLPTextFieldCell::cellWithTitle(spec.label(), setting, placeholder, note(spec), nullptr);
}

Ref<KLPCell> makeLinkList(Specifier& spec, Context&) {
    NSArray *values, *titles;
    if (!choices(spec, values, titles)) return nullptr;
    Ref<KLPSettings> setting = boundSetting(spec, firstOr(values, ""_ns));
    if (!setting) return nullptr;
    return KLPListCell::cellWithTitle(spec.label(), setting, titles, values, true, note(spec),
                                      nullptr);
}

Ref<NSString> shownValue(NSObject* value) {
    if (auto* string = as<NSString>(value)) return string;
    if (auto* number = as<NSNumber>(value)) return number->stringValue();
    return ""_ns;
}

// Shows the stored value; registers no default over a control's.
Ref<KLPCell> makeTitleValue(Specifier& spec, Context&) {
    NSString* key = settingKey(spec);
    NSUserDefaults* store = settingStore(spec);
    if (!spec.ok()) return nullptr;
    Ref<NSObject> stored = store->objectForKey(key);
    return KLPValueCell::cellWithTitle(spec.label(),
                                       shownValue(stored ? stored.get() : spec.object("default")));
}

Ref<KLPCell> makeButton(Specifier& spec, Context&) {
    Ref<NSString> name = note(spec);
    if (!spec.ok()) return nullptr;
    Ref<KLPCell> cell = KLPLinkCell::cellWithTitle(spec.label(), [name](NSObject* sender) {
        NSNotificationCenter::defaultCenter()->postNotificationName(name, sender);
    });
    cell->setAccessoryType(UITableViewCellAccessoryNone);
    return cell;
}

// The file a detail names, beside the list, with or without ".plist".
std::optional<fs::path> detailFile(const Context& context, const std::string& detail) {
    std::error_code ignored;
    for (const std::string& name : {detail, detail + ".plist"})
        if (fs::is_regular_file(context.folder / name, ignored))
            return fs::weakly_canonical(context.folder / name, ignored);
    return std::nullopt;
}

Ref<KLPreferences> childScreen(Specifier& spec, Context& context);

Ref<KLPCell> makeLink(Specifier& spec, Context& context) {
    Ref<KLPreferences> screen = childScreen(spec, context);
    if (!screen) return nullptr;
    return KLPLinkCell::cellWithTitle(spec.label(), [screen, owner = context.owner](NSObject*) {
        if (*owner) (*owner)->navigationController()->pushViewController(screen, true);
    });
}

Ref<KLPCell> makeStaticText(Specifier& spec, Context&) {
    return spec.ok() ? KLPCell::cellWithTitle(spec.label(), nullptr) : nullptr;
}

// Each cell type, with the keys it takes besides `cell` and `label`; a type
// whose keys start with "key" is a control bound to a setting.
struct CellType {
    std::string_view name;
    std::string_view keys;
    Ref<KLPCell> (*make)(Specifier&, Context&);
};

constexpr CellType kCellTypes[] = {
    {"PSGroupCell", "footerText", nullptr},
    {"PSSwitchCell", "key default defaults PostNotification", makeSwitch},
    {"PSSliderCell", "key default defaults PostNotification min max showValue", makeSlider},
    {"PSSegmentCell", "key default defaults PostNotification validValues validTitles", makeSegment},
    {"PSEditTextCell", "key default defaults PostNotification placeholder", makeEditText},
    {"PSLinkListCell", "key default defaults PostNotification validValues validTitles",
     makeLinkList},
    {"PSTitleValueCell", "key default defaults", makeTitleValue},
    {"PSButtonCell", "PostNotification", makeButton},
    {"PSLinkCell", "detail items title", makeLink},
    {"PSStaticTextCell", "", makeStaticText},
};

bool takesKey(const CellType& type, std::string_view key) {
    if (key == "cell" || key == "label") return true;
    std::string_view keys = type.keys;
    for (std::size_t at = 0; at <= keys.size();) {
        std::size_t end = std::min(keys.find(' ', at), keys.size());
        if (keys.substr(at, end - at) == key) return true;
        at = end + 1;
    }
    return false;
}

// The specifier's cell type, with its keys checked; nullptr with a problem.
const CellType* cellType(Specifier& spec) {
    NSString* cell = spec.string("cell");
    if (!cell) {
        spec.fail("cell is missing");
        return nullptr;
    }
    for (const CellType& type : kCellTypes)
        if (type.name == cell->utf8()) {
            for (const auto& [key, value] : spec.entries())
                if (!takesKey(type, key)) spec.fail("unknown key " + key);
            return &type;
        }
    spec.fail("unknown cell type " + cell->utf8());
    return nullptr;
}

// ---- the screen

// The sections as the items declare them: rows before the first group go
// into a section without titles.
class Screen {
  public:
    Screen(Context& context) : context_(context) {}

    void add(NSObject* entry, long index) {
        auto* item = as<NSDictionary>(entry);
        if (!item) return addPlain(index, nullptr, "the item is not a dictionary");
        Specifier spec(item);
        const CellType* type = cellType(spec);
        NSString* label = spec.label();
        if (type && !type->make && spec.ok()) return group(label, spec.string("footerText"));
        Ref<KLPCell> cell = type && spec.ok() ? type->make(spec, context_) : nullptr;
        if (!spec.ok() || !cell) return addPlain(index, label, spec.problem());
        current()->addCell(cell);
    }

    Ref<NSArray> sections() {
        Ref<NSMutableArray> all = NSMutableArray::array();
        for (const Ref<KLPSection>& section : sections_)
            all->addObject(section);
        return all;
    }

  private:
    void group(NSString* header, NSString* footer) {
        sections_.push_back(KLPSection::sectionWithTitle(header, footer));
    }
    KLPSection* current() {
        if (sections_.empty()) group(nullptr, nullptr);
        return sections_.back();
    }
    void addPlain(long index, NSString* label, const std::string& problem) {
        std::string where = context_.source + ": item " + std::to_string(index + 1);
        context_.warnings->push_back(where + ": " + problem + "; shown as a plain row");
        Ref<NSString> title =
            label ? Ref<NSString>(label) : text("Item " + std::to_string(index + 1));
        current()->addCell(KLPValueCell::cellWithTitle(title, text(problem)));
    }

    Context& context_;
    std::vector<Ref<KLPSection>> sections_;
};

Ref<UIColor> accentColor() {
    return UIColor::colorWithRed(209 / 255.0, 59 / 255.0, 87 / 255.0, 1);
}

// The screen of a list, or nil with the reason in `error`.
Ref<KLPreferences> screenFromRoot(NSObject* root, NSString* fallbackTitle, Context context,
                                  std::string& error) {
    auto* list = as<NSDictionary>(root);
    auto* items = list ? as<NSArray>(list->objectForKey("items"_ns)) : nullptr;
    if (!items) {
        error = context.source + (list ? ": no items array" : ": not a dictionary");
        return nullptr;
    }
    context.owner = std::make_shared<KLPreferences*>(nullptr);
    Screen screen(context);
    long index = 0;
    for (NSObject* item : *items)
        screen.add(item, index++);
    NSString* title = as<NSString>(list->objectForKey("title"_ns));
    Ref<KLPreferences> controller = KLPreferences::tableWithSections(
        screen.sections(), title ? title : fallbackTitle, accentColor());
    *context.owner = controller.get();
    return controller;
}

Ref<KLPreferences> screenFromFile(const fs::path& file, NSString* fallbackTitle, Context context,
                                  std::string& error) {
    context.source = file.filename().string();
    context.folder = file.parent_path();
    context.open.push_back(file.string());
    Ref<NSDictionary> contents;
    switch (readDictionaryFile(file.string(), contents, error)) {
    case PropertyListFile::Ok:
        return screenFromRoot(contents, fallbackTitle, context, error);
    case PropertyListFile::Missing:
        error = file.string() + ": no such file";
        return nullptr;
    default:
        return nullptr;
    }
}

Ref<KLPreferences> childScreen(Specifier& spec, Context& context) {
    NSString* detail = spec.string("detail");
    NSArray* items = spec.array("items");
    if (!spec.ok()) return nullptr;
    std::string error;
    Ref<KLPreferences> screen;
    std::optional<fs::path> file = detail ? detailFile(context, detail->utf8()) : std::nullopt;
    if (items)
        screen = screenFromRoot(spec.item(), spec.label(), context, error);
    else if (!detail)
        error = "a link needs a detail or items";
    else if (!file)
        error = "detail \"" + detail->utf8() + "\" names no file";
    else if (std::find(context.open.begin(), context.open.end(), file->string()) !=
             context.open.end())
        error = "detail \"" + detail->utf8() + "\" is already open above this pane";
    else
        screen = screenFromFile(*file, spec.label(), context, error);
    if (!screen) spec.fail(error);
    return screen;
}

} // namespace

KLPSpecifierList KLPSpecifierListFromFile(const std::string& path) {
    KLPSpecifierList result;
    Context context{.source = path, .folder = {}, .open = {}, .warnings = &result.warnings};
    std::error_code ignored;
    fs::path file = fs::weakly_canonical(path, ignored);
    result.controller = screenFromFile(file, text(file.stem().string()), context, result.error);
    return result;
}

KLPSpecifierList KLPSpecifierListFromDictionary(NSDictionary* list, const std::string& folder) {
    KLPSpecifierList result;
    Context context{.source = "(list)", .folder = folder, .open = {}, .warnings = &result.warnings};
    result.controller = screenFromRoot(list, "Preferences"_ns, context, result.error);
    return result;
}

NSUserDefaults* KLPDefaultsForDomain(NSString* domain) {
    if (!domain) return nullptr;
    if (domain->utf8() == mainBundleIdentifier()) return NSUserDefaults::standardUserDefaults();
    static std::mutex mutex;
    static auto* const stores = new std::map<std::string, Ref<NSUserDefaults>>;
    std::lock_guard lock(mutex);
    std::string file = devicePath("/var/mobile/Library/Preferences/" + domain->utf8() + ".plist");
    Ref<NSUserDefaults>& store = (*stores)[file];
    if (!store) store = make<NSUserDefaults>(&NSUserDefaults::initWithSuiteName, domain);
    return store;
}
