; The setup program of Varnel for Windows (NSIS 3, Unicode). scripts/build-windows.sh runs
; makensis with these definitions:
;   VERSION   the program's version, for example 1.0.1
;   STAGE     the folder that holds the files to install, as they lie under Program Files\Varnel
;   FILES     an include file of File commands for every file of STAGE
;   REMOVE    an include file of Delete and RMDir commands for the same files
;   SIZE_KB   the installed size in KiB, shown in "Apps and features"
;   ICON      the program's icon
;   OUTFILE   the setup program to write
;   SETTINGS  the commented example of the settings file, for %ProgramData%\Varnel
; The uninstaller removes the installed files only: the clerk's cases and exports lie in
; %USERPROFILE%\Varnel and are never touched, nor are the office's settings in
; %ProgramData%\Varnel.

; A 64-bit setup program for the 64-bit program (it also runs where Wine has no 32-bit part).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define PRODUCT "Varnel 法院办公工具"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnel"

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} 安装"
UninstallCaption "${PRODUCT} ${VERSION} 卸载"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Varnel"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Varnel ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "CompanyName" "Varnel developers"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Varnel developers"

!include "MUI2.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TITLE "欢迎安装 ${PRODUCT}"
!define MUI_WELCOMEPAGE_TEXT "本程序将在这台电脑上安装 ${PRODUCT} ${VERSION}：诉讼费计算、刑期计算和案款分配计算。$\r$\n$\r$\n案件数据库和导出的案款分配表保存在您自己的文件夹 %USERPROFILE%\Varnel 中，第一次启动时建立。$\r$\n$\r$\n点击“下一步”继续。"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; No "start now" box: the setup program runs elevated, and the first start makes the clerk's
; folder and database, which must belong to the clerk.
!define MUI_FINISHPAGE_TEXT "${PRODUCT} 已安装。请从“开始”菜单中的“${PRODUCT}”启动。"
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "将从这台电脑上删除 ${PRODUCT}。您保存的案件和导出的表格（%USERPROFILE%\Varnel 文件夹）不会被删除。"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "${PRODUCT}" SecMain
  SectionIn RO
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The settings of every clerk of this PC (with the context "all", $APPDATA is ProgramData): the
  ; example goes there only when the office has not written its own.
  SetOutPath "$APPDATA\Varnel"
  SetOverwrite off
  File "${SETTINGS}"
  SetOverwrite on
  SetOutPath "$INSTDIR"

  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\varnel-start.exe" "" \
    "$INSTDIR\varnel-start.exe" 0 SW_SHOWNORMAL "" "${PRODUCT}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Varnel developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\varnel.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  !include "${REMOVE}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
