// The host's sample feed (host/data/feed.json), built into the host for a
// device root that has no feed of its own.
#pragma once

extern const char* const kSampleFeed;
