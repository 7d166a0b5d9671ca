#include "host/HostClasses.h"

#include "host/IGAccountSettingsViewController.h"
#include "host/IGFeed.h"
#include "host/IGMainFeed.h"

void registerHostClasses(const HostClassOptions& options) {
    IGMediaCoord::objcClass();
    IGAccountStrip::objcClass();
    if (options.feedItems) {
        IGPost::objcClass();
        IGAppInstallItem::objcClass();
    }
    if (options.mainFeed) {
        IGMainFeedListAdapterDataSource::objcClass();
        IGListAdapter::objcClass();
    }
    if (options.accountSettings) IGAccountSettingsViewController::objcClass();
}
