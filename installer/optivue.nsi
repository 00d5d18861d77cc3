; optivue-setup.exe: installs optivue.exe and chgtheme.exe into the fixed installation folder, adds the
; Start menu entry "Optivue" for every user and the entry under Add or Remove Programs, and writes the
; uninstaller. English or German, by the system's language. Silent with /S. The folder is fixed: /D= is
; ignored. The uninstaller waits for its own removal when started in place:
;   "<folder>\uninstall.exe" /S _?=<folder>
;
;   makensis -INPUTCHARSET UTF8 -DPROGRAM_DIR=<folder of the two executables> -DPROGRAM_ICON=<optivue.ico>
;            -DOUTFILE=<optivue-setup.exe> -DPRODUCT=... -DMAKER=... -DVERSION=... -DFOLDER=...
;            -DPROGRAM_KEY=... -DSTARTUP_SHORTCUT=... -DPACKAGE_UPGRADE_CODE=... installer/optivue.nsi
;
; The build (installer/CMakeLists.txt) gives the facts of the product as res/product.h has them.
;
; Exit codes besides the installer's own (0 installed, 1 cancelled, 2 stopped by an error):
;   3  the system is not Windows 2000 or XP (NT 5.0 to 5.2), as the program tells them apart; nothing was
;      installed
;   4  the user is no administrator; nothing was installed (uninstalling: nothing was removed)
;   5  the Windows Installer package optivue.msi has installed the program on this machine; nothing was
;      installed
;   6  a newer version is installed; nothing was installed
;
; Every system library is called by its full path in the system folder: the setup program runs from
; wherever it was downloaded, and Windows 2000 and XP search the program's own folder first.

