#include "KLPreferences/KLPSpecifierList.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>

#include "Foundation/AtomicFile.h"
#include "Foundation/DeviceRoot.h"
#include "Foundation/NSKeyValueCoding.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSNumber.h"
#include "Foundation/PropertyList.h"
#include "KLPreferences/KLPDeveloperCell.h"
#include "KLPreferences/KLPLinkCell.h"
#include "KLPreferences/KLPListCell.h"
#include "KLPreferences/KLPSegmentCell.h"
#include "KLPreferences/KLPSliderCell.h"
#include "KLPreferences/KLPSwitchCell.h"
#include "KLPreferences/KLPTextFieldCell.h"
#include "KLPreferences/KLPValueCell.h"
#include "KLPreferences/KLPViewSection.h"
#include "ObjectModel/Message.h"

namespace fs = std::filesystem;

namespace {

// What building one list needs: where it came from, the files of the panes
// above it (a detail naming one of them is a cycle), and where warnings go.
struct Context {
    std::string source;
    fs::path folder;
    std::vector<std::string> open;
    std::vector<std::string>* warnings;
    std::string language = "en";
    Ref<NSDictionary> strings = nullptr; // the list's table in that language
    // The controller being built, for the link rows that push its children.
    std::shared_ptr<KLPreferences*> owner = std::make_shared<KLPreferences*>(nullptr);
};

Ref<NSString> text(const std::string& utf8) {
    return NSString::stringWithUTF8String(utf8.c_str());
}

NSString* translated(NSDictionary* strings, NSString* text) {
    auto* found = strings && text ? as<NSString>(strings->objectForKey(text)) : nullptr;
    return found ? found : text;
}

// One specifier's values, read by type; the first problem is kept.
class Specifier {
  public:
    Specifier(NSDictionary* item, NSDictionary* strings) : item_(item), strings_(strings) {}

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
    // A text shown to the user, as the strings table translates it.
    NSString* shown(const char* name) { return translated(strings_, string(name)); }
    // Texts shown to the user, each translated.
    Ref<NSArray> shown(NSArray* texts) {
        std::vector<NSObject*> out;
        for (NSObject* item : *texts)
            out.push_back(translated(strings_, as<NSString>(item)));
        return NSArray::arrayWithObjects(out.data(), out.size());
    }
    NSString* label() { return shown("label"); }
    const NSDictionary::Storage& entries() const { return item_->entries(); }
    NSDictionary* item() const { return item_; }

    void fail(const std::string& problem) {
        if (problem_.empty()) problem_ = problem;
    }
    bool ok() const { return problem_.empty(); }
    const std::string& problem() const { return problem_; }

