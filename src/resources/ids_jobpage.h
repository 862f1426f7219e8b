#ifndef QX_IDS_JOBPAGE_H
#define QX_IDS_JOBPAGE_H

#endif
