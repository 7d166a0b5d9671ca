#include "UIKit/UIViewController.h"

#include "UIKit/UINavigationController.h"
#include "UIKit/UIScreen.h"
#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

void transitionAppearance(UIViewController* from, UIViewController* to, bool animated,
                          const std::function<void()>& between) {
    Ref<UIViewController> keepFrom = from;
    Ref<UIViewController> keepTo = to;
    if (to) to->view(); // a controller's view is loaded before it appears
    send(from, "viewWillDisappear:"_sel, animated);
    send(to, "viewWillAppear:"_sel, animated);
    if (between) between();
    send(from, "viewDidDisappear:"_sel, animated);
    send(to, "viewDidAppear:"_sel, animated);
}

UIViewController::~UIViewController() {
    if (_presented) _presented->_presenting = nullptr;
}

Ref<UIView> UIViewController::view() {
    if (!_view) {
        send(this, "loadView"_sel);
        if (!_view) _view = UIView::viewWithFrame(UIScreen::mainScreen()->bounds());
        send(this, "viewDidLoad"_sel);
    }
    return _view;
}

void UIViewController::loadView() {
    _view = UIView::viewWithFrame(UIScreen::mainScreen()->bounds());
}

Ref<UINavigationItem> UIViewController::navigationItem() {
    if (!_navigationItem) _navigationItem = Ref<UINavigationItem>::adopt(alloc<UINavigationItem>());
    return _navigationItem;
}

Ref<UINavigationController> UIViewController::navigationController() {
    for (UIViewController* at = _parent; at; at = at->_parent)
        if (auto* navigation = as<UINavigationController>(at)) return navigation;
    return nullptr;
}

bool UIViewController::presentViewController(UIViewController* controller, bool animated,
                                             Completion completion) {
    if (!controller || controller == this || _presented || controller->_presenting ||
        controller->_parent)
        return false;
    _presented = controller;
    controller->_presenting = this;
    transitionAppearance(this, controller, animated);
    if (completion) completion();
    return true;
}

void UIViewController::dismissViewControllerAnimated(bool animated, Completion completion) {
    if (!_presented) {
        if (_presenting)
            _presenting->dismissViewControllerAnimated(animated, std::move(completion));
        return;
    }
    Ref<UIViewController> presented = std::move(_presented);
    presented->_presenting = nullptr;
    transitionAppearance(presented, this, animated);
    if (completion) completion();
}

const ClassInfo& UIViewController::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<UIViewController>()
            .method<"view", &UIViewController::view>()
            .method<"loadView", &UIViewController::loadView>()
            .method<"viewDidLoad", &UIViewController::viewDidLoad>()
            .method<"viewWillAppear:", &UIViewController::viewWillAppear>()
            .method<"viewDidAppear:", &UIViewController::viewDidAppear>()
            .method<"viewWillDisappear:", &UIViewController::viewWillDisappear>()
            .method<"viewDidDisappear:", &UIViewController::viewDidDisappear>()
            .method<"navigationItem", &UIViewController::navigationItem>()
            .method<"navigationController", &UIViewController::navigationController>()
            .build();
    return info;
}
