#ifndef QX_IDS_FRAME_H
#define QX_IDS_FRAME_H

#define IDS_ERROR_CAPTION 25001  /* caption of the plug-in's message boxes */
#define IDS_BAD_PASSWORD 25014  /* refusal of a confidential job at print start */

#endif
