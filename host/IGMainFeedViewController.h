// The host's main feed screen: each time it appears it asks its list
// adapter (which asks the data source by message) for the feed objects and
// shows them as cards (IGFeedView). Its "Settings" button opens the account settings.
#pragma once

#include "UIKit/UIViewController.h"
#include "host/IGFeedView.h"
#include "host/IGMainFeed.h"

struct IGMainFeedViewController : UIViewController {
    OBJC_CLASS(IGMainFeedViewController, UIViewController)

    OBJC_CLASS_METHOD(Ref<IGMainFeedViewController>, controllerWithObjects,
                      "controllerWithObjects:", NSArray*)
    OBJC_METHOD(IGMainFeedViewController*, initWithObjects, "initWithObjects:", NSArray*)
    // What the screen showed when it last appeared or reloaded (nil before).
    OBJC_READONLY(NSArray*, shownObjects)
    OBJC_READONLY(IGMainFeedListAdapterDataSource*, dataSource)
    // Asks the list adapter again and shows its answer.
    OBJC_METHOD(void, reloadData, "reloadData")
    OBJC_METHOD(void, openSettings, "openSettings:", id)
    OBJC_OVERRIDE(void, loadView, "loadView")
    // The feed shows its own header in the navigation bar's place.
    OBJC_OVERRIDE(void, viewWillAppear, "viewWillAppear:", bool)
    OBJC_OVERRIDE(void, viewWillDisappear, "viewWillDisappear:", bool)

  private:
    Ref<IGMainFeedListAdapterDataSource> _dataSource;
    Ref<IGListAdapter> _adapter;
    Ref<NSArray> _shownObjects;
    Ref<IGFeedView> _feedView;
};
