#include "UIKit/UIViewController.h"

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UIScreen.h"

namespace {

using Block = UIViewControllerTransitionCoordinator::Block;

void runOnce(std::vector<Block>& blocks, UIViewControllerTransitionCoordinator* context) {
    Ref<UIViewControllerTransitionCoordinator> keep = context;
    std::vector<Block> taken = std::move(blocks);
    blocks.clear();
    for (const Block& block : taken)
        block(context);
}

} // namespace

UIViewControllerTransitionCoordinator*
UIViewControllerTransitionCoordinator::initWithAnimatedImp(bool animated, bool interactive) {
    if (!sendSuper<NSObject*>(this, NSObject::objcClass(), "init"_sel)) return nullptr;
    _animated = animated;
    _interactive = interactive;
    return this;
}

bool UIViewControllerTransitionCoordinator::animateAlongsideTransitionImp(Block animation,
                                                                          Block completion) {
    if (_completed) return false;
    if (completion) _completions.push_back(std::move(completion));
    if (animation && _animationsRan)
        animation(this); // the transition is already under way
    else if (animation)
        _animations.push_back(std::move(animation));
    return true;
}

void UIViewControllerTransitionCoordinator::notifyWhenInteractionChangesUsingBlockImp(Block block) {
    if (_interactive && block) _interactionBlocks.push_back(std::move(block));
}

void UIViewControllerTransitionCoordinator::notifyWhenInteractionEndsUsingBlockImp(Block block) {
    notifyWhenInteractionChangesUsingBlock(std::move(block));
}

void UIViewControllerTransitionCoordinator::runAnimations() {
    _animationsRan = true;
    runOnce(_animations, this);
}

void UIViewControllerTransitionCoordinator::endInteraction(bool cancelled) {
    _cancelled = cancelled;
    _interactive = false;
    runOnce(_interactionBlocks, this);
}

void UIViewControllerTransitionCoordinator::complete() {
    _completed = true;
    runOnce(_completions, this);
}

OBJC_IMPLEMENT_LOADED_CLASS(UIViewControllerTransitionCoordinator)

void transitionAppearance(UIViewController* from, UIViewController* to, bool animated,
                          const std::function<void()>& between) {
    Ref<UIViewController> keepFrom = from;
    Ref<UIViewController> keepTo = to;
    if (to) to->view(); // a controller's view is loaded before it appears
    if (from) from->viewWillDisappear(animated);
    if (to) to->viewWillAppear(animated);
    if (between) between();
    if (from) from->viewDidDisappear(animated);
    if (to) to->viewDidAppear(animated);
}

UIViewController::~UIViewController() {
    if (_presentedViewController) _presentedViewController->_presentingViewController = nullptr;
}

Ref<UIView> UIViewController::viewImp() {
    if (!_view) {
        loadView();
        if (!_view) _view = UIView::viewWithFrame(UIScreen::mainScreen()->bounds());
        viewDidLoad();
    }
    return _view;
}

void UIViewController::setViewImp(UIView* view) {
    _view = view;
}

UIView* UIViewController::viewIfLoadedImp() {
    return _view;
}

bool UIViewController::isViewLoadedImp() {
    return _view;
}

void UIViewController::loadViewImp() {
    setView(UIView::viewWithFrame(UIScreen::mainScreen()->bounds()));
}

void UIViewController::viewDidLoadImp() {}
void UIViewController::viewWillAppearImp(bool) {}
void UIViewController::viewDidAppearImp(bool) {}
void UIViewController::viewWillDisappearImp(bool) {}
void UIViewController::viewDidDisappearImp(bool) {}

Ref<UINavigationItem> UIViewController::navigationItemImp() {
    if (!_navigationItem) _navigationItem = make<UINavigationItem>(&UINavigationItem::init);
    return _navigationItem;
}

Ref<UINavigationController> UIViewController::navigationControllerImp() {
    for (UIViewController* at = parentViewController(); at; at = at->parentViewController())
        if (auto* navigation = as<UINavigationController>(at)) return navigation;
    return nullptr;
}

UIViewControllerTransitionCoordinator* UIViewController::transitionCoordinatorImp() {
    UIViewController* parent = parentViewController();
    return parent ? parent->transitionCoordinator() : nullptr;
}

void UIViewController::presentViewControllerImp(UIViewController* controller, bool animated,
                                                Completion completion) {
    if (!controller || controller == this || _presentedViewController ||
        controller->presentingViewController() || controller->parentViewController())
        return;
    _presentedViewController = controller;
    controller->_presentingViewController = this;
    transitionAppearance(this, controller, animated);
    if (completion) completion();
}

void UIViewController::dismissViewControllerAnimatedImp(bool animated, Completion completion) {
    if (!_presentedViewController) {
        if (UIViewController* presenter = presentingViewController())
            presenter->dismissViewControllerAnimated(animated, std::move(completion));
        return;
    }
    Ref<UIViewController> presented = std::move(_presentedViewController);
    presented->_presentingViewController = nullptr;
    transitionAppearance(presented, this, animated);
    if (completion) completion();
}

OBJC_IMPLEMENT_LOADED_CLASS(UIViewController)
