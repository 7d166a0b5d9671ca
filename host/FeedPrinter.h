// The main feed as a person reads it, as text: one entry per object, with the
// post's attribution (owner and place) when its mediaCoord answers one, its
// caption, and a visible mark on sponsored items.
#pragma once

#include <string>

#include "Foundation/NSArray.h"
#include "ObjectModel/NSObject.h"

// One feed object as text (without a trailing newline).
std::string describeFeedObject(NSObject* object);
// Every object, numbered from 1; an empty or nil feed says so.
std::string describeFeed(const NSArray* objects);
