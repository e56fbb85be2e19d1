; The setup program of Ostrel Quartet: a per-machine installation under Program Files.
; Built by cmake/Release.cmake, which passes the version, the staged program folder and the
; generated file lists (-D on makensis' command line).
;
; Silent use:  setup.exe /S [/AUTOCHK=0|1] [/STARTUP=0|1] [/D=folder]
;              Uninstall.exe /S   (keeps the user's settings and dictionaries)

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include x64.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ostrel4"
!define MACHINE_KEY "SOFTWARE\BRANTIC\Ostrel4"
!define UPDATE_KEY "SOFTWARE\BRANTIC\Ostrel4\AppUpdate"
!define USER_KEY "Software\Brantic\Ostrel4"
!define MENU_FOLDER "Ostrel Quartet"
!define STARTUP_LINK "Ostrel Quartet.lnk"

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} セットアップ"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Brantic\Ostrel Quartet"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1041 "FileDescription" "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Copyright (C) 2014 Brantic Voiceworks"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "${PRODUCT} を起動する"
!define MUI_FINISHPAGE_RUN_FUNCTION StartToolbarAsUser
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\マニュアル.pdf"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "ユーザーズマニュアルを開く"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

LangString TOOLBAR_RUNNING ${LANG_JAPANESE} "${PRODUCT} が起動しています。$\r$\n終了してから続けます。よろしいですか？"
LangString TOOLBAR_STILL_RUNNING ${LANG_JAPANESE} "${PRODUCT} を終了できませんでした。$\r$\nツールバーを閉じてから「再試行」を押してください。"
LangString REMOVE_USER_DATA ${LANG_JAPANESE} "お使いの設定とユーザー辞書も削除しますか？$\r$\n$\r$\n削除するのは、このアンインストールを実行しているユーザーのものだけです。「いいえ」を選ぶと残り、再びインストールしたときにそのまま使えます。"
LangString DESC_PROGRAM ${LANG_JAPANESE} "ツールバー、音声エンジン、ユーザー辞書エディター、マニュアルです。"
LangString DESC_AUTOCHK ${LANG_JAPANESE} "ツールバーの起動時に新しいバージョンが公開されているか確かめ、あればお知らせします。自動でダウンロードはしません。"
LangString DESC_STARTUP ${LANG_JAPANESE} "Windows にサインインしたときにツールバーを起動します。"

Var autoCheck   ; "1" or "0", from the component or /AUTOCHK=

; The toolbar holds its files open: ask it to close (WM_CLOSE saves its settings as the user's
; own close would) and wait for its single-instance mutex to go.
!macro DEFINE_CLOSE_TOOLBAR PREFIX
Function ${PREFIX}CloseRunningToolbar
  Push $0
  Push $1
  Push $2
  Push $3
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Ostrel4") p .r0'
  ${If} $0 == 0
    Goto done
  ${EndIf}
  System::Call 'kernel32::CloseHandle(p r0)'
  MessageBox MB_OKCANCEL|MB_ICONINFORMATION "$(TOOLBAR_RUNNING)" /SD IDOK IDOK close
  Abort
close:
  ; The product's message boxes carry its name as well: the toolbar is the layered window.
  StrCpy $1 0
find:
  FindWindow $1 "#32770" "${PRODUCT}" "" $1
  ${If} $1 != 0
    System::Call 'user32::GetWindowLongW(p r1, i -20) i .r3'
    IntOp $3 $3 & 0x80000
    ${If} $3 == 0
      Goto find
    ${EndIf}
    System::Call 'user32::PostMessageW(p r1, i 0x10, p 0, p 0)'
  ${EndIf}
  StrCpy $2 0
wait:
  Sleep 250
  IntOp $2 $2 + 1
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Ostrel4") p .r0'
  ${If} $0 == 0
    Goto done
  ${EndIf}
  System::Call 'kernel32::CloseHandle(p r0)'
  ${If} $2 < 60
    Goto wait
  ${EndIf}
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(TOOLBAR_STILL_RUNNING)" /SD IDCANCEL IDRETRY close
  Abort
done:
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_TOOLBAR ""
!insertmacro DEFINE_CLOSE_TOOLBAR "un."

Section "!プログラム本体" SecProgram
  SectionIn RO
  SetRegView 64
  SetShellVarContext all
  Call CloseRunningToolbar

  !include "${FILE_LIST}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${UPDATE_KEY}" "FeedUrl" "${FEED_URL}"

  CreateDirectory "$SMPROGRAMS\${MENU_FOLDER}"
  CreateShortCut "$SMPROGRAMS\${MENU_FOLDER}\${PRODUCT}.lnk" "$INSTDIR\Ostrel4.exe" "" "$INSTDIR\Ostrel4.exe" 0
  CreateShortCut "$SMPROGRAMS\${MENU_FOLDER}\ユーザーズマニュアル.lnk" "$INSTDIR\マニュアル.pdf"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Ostrel4.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${SUPPORT_URL}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "HelpLink" "${SUPPORT_URL}"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "起動時に更新を確認する" SecAutoCheck
SectionEnd

Section /o "サインイン時にツールバーを起動する" SecStartup
SectionEnd

; The choices are written whichever way they went, so an upgrade can also turn them off.
Section "-choices"
  SetRegView 64
  SetShellVarContext all
  ${If} ${SectionIsSelected} ${SecAutoCheck}
    StrCpy $autoCheck "1"
  ${Else}
    StrCpy $autoCheck "0"
  ${EndIf}
  WriteRegStr HKLM "${UPDATE_KEY}" "AutoChk" "$autoCheck"
  ${If} ${SectionIsSelected} ${SecStartup}
    CreateShortCut "$SMSTARTUP\${STARTUP_LINK}" "$INSTDIR\Ostrel4.exe" "" "$INSTDIR\Ostrel4.exe" 0
  ${Else}
    Delete "$SMSTARTUP\${STARTUP_LINK}"
  ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "$(DESC_PROGRAM)"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecAutoCheck} "$(DESC_AUTOCHK)"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecStartup} "$(DESC_STARTUP)"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} は 64 ビット版の Windows で動作します。" /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  SetShellVarContext all
  ; An upgrade starts from the choices of the installation it replaces.
  ReadRegStr $autoCheck HKLM "${UPDATE_KEY}" "AutoChk"
  ${If} $autoCheck == "0"
    !insertmacro UnselectSection ${SecAutoCheck}
  ${EndIf}
  ${If} ${FileExists} "$SMSTARTUP\${STARTUP_LINK}"
    !insertmacro SelectSection ${SecStartup}
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AUTOCHK=" $1
  ${IfNot} ${Errors}
    ${If} $1 == "0"
      !insertmacro UnselectSection ${SecAutoCheck}
    ${Else}
      !insertmacro SelectSection ${SecAutoCheck}
    ${EndIf}
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/STARTUP=" $1
  ${IfNot} ${Errors}
    ${If} $1 == "1"
      !insertmacro SelectSection ${SecStartup}
    ${Else}
      !insertmacro UnselectSection ${SecStartup}
    ${EndIf}
  ${EndIf}
FunctionEnd

; The setup program runs elevated; the toolbar must not, or it could not send keys to the
; user's applications. Explorer starts it as the signed-in user.
Function StartToolbarAsUser
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\Ostrel4.exe"'
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningToolbar

  !include "${UNINSTALL_LIST}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  ${GetParent} "$INSTDIR" $0
  RMDir "$0"  ; the publisher's folder, when nothing else is in it

  Delete "$SMPROGRAMS\${MENU_FOLDER}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${MENU_FOLDER}\ユーザーズマニュアル.lnk"
  RMDir "$SMPROGRAMS\${MENU_FOLDER}"
  Delete "$SMSTARTUP\${STARTUP_LINK}"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${MACHINE_KEY}"
  DeleteRegKey /ifempty HKLM "SOFTWARE\BRANTIC"

  ; The user's settings and dictionaries are theirs: removed only when they say so, kept
  ; in silent mode.
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(REMOVE_USER_DATA)" /SD IDNO IDNO keep
  DeleteRegKey HKCU "${USER_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Brantic"
  SetShellVarContext current
  RMDir /r "$APPDATA\Brantic\Ostrel4"
  RMDir "$APPDATA\Brantic"
keep:
SectionEnd
