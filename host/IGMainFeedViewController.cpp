#include "host/IGMainFeedViewController.h"

#include "UIKit/UINavigationController.h"
#include "UIKit/UIScreen.h"
#include "host/IGAccountSettingsViewController.h"
#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

Ref<IGMainFeedViewController> IGMainFeedViewController::controllerWithObjects(NSArray* objects) {
    return make<IGMainFeedViewController>(&IGMainFeedViewController::initWithObjects, objects);
}

IGMainFeedViewController* IGMainFeedViewController::initWithObjects(NSArray* objects) {
    _dataSource = IGMainFeedListAdapterDataSource::dataSourceWithObjects(objects);
    _adapter = IGListAdapter::adapterWithDataSource(_dataSource);
    setTitle("Instagram"_ns);
    Ref<UIBarButtonItem> settings = make<UIBarButtonItem>(
        &UIBarButtonItem::initWithTitle, "Settings"_ns, long{UIBarButtonItemStylePlain},
        static_cast<id>(this), "openSettings:"_sel);
    navigationItem()->setRightBarButtonItem(settings);
    return this;
}

void IGMainFeedViewController::loadView() {
    _feedView = IGFeedView::feedWithFrame(UIScreen::mainScreen()->bounds());
    setView(_feedView);
}

void IGMainFeedViewController::viewWillAppear(bool) {
    _shownObjects = _adapter->objects();
    send<Ref<UIView>>(this, "view"_sel);
    _feedView->setObjects(_shownObjects);
}

void IGMainFeedViewController::openSettings(id) {
    Ref<IGAccountSettingsViewController> settings = IGAccountSettingsViewController::controller();
    send(navigationController().get(), "pushViewController:animated:"_sel,
         static_cast<UIViewController*>(settings.get()), true);
}

const ClassInfo& IGMainFeedViewController::objcClassInfo() {
    using Self = IGMainFeedViewController;
    static const ClassInfo info = ClassBuilder<Self>()
                                      .method<"loadView", &Self::loadView>()
                                      .method<"viewWillAppear:", &Self::viewWillAppear>()
                                      .method<"openSettings:", &Self::openSettings>()
                                      .build();
    return info;
}
