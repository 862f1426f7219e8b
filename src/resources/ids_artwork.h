/* Bitmaps of the Layout page's preview and the icons of its lists. */
#ifndef QX_IDS_ARTWORK_H
#define QX_IDS_ARTWORK_H

/* Icons (icon groups of one 20x20 image, 32 bits with alpha). */
#define IDI_WARNING_SIGN            12001
#define IDI_PORTRAIT                12011
#define IDI_PORTRAIT_WARN           12012
#define IDI_LANDSCAPE               12013
#define IDI_LANDSCAPE_WARN          12014
#define IDI_ROTATED_LANDSCAPE       12015
#define IDI_ROTATED_LANDSCAPE_WARN  12016
#define IDI_ONE_SIDED               12021
#define IDI_ONE_SIDED_WARN          12022
#define IDI_FLIP_SHORT_PORTRAIT     12023
#define IDI_FLIP_SHORT_PORTRAIT_WARN 12024
#define IDI_FLIP_LONG_PORTRAIT      12025
#define IDI_FLIP_LONG_PORTRAIT_WARN 12026
#define IDI_FLIP_SHORT_LANDSCAPE    12027
#define IDI_FLIP_SHORT_LANDSCAPE_WARN 12028
#define IDI_FLIP_LONG_LANDSCAPE     12029
#define IDI_FLIP_LONG_LANDSCAPE_WARN 12030

/* Sheet pictures: base + 4 * pages-per-sheet option + variant. */
#define IDB_SHEET_COLOR_PORTRAIT    12101
#define IDB_SHEET_COLOR_LANDSCAPE   12151
#define IDB_SHEET_GRAY_PORTRAIT     12201
#define IDB_SHEET_GRAY_LANDSCAPE    12251

/* Binding overlays: base + 3 * pages-per-sheet option. */
#define IDB_BIND_LEFT_PORTRAIT      12301
#define IDB_BIND_TOP_PORTRAIT       12302
#define IDB_BIND_LEFT_LANDSCAPE     12321
#define IDB_BIND_TOP_LANDSCAPE      12322

#endif
