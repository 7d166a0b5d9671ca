#include "host/IGMainFeed.h"

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"
#include "host/FeedFile.h"

Ref<IGMainFeedListAdapterDataSource>
IGMainFeedListAdapterDataSource::dataSourceWithObjectsImp(Class cls, NSArray* objects) {
    return make<IGMainFeedListAdapterDataSource>(
        cls, &IGMainFeedListAdapterDataSource::initWithObjects, objects);
}

IGMainFeedListAdapterDataSource*
IGMainFeedListAdapterDataSource::initWithObjectsImp(NSArray* objects) {
    if (!init()) return nullptr;
    _objects = objects;
    return this;
}

Ref<NSArray> IGMainFeedListAdapterDataSource::objectsForListAdapterImp(IGListAdapter*) {
    return _objects;
}

Ref<NSString> IGMainFeedListAdapterDataSource::reloadFeedImp() {
    if (!_feedPath) return "This feed was not read from a file; there is nothing to reload."_ns;
    Result<Ref<NSArray>> feed = loadFeed(_feedPath->utf8());
    if (!feed) return NSString::string(feed.problem() + "; the feed stays as it was.");
    setObjects(*feed);
    return nullptr;
}

OBJC_IMPLEMENT_CLASS(IGMainFeedListAdapterDataSource)

Ref<IGListAdapter> IGListAdapter::adapterWithDataSourceImp(Class cls, NSObject* dataSource) {
    return make<IGListAdapter>(cls, &IGListAdapter::initWithDataSource, dataSource);
}

IGListAdapter* IGListAdapter::initWithDataSourceImp(NSObject* dataSource) {
    if (!init()) return nullptr;
    _dataSource = dataSource;
    return this;
}

Ref<NSArray> IGListAdapter::objectsImp() {
    return send<Ref<NSArray>>(dataSource(), "objectsForListAdapter:"_sel, this);
}

OBJC_IMPLEMENT_CLASS(IGListAdapter)
