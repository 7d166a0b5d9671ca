#include "UIKit/UITraitCollection.h"

#include "ObjectModel/ClassBuilder.h"
#include "UIKit/UIScreen.h"

namespace {

Ref<UITraitCollection>& threadCollection() {
    thread_local Ref<UITraitCollection> collection;
    return collection;
}

} // namespace

Ref<UITraitCollection> UITraitCollection::traitCollectionWithUserInterfaceStyleImp(Class cls,
                                                                                   long style) {
    return make<UITraitCollection>(cls, &UITraitCollection::initWithUserInterfaceStyle, style);
}

Ref<UITraitCollection> UITraitCollection::currentTraitCollectionImp(Class) {
    if (threadCollection()) return threadCollection();
    return UIScreen::mainScreen()->traitCollection();
}

void UITraitCollection::setCurrentTraitCollectionImp(Class, UITraitCollection* collection) {
    threadCollection() = collection;
}

UITraitCollection* UITraitCollection::initWithUserInterfaceStyleImp(long style) {
    if (!init()) return nullptr;
    _userInterfaceStyle = style;
    return this;
}

bool UITraitCollection::isEqualImp(NSObject* other) {
    auto* traits = as<UITraitCollection>(other);
    return traits && traits->userInterfaceStyle() == userInterfaceStyle();
}

OBJC_IMPLEMENT_LOADED_CLASS(UITraitCollection)
