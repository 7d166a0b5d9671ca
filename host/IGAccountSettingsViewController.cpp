#include "host/IGAccountSettingsViewController.h"

#include "objc/ClassBuilder.h"
#include "objc/Message.h"

Ref<IGAccountSettingsViewController> IGAccountSettingsViewController::controller() {
    return Ref<IGAccountSettingsViewController>::adopt(alloc<IGAccountSettingsViewController>());
}

void IGAccountSettingsViewController::loadView() {
    send(this, "viewDidLoad"_sel);
}

const ClassInfo& IGAccountSettingsViewController::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<IGAccountSettingsViewController>()
            .method<"viewDidLoad", &IGAccountSettingsViewController::viewDidLoad>()
            .build();
    return info;
}