  private:
    NSDictionary* item_;
    NSDictionary* strings_;
    std::string problem_;
};

// ---- settings and rows

// The setting's key and store (the standard one without `defaults`); nil
// with a problem.
NSString* settingKey(Specifier& specifier) {
    NSString* key = specifier.string("key");
    if (!key && specifier.ok()) specifier.fail("a control needs a key");
    return key;
}

NSUserDefaults* settingStore(Specifier& specifier) {
    NSString* domain = specifier.string("defaults");
    if (!domain) return NSUserDefaults::standardUserDefaults();
    NSUserDefaults* store = KLPDefaultsForDomain(domain);
    if (!store) specifier.fail("defaults \"" + domain->utf8() + "\" names no domain");
    return store;
}

Ref<KLPSettings> boundSetting(Specifier& specifier, NSObject* fallback) {
    NSString* key = settingKey(specifier);
    NSObject* defaultValue = specifier.object("default");
    NSUserDefaults* store = settingStore(specifier);
    if (!specifier.ok()) return nullptr;
    return KLPSettings::settingsWithKey_defaults(key, defaultValue ? defaultValue : fallback,
                                                 store);
}

NSString* note(Specifier& specifier) {
    return specifier.string("PostNotification");
}

// validValues with their titles as shown (the values themselves when no
// titles are given); nothing when they do not pair up.
struct Choices {
    NSArray* values;
    Ref<NSArray> titles;
};

std::optional<Choices> choices(Specifier& specifier) {
    NSArray* values = specifier.array("validValues");
    NSArray* titles = specifier.array("validTitles");
    if (!values && specifier.ok()) specifier.fail("validValues is missing");
    if (!titles) titles = values;
    if (!specifier.ok()) return std::nullopt;
    if (values->count() != titles->count())
        specifier.fail("validValues and validTitles differ in length");
    for (NSObject* title : *titles)
        if (!as<NSString>(title) && specifier.ok())
            specifier.fail("validTitles holds a non-string");
    if (!specifier.ok()) return std::nullopt;
    return Choices{values, specifier.shown(titles)};
}

NSObject* firstOr(NSArray* values, NSObject* fallback) {
    return values->count() > 0 ? values->objectAtIndex(0) : fallback;
}

Ref<KLPCell> makeSwitch(Specifier& specifier, Context&) {
    Ref<KLPSettings> setting = boundSetting(specifier, NSNumber::numberWithBool(false));
    if (!setting) return nullptr;
    return KLPSwitchCell::cellWithTitle(specifier.label(), setting, note(specifier), nullptr);
}

Ref<KLPCell> makeSlider(Specifier& specifier, Context&) {
    float min = specifier.number("min", 0), max = specifier.number("max", 1);
    bool showValue = specifier.flag("showValue", true);
    if (min > max) specifier.fail("min is above max");
    Ref<KLPSettings> setting = boundSetting(specifier, NSNumber::numberWithFloat(min));
    if (!setting) return nullptr;
    Ref<KLPCell> cell = KLPSliderCell::cellWithTitle(specifier.label(), setting, min, max,
                                                     note(specifier), nullptr);
    Ref<NSObject> valueLabel = valueForKey(cell, "vLabel"_ns);
    setValueForKey(valueLabel, NSNumber::numberWithBool(!showValue), "hidden"_ns);
    return cell;
}

Ref<KLPCell> makeSegment(Specifier& specifier, Context&) {
    std::optional<Choices> choice = choices(specifier);
    if (!choice) return nullptr;
    Ref<KLPSettings> setting = boundSetting(specifier, firstOr(choice->values, ""_ns));
    if (!setting) return nullptr;
    return KLPSegmentCell::cellWithTitle(specifier.label(), setting, choice->values, choice->titles,
                                         note(specifier), nullptr);
}

Ref<KLPCell> makeEditText(Specifier& specifier, Context&) {
    NSString* placeholder = specifier.string("placeholder");
    Ref<KLPSettings> setting = boundSetting(specifier, ""_ns);
    if (!setting) return nullptr;
    return KLPTextFieldCell::cellWithTitle(specifier.label(), setting, placeholder, note(specifier),
                                           nullptr);
}

Ref<KLPCell> makeLinkList(Specifier& specifier, Context&) {
    std::optional<Choices> choice = choices(specifier);
    if (!choice) return nullptr;
    Ref<KLPSettings> setting = boundSetting(specifier, firstOr(choice->values, ""_ns));
    if (!setting) return nullptr;
    return KLPListCell::cellWithTitle(specifier.label(), setting, choice->titles, choice->values,
                                      specifier.flag("popViewOnSelect", true), note(specifier),
                                      nullptr);
}

Ref<NSString> shownValue(NSObject* value) {
    if (auto* string = as<NSString>(value)) return string;
    if (auto* number = as<NSNumber>(value)) return number->stringValue();
    return ""_ns;
}

// Shows the stored value, or without a key its default; registers no
// default over a control's.
Ref<KLPCell> makeTitleValue(Specifier& specifier, Context&) {
    NSString* key = specifier.string("key");
    NSUserDefaults* store = settingStore(specifier);
    if (!specifier.ok()) return nullptr;
    Ref<NSObject> stored = key ? store->objectForKey(key) : nullptr;
    return KLPValueCell::cellWithTitle(
        specifier.label(), shownValue(stored ? stored.get() : specifier.object("default")));
}

// A row that posts its PostNotification, the row as its object, when tapped.
Ref<KLPCell> postingRow(Specifier& specifier) {
    Ref<NSString> name = note(specifier);
    if (!specifier.ok()) return nullptr;
    return KLPLinkCell::cellWithTitle(specifier.label(), [name](NSObject* sender) {
        NSNotificationCenter::defaultCenter()->postNotificationName(name, sender);
    });
}

Ref<KLPCell> makeButton(Specifier& specifier, Context&) {
    Ref<KLPCell> cell = postingRow(specifier);
    if (cell) cell->setAccessoryType(UITableViewCellAccessoryNone);
    return cell;
}

// A link to a web address, with a subtitle and an icon (a device path).
Ref<KLPCell> webLink(Specifier& specifier, NSString* url) {
    NSString* subtitle = specifier.shown("subtitle");
    NSString* icon = specifier.string("icon");
    if (!specifier.ok()) return nullptr;
    return KLPDeveloperCell::cellWithTitle(specifier.label(), subtitle,
                                           icon ? UIImage::imageNamed(icon) : nullptr, url);
}

// The file a detail names, beside the list, with or without ".plist".
std::optional<fs::path> detailFile(const Context& context, const std::string& detail) {
    std::error_code ignored;
    for (const std::string& name : {detail, detail + ".plist"})
        if (fs::is_regular_file(context.folder / name, ignored))
            return fs::weakly_canonical(context.folder / name, ignored);
    return std::nullopt;
}

Ref<KLPreferences> childScreen(Specifier& specifier, Context& context);

// A link opens a pane (`detail` or `items`), a web address (`url`), or
// leaves the tap to whoever observes its PostNotification.
Ref<KLPCell> makeLink(Specifier& specifier, Context& context) {
    if (NSString* url = specifier.string("url")) return webLink(specifier, url);
    if (!specifier.object("detail") && !specifier.object("items") && note(specifier))
        return postingRow(specifier);
    Ref<KLPreferences> screen = childScreen(specifier, context);
    if (!screen) return nullptr;
    return KLPLinkCell::cellWithTitle(
        specifier.label(), [screen, owner = context.owner](NSObject*) {
            if (*owner) (*owner)->navigationController()->pushViewController(screen, true);
        });
}

Ref<KLPCell> makeStaticText(Specifier& specifier, Context&) {
    return specifier.ok() ? KLPCell::cellWithTitle(specifier.label(), nullptr) : nullptr;
}

// Each cell type, with the keys it takes besides `cell` and `label`; a type
// whose keys start with "key" is a control bound to a setting.
struct CellType {
    std::string_view name;
    std::string_view keys;
    Ref<KLPCell> (*make)(Specifier&, Context&);
};

constexpr CellType kCellTypes[] = {
    {"PSGroupCell", "footerText headerText height", nullptr},
    {"PSSwitchCell", "key default defaults PostNotification", makeSwitch},
    {"PSSliderCell", "key default defaults PostNotification min max showValue", makeSlider},
    {"PSSegmentCell", "key default defaults PostNotification validValues validTitles", makeSegment},
    {"PSEditTextCell", "key default defaults PostNotification placeholder", makeEditText},
    {"PSLinkListCell",
     "key default defaults PostNotification validValues validTitles popViewOnSelect", makeLinkList},
    {"PSTitleValueCell", "key default defaults", makeTitleValue},
    {"PSButtonCell", "PostNotification", makeButton},
    {"PSLinkCell", "detail items title url subtitle icon PostNotification", makeLink},
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
const CellType* cellType(Specifier& specifier) {
    NSString* cell = specifier.string("cell");
    if (!cell) {
        specifier.fail("cell is missing");
        return nullptr;
    }
    for (const CellType& type : kCellTypes)
        if (type.name == cell->utf8()) {
            for (const auto& [key, value] : specifier.entries())
                if (!takesKey(type, key)) specifier.fail("unknown key " + key);
            return &type;
        }
    specifier.fail("unknown cell type " + cell->utf8());
    return nullptr;
}

// ---- the screen

constexpr float kBannerHeight = 60;
constexpr long kBannerTag = 1;

// A section of one row that shows the text centred.
Ref<KLPSection> bannerSection(NSString* text, float height) {
    Ref<NSString> shown = text;
    return KLPViewSection::sectionWithHeight(
        static_cast<int>(height),
        [shown](UITableViewCell* cell) {
            Ref<UILabel> label = UILabel::labelWithFrame(CGRectZero);
            label->setText(shown);
            label->setTextAlignment(NSTextAlignmentCenter);
            label->setTag(kBannerTag);
            send(cell->contentView(), "addSubview:"_sel, static_cast<UIView*>(label));
        },
        [](UITableViewCell* cell) {
            if (UIView* label = cell->contentView()->viewWithTag(kBannerTag))
                label->setFrame(cell->contentView()->bounds());
        });
}

// The sections as the items declare them: rows before the first group go
// into a section without titles.
class Screen {
  public:
    Screen(Context& context) : context_(context) {}

    void add(NSObject* entry, long index) {
        auto* item = as<NSDictionary>(entry);
        if (!item) return addPlain(index, nullptr, "the item is not a dictionary");
        Specifier specifier(item, context_.strings);
        const CellType* type = cellType(specifier);
        NSString* label = specifier.label();
        if (type && !type->make && specifier.ok()) return group(specifier, label, index);
        Ref<KLPCell> cell = type && specifier.ok() ? type->make(specifier, context_) : nullptr;
        if (!specifier.ok() || !cell) return addPlain(index, label, specifier.problem());
        current()->addCell(cell);
    }

    Ref<NSArray> sections() {
        Ref<NSMutableArray> all = NSMutableArray::array();
        for (const Ref<KLPSection>& section : sections_)
            all->addObject(section);
        return all;
    }

  private:
    void group(Specifier& specifier, NSString* label, long index) {
        NSString* banner = specifier.shown("headerText");
        float height = specifier.number("height", kBannerHeight);
        if (!specifier.ok()) return addPlain(index, label, specifier.problem());
        if (banner) return sections_.push_back(bannerSection(banner, height));
        sections_.push_back(KLPSection::sectionWithTitle(label, specifier.shown("footerText")));
    }
    // Rows after a banner start a section without titles.
    KLPSection* current() {
        if (sections_.empty() || as<KLPViewSection>(sections_.back().get()))
            sections_.push_back(KLPSection::sectionWithTitle(nullptr, nullptr));
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

// A table's text: UTF-16 after a byte-order mark of either order, else
// UTF-8; nil when malformed.
Ref<NSString> stringsText(const std::string& bytes) {
    bool utf16 = bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
    return make<NSString>(&NSString::initWithBytes, bytes.data(), bytes.size(),
                          utf16 ? NSUTF16StringEncoding : NSUTF8StringEncoding);
}

// The list's table in the language's folder beside it, or nil; a table that
// cannot be read or parsed (no regular file, too large, malformed) is a
// warning, and the texts show as written.
Ref<NSDictionary> stringsTable(const fs::path& file, const Context& context) {
    fs::path table =
        file.parent_path() / (context.language + ".lproj") / (file.stem().string() + ".strings");
    FileRead kind = FileRead::Ok;
    Result<std::string> bytes = readFile(table.string(), kPropertyListMaxBytes, kind);
    if (kind == FileRead::Missing) return nullptr;
    Ref<NSString> text = bytes ? stringsText(*bytes) : nullptr;
    Result<Ref<NSObject>> parsed = Problem{bytes ? "malformed UTF-16" : bytes.problem()};
    if (text) parsed = readOpenStepPropertyList("{" + text->utf8() + "}");
    Ref<NSDictionary> strings = parsed ? as<NSDictionary>(parsed->get()) : nullptr;
    if (!strings)
        context.warnings->push_back(table.filename().string() + ": " +
                                    (parsed ? "" : parsed.problem()) + "; texts shown as written");
    return strings;
}

// Languages of right-to-left scripts, by the code's first part ("ar", "he_IL").
bool readsRightToLeft(const std::string& language) {
    std::string code = language.substr(0, language.find_first_of("_-"));
    return code == "ar" || code == "he" || code == "fa" || code == "ur";
}

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
    NSString* title = translated(context.strings, as<NSString>(list->objectForKey("title"_ns)));
    Ref<KLPreferences> controller = KLPreferences::tableWithSections(
        screen.sections(), title ? title : fallbackTitle, accentColor());
    *context.owner = controller.get();
    if (readsRightToLeft(context.language))
        controller->view()->setSemanticContentAttribute(UISemanticContentAttributeForceRightToLeft);
    return controller;
}

Ref<KLPreferences> screenFromFile(const fs::path& file, NSString* fallbackTitle, Context context,
                                  std::string& error) {
    context.source = file.filename().string();
    context.folder = file.parent_path();
    context.open.push_back(file.string());
    context.strings = stringsTable(file, context);
    PropertyListFile kind = PropertyListFile::Ok;
    Result<Ref<NSDictionary>> contents = readDictionaryFile(file.string(), kind);
    if (contents) return screenFromRoot(contents->get(), fallbackTitle, context, error);
    error =
        kind == PropertyListFile::Missing ? file.string() + ": no such file" : contents.problem();
    return nullptr;
}

Ref<KLPreferences> childScreen(Specifier& specifier, Context& context) {
    NSString* detail = specifier.string("detail");
    NSArray* items = specifier.array("items");
    if (!specifier.ok()) return nullptr;
    std::string error;
    Ref<KLPreferences> screen;
    std::optional<fs::path> file = detail ? detailFile(context, detail->utf8()) : std::nullopt;
    if (items)
        screen = screenFromRoot(specifier.item(), specifier.label(), context, error);
    else if (!detail)
        error = "a link needs a detail, items, a url or a PostNotification";
    else if (!file)
        error = "detail \"" + detail->utf8() + "\" names no file";
    else if (std::find(context.open.begin(), context.open.end(), file->string()) !=
             context.open.end())
        error = "detail \"" + detail->utf8() + "\" is already open above this pane";
    else
        screen = screenFromFile(*file, specifier.label(), context, error);
    if (!screen) specifier.fail(error);
    return screen;
}

} // namespace

KLPSpecifierList KLPSpecifierListFromFile(const std::string& path, const std::string& language) {
    KLPSpecifierList result;
    Context context{.source = path,
                    .folder = {},
                    .open = {},
                    .warnings = &result.warnings,
                    .language = language};
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
