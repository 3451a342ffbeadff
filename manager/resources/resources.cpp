#include "resources/resources.h"

#include <QtGlobal>

void initTovixResources()
{
    Q_INIT_RESOURCE(resources);
}
