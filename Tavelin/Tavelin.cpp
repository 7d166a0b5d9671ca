// Tavelin: replaces methods of the host's classes by name when the loader maps
// the library, filters the main feed and gates each post's mediaCoord on the
// "TVLSWitch1" setting, and adds a settings button that opens the library's
// preferences screen to the host's account settings.
#include <cstdlib>
#include <objc/runtime.h>
#include <vector>

#include "Foundation/NSArray.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSObjCRuntime.h"
#include "Foundation/NSString.h"
#include "Foundation/NSUserDefaults.h"
#include "KLPreferences/KLPDeveloperCell.h"
#include "KLPreferences/KLPSwitchCell.h"
#include "KLPreferences/KLPViewSection.h"
#include "KLPreferences/KLPreferences.h"
#include "ObjectModel/Implementation.h"
#include "ObjectModel/Message.h"
#include "UIKit/UIBarButtonItem.h"
#include "UIKit/UIFont.h"
#include "UIKit/UILabel.h"

#define EXPORTED __attribute__((visibility("default")))
#define TAVELIN_EXPORT extern "C" EXPORTED

// Object results leave the replacements as one pointer in a register, as a C
// function's object pointer does.
static_assert(sizeof(Retained<NSObject>) == sizeof(id) &&
              sizeof(Retained<NSMutableArray>) == sizeof(id));

// Hook slots: empty at load, written once by local_init, only read afterwards.
extern "C" {
EXPORTED Class superclass_IGAccountSettingsViewController = Nil;
EXPORTED IMP orig_IGAccountSettingsViewController_viewDidLoad = nullptr;
EXPORTED Class superclass_IGPost = Nil;
EXPORTED IMP orig_IGPost_mediaCoord = nullptr;
EXPORTED IMP orig_IGPost_setMediaCoord = nullptr;
EXPORTED Class superclass_IGMainFeedListAdapterDataSource = Nil;
EXPORTED IMP orig_IGMainFeedListAdapterDataSource_objectsForListAdapter = nullptr;
}

namespace {

// The implementation a hooked method had before, looked up on every call: the
// slot's, or what the recorded superclass answers at this moment.
template <class Function> Function* previous(IMP slot, Class superclass, SEL selector) {
    return fromIMP<Function>(slot ? slot : class_getMethodImplementation(superclass, selector));
}

bool velinMode() {
    return NSUserDefaults::standardUserDefaults()->boolForKey("TVLSWitch1"_ns);
}

// The class itself defines the selector: the slot gets the implementation
// first, then the one that the switch displaced.
void replaceOwn(Method method, IMP replacement, IMP* slot) {
    *slot = method_getImplementation(method);
    *slot = method_setImplementation(method, replacement);
}

// The first method of `list` named `selector`, or nullptr.
Method findMethod(Method* list, unsigned int count, SEL selector) {
    for (unsigned int i = 0; i < count; ++i)
        if (sel_isEqual(method_getName(list[i]), selector)) return list[i];
    return nullptr;
}

} // namespace

// Installs `replacement` for `selector` on `cls`: over the class's own method
// (keeping the displaced one in `slot`), or as a new method of the class when
// only an ancestor defines it (the slot stays empty).
TAVELIN_EXPORT void register_hook(Class cls, SEL selector, IMP replacement, IMP* slot) {
    for (Class searched = cls; searched; searched = class_getSuperclass(searched)) {
        unsigned int count = 0;
        Method* methods = class_copyMethodList(searched, &count);
        Method found = findMethod(methods, count, selector);
        if (found && searched == cls) replaceOwn(found, replacement, slot);
        if (found && searched != cls)
            class_addMethod(cls, selector, replacement, method_getTypeEncoding(found));
        free(methods);
        if (found) return;
    }
}

// Feed and post hooks.

TAVELIN_EXPORT Retained<NSObject> method_IGPost_mediaCoord(id self, SEL _cmd) {
    if (velinMode()) return {};
    return previous<Retained<NSObject>(id, SEL)>(orig_IGPost_mediaCoord, superclass_IGPost,
                                                 "mediaCoord"_sel)(self, _cmd);
}

