// A screen's controller. Its view loads on first use through loadView, then
// viewDidLoad; the appearance calls arrive as messages with the animated flag.
#pragma once

#include <functional>

#include "Foundation/NSString.h"
#include "UIKit/UIBarButtonItem.h"
#include "UIKit/UIView.h"
#include "ObjectModel/NSObject.h"

struct UINavigationController;

struct UIViewController : NSObject {
    OBJC_CLASS(UIViewController, NSObject)

    using Completion = std::function<void()>;

    UIViewController* init() { return this; }
    ~UIViewController();

    bool isViewLoaded() const { return _view; }
    void setView(UIView* view) { _view = view; }
    NSString* title() const { return _title; }
    void setTitle(NSString* title) { _title = title; }
    // The controller that contains this one (a navigation controller), not owned.
    UIViewController* parentViewController() const { return _parent; }
    void setParentViewController(UIViewController* parent) { _parent = parent; }

    UIViewController* presentedViewController() const { return _presented; }
    UIViewController* presentingViewController() const { return _presenting; }
    // Shows the controller modally over this one; refused (answers false) when
    // this one already presents one or the controller is shown elsewhere.
    bool presentViewController(UIViewController* controller, bool animated, Completion completion);
    // Dismisses what this controller presents, or, when it presents nothing,
    // the presentation that shows it.
    void dismissViewControllerAnimated(bool animated, Completion completion);

    // Messages.
    Ref<UIView> view();
    void loadView();
    void viewDidLoad() {}
    void viewWillAppear(bool) {}
    void viewDidAppear(bool) {}
    void viewWillDisappear(bool) {}
    void viewDidDisappear(bool) {}
    Ref<UINavigationItem> navigationItem();
    Ref<UINavigationController> navigationController();

  private:
    Ref<UIView> _view;
    Ref<NSString> _title;
    Ref<UINavigationItem> _navigationItem;
    UIViewController* _parent = nullptr;
    Ref<UIViewController> _presented;
    UIViewController* _presenting = nullptr;
};

// Runs the appearance calls of a change of screen in the platform's order:
// will-disappear old, will-appear new, did-disappear old, did-appear new.
// `between` runs after the will- calls (while the transition is under way).
void transitionAppearance(UIViewController* from, UIViewController* to, bool animated,
                          const std::function<void()>& between = {});
