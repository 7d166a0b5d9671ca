// Registers the host's classes with the runtime at start. Each can be left
// out, so that a process can stand for a host that lacks it.
#pragma once

struct HostClassOptions {
    bool feedItems = true; // IGFeedItem, IGPost, IGAppInstallItem
    bool mainFeed = true;  // IGMainFeedListAdapterDataSource, IGListAdapter
    bool accountSettings = true;
};

void registerHostClasses(const HostClassOptions& options = {});
