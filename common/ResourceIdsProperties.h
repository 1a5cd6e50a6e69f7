// Resource identifiers of the font property sheets (TrueType/OpenType and Type 1 pages).
#pragma once

// Page templates; each is also the help topic of its page.
#define IDD_PROP_FILE               1020
#define IDD_PROP_NAMES              1023
#define IDD_PROP_VENDOR             1024
#define IDD_PROP_DESCRIPTION        1025
#define IDD_PROP_CPCHARMAP          1026
#define IDD_PROP_VERSION            1027
#define IDD_PROP_PANOSE             1028
#define IDD_PROP_T1_FILES           1030
#define IDD_PROP_T1_NAME            1031
#define IDD_PROP_T1_DESCRIPTION     1032

// Type icons of the File pages: collection, OpenType, TrueType, Type 1 (32 pixels each).
#define IDB_PROP_FONT_TYPES         926

// Controls of the pages.
#define IDC_PROP_TYPE_ICON          600
#define IDC_PROP_FOLDER             601
#define IDC_PROP_FILE_TITLE         602
#define IDC_PROP_MODIFIED           603
#define IDC_PROP_ACCESSED           604
#define IDC_PROP_READ_ONLY          605
#define IDC_PROP_ARCHIVE            606
#define IDC_PROP_SYSTEM             607
#define IDC_PROP_HIDDEN             608
#define IDC_PROP_CREATED            609
#define IDC_PROP_FILE_NAME          610
#define IDC_PROP_FILE_SIZE          611
#define IDC_PROP_COLLECTION         612
#define IDC_PROP_HEAD_DATES         613
#define IDC_PROP_REVISION           615
#define IDC_PROP_GLYPH_COUNT        616
#define IDC_PROP_EMBEDDING          617
#define IDC_PROP_MONOSPACED         618
#define IDC_PROP_FEATURES           623
#define IDC_PROP_ENCODING           626
#define IDC_PROP_UNICODE_RANGES     627
#define IDC_PROP_CODE_PAGES         628
#define IDC_PROP_COPYRIGHT          630
#define IDC_PROP_FAMILY             631
#define IDC_PROP_SUBFAMILY          632
#define IDC_PROP_UNIQUE_ID          633
#define IDC_PROP_FULL_NAME          634
#define IDC_PROP_VERSION_STRING     635
#define IDC_PROP_POSTSCRIPT_NAME    636
#define IDC_PROP_TRADEMARK          637
#define IDC_PROP_VENDOR_NAME        638
#define IDC_PROP_DESIGNER           639
#define IDC_PROP_DESCRIPTION        640
#define IDC_PROP_VENDOR_URL         641
#define IDC_PROP_LICENSE            643
#define IDC_PROP_LICENSE_URL        644
#define IDC_PROP_PANOSE_KIND        650
#define IDC_PROP_PANOSE_VALUE1      651
#define IDC_PROP_PANOSE_TITLE1      660
#define IDC_PROP_FAMILY_CLASS       680
#define IDC_PROP_FAMILY_SUBCLASS    681
#define IDC_PROP_T1_PFB_NAME        690
#define IDC_PROP_T1_PFM_NAME        691
#define IDC_PROP_T1_PFB_SIZE        692
#define IDC_PROP_T1_PFM_SIZE        693

// Strings; "|"-separated ones are lists read by position.
#define IDS_PROP_EMBEDDING          14001
#define IDS_PROP_CODE_PAGES_LOW     14002
#define IDS_PROP_CODE_PAGES_HIGH    14003
#define IDS_PROP_CODE_PAGES_OEM     14006
#define IDS_PROP_CODE_PAGE_BIT      14007
#define IDS_PROP_MONOSPACED         14020
#define IDS_PROP_NAMED_INSTANCES    14021
#define IDS_PROP_UNKNOWN            14022
#define IDS_PROP_SIGNED             14023
#define IDS_PROP_NO_FIT             14026
#define IDS_PROP_WINDOWS_ENCODINGS  14032
#define IDS_PROP_CUSTOM_ENCODING    14033
#define IDS_PROP_CFF_OUTLINES       14034
#define IDS_PROP_SIGNED_CFF         14035
#define IDS_PROP_VERTICAL           12239
#define IDS_PROP_EMBEDDED_BITMAPS   12243
#define IDS_PROP_SVG_GLYPHS         12264
#define IDS_PROP_OPTICAL_SIZE       12272
#define IDS_PANOSE_FAMILY_KINDS     14050
#define IDS_PANOSE_DIGIT_TITLES     14051   // + digit set 0..4
#define IDS_PANOSE_SERIF_STYLE      14060   // digit 1, + set 0..4
#define IDS_PANOSE_WEIGHT           14078   // digit 2, every set
#define IDS_PANOSE_PROPORTION       14080   // digit 3, + set
#define IDS_PANOSE_CONTRAST         14090   // digit 4: 14090..14093
#define IDS_PANOSE_STROKE           14100   // digit 5, + set
#define IDS_PANOSE_SYMBOL_ASPECT    14103   // digits 5 to 9 of the Latin Symbol set
#define IDS_PANOSE_ARM_STYLE        14110   // digit 6: 14110..14113
#define IDS_PANOSE_LETTERFORM       14120   // digit 7: 14120..14123
#define IDS_PANOSE_MIDLINE          14130   // digit 8: 14130..14133
#define IDS_PANOSE_X_HEIGHT         14140   // digit 9: 14140..14143
#define IDS_FAMILY_CLASSES          14200   // + class 1..14: the subclasses
