#include "host/IGMainFeed.h"

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

Ref<IGMainFeedListAdapterDataSource>
IGMainFeedListAdapterDataSource::dataSourceWithObjects(NSArray* objects) {
    auto source =
        Ref<IGMainFeedListAdapterDataSource>::adopt(alloc<IGMainFeedListAdapterDataSource>());
    source->_objects = objects;
    return source;
}

Ref<NSArray> IGMainFeedListAdapterDataSource::objectsForListAdapter(IGListAdapter*) {
    return _objects;
}

const ClassInfo& IGMainFeedListAdapterDataSource::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<IGMainFeedListAdapterDataSource>()
            .method<"objectsForListAdapter:",
                    &IGMainFeedListAdapterDataSource::objectsForListAdapter>()
            .build();
    return info;
}

Ref<IGListAdapter> IGListAdapter::adapterWithDataSource(NSObject* dataSource) {
    auto adapter = Ref<IGListAdapter>::adopt(alloc<IGListAdapter>());
    adapter->_dataSource = dataSource;
    return adapter;
}

Ref<NSArray> IGListAdapter::objects() {
    return send<Ref<NSArray>>(_dataSource, "objectsForListAdapter:"_sel, this);
}

const ClassInfo& IGListAdapter::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<IGListAdapter>().build();
    return info;
}
