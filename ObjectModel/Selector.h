// Selectors by literal, each looked up once: "viewDidLoad"_sel.
#pragma once

#include <objc/runtime.h>

#include "ObjectModel/FixedString.h"

template <FixedString Name> SEL selector() {
    static const SEL sel = sel_registerName(Name.data);
    return sel;
}

template <FixedString Name> SEL operator""_sel() {
    return selector<Name>();
}
