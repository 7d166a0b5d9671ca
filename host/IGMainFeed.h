// The main feed's list adapter and the data source it asks for its objects.
#pragma once

#include "Foundation/NSArray.h"
#include "Foundation/NSString.h"
#include "ObjectModel/NSObject.h"

struct IGListAdapter;

struct IGMainFeedListAdapterDataSource : NSObject {
    OBJC_CLASS(IGMainFeedListAdapterDataSource, NSObject)

    // `objects` may be nil: the feed then has nothing to show.
    OBJC_CLASS_METHOD(Ref<IGMainFeedListAdapterDataSource>, dataSourceWithObjects,
                      "dataSourceWithObjects:", NSArray*)
    OBJC_METHOD(IGMainFeedListAdapterDataSource*, initWithObjects, "initWithObjects:", NSArray*)
    OBJC_PROPERTY(NSArray*, objects, setObjects)
    // The feed file that reloadFeed reads again (nil: none).
    OBJC_PROPERTY(NSString*, feedPath, setFeedPath)

    OBJC_METHOD(Ref<NSArray>, objectsForListAdapter, "objectsForListAdapter:", IGListAdapter*)
    // Pull to refresh: reads the feed file again, so that every post is made
    // anew and given its mediaCoord by message. Answers nil, or why the file
    // could not be read (the objects then stay as they were).
    OBJC_METHOD(Ref<NSString>, reloadFeed, "reloadFeed")

  private:
    Ref<NSArray> _objects;
    Ref<NSString> _feedPath;
};

struct IGListAdapter : NSObject {
    OBJC_CLASS(IGListAdapter, NSObject)

    OBJC_CLASS_METHOD(Ref<IGListAdapter>, adapterWithDataSource,
                      "adapterWithDataSource:", NSObject*)
    OBJC_METHOD(IGListAdapter*, initWithDataSource, "initWithDataSource:", NSObject*)
    // Not owned; the data source must outlive the adapter's use.
    OBJC_PROPERTY(NSObject*, dataSource, setDataSource)

    // What the feed shows: the data source's answer, asked by message.
    OBJC_METHOD(Ref<NSArray>, objects, "objects")

  private:
    NSObject* _dataSource = nullptr;
};
