#include "UIKit/UINavigationController.h"

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"
#include "UIKit/UIScreen.h"

OBJC_IMPLEMENT_LOADED_CLASS(UINavigationBar)

Ref<UINavigationController>
UINavigationController::navigationControllerWithRootViewController(UIViewController* root) {
    return make<UINavigationController>(&UINavigationController::initWithRootViewController, root);
}

UINavigationController*
UINavigationController::initWithRootViewControllerImp(UIViewController* root) {
    if (!sendSuper<NSObject*>(this, UIViewController::objcClass(), "init"_sel)) return nullptr;
    if (root && !root->parentViewController()) {
        root->setParentViewController(this);
        _stack.emplace_back(root);
    }
    return this;
}

UINavigationController::~UINavigationController() {
    for (Ref<UIViewController>& controller : _stack)
        controller->setParentViewController(nullptr);
}

Ref<NSArray> UINavigationController::viewControllersImp() {
    Ref<NSMutableArray> controllers = NSMutableArray::array();
    for (const Ref<UIViewController>& controller : _stack)
        controllers->addObject(controller);
    return controllers;
}

UIViewController* UINavigationController::topViewControllerImp() {
    return _stack.empty() ? nullptr : _stack.back().get();
}

UIViewController* UINavigationController::visibleViewControllerImp() {
    UIViewController* presented = presentedViewController();
    return presented ? presented : topViewController();
}

UIViewController* UINavigationController::below() const {
    return _stack.size() < 2 ? nullptr : _stack[_stack.size() - 2].get();
}

UINavigationBar* UINavigationController::navigationBarImp() {
    if (!_navigationBar) {
        CGFloat width = UIScreen::mainScreen()->bounds().size.width;
        _navigationBar = make<UINavigationBar>(&UINavigationBar::initWithFrame,
                                               CGRectMake(0, 0, width, UINavigationBar::kHeight));
    }
    return _navigationBar;
}

void UINavigationController::setNavigationBarHiddenImp(bool hidden, bool) {
    setNavigationBarHidden(hidden);
}

UIViewControllerTransitionCoordinator* UINavigationController::transitionCoordinatorImp() {
    if (_coordinator) return _coordinator;
    return sendSuper<UIViewControllerTransitionCoordinator*>(this, UIViewController::objcClass(),
                                                             "transitionCoordinator"_sel);
}

void UINavigationController::loadViewImp() {
    sendSuper(this, UIViewController::objcClass(), "loadView"_sel);
    view()->addSubview(navigationBar());
}

void UINavigationController::transition(UIViewController* from, UIViewController* to, bool animated,
                                        const std::function<void()>& settle) {
    Ref<UIViewControllerTransitionCoordinator> coordinator;
    if (animated)
        coordinator = make<UIViewControllerTransitionCoordinator>(
            &UIViewControllerTransitionCoordinator::initWithAnimated, true, false);
    _coordinator = coordinator;
    transitionAppearance(from, to, animated, [&] {
        if (coordinator) coordinator->runAnimations();
    });
    _coordinator = nullptr;
    if (settle) settle();
    if (coordinator) coordinator->complete();
}

void UINavigationController::pushViewControllerImp(UIViewController* controller, bool animated) {
    if (!controller || controller->parentViewController() || controller == this || _coordinator)
        return;
    Ref<UINavigationController> keep = this;
    UIViewController* from = topViewController();
    controller->setParentViewController(this);
    _stack.emplace_back(controller);
    transition(from, controller, animated);
}

Ref<UIViewController> UINavigationController::popViewControllerAnimatedImp(bool animated) {
    if (!below() || _coordinator) return nullptr;
    Ref<UINavigationController> keep = this;
    Ref<UIViewController> popped = _stack.back();
    transition(popped, below(), animated, [&] {
        _stack.pop_back();
        popped->setParentViewController(nullptr);
    });
    return popped;
}

bool UINavigationController::beginInteractivePop() {
    if (!below() || _coordinator) return false;
    Ref<UINavigationController> keep = this;
    Ref<UIViewControllerTransitionCoordinator> coordinator =
        make<UIViewControllerTransitionCoordinator>(
            &UIViewControllerTransitionCoordinator::initWithAnimated, true, true);
    _coordinator = coordinator;
    below()->view(); // loaded before it appears
    topViewController()->viewWillDisappear(true);
    below()->viewWillAppear(true);
    coordinator->runAnimations();
    return true;
}

bool UINavigationController::finishInteractivePop() {
    if (!_coordinator || !_coordinator->isInteractive()) return false;
    Ref<UINavigationController> keep = this;
    Ref<UIViewControllerTransitionCoordinator> coordinator = _coordinator;
    coordinator->endInteraction(false);
    _coordinator = nullptr;
    Ref<UIViewController> popped = _stack.back();
    popped->viewDidDisappear(true);
    below()->viewDidAppear(true);
    _stack.pop_back();
    popped->setParentViewController(nullptr);
    coordinator->complete();
    return true;
}

bool UINavigationController::cancelInteractivePop() {
    if (!_coordinator || !_coordinator->isInteractive()) return false;
    Ref<UINavigationController> keep = this;
    Ref<UIViewControllerTransitionCoordinator> coordinator = _coordinator;
    coordinator->endInteraction(true);
    _coordinator = nullptr;
    transitionAppearance(below(), topViewController(), true);
    coordinator->complete();
    return true;
}

// The appearance calls go on to the top controller.
void UINavigationController::viewWillAppearImp(bool animated) {
    sendSuper(this, UIViewController::objcClass(), "viewWillAppear:"_sel, animated);
    if (UIViewController* top = topViewController()) {
        top->view(); // loaded before it appears, as in every transition
        top->viewWillAppear(animated);
    }
}

void UINavigationController::viewDidAppearImp(bool animated) {
    sendSuper(this, UIViewController::objcClass(), "viewDidAppear:"_sel, animated);
    if (UIViewController* top = topViewController()) top->viewDidAppear(animated);
}

void UINavigationController::viewWillDisappearImp(bool animated) {
    sendSuper(this, UIViewController::objcClass(), "viewWillDisappear:"_sel, animated);
    if (UIViewController* top = topViewController()) top->viewWillDisappear(animated);
}

void UINavigationController::viewDidDisappearImp(bool animated) {
    sendSuper(this, UIViewController::objcClass(), "viewDidDisappear:"_sel, animated);
    if (UIViewController* top = topViewController()) top->viewDidDisappear(animated);
}

OBJC_IMPLEMENT_LOADED_CLASS(UINavigationController)

ShownController shownController(UIViewController* root) {
    UIViewController* front = root;
    while (front && front->presentedViewController())
        front = front->presentedViewController();
    auto* navigation = as<UINavigationController>(front);
    return {navigation, navigation ? navigation->visibleViewController() : front};
}