Unicode true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh

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
!define EXIT_NEWER_INSTALLED 6
; The folders' permissions, whoever created them: owned by Administrators; a DACL protected from the
; parent's permissions, inherited by everything below: Administrators and SYSTEM full control, Users and
; Power Users read and execute. By well-known SID, so the same on every language of Windows.
!define FOLDER_SECURITY "O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)(A;OICI;0x1200a9;;;PU)"

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
LangString NewerInstalled ${LANG_ENGLISH} "A newer version of ${PRODUCT} is already installed."
LangString NewerInstalled ${LANG_GERMAN} "Eine neuere Version von ${PRODUCT} ist bereits installiert."
LangString FolderNotLocked ${LANG_ENGLISH} "The permissions of the folder $INSTDIR could not be set. ${PRODUCT} was not installed."
LangString FolderNotLocked ${LANG_GERMAN} "Die Berechtigungen des Ordners $INSTDIR konnten nicht gesetzt werden. ${PRODUCT} wurde nicht installiert."

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${MAKER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright © ${MAKER}. All rights reserved."

; Windows 2000 or XP as the program tells them apart: the NT family, version 5 (5.0 to 5.2). A system
; that does not answer counts as unsupported.
!macro RefuseUnsupportedSystem
  System::Call "*(i 148, i 0, i 0, i 0, i 0, &m128 '') p .r0"
  System::Call '"$SYSDIR\kernel32.dll"::GetVersionExA(p r0) i .r1'
  System::Call "*$0(i, i .r2, i, i, i .r3)"
  System::Free $0
  ${If} $1 = 0
  ${OrIf} $3 <> 2
  ${OrIf} $2 <> 5
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
  System::Call '"$SYSDIR\msi.dll"::MsiEnumRelatedProductsW(w "${PACKAGE_UPGRADE_CODE}", i 0, i 0, w .r1) i .r0'
  ${If} $0 == 0
    MessageBox MB_OK|MB_ICONSTOP "$(PackageInstalled)" /SD IDOK
    SetErrorLevel ${EXIT_PACKAGE_INSTALLED}
    Quit
  ${EndIf}
!macroend

; An older version is replaced, the same one installed again; a newer one is left as it is.
!macro RefuseOverNewerVersion
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "DisplayVersion"
  ${If} $0 != ""
    ${VersionCompare} "$0" "${VERSION}" $1
    ${If} $1 = 1
      MessageBox MB_OK|MB_ICONSTOP "$(NewerInstalled)" /SD IDOK
      SetErrorLevel ${EXIT_NEWER_INSTALLED}
      Quit
    ${EndIf}
  ${EndIf}
!macroend

; Gives FOLDER the permissions of FOLDER_SECURITY, replacing whatever it had. On a volume that keeps no
; permissions (FAT) there is nothing to set; a failure anywhere else stops the installation.
!macro LockFolder FOLDER
  StrCpy $0 "${FOLDER}" 3
  System::Call '"$SYSDIR\kernel32.dll"::GetVolumeInformationW(w r0, p 0, i 0, p 0, p 0, *i .r1, p 0, i 0) i .r0'
  IntOp $1 $1 & 0x8 ; FILE_PERSISTENT_ACLS
  ${If} $0 = 0
  ${OrIf} $1 <> 0
    System::Call '"$SYSDIR\advapi32.dll"::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "${FOLDER_SECURITY}", i 1, *p .r1, p 0) i .r0'
    ${If} $0 = 0
      MessageBox MB_OK|MB_ICONSTOP "$(FolderNotLocked)" /SD IDOK
      Abort
    ${EndIf}
    System::Call '"$SYSDIR\advapi32.dll"::GetSecurityDescriptorOwner(p r1, *p .r2, *i .r4)'
    System::Call '"$SYSDIR\advapi32.dll"::GetSecurityDescriptorDacl(p r1, *i .r4, *p .r3, *i .r4)'
    ; OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION
    System::Call '"$SYSDIR\advapi32.dll"::SetNamedSecurityInfoW(w "${FOLDER}", i 1, i 0x80000005, p r2, p 0, p r3, p 0) i .r0'
    System::Call '"$SYSDIR\kernel32.dll"::LocalFree(p r1)'
    ${If} $0 <> 0
      MessageBox MB_OK|MB_ICONSTOP "$(FolderNotLocked)" /SD IDOK
      Abort
    ${EndIf}
  ${EndIf}
!macroend

Function .onInit
  ; /D= is ignored: the program starts its tool from the fixed folder.
  StrCpy $INSTDIR "${FOLDER}"
  !insertmacro RefuseUnsupportedSystem
  !insertmacro RefuseNonAdministrator
  !insertmacro RefuseBesidePackage
  !insertmacro RefuseOverNewerVersion
FunctionEnd

Function un.onInit
  ; Whatever _?= named: the installation is in the fixed folder.
  StrCpy $INSTDIR "${FOLDER}"
  !insertmacro RefuseNonAdministrator
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  ; Locked before anything is written, also when the folders were there before. The files are written
  ; new, so that they take the folder's permissions and owner whoever made the ones before them. An
  ; upgrade replaces the files and leaves what belongs to the user.
  ${GetParent} "$INSTDIR" $5
  !insertmacro LockFolder "$5"
  !insertmacro LockFolder "$INSTDIR"
  Delete "$INSTDIR\optivue.exe"
  Delete "$INSTDIR\chgtheme.exe"
  Delete "$INSTDIR\uninstall.exe"
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
  ; Run in place, so that it returns when the removal is done, with its exit code.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes what the installer put in place and what the program keeps of its own: its key and a follow-up
; shortcut left in this user's Startup folder. The appearance settings stay as the user has them.
Section "Uninstall"
  ; Run in place (_?=) the uninstaller cannot delete itself: it moves out of the folder first, to be
  ; deleted at the next restart, so that the folder goes now.
  ${If} $EXEPATH == "$INSTDIR\uninstall.exe"
    GetTempFileName $0
    Delete $0
    Rename "$INSTDIR\uninstall.exe" $0
    Delete /REBOOTOK $0
  ${EndIf}
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