TAVELIN_EXPORT void method_IGPost_setMediaCoord(id self, SEL _cmd, id coord) {
    if (velinMode()) return;
    previous<void(id, SEL, id)>(orig_IGPost_setMediaCoord, superclass_IGPost,
                                "setMediaCoord:"_sel)(self, _cmd, coord);
}

namespace {

// `feedItem` names the class, looked up again for each object.
bool isSponsoredFeedItem(NSObject* object, NSString* feedItem) {
    if (!send<bool>(object, "isKindOfClass:"_sel, NSClassFromString(feedItem))) return false;
    return send<bool>(object, "isSponsored"_sel) || send<bool>(object, "isSponsoredApp"_sel);
}

} // namespace

TAVELIN_EXPORT Retained<NSMutableArray>
method_IGMainFeedListAdapterDataSource_objectsForListAdapter(id self, SEL _cmd, id listAdapter) {
    Ref<NSArray> hostObjects = previous<Retained<NSArray>(id, SEL, id)>(
        orig_IGMainFeedListAdapterDataSource_objectsForListAdapter,
        superclass_IGMainFeedListAdapterDataSource,
        "objectsForListAdapter:"_sel)(self, _cmd, listAdapter);
    std::vector<NSObject*> shown;
    if (hostObjects) {
        shown.reserve(hostObjects->count());
        NSString* feedItem = "IGFeedItem"_ns;
        for (NSObject* object : *hostObjects)
            if (!isSponsoredFeedItem(object, feedItem)) shown.push_back(object);
    }
    // One message for the whole result, not one addObject: per object.
    return send<Ref<NSMutableArray>>(NSMutableArray::objcClass(), "arrayWithObjects:count:"_sel,
                                     static_cast<NSObject* const*>(shown.data()),
                                     NSUInteger{shown.size()})
        .retained();
}

// Settings entry and settings screen.

namespace {

constexpr const char* kBundle =
    TAVELIN_JB_PREFIX "/Library/Application Support/Tavelin/Tavelin.bundle/";

// Each quotient in single precision, as the device computes it; a new colour
// for every use.
Ref<UIColor> accentColor() {
    return UIColor::colorWithRed(209.0f / 255.0f, 59.0f / 255.0f, 87.0f / 255.0f, 1.0);
}

Ref<UIImage> bundleImage(const char* name) {
    return UIImage::imageNamed(NSString::string(std::string(kBundle) + name));
}

Ref<UIBarButtonItem> barButton(const char* imageName, id target, SEL action) {
    return make<UIBarButtonItem>(&UIBarButtonItem::initWithImage, bundleImage(imageName).get(),
                                 long{UIBarButtonItemStylePlain}, target, action);
}

void setRightBarButton(id controller, UIBarButtonItem* item) {
    Ref<UINavigationItem> navigationItem =
        send<Ref<UINavigationItem>>(controller, "navigationItem"_sel);
    send(navigationItem.get(), "setRightBarButtonItem:"_sel, item);
}

constexpr long kHeaderLabelTag = 9;

void headerInit(UITableViewCell* cell) {
    cell->setBackgroundColor(UIColor::clearColor());
    Ref<UILabel> label = UILabel::labelWithFrame(CGRectZero);
    label->setFont(UIFont::fontWithName("arial"_ns, 55.0));
    label->setText("Tavelin"_ns);
    label->setTextColor(accentColor());
    label->setTextAlignment(NSTextAlignmentCenter);
    label->setTag(kHeaderLabelTag);
    send(cell->contentView(), "addSubview:"_sel, static_cast<UIView*>(label.get()));
}

void headerLayout(UITableViewCell* cell) {
    UIView* label = cell->contentView()->viewWithTag(kHeaderLabelTag);
    if (label) label->setFrame(CGRectMake(0, -5, cell->frame().size.width, 60));
}

// The English sentence, a line feed, a space and the same in Arabic (61
// characters in ten words): 131 UTF-16 units.
constexpr const char* kVelinFooter =
    "Explore Instagram timeline without knowing photos and videos owners \n"
    " تصفح الخط الزمني لإنستغرام دون أن تعرف أصحاب الصور والفيديوات";

Ref<KLPDeveloperCell> creditsCell(const char* title, const char* detail, const char* image,
                                  const char* url) {
    return KLPDeveloperCell::cellWithTitle(NSString::string(title), NSString::string(detail),
                                           bundleImage(image), NSString::string(url));
}

Ref<KLPreferences> preferencesScreen() {
    Ref<KLPViewSection> header = KLPViewSection::sectionWithHeight(70, &headerInit, &headerLayout);
    Ref<KLPSection> velin =
        KLPSection::sectionWithTitle("Tavelin Preferences"_ns, NSString::string(kVelinFooter));
    Ref<KLPSettings> setting =
        KLPSettings::settingsWithKey("TVLSWitch1"_ns, NSNumber::numberWithBool(false));
    Ref<KLPSwitchCell> velinSwitch =
        KLPSwitchCell::cellWithTitle("Velin Mode"_ns, setting, nullptr, nullptr);
    velinSwitch->switchView()->setOnTintColor(accentColor());
    velin->addCell(velinSwitch);
    Ref<KLPSection> developer = KLPSection::sectionWithTitle("Developer"_ns, nullptr);
    developer->addCell(
        creditsCell("TorvenAskel", "TorvenAK", "torvenAK.png", "https://instagram.com/torvenak"));
    developer->addCell(creditsCell("Donate via paypal", "PayPal", "PrefsDonate.png",
                                   "https://paypal.me/torvenak"));
    Ref<KLPSection> thanks = KLPSection::sectionWithTitle("special thanks"_ns, "🌹"_ns);
    thanks->addCell(creditsCell("Navro", "@navrokelmasuti", "Navro.png",
                                "https://instagram.com/navrokelmasuti"));
    Ref<NSArray> sections =
        NSArray::arrayWithObjects({header.get(), velin.get(), developer.get(), thanks.get()});
    return KLPreferences::tableWithSections(sections, "Tavelin"_ns, accentColor());
}

} // namespace

