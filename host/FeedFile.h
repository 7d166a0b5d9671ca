// Reads the host's sample feed from a JSON file:
//
//   {"items": [
//     {"kind": "post", "owner": "ana", "place": "Lisbon", "caption": "...", "sponsored": false},
//     {"kind": "app_install", "app": "Quillo", "caption": "..."},
//     {"kind": "stories", "accounts": ["ana", "bo"]},
//     {"kind": "suggestions", "accounts": ["cy"]}
//   ]}
//
// "place", "caption" and "sponsored" are optional.
#pragma once

#include <stdexcept>
#include <string>

#include "Foundation/NSArray.h"

// A feed file that cannot be used; the message names the file and the problem.
struct FeedFileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Needs the feed item classes registered. Throws FeedFileError.
Ref<NSArray> loadFeed(const std::string& path);
// The same from JSON text; `source` names it in errors.
Ref<NSArray> parseFeed(const std::string& text, const std::string& source);
