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

#include <string>

#include "Foundation/NSArray.h"
#include "Foundation/Result.h"

// The feed's objects, or the problem naming the file. Needs the feed item
// classes registered.
Result<Ref<NSArray>> loadFeed(const std::string& path);
// The same from JSON text; `source` names it in problems.
Result<Ref<NSArray>> parseFeed(const std::string& text, const std::string& source);
