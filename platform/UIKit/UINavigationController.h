// A stack of view controllers with a navigation bar. Pushes and pops run the
// appearance calls in the platform's order; an animated change, and an
// interactive pop until it finishes or is cancelled, has a transition
// coordinator.
#pragma once

#include <functional>
#include <vector>

#include "Foundation/NSArray.h"
#include "UIKit/UIViewController.h"

struct UINavigationBar : UIView {
    OBJC_CLASS(UINavigationBar, UIView)
    static constexpr CGFloat kHeight = 44;
};

struct UINavigationController : UIViewController {
    OBJC_CLASS(UINavigationController, UIViewController)

    OBJC_METHOD(UINavigationController*, initWithRootViewController,
                "initWithRootViewController:", UIViewController*)
    OBJC_METHOD(Ref<NSArray>, viewControllers, "viewControllers")
    OBJC_METHOD(UIViewController*, topViewController, "topViewController")
    // What it presents, else the top of the stack.
    OBJC_METHOD(UIViewController*, visibleViewController, "visibleViewController")
    OBJC_METHOD(UINavigationBar*, navigationBar, "navigationBar")
    // A hidden bar leaves the screen to the top controller's view.
    OBJC_PROPERTY_AS(bool, navigationBarHidden, isNavigationBarHidden, setNavigationBarHidden)
    OBJC_METHOD(void, setNavigationBarHidden, "setNavigationBarHidden:animated:", bool, bool)
    // A controller that is nil or already on a stack is refused, and so is any
    // change while a transition is under way.
    OBJC_METHOD(void, pushViewController, "pushViewController:animated:", UIViewController*, bool)
    // The root controller stays: popping it answers nil.
    OBJC_METHOD(Ref<UIViewController>, popViewControllerAnimated,
                "popViewControllerAnimated:", bool)
    OBJC_OVERRIDE(UIViewControllerTransitionCoordinator*, transitionCoordinator,
                  "transitionCoordinator")
    OBJC_OVERRIDE(void, loadView, "loadView")
    OBJC_OVERRIDE(void, viewWillAppear, "viewWillAppear:", bool)
    OBJC_OVERRIDE(void, viewDidAppear, "viewDidAppear:", bool)
    OBJC_OVERRIDE(void, viewWillDisappear, "viewWillDisappear:", bool)
    OBJC_OVERRIDE(void, viewDidDisappear, "viewDidDisappear:", bool)

    // +alloc, then initWithRootViewController:.
    static Ref<UINavigationController>
    navigationControllerWithRootViewController(UIViewController* root);
    ~UINavigationController();

    // An interactive pop (the back swipe, C++ only): begins with the will-
    // calls, then finishes (the top controller goes) or is cancelled (it stays
    // and the appearance calls run back). Answers false when there is nothing
    // to pop or a transition is under way.
    bool beginInteractivePop();
    bool finishInteractivePop();
    bool cancelInteractivePop();

  private:
    // `settle` runs after the did- calls, before the completions.
    void transition(UIViewController* from, UIViewController* to, bool animated,
                    const std::function<void()>& settle = {});
    UIViewController* below() const;

    std::vector<Ref<UIViewController>> _stack;
    Ref<UINavigationBar> _navigationBar;
    Ref<UIViewControllerTransitionCoordinator> _coordinator;
    bool _navigationBarHidden = false;
};

// What a screen whose root is `root` shows: the controller at the end of its
// presentations or, when that is a navigation controller, the navigation
// (nil otherwise) and its visible controller.
struct ShownController {
    UINavigationController* navigation;
    UIViewController* controller;
};
ShownController shownController(UIViewController* root);
