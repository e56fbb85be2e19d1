#pragma once
// Template and control ids of the user-dictionary editor, shared by its .rc and its code.

#define IDD_DICTIONARY_EDITOR 400
#define IDD_DICTIONARY_ENTRY 401

#define IDC_DIC_SEARCH 1201
#define IDC_DIC_LIST 1202
#define IDC_DIC_ADD 1203
#define IDC_DIC_EDIT 1204
#define IDC_DIC_DELETE 1205
#define IDC_DIC_SPEAK 1206
#define IDC_DIC_IMPORT 1207
#define IDC_DIC_SAVE 1208
#define IDC_DIC_STATUS 1209

#define IDC_ENTRY_WRITTEN 1221
#define IDC_ENTRY_READING 1222
#define IDC_ENTRY_HINT 1223
