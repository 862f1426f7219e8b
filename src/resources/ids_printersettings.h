#ifndef QX_IDS_PRINTERSETTINGS_H
#define QX_IDS_PRINTERSETTINGS_H

#define IDS_CONFIRM_NUMERIC_PASSWORD 25015  /* printer properties: enabling four-digit passwords */

#endif