TAVELIN_EXPORT void method_IGAccountSettingsViewController_viewDidLoad(id self, SEL _cmd) {
    previous<void(id, SEL)>(orig_IGAccountSettingsViewController_viewDidLoad,
                            superclass_IGAccountSettingsViewController,
                            "viewDidLoad"_sel)(self, _cmd);
    setRightBarButton(self, barButton("setting.png", self, "isTapped:"_sel));
}

TAVELIN_EXPORT void method_IGAccountSettingsViewController_isTapped(id self, SEL, id) {
    Ref<KLPreferences> screen = preferencesScreen();
    setRightBarButton(screen.get(), barButton("heart.png", self, nullptr));
    Ref<NSObject> navigation = send<Ref<NSObject>>(self, "navigationController"_sel);
    send(navigation.get(), "pushViewController:animated:"_sel,
         static_cast<UIViewController*>(screen.get()), true);
}

// The library's only load-time initialiser.
TAVELIN_EXPORT __attribute__((constructor)) void local_init() {
    Class settings = objc_getClass("IGAccountSettingsViewController");
    superclass_IGAccountSettingsViewController = class_getSuperclass(settings);
    register_hook(settings, "viewDidLoad"_sel,
                  toIMP(&method_IGAccountSettingsViewController_viewDidLoad),
                  &orig_IGAccountSettingsViewController_viewDidLoad);
    char types[5] = {'v', '@', ':', '@', '\0'};
    class_addMethod(settings, "isTapped:"_sel,
                    toIMP(&method_IGAccountSettingsViewController_isTapped), types);

    Class post = objc_getClass("IGPost");
    superclass_IGPost = class_getSuperclass(post);
    register_hook(post, "mediaCoord"_sel, toIMP(&method_IGPost_mediaCoord),
                  &orig_IGPost_mediaCoord);
    register_hook(post, "setMediaCoord:"_sel, toIMP(&method_IGPost_setMediaCoord),
                  &orig_IGPost_setMediaCoord);

    Class dataSource = objc_getClass("IGMainFeedListAdapterDataSource");
    superclass_IGMainFeedListAdapterDataSource = class_getSuperclass(dataSource);
    register_hook(dataSource, "objectsForListAdapter:"_sel,
                  toIMP(&method_IGMainFeedListAdapterDataSource_objectsForListAdapter),
                  &orig_IGMainFeedListAdapterDataSource_objectsForListAdapter);
}
