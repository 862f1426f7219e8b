/* The Layout page: its dialog, controls and texts. */
#ifndef QX_IDS_LAYOUTPAGE_H
#define QX_IDS_LAYOUTPAGE_H

#define IDD_LAYOUT_PAGE            11001

/* Controls of dialog 11001. */
#define IDC_ORIENTATION_LABEL      11003
#define IDC_ORIENTATION_LIST       11004
#define IDC_DUPLEX_LABEL           11005
#define IDC_DUPLEX_LIST            11006
#define IDC_PAGEORDER_LABEL        11007
#define IDC_PAGEORDER_LIST         11008
#define IDC_PAGEFORMAT_GROUP       11009
#define IDC_PERSHEET_RADIO         11010
#define IDC_BOOKLET_RADIO          11011
#define IDC_PERSHEET_LIST          11012
#define IDC_NUPDIRECTION_LABEL     11013
#define IDC_NUPDIRECTION_LIST      11014
#define IDC_BINDINGEDGE_LABEL      11015
#define IDC_BINDINGEDGE_LIST       11016
#define IDC_BORDERS_CHECK          11017
#define IDC_PREVIEW_FRAME          11018

/* Page title and labels. */
#define IDS_LAYOUT_TITLE           11002
#define IDS_ORIENTATION_LABEL      11050
#define IDS_DUPLEX_LABEL           11051
#define IDS_PAGEORDER_LABEL        11052
#define IDS_PAGEFORMAT_GROUP       11053
#define IDS_PERSHEET_RADIO         11054
#define IDS_BOOKLET_RADIO          11055
#define IDS_NUPDIRECTION_LABEL     11056
#define IDS_BINDINGEDGE_LABEL      11058
#define IDS_BORDERS_CHECK          11059

/* First text of each option list; option k has the text base + k. */
#define IDS_ORIENTATION_FIRST      11060
#define IDS_DUPLEX_FIRST           11065
#define IDS_PAGEORDER_FIRST        11070
#define IDS_PERSHEET_FIRST         11080
#define IDS_NUPDIRECTION_FIRST     11090
#define IDS_BINDINGEDGE_FIRST      11095

#endif
