// The main feed's list adapter and the data source it asks for its objects.
#pragma once

#include "Foundation/NSArray.h"
#include "ObjectModel/NSObject.h"

struct IGListAdapter;

struct IGMainFeedListAdapterDataSource : NSObject {
    OBJC_CLASS(IGMainFeedListAdapterDataSource, NSObject)

    // `objects` may be nil: the feed then has nothing to show.
    static Ref<IGMainFeedListAdapterDataSource> dataSourceWithObjects(NSArray* objects);

    // Messages.
    Ref<NSArray> objectsForListAdapter(IGListAdapter* adapter);

  private:
    Ref<NSArray> _objects;
};

struct IGListAdapter : NSObject {
    OBJC_CLASS(IGListAdapter, NSObject)

    // The data source is not owned; it must outlive the adapter's use.
    static Ref<IGListAdapter> adapterWithDataSource(NSObject* dataSource);

    // What the feed shows: the data source's answer, asked by message.
    Ref<NSArray> objects();

  private:
    NSObject* _dataSource = nullptr;
};
