// The host's account settings screen. For now it only records that its view
// was loaded.
#pragma once

#include "objc/NSObject.h"

struct IGAccountSettingsViewController : NSObject {
    OBJC_CLASS(IGAccountSettingsViewController, NSObject)

    static Ref<IGAccountSettingsViewController> controller();

    // Loads the view: sends viewDidLoad, as the platform does.
    void loadView();
    int viewLoads() const { return _viewLoads; }

    // Messages.
    void viewDidLoad() { ++_viewLoads; }

  private:
    int _viewLoads = 0;
};
