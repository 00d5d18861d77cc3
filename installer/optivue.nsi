; optivue-setup.exe: installs optivue.exe and chgtheme.exe into the fixed installation folder, adds the
; Start menu entry "Optivue" for every user and the entry under Add or Remove Programs, and writes the
; uninstaller. English or German, by the system's language. Silent with /S.
;
;   makensis -INPUTCHARSET UTF8 -DPROGRAM_DIR=<folder of the two executables> -DPROGRAM_ICON=<optivue.ico>
;            -DOUTFILE=<optivue-setup.exe> -DPRODUCT=... -DMAKER=... -DVERSION=... -DFOLDER=...
;            -DPROGRAM_KEY=... -DSTARTUP_SHORTCUT=... -DPACKAGE_UPGRADE_CODE=... installer/optivue.nsi
;
; The build (installer/CMakeLists.txt) gives the facts of the product as res/product.h has them.
;
; Exit codes besides the installer's own (0 installed, 1 cancelled, 2 stopped by an error):
;   3  the system is not Windows 2000 or XP, as the program tells them apart; nothing was installed
;   4  the user is no administrator; nothing was installed (uninstalling: nothing was removed)
;   5  the Windows Installer package optivue.msi has installed the program on this machine; nothing was
;      installed

Unicode true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!ifndef PROGRAM_DIR | PROGRAM_ICON | OUTFILE
  !error "define PROGRAM_DIR, PROGRAM_ICON and OUTFILE (see the head of this script)"
!endif
!ifndef PRODUCT | MAKER | VERSION | FOLDER | PROGRAM_KEY | STARTUP_SHORTCUT | PACKAGE_UPGRADE_CODE
  !error "define the facts of the product as res/product.h has them (see the head of this script)"
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define EXIT_UNSUPPORTED_SYSTEM 3
!define EXIT_NOT_ADMINISTRATOR 4
!define EXIT_PACKAGE_INSTALLED 5

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; The program starts its tool from this folder by its full path: it is not the user's to choose.
InstallDir "${FOLDER}"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${PROGRAM_ICON}"
!define MUI_UNICON "${PROGRAM_ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\optivue.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

LangString UnsupportedSystem ${LANG_ENGLISH} "${PRODUCT} runs on Windows 2000 and Windows XP only. It cannot be installed on this system."
LangString UnsupportedSystem ${LANG_GERMAN} "${PRODUCT} läuft nur unter Windows 2000 und Windows XP. Es kann auf diesem System nicht installiert werden."
LangString PackageInstalled ${LANG_ENGLISH} "${PRODUCT} is already installed from the Windows Installer package optivue.msi. Remove it under Add or Remove Programs first, then run this setup program."
LangString PackageInstalled ${LANG_GERMAN} "${PRODUCT} ist bereits aus dem Windows-Installer-Paket optivue.msi installiert. Entfernen Sie es zuerst unter Software, dann starten Sie dieses Setup-Programm."
LangString NotAdministrator ${LANG_ENGLISH} "Installing or removing ${PRODUCT} needs an administrator's rights. Please log on as an administrator and try again."
LangString NotAdministrator ${LANG_GERMAN} "Zum Installieren oder Entfernen von ${PRODUCT} sind Administratorrechte nötig. Bitte melden Sie sich als Administrator an und versuchen Sie es erneut."

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${MAKER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright © ${MAKER}. All rights reserved."

; Windows 2000 or XP as the program tells them apart: the NT family from version 5 on. A system that does
; not answer counts as unsupported.
!macro RefuseUnsupportedSystem
  System::Call "*(i 148, i 0, i 0, i 0, i 0, &m128 '') p .r0"
  System::Call "kernel32::GetVersionExA(p r0) i .r1"
  System::Call "*$0(i, i .r2, i, i, i .r3)"
  System::Free $0
  ${If} $1 = 0
  ${OrIf} $3 <> 2
  ${OrIf} $2 < 5
    MessageBox MB_OK|MB_ICONSTOP "$(UnsupportedSystem)" /SD IDOK
    SetErrorLevel ${EXIT_UNSUPPORTED_SYSTEM}
    Quit
  ${EndIf}
!macroend

; The program folder and the registration belong to every user of the machine.
!macro RefuseNonAdministrator
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "$(NotAdministrator)" /SD IDOK
    SetErrorLevel ${EXIT_NOT_ADMINISTRATOR}
    Quit
  ${EndIf}
!macroend

; The package's installation and this one would share the folder and the files: while a product of the
; package's upgrade code is installed, this installer refuses (and the package refuses while this one's
; installation is there). A system without Windows Installer has no such product.
!macro RefuseBesidePackage
  System::Call 'msi::MsiEnumRelatedProductsW(w "${PACKAGE_UPGRADE_CODE}", i 0, i 0, w .r1) i .r0'
  ${If} $0 == 0
    MessageBox MB_OK|MB_ICONSTOP "$(PackageInstalled)" /SD IDOK
    SetErrorLevel ${EXIT_PACKAGE_INSTALLED}
    Quit
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RefuseUnsupportedSystem
  !insertmacro RefuseNonAdministrator
  !insertmacro RefuseBesidePackage
FunctionEnd

Function un.onInit
  !insertmacro RefuseNonAdministrator
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  File "${PROGRAM_DIR}/optivue.exe"
  File "${PROGRAM_DIR}/chgtheme.exe"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Started from the Start menu, the program runs in its own folder.
  SetShellVarContext all
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\optivue.exe" "" "$INSTDIR\optivue.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\optivue.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes what the installer put in place and what the program keeps of its own: its key and a follow-up
; shortcut left in this user's Startup folder. The appearance settings stay as the user has them.
Section "Uninstall"
  Delete /REBOOTOK "$INSTDIR\optivue.exe"
  Delete /REBOOTOK "$INSTDIR\chgtheme.exe"
  Delete /REBOOTOK "$INSTDIR\uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"
  ; The maker's folder, only when nothing else is in it.
  RMDir "$INSTDIR\.."

  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  SetShellVarContext current
  Delete "$SMSTARTUP\${STARTUP_SHORTCUT}"

  DeleteRegKey HKCU "${PROGRAM_KEY}"
  DeleteRegKey /ifempty HKCU "Software\${MAKER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
