/* Resource identifiers shared by the code and the resource scripts,
   one header per subsystem. */
#ifndef QX_RESOURCES_RESOURCE_IDS_H
#define QX_RESOURCES_RESOURCE_IDS_H
#include "ids_printstart.h"
#include "ids_optiontree.h"
#include "ids_layoutpage.h"
#include "ids_jobpage.h"
#include "ids_printersettings.h"
#include "ids_artwork.h"
#endif
