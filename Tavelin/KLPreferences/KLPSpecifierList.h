// Preference screens declared as specifier lists: a property-list dictionary
// with a screen `title` and `items`, each a dictionary whose `cell` names the
// row's type (PSGroupCell starts a section with its `label` as header and
// `footerText` as footer, or with `headerText` a banner: a section of one row
// `height` high that shows the text centred; PSSwitchCell, PSSliderCell, PSSegmentCell,
// PSEditTextCell, PSLinkListCell, PSTitleValueCell, PSButtonCell, PSLinkCell,
// PSStaticTextCell become the framework's matching cells). A control is bound
// to the setting `key` with its `default`, in the domain `defaults` (its own
// store and file; the host's own domain when absent) and posts
// `PostNotification` after each change; a PSLinkListCell with
// `popViewOnSelect` NO stays open after a choice, a PSTitleValueCell without
// a key shows its `default`. A PSLinkCell opens the list that its `detail`
// names (beside the list, ".plist" optional) or its own `items`, or its `url`
// (a developer row with `subtitle` and `icon`, an image's device path), or
// only posts its `PostNotification`, the row as the object.
//
// A specifier that cannot be built (not a dictionary, an unknown cell type or
// key, a missing `key`, a value of the wrong type, validValues and
// validTitles of different lengths, min above max, a detail that names no
// file or a list already open above it) becomes a plain row whose detail is
// the problem, with a one-line warning. A list that is no dictionary or has
// no `items` array makes no screen.
#pragma once

#include <string>
#include <vector>

#include "Foundation/NSDictionary.h"
#include "KLPreferences/KLPreferences.h"

struct KLPSpecifierList {
    Ref<KLPreferences> controller; // nil when the list makes no screen
    std::string error;             // why there is no screen
    std::vector<std::string> warnings;
};

// The screen of the list in the file. Labels, footers and titles are looked
// up in `<language>.lproj/<list's name>.strings` beside each list file
// (UTF-8, or UTF-16 after a byte-order mark), and show as written when the
// table lacks them. In a right-to-left language the screen's view reads
// right to left.
KLPSpecifierList KLPSpecifierListFromFile(const std::string& path,
                                          const std::string& language = "en");
// The screen of a list given as a dictionary; details are found in `folder`.
KLPSpecifierList KLPSpecifierListFromDictionary(NSDictionary* list, const std::string& folder);

// The process's store of a defaults domain, made on first use: the standard
// store for the host's own domain, nil for a name that makes no file name.
NSUserDefaults* KLPDefaultsForDomain(NSString* domain);
