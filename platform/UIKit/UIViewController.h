// A screen's controller. Its view loads on first use through loadView, then
// viewDidLoad; the appearance calls arrive as messages with the animated flag.
#pragma once

#include <functional>
#include <vector>

#include "Foundation/NSString.h"
#include "ObjectModel/NSObject.h"
#include "UIKit/UIBarButtonItem.h"
#include "UIKit/UIView.h"

struct UINavigationController;

// The transition under way, which is also the context its blocks receive.
// Blocks that run alongside the transition run after the will- appearance
// calls, their completions after the did- calls.
struct UIViewControllerTransitionCoordinator : NSObject {
    OBJC_CLASS(UIViewControllerTransitionCoordinator, NSObject)

    using Block = std::function<void(UIViewControllerTransitionCoordinator*)>;

    OBJC_METHOD(UIViewControllerTransitionCoordinator*, initWithAnimated,
                "initWithAnimated:interactive:", bool, bool)
    OBJC_READONLY_AS(bool, animated, isAnimated)
    // True until the user's interaction ends.
    OBJC_READONLY_AS(bool, interactive, isInteractive)
    OBJC_READONLY_AS(bool, cancelled, isCancelled)
    // Either block may be nil. Answers false once the transition is over.
    OBJC_METHOD(bool, animateAlongsideTransition, "animateAlongsideTransition:completion:", Block,
                Block)
    // The block runs when the user's interaction ends (finished or cancelled);
    // a transition that is not interactive never calls it.
    OBJC_METHOD(void, notifyWhenInteractionChangesUsingBlock,
                "notifyWhenInteractionChangesUsingBlock:", Block)
    OBJC_METHOD(void, notifyWhenInteractionEndsUsingBlock,
                "notifyWhenInteractionEndsUsingBlock:", Block)

    // For the controller that runs the transition (C++ only). Each runs its
    // blocks once, in order, then drops them.
    void runAnimations();
    void endInteraction(bool cancelled);
    void complete();

  private:
    bool _animated = false;
    bool _interactive = false;
    bool _cancelled = false;
    bool _animationsRan = false;
    bool _completed = false;
    std::vector<Block> _animations;
    std::vector<Block> _completions;
    std::vector<Block> _interactionBlocks;
};

struct UIViewController : NSObject {
    OBJC_CLASS(UIViewController, NSObject)

    using Completion = std::function<void()>;

    // The view, loaded on first use.
    OBJC_METHOD(Ref<UIView>, view, "view")
    OBJC_METHOD(void, setView, "setView:", UIView*)
    OBJC_METHOD(UIView*, viewIfLoaded, "viewIfLoaded")
    OBJC_METHOD(bool, isViewLoaded, "isViewLoaded")
    OBJC_METHOD(void, loadView, "loadView")
    OBJC_METHOD(void, viewDidLoad, "viewDidLoad")
    OBJC_METHOD(void, viewWillAppear, "viewWillAppear:", bool)
    OBJC_METHOD(void, viewDidAppear, "viewDidAppear:", bool)
    OBJC_METHOD(void, viewWillDisappear, "viewWillDisappear:", bool)
    OBJC_METHOD(void, viewDidDisappear, "viewDidDisappear:", bool)

    OBJC_PROPERTY(NSString*, title, setTitle)
    OBJC_METHOD(Ref<UINavigationItem>, navigationItem, "navigationItem")
    // The nearest navigation controller that contains this one, or nil.
    OBJC_METHOD(Ref<UINavigationController>, navigationController, "navigationController")
    // The transition of the containing controller under way, or nil.
    OBJC_METHOD(UIViewControllerTransitionCoordinator*, transitionCoordinator,
                "transitionCoordinator")
    // The controller that contains this one (a navigation controller), not owned.
    OBJC_READONLY(UIViewController*, parentViewController)

    OBJC_READONLY(UIViewController*, presentedViewController)
    OBJC_READONLY(UIViewController*, presentingViewController)
    // Shows the controller modally over this one; refused (nothing happens, the
    // completion does not run) when this one already presents one or the
    // controller is shown elsewhere.
    OBJC_METHOD(void, presentViewController,
                "presentViewController:animated:completion:", UIViewController*, bool, Completion)
    // Dismisses what this controller presents, or, when it presents nothing,
    // the presentation that shows it.
    OBJC_METHOD(void, dismissViewControllerAnimated,
                "dismissViewControllerAnimated:completion:", bool, Completion)

    ~UIViewController();

    // Containers set and clear it (C++ only).
    void setParentViewController(UIViewController* parent) { _parentViewController = parent; }

  private:
    Ref<UIView> _view;
    Ref<NSString> _title;
    Ref<UINavigationItem> _navigationItem;
    UIViewController* _parentViewController = nullptr;
    Ref<UIViewController> _presentedViewController;
    UIViewController* _presentingViewController = nullptr;
};

// Runs the appearance calls of a change of screen in the platform's order:
// will-disappear old, will-appear new, did-disappear old, did-appear new.
// `between` runs after the will- calls (while the transition is under way).
void transitionAppearance(UIViewController* from, UIViewController* to, bool animated,
                          const std::function<void()>& between = {});

// navigationController answers the subclass: every unit that sees this class
// sees that one complete too.
#include "UIKit/UINavigationController.h"
