#ifndef QX_IDS_OPTIONTREE_H
#define QX_IDS_OPTIONTREE_H

#endif
