// The host's main feed screen: each time it appears it asks its list
// adapter (which asks the data source by message) for the feed objects and
// shows them as cards (IGFeedView). Its "Settings" button opens the account settings.
#pragma once

#include "UIKit/UIViewController.h"
#include "host/IGFeedView.h"
#include "host/IGMainFeed.h"

struct IGMainFeedViewController : UIViewController {
    OBJC_CLASS(IGMainFeedViewController, UIViewController)

    static Ref<IGMainFeedViewController> controllerWithObjects(NSArray* objects);
    IGMainFeedViewController* initWithObjects(NSArray* objects);

    // What the screen showed when it last appeared (nil before).
    NSArray* shownObjects() const { return _shownObjects; }
    IGMainFeedListAdapterDataSource* dataSource() const { return _dataSource; }

    // Messages.
    void loadView();
    void viewWillAppear(bool animated);
    void openSettings(id sender);

  private:
    Ref<IGMainFeedListAdapterDataSource> _dataSource;
    Ref<IGListAdapter> _adapter;
    Ref<NSArray> _shownObjects;
    Ref<IGFeedView> _feedView;
};
