#include "UIKit/UINavigationController.h"

#include <algorithm>

#include "UIKit/UIScreen.h"
#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

const ClassInfo& UINavigationBar::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<UINavigationBar>().build();
    return info;
}

UIViewControllerTransitionCoordinator*
UIViewControllerTransitionCoordinator::initWithAnimated(bool animated, bool interactive) {
    _animated = animated;
    _interactive = interactive;
    return this;
}

void UIViewControllerTransitionCoordinator::notifyWhenInteractionEndsUsingBlock(Block block) {
    if (_interactive && block) _interactionEndBlocks.push_back(std::move(block));
}

void UIViewControllerTransitionCoordinator::endInteraction(bool cancelled) {
    Ref<UIViewControllerTransitionCoordinator> keep = this;
    _cancelled = cancelled;
    std::vector<Block> blocks = std::move(_interactionEndBlocks);
    _interactionEndBlocks.clear();
    for (const Block& block : blocks)
        block(this);
}

const ClassInfo& UIViewControllerTransitionCoordinator::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<UIViewControllerTransitionCoordinator>().build();
    return info;
}

Ref<UINavigationController>
UINavigationController::navigationControllerWithRootViewController(UIViewController* root) {
    return make<UINavigationController>(&UINavigationController::initWithRootViewController, root);
}

UINavigationController* UINavigationController::initWithRootViewController(UIViewController* root) {
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

Ref<NSArray> UINavigationController::viewControllers() const {
    Ref<NSMutableArray> controllers = NSMutableArray::array();
    for (const Ref<UIViewController>& controller : _stack)
        controllers->addObject(controller);
    return controllers;
}

UIViewController* UINavigationController::topViewController() const {
    return _stack.empty() ? nullptr : _stack.back().get();
}

UIViewController* UINavigationController::below() const {
    return _stack.size() < 2 ? nullptr : _stack[_stack.size() - 2].get();
}

UINavigationBar* UINavigationController::navigationBar() {
    if (!_navigationBar) {
        CGFloat width = UIScreen::mainScreen()->bounds().size.width;
        _navigationBar = make<UINavigationBar>(&UINavigationBar::initWithFrame,
                                               CGRectMake(0, 0, width, UINavigationBar::kHeight));
    }
    return _navigationBar;
}

void UINavigationController::loadView() {
    UIViewController::loadView();
    send(view(), "addSubview:"_sel, static_cast<UIView*>(navigationBar()));
}

void UINavigationController::transition(UIViewController* from, UIViewController* to,
                                        bool animated) {
    if (animated)
        _coordinator = make<UIViewControllerTransitionCoordinator>(
            &UIViewControllerTransitionCoordinator::initWithAnimated, true, false);
    transitionAppearance(from, to, animated);
    _coordinator = nullptr;
}

void UINavigationController::pushViewController(UIViewController* controller, bool animated) {
    if (!controller || controller->parentViewController() || controller == this || _coordinator)
        return;
    Ref<UINavigationController> keep = this;
    UIViewController* from = topViewController();
    controller->setParentViewController(this);
    _stack.emplace_back(controller);
    transition(from, controller, animated);
}

Ref<UIViewController> UINavigationController::popViewControllerAnimated(bool animated) {
    if (!below() || _coordinator) return nullptr;
    Ref<UINavigationController> keep = this;
    Ref<UIViewController> popped = _stack.back();
    transition(popped, below(), animated);
    _stack.pop_back();
    popped->setParentViewController(nullptr);
    return popped;
}

bool UINavigationController::beginInteractivePop() {
    if (!below() || _coordinator) return false;
    _coordinator = make<UIViewControllerTransitionCoordinator>(
        &UIViewControllerTransitionCoordinator::initWithAnimated, true, true);
    Ref<UINavigationController> keep = this;
    send(topViewController(), "viewWillDisappear:"_sel, true);
    send(below(), "viewWillAppear:"_sel, true);
    return true;
}

bool UINavigationController::finishInteractivePop() {
    if (!_coordinator || !_coordinator->isInteractive()) return false;
    Ref<UINavigationController> keep = this;
    _coordinator->endInteraction(false);
    _coordinator = nullptr;
    Ref<UIViewController> popped = _stack.back();
    send(popped, "viewDidDisappear:"_sel, true);
    send(below(), "viewDidAppear:"_sel, true);
    _stack.pop_back();
    popped->setParentViewController(nullptr);
    return true;
}

bool UINavigationController::cancelInteractivePop() {
    if (!_coordinator || !_coordinator->isInteractive()) return false;
    Ref<UINavigationController> keep = this;
    _coordinator->endInteraction(true);
    _coordinator = nullptr;
    transitionAppearance(below(), topViewController(), true);
    return true;
}

void UINavigationController::viewWillAppear(bool animated) {
    UIViewController* top = topViewController();
    if (top) top->view(); // loaded before it appears, as in every transition
    send(top, "viewWillAppear:"_sel, animated);
}

void UINavigationController::viewDidAppear(bool animated) {
    send(topViewController(), "viewDidAppear:"_sel, animated);
}

void UINavigationController::viewWillDisappear(bool animated) {
    send(topViewController(), "viewWillDisappear:"_sel, animated);
}

void UINavigationController::viewDidDisappear(bool animated) {
    send(topViewController(), "viewDidDisappear:"_sel, animated);
}

const ClassInfo& UINavigationController::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<UINavigationController>()
            .method<"pushViewController:animated:", &UINavigationController::pushViewController>()
            .method<"popViewControllerAnimated:",
                    &UINavigationController::popViewControllerAnimated>()
            .method<"loadView", &UINavigationController::loadView>()
            .method<"viewWillAppear:", &UINavigationController::viewWillAppear>()
            .method<"viewDidAppear:", &UINavigationController::viewDidAppear>()
            .method<"viewWillDisappear:", &UINavigationController::viewWillDisappear>()
            .method<"viewDidDisappear:", &UINavigationController::viewDidDisappear>()
            .build();
    return info;
}
