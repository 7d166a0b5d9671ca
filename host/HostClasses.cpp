#include "host/HostClasses.h"

#include "host/IGAccountSettingsViewController.h"
#include "host/IGFeed.h"
#include "host/IGMainFeed.h"
#include "host/IGMainFeedViewController.h"

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
        IGMainFeedViewController::objcClass();
    }
    if (options.accountSettings) IGAccountSettingsViewController::objcClass();
}
