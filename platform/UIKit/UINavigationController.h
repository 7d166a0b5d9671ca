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

// The transition under way, which is also the context its blocks receive.
struct UIViewControllerTransitionCoordinator : NSObject {
    OBJC_CLASS(UIViewControllerTransitionCoordinator, NSObject)

    using Block = std::function<void(UIViewControllerTransitionCoordinator*)>;

    UIViewControllerTransitionCoordinator* initWithAnimated(bool animated, bool interactive);

    bool isAnimated() const { return _animated; }
    bool isInteractive() const { return _interactive; }
    bool isCancelled() const { return _cancelled; }
    // The block runs when the user's interaction ends (finished or cancelled);
    // a transition that is not interactive never calls it.
    void notifyWhenInteractionEndsUsingBlock(Block block);
    // Ends the interaction: runs the blocks once, in order, then drops them.
    void endInteraction(bool cancelled);

  private:
    bool _animated = false;
    bool _interactive = false;
    bool _cancelled = false;
    std::vector<Block> _interactionEndBlocks;
};

struct UINavigationController : UIViewController {
    OBJC_CLASS(UINavigationController, UIViewController)

    static Ref<UINavigationController>
    navigationControllerWithRootViewController(UIViewController* root);
    UINavigationController* initWithRootViewController(UIViewController* root);
    ~UINavigationController();

    Ref<NSArray> viewControllers() const;
    UIViewController* topViewController() const;
    UINavigationBar* navigationBar();
    // The transition under way, or nil.
    UIViewControllerTransitionCoordinator* transitionCoordinator() const { return _coordinator; }

    // An interactive pop (the back swipe): begins with the will- calls, then
    // finishes (the top controller goes) or is cancelled (it stays and the
    // appearance calls run back). Answers false when there is nothing to pop
    // or a transition is under way.
    bool beginInteractivePop();
    bool finishInteractivePop();
    bool cancelInteractivePop();

    // Messages.
    // A controller that is nil or already on a stack is refused.
    void pushViewController(UIViewController* controller, bool animated);
    // The root controller stays: popping it answers nil.
    Ref<UIViewController> popViewControllerAnimated(bool animated);
    void loadView();
    void viewWillAppear(bool animated);
    void viewDidAppear(bool animated);
    void viewWillDisappear(bool animated);
    void viewDidDisappear(bool animated);

  private:
    void transition(UIViewController* from, UIViewController* to, bool animated);
    UIViewController* below() const;

    std::vector<Ref<UIViewController>> _stack;
    Ref<UINavigationBar> _navigationBar;
    Ref<UIViewControllerTransitionCoordinator> _coordinator;
};
