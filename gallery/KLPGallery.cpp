#include "KLPGallery.h"

#include <initializer_list>
#include <memory>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSNumber.h"
#include "KLPreferences/KLPDeveloperCell.h"
#include "KLPreferences/KLPLinkCell.h"
#include "KLPreferences/KLPListCell.h"
#include "KLPreferences/KLPSegmentCell.h"
#include "KLPreferences/KLPSliderCell.h"
#include "KLPreferences/KLPSpecifierList.h"
#include "KLPreferences/KLPSwitchCell.h"
#include "KLPreferences/KLPTextFieldCell.h"
#include "KLPreferences/KLPValueCell.h"
#include "KLPreferences/KLPViewSection.h"
#include "KLPreferences/KLPreferences.h"
#include "ObjectModel/Message.h"
#include "UIKit/UILabel.h"

namespace {

// Every change of the gallery's controls posts this notification.
NSString* changedNotification() {
    return "com.tavelin.gallery.changed"_ns;
}

Ref<KLPSettings> setting(NSString* key, NSObject* defaultValue) {
    return KLPSettings::settingsWithKey(key, defaultValue);
}

Ref<NSArray> strings(std::initializer_list<NSString*> texts) {
    Ref<NSMutableArray> array = NSMutableArray::array();
    for (NSString* text : texts)
        array->addObject(text);
    return array;
}

Ref<KLPSection> section(NSString* header, NSString* footer, std::initializer_list<KLPCell*> cells) {
    Ref<KLPSection> made = KLPSection::sectionWithTitle(header, footer);
    for (KLPCell* cell : cells)
        made->addCell(cell);
    return made;
}

constexpr long kBannerTag = 1;

Ref<KLPViewSection> banner() {
    return KLPViewSection::sectionWithHeight(
        60,
        [](UITableViewCell* cell) {
            Ref<UILabel> label = UILabel::labelWithFrame(CGRectZero);
            label->setText("KLPreferences Gallery"_ns);
            label->setTextAlignment(NSTextAlignmentCenter);
            label->setTag(kBannerTag);
            send(cell->contentView(), "addSubview:"_sel, static_cast<UIView*>(label));
        },
        [](UITableViewCell* cell) {
            if (UIView* label = cell->contentView()->viewWithTag(kBannerTag))
                label->setFrame(cell->contentView()->bounds());
        });
}

Ref<KLPSection> toggles() {
    return section(
        "Toggles and choices"_ns, "Each control stores its own key."_ns,
        {KLPSwitchCell::cellWithTitle("Enabled"_ns,
                                      setting("galleryEnabled"_ns, NSNumber::numberWithBool(false)),
                                      changedNotification(), nullptr),
         KLPSegmentCell::cellWithTitle("Quality"_ns, setting("galleryQuality"_ns, "mid"_ns),
                                       strings({"low"_ns, "mid"_ns, "high"_ns}),
                                       strings({"Low"_ns, "Medium"_ns, "High"_ns}),
                                       changedNotification(), nullptr),
         KLPTextFieldCell::cellWithTitle("Nickname"_ns, setting("galleryNickname"_ns, ""_ns),
                                         "Your name"_ns, changedNotification(), nullptr)});
}

Ref<KLPSection> slidersAndLists() {
    Ref<KLPListCell> theme = KLPListCell::cellWithTitle(
        "Theme"_ns, setting("galleryTheme"_ns, "light"_ns),
        strings({"Light"_ns, "Dark"_ns, "Sepia"_ns}), strings({"light"_ns, "dark"_ns, "sepia"_ns}),
        true, changedNotification(), nullptr);
    Ref<KLPListCell> language = KLPListCell::cellWithTitle(
        "Language"_ns, setting("galleryLanguage"_ns, "en"_ns),
        strings({"English"_ns, "Français"_ns, "Deutsch"_ns, "العربية"_ns}),
        strings({"en"_ns, "fr"_ns, "de"_ns, "ar"_ns}), false, changedNotification(), nullptr);
    Ref<KLPSliderCell> volume = KLPSliderCell::cellWithTitle(
        "Volume"_ns, setting("galleryVolume"_ns, NSNumber::numberWithFloat(0.5f)), 0, 1,
        changedNotification(), nullptr);
    return section("Slider and lists"_ns,
                   "Theme closes after a choice; Language stays open until you go back."_ns,
                   {volume, theme, language});
}

Ref<KLPSection> staticCells() {
    auto taps = std::make_shared<int>(0);
    Ref<KLPLinkCell> counter = KLPLinkCell::cellWithTitle("Tap me"_ns, [taps](NSObject* sender) {
        if (auto* cell = as<KLPLinkCell>(sender))
            cell->detailTextLabel()->setText(NSString::stringWithFormat("%d taps", ++*taps));
    });
    Ref<UIImage> avatar = UIImage::imageNamed(
        TAVELIN_JB_PREFIX "/Library/Application Support/Tavelin/Tavelin.bundle/torvenAK.png"_ns);
    return section(
        "Static rows"_ns, nullptr,
        {KLPValueCell::cellWithTitle("Version"_ns, "1.0"_ns), counter,
         KLPDeveloperCell::cellWithTitle("KLPreferences"_ns, "The framework of this screen"_ns,
                                         avatar, "https://example.com/klpreferences"_ns)});
}

} // namespace

id KLPGalleryMakeController(const char* plistPath) {
    Ref<NSArray> sections = NSArray::arrayWithObjects(
        {banner().get(), toggles().get(), slidersAndLists().get(), staticCells().get()});
    Ref<KLPreferences> controller = KLPreferences::tableWithSections(
        sections, "Gallery"_ns, UIColor::colorWithRed(209 / 255.0, 59 / 255.0, 87 / 255.0, 1));
    if (controller && plistPath && *plistPath)
        controller->setPlistPath(NSString::stringWithUTF8String(plistPath));
    return controller.leak();
}

id KLPSpecifierListMakeController(const char* path, const char* language, KLPSpecifierReport report,
                                  void* context) {
    KLPSpecifierList list = KLPSpecifierListFromFile(path ? path : "", language ? language : "en");
    for (const std::string& warning : list.warnings)
        report(warning.c_str(), context);
    if (!list.controller) report(list.error.c_str(), context);
    return list.controller.leak();
}
