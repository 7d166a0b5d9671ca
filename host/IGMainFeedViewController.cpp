#include "host/IGMainFeedViewController.h"

#include <algorithm>

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UIScreen.h"
#include "host/IGAccountSettingsViewController.h"

Ref<IGMainFeedViewController> IGMainFeedViewController::controllerWithObjectsImp(Class cls,
                                                                                 NSArray* objects) {
    return make<IGMainFeedViewController>(cls, &IGMainFeedViewController::initWithObjects, objects);
}

IGMainFeedViewController* IGMainFeedViewController::initWithObjectsImp(NSArray* objects) {
    if (!init()) return nullptr;
    _dataSource = IGMainFeedListAdapterDataSource::dataSourceWithObjects(objects);
    _adapter = IGListAdapter::adapterWithDataSource(_dataSource);
    setTitle("Instagram"_ns);
    Ref<UIBarButtonItem> settings = make<UIBarButtonItem>(
        &UIBarButtonItem::initWithTitle, "Settings"_ns, long{UIBarButtonItemStylePlain},
        static_cast<id>(this), "openSettings:"_sel);
    navigationItem()->setRightBarButtonItem(settings);
    return this;
}

void IGMainFeedViewController::loadViewImp() {
    // Below the status bar (20 points) and the navigation bar, as shown.
    CGRect screen = UIScreen::mainScreen()->bounds();
    CGFloat bars = 20 + UINavigationBar::kHeight;
    _feedView = IGFeedView::feedWithFrame(
        CGRectMake(0, bars, screen.size.width, std::max<CGFloat>(0, screen.size.height - bars)));
    setView(_feedView);
}

void IGMainFeedViewController::viewWillAppearImp(bool animated) {
    sendSuper(this, UIViewController::objcClass(), "viewWillAppear:"_sel, animated);
    send(navigationController().get(), "setNavigationBarHidden:animated:"_sel, true, animated);
    reloadData();
}

void IGMainFeedViewController::viewWillDisappearImp(bool animated) {
    sendSuper(this, UIViewController::objcClass(), "viewWillDisappear:"_sel, animated);
    send(navigationController().get(), "setNavigationBarHidden:animated:"_sel, false, animated);
}

void IGMainFeedViewController::reloadDataImp() {
    _shownObjects = _adapter->objects();
    send<Ref<UIView>>(this, "view"_sel);
    _feedView->setObjects(_shownObjects);
}

void IGMainFeedViewController::openSettingsImp(id) {
    Ref<IGAccountSettingsViewController> settings = IGAccountSettingsViewController::controller();
    send(navigationController().get(), "pushViewController:animated:"_sel,
         static_cast<UIViewController*>(settings.get()), true);
}

OBJC_IMPLEMENT_CLASS(IGMainFeedViewController)
