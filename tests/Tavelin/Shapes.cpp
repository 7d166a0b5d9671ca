#include "Shapes.h"

const ClassInfo& CoordStore::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<CoordStore>().build();
    return info;
}
