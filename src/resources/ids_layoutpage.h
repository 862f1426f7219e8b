#ifndef QX_IDS_LAYOUTPAGE_H
#define QX_IDS_LAYOUTPAGE_H

#endif
