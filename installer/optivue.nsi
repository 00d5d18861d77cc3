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
;   7  the installation folder or a folder above it cannot be made safe (see PrepareFolders); nothing was
;      installed, and nothing of the folders was changed
;   8  a removal waits for the next restart to delete files in the installation folder; nothing was
;      installed
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
!define EXIT_FOLDER_REFUSED 7
!define EXIT_REMOVAL_PENDING 8
; The folders' permissions, whoever created them: owned by Administrators; a DACL protected from the
; parent's permissions, inherited by everything below: Administrators and SYSTEM full control, Users and
; Power Users read and execute. By well-known SID, so the same on every language of Windows.
!define FOLDER_SECURITY "O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)(A;OICI;0x1200a9;;;PU)"
; Who may own a folder above the installation folder and change it: Administrators, SYSTEM, TrustedInstaller,
; and the administrator who installs (Windows XP makes an administrator, not the group, the owner of what
; they create). Power Users may change it too: Windows 2000 and XP give them Modify on their own program
; folder, and they can make themselves administrators.
!define SID_ADMINISTRATORS "S-1-5-32-544"
!define SID_SYSTEM "S-1-5-18"
!define SID_TRUSTED_INSTALLER "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"
!define SID_POWER_USERS "S-1-5-32-547"
!define SID_CREATOR_OWNER "S-1-3-0"
; The rights that let a holder change a folder or what is in it: add a file or folder, delete a child,
; delete, change permissions or owner, and the generic all and write.
!define FOLDER_WRITE_RIGHTS 0x500D0046

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; A signed release signs the uninstaller as its other files, before it is packed: UNINSTALLER_SIGNER is the
; release's command that signs the file it is given in place (scripts/release). Without it the uninstaller
; stays unsigned, and the setup program is as every unsigned build makes it.
!ifdef UNINSTALLER_SIGNER
  !uninstfinalize '"${UNINSTALLER_SIGNER}" "%1"' = 0
!endif
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
; $R9 is the folder.
LangString FolderNotLocked ${LANG_ENGLISH} "The owner and permissions of the folder $R9 could not be set. ${PRODUCT} was not installed. Make Administrators the folder's owner (its Properties, Security, Advanced) or delete the folder, then run this setup program again."
LangString FolderNotLocked ${LANG_GERMAN} "Besitzer und Berechtigungen des Ordners $R9 konnten nicht gesetzt werden. ${PRODUCT} wurde nicht installiert. Machen Sie die Administratoren zum Besitzer des Ordners (Eigenschaften, Sicherheit, Erweitert) oder löschen Sie den Ordner, dann starten Sie dieses Setup-Programm erneut."
LangString FolderHoldsOthers ${LANG_ENGLISH} "The folder $R9 is already there and holds files or folders that ${PRODUCT} did not put there. ${PRODUCT} was not installed, and nothing in the folder was changed. Look at what the folder holds, then delete the folder with everything in it and run this setup program again."
LangString FolderHoldsOthers ${LANG_GERMAN} "Der Ordner $R9 ist bereits vorhanden und enthält Dateien oder Ordner, die nicht von ${PRODUCT} stammen. ${PRODUCT} wurde nicht installiert, und im Ordner wurde nichts geändert. Sehen Sie nach, was der Ordner enthält, löschen Sie ihn dann mit seinem ganzen Inhalt und starten Sie dieses Setup-Programm erneut."
LangString FolderIsLink ${LANG_ENGLISH} "The folder $R9 is a junction or another link to a different place. ${PRODUCT} was not installed. Delete the link (what it leads to stays), then run this setup program again."
LangString FolderIsLink ${LANG_GERMAN} "Der Ordner $R9 ist eine Verbindung (Junction) oder ein anderer Verweis an einen anderen Ort. ${PRODUCT} wurde nicht installiert. Löschen Sie den Verweis (sein Ziel bleibt erhalten), dann starten Sie dieses Setup-Programm erneut."
LangString FolderNotAdministrators ${LANG_ENGLISH} "The folder $R9 does not belong to Administrators, or users who are no administrators may change it. ${PRODUCT} was not installed. Make Administrators the folder's owner and let only Administrators and SYSTEM change it (its Properties, Security), then run this setup program again."
LangString FolderNotAdministrators ${LANG_GERMAN} "Der Ordner $R9 gehört nicht den Administratoren, oder Benutzer, die keine Administratoren sind, dürfen ihn ändern. ${PRODUCT} wurde nicht installiert. Machen Sie die Administratoren zum Besitzer des Ordners und erlauben Sie Änderungen nur Administratoren und SYSTEM (Eigenschaften, Sicherheit), dann starten Sie dieses Setup-Programm erneut."
LangString RemovalPending ${LANG_ENGLISH} "A removal of ${PRODUCT} waits for the next restart of Windows to delete files in the folder $R9. ${PRODUCT} was not installed. Restart Windows, then run this setup program again."
LangString RemovalPending ${LANG_GERMAN} "Eine Entfernung von ${PRODUCT} wartet auf den nächsten Neustart von Windows, um Dateien im Ordner $R9 zu löschen. ${PRODUCT} wurde nicht installiert. Starten Sie Windows neu, dann starten Sie dieses Setup-Programm erneut."

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
  ; Loaded by its full path with LOAD_WITH_ALTERED_SEARCH_PATH, so that msi.dll's own libraries are
  ; looked for in its folder, the system folder, and not in the folder the setup program runs from.
  StrCpy $0 1
  System::Call '"$SYSDIR\kernel32.dll"::LoadLibraryExW(w "$SYSDIR\msi.dll", p 0, i 8) p .r2'
  ${If} $2 <> 0
    System::Call '"$SYSDIR\kernel32.dll"::GetProcAddress(p r2, m "MsiEnumRelatedProductsW") p .r3'
    ${If} $3 <> 0
      System::Call '::$3(w "${PACKAGE_UPGRADE_CODE}", i 0, i 0, w .r1) i .r0'
    ${EndIf}
    System::Call '"$SYSDIR\kernel32.dll"::FreeLibrary(p r2)'
  ${EndIf}
  ${If} $0 == 0
    MessageBox MB_OK|MB_ICONSTOP "$(PackageInstalled)" /SD IDOK
    SetErrorLevel ${EXIT_PACKAGE_INSTALLED}
    Quit
  ${EndIf}
!macroend

; Libraries loaded by name are not looked for in the current folder, where kernel32 can be told so
; (SetDllDirectoryW, Windows XP SP1 and later; looked up by name, so that Windows 2000 runs the setup
; program too). First in .onInit and un.onInit.
!macro LeaveCurrentFolderOutOfLibrarySearch
  System::Call '"$SYSDIR\kernel32.dll"::GetModuleHandleW(w "$SYSDIR\kernel32.dll") p .r0'
  System::Call '"$SYSDIR\kernel32.dll"::GetProcAddress(p r0, m "SetDllDirectoryW") p .r1'
  ${If} $1 <> 0
    System::Call '::$1(w "")'
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

; The folders. Each function below works on the folder in $R9 and uses $R0 to $R8 as it likes; a refusal
; shows its message (unless silent) and ends the setup program with its exit code. Nothing is changed
; before every folder that was there before has been found acceptable, from the top down.
Var UserSid   ; the SID of the administrator who installs, as text
Var Security  ; FOLDER_SECURITY as a descriptor, made once
Var Owner     ; its owner: Administrators

!macro Refuse MESSAGE CODE
  MessageBox MB_OK|MB_ICONSTOP "${MESSAGE}" /SD IDOK
  SetErrorLevel ${CODE}
  Quit
!macroend

; $R0: a SID; $R1: it as text, empty when it cannot be told.
Function SidText
  System::Call '"$SYSDIR\advapi32.dll"::ConvertSidToStringSidW(p R0, *p .R2) i .R1'
  ${If} $R1 = 0
    StrCpy $R1 ""
    Return
  ${EndIf}
  System::Call '"$SYSDIR\kernel32.dll"::lstrcpynW(w .R1, p R2, i ${NSIS_MAX_STRLEN})'
  System::Call '"$SYSDIR\kernel32.dll"::LocalFree(p R2)'
FunctionEnd

; The descriptor every folder is created or locked with, and the SID of the user who installs.
Function MakeSecurity
  System::Call '"$SYSDIR\advapi32.dll"::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "${FOLDER_SECURITY}", i 1, *p .R1, p 0) i .R0'
  ${If} $R0 = 0
    StrCpy $R9 $INSTDIR
    !insertmacro Refuse "$(FolderNotLocked)" ${EXIT_FOLDER_REFUSED}
  ${EndIf}
  StrCpy $Security $R1
  System::Call '"$SYSDIR\advapi32.dll"::GetSecurityDescriptorOwner(p R1, *p .R2, *i .R3)'
  StrCpy $Owner $R2
  StrCpy $UserSid ""
  ; TOKEN_QUERY; TokenUser: a TOKEN_USER, whose first member points at the SID.
  System::Call '"$SYSDIR\advapi32.dll"::OpenProcessToken(p -1, i 8, *p .R4) i .R0'
  ${If} $R0 <> 0
    System::Alloc 256
    Pop $R5
    System::Call '"$SYSDIR\advapi32.dll"::GetTokenInformation(p R4, i 1, p R5, i 256, *i .R3) i .R0'
    ${If} $R0 <> 0
      System::Call "*$R5(p .R0)"
      Call SidText
      StrCpy $UserSid $R1
    ${EndIf}
    System::Free $R5
    System::Call '"$SYSDIR\kernel32.dll"::CloseHandle(p R4)'
  ${EndIf}
FunctionEnd

; $R0: 1 where the folder's volume keeps permissions (NTFS), 0 where it keeps none (FAT).
Function PersistentAcls
  StrCpy $R1 "$R9" 3
  System::Call '"$SYSDIR\kernel32.dll"::GetVolumeInformationW(w R1, p 0, i 0, p 0, p 0, *i .R2, p 0, i 0) i .R0'
  IntOp $R2 $R2 & 0x8 ; FILE_PERSISTENT_ACLS
  ${If} $R0 = 0
  ${OrIf} $R2 <> 0
    StrCpy $R0 1
  ${Else}
    StrCpy $R0 0
  ${EndIf}
FunctionEnd

; $R0: the folder's attributes, -1 when it is not there. A junction or other reparse point in its place is
; refused, and so is a file.
Function FolderAttributes
  System::Call '"$SYSDIR\kernel32.dll"::GetFileAttributesW(w R9) i .R0'
  ${If} $R0 = -1
    Return
  ${EndIf}
  IntOp $R1 $R0 & 0x400 ; FILE_ATTRIBUTE_REPARSE_POINT
  ${If} $R1 <> 0
    !insertmacro Refuse "$(FolderIsLink)" ${EXIT_FOLDER_REFUSED}
  ${EndIf}
  IntOp $R1 $R0 & 0x10 ; FILE_ATTRIBUTE_DIRECTORY
  ${If} $R1 = 0
    !insertmacro Refuse "$(FolderNotLocked)" ${EXIT_FOLDER_REFUSED}
  ${EndIf}
FunctionEnd

; Creates the folder with its owner and permissions in one step. A folder that appeared since it was
; looked for is refused: what it holds was not checked.
Function CreateLockedFolder
  System::Call "*(i 12, p $Security, i 0) p .R1" ; SECURITY_ATTRIBUTES
  System::Call '"$SYSDIR\kernel32.dll"::CreateDirectoryW(w R9, p R1) i .R0'
  System::Free $R1
  ${If} $R0 = 0
    !insertmacro Refuse "$(FolderNotLocked)" ${EXIT_FOLDER_REFUSED}
  ${EndIf}
FunctionEnd

; $R1: a SID as text. $R3: 1 where its holder may own or change a folder above the installation folder.
Function TrustedSid
  StrCpy $R3 0
  ${If} $R1 == "${SID_ADMINISTRATORS}"
  ${OrIf} $R1 == "${SID_SYSTEM}"
  ${OrIf} $R1 == "${SID_TRUSTED_INSTALLER}"
    StrCpy $R3 1
  ${ElseIf} $R1 != ""
  ${AndIf} $R1 == $UserSid
    StrCpy $R3 1
  ${EndIf}
FunctionEnd

; A folder above the installation folder that was there before is used as it is, when it is owned by a
; trusted account and only trusted accounts may change it: whoever else could would rename the folders
; below and put their own in their place. A DACL that grants nothing by an entry this function cannot
; read counts as changeable.
Function CheckFolderAbove
  Call PersistentAcls
  ${If} $R0 = 0
    Return
  ${EndIf}
  ; OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION
  System::Call '"$SYSDIR\advapi32.dll"::GetNamedSecurityInfoW(w R9, i 1, i 5, *p .R4, p 0, *p .R5, p 0, *p .R6) i .R0'
  ${If} $R0 <> 0
    !insertmacro Refuse "$(FolderNotAdministrators)" ${EXIT_FOLDER_REFUSED}
  ${EndIf}
  StrCpy $R0 $R4
  Call SidText
  Call TrustedSid
  StrCpy $R8 $R3 ; 1 while the folder is found safe
  ${If} $R5 = 0 ; no DACL: everybody may do everything
    StrCpy $R8 0
  ${EndIf}
  StrCpy $R7 0 ; the number of entries
  ${If} $R8 = 1
    System::Call "*(i 0, i 0, i 0) p .R2" ; ACL_SIZE_INFORMATION
    System::Call '"$SYSDIR\advapi32.dll"::GetAclInformation(p R5, p R2, i 12, i 2) i .R0'
    System::Call "*$R2(i .R7)"
    System::Free $R2
    ${If} $R0 = 0
      StrCpy $R8 0
      StrCpy $R7 0
    ${EndIf}
  ${EndIf}
  StrCpy $R4 0 ; the entry's index
  ${While} $R4 < $R7
    System::Call '"$SYSDIR\advapi32.dll"::GetAce(p R5, i R4, *p .R0) i .R1'
    ${If} $R1 = 0
      StrCpy $R8 0
      ${Break}
    ${EndIf}
    ; ACE_HEADER (type, flags, size), then the access mask and, for an allowing entry, the SID.
    System::Call "*$R0(&i1 .R1, &i1 .R2, &i2, i .R3)"
    IntOp $R2 $R2 & 0x8 ; INHERIT_ONLY_ACE: only for what is created below
    IntOp $R3 $R3 & ${FOLDER_WRITE_RIGHTS}
    ${If} $R2 = 0
    ${AndIf} $R3 <> 0
      ${If} $R1 = 0 ; ACCESS_ALLOWED_ACE_TYPE
        IntOp $R0 $R0 + 8
        Call SidText
        Call TrustedSid
        ${If} $R1 == "${SID_POWER_USERS}"
        ${OrIf} $R1 == "${SID_CREATOR_OWNER}"
          StrCpy $R3 1
        ${EndIf}
        StrCpy $R8 $R3
      ${ElseIf} $R1 > 3 ; neither denying (1) nor auditing (2, 3): an entry of another kind
        StrCpy $R8 0
      ${EndIf}
    ${EndIf}
    ${If} $R8 <> 1
      ${Break}
    ${EndIf}
    IntOp $R4 $R4 + 1
  ${EndWhile}
  System::Call '"$SYSDIR\kernel32.dll"::LocalFree(p R6)'
  ${If} $R8 <> 1
    !insertmacro Refuse "$(FolderNotAdministrators)" ${EXIT_FOLDER_REFUSED}
  ${EndIf}
FunctionEnd

; The installation folder that was there before holds nothing but this installer's own files, and those
; only where its installation is registered (an upgrade or a repeat): the program, its tool and the
; uninstaller, each a plain file.
Function CheckInstallationFolderEntries
  ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "UninstallString"
  ClearErrors
  FindFirst $R2 $R3 "$R9\*"
  ${DoUntil} $R3 == ""
    ${If} $R3 != "."
    ${AndIf} $R3 != ".."
      StrCpy $R4 0 ; 1 when it is the installer's own
      ${If} $R1 != ""
        ${If} $R3 == "optivue.exe"
        ${OrIf} $R3 == "chgtheme.exe"
        ${OrIf} $R3 == "uninstall.exe"
          System::Call '"$SYSDIR\kernel32.dll"::GetFileAttributesW(w "$R9\$R3") i .R5'
          IntOp $R6 $R5 & 0x410 ; a folder or a reparse point
          ${If} $R5 <> -1
          ${AndIf} $R6 = 0
            StrCpy $R4 1
          ${EndIf}
        ${EndIf}
      ${EndIf}
      ${If} $R4 = 0
        FindClose $R2
        !insertmacro Refuse "$(FolderHoldsOthers)" ${EXIT_FOLDER_REFUSED}
      ${EndIf}
    ${EndIf}
    FindNext $R2 $R3
  ${Loop}
  FindClose $R2
FunctionEnd

; A removal that waits for the next restart (MoveFileEx with MOVEFILE_DELAY_UNTIL_REBOOT) deletes by
; name: it would delete the new installation's files. While one names the installation folder or anything
; in it, nothing is installed. The names come in pairs ("\??\C:\...", then the new name, empty for a
; deletion, "!\??\C:\..." for a replacement).
Function CheckNoPendingRemoval
  ; HKEY_LOCAL_MACHINE, KEY_QUERY_VALUE
  System::Call '"$SYSDIR\advapi32.dll"::RegOpenKeyExW(p 0x80000002, w "SYSTEM\CurrentControlSet\Control\Session Manager", i 0, i 1, *p .R1) i .R0'
  ${If} $R0 <> 0
    Return
  ${EndIf}
  ; A buffer that grows until the list fits (ERROR_MORE_DATA), up to 4 MB: the size asked for first is
  ; not always the whole list's.
  StrCpy $R8 0 ; 1 when a name is in the folder
  StrCpy $R2 8192
  StrCpy $R0 234
  StrCpy $R4 0
  ${While} $R0 = 234
    ${If} $R2 > 4194304
      ${Break}
    ${EndIf}
    ${If} $R4 <> 0
      System::Free $R4
    ${EndIf}
    ; Four bytes more, which stay zero: the list ends in two NULs whatever the value holds.
    IntOp $R3 $R2 + 4
    System::Alloc $R3
    Pop $R4
    System::Call '"$SYSDIR\advapi32.dll"::RegQueryValueExW(p R1, w "PendingFileRenameOperations", p 0, p 0, p R4, *i R2 .R3) i .R0'
    IntOp $R2 $R2 * 2
  ${EndWhile}
  ${If} $R4 <> 0
    ${If} $R0 = 0
      StrLen $R6 "$R9\"
      StrCpy $R5 $R4
      IntOp $R7 $R4 + $R3 ; the end of what was read
      ${While} $R5 < $R7
        System::Call '"$SYSDIR\kernel32.dll"::lstrlenW(p R5) i .R2'
        System::Call '"$SYSDIR\kernel32.dll"::lstrcpynW(w .R0, p R5, i ${NSIS_MAX_STRLEN})'
        IntOp $R2 $R2 + 1
        IntOp $R2 $R2 * 2
        IntOp $R5 $R5 + $R2
        StrCpy $R2 $R0 1
        ${If} $R2 == "!"
          StrCpy $R0 $R0 "" 1
        ${EndIf}
        StrCpy $R2 $R0 4
        ${If} $R2 == "\??\"
          StrCpy $R0 $R0 "" 4
        ${EndIf}
        StrCpy $R2 $R0 $R6
        ${If} $R2 == "$R9\"
        ${OrIf} $R0 == $R9
          StrCpy $R8 1
        ${EndIf}
      ${EndWhile}
    ${EndIf}
    System::Free $R4
  ${EndIf}
  System::Call '"$SYSDIR\advapi32.dll"::RegCloseKey(p R1)'
  ${If} $R8 = 1
    !insertmacro Refuse "$(RemovalPending)" ${EXIT_REMOVAL_PENDING}
  ${EndIf}
FunctionEnd

; The installation folder and the two above it (C:\Program Files and the maker's folder), from the top:
; each one that was there is checked; with $Creating 1, each one that is not there is created locked, and
; the installation folder that was there is locked with its owner. Run first with $Creating 0, before any
; page (.onInit), then again when the files are written: a folder may have come since. The descriptor and
; the SID stay for the files.
Var Creating
Function PrepareFolders
  Call MakeSecurity
  StrCpy $R9 $INSTDIR
  Call CheckNoPendingRemoval
  ${GetParent} "$INSTDIR" $R9
  ${GetParent} "$R9" $R9
  Call PrepareFolderAbove
  ${GetParent} "$INSTDIR" $R9
  Call PrepareFolderAbove
  StrCpy $R9 $INSTDIR
  Call FolderAttributes
  ${If} $R0 = -1
    ${If} $Creating = 1
      Call CreateLockedFolder
    ${EndIf}
  ${Else}
    Call CheckInstallationFolderEntries
    Call PersistentAcls
    ${If} $R0 = 1
    ${AndIf} $Creating = 1
      System::Call '"$SYSDIR\advapi32.dll"::GetSecurityDescriptorDacl(p $Security, *i .R1, *p .R2, *i .R1)'
      ; OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION
      System::Call '"$SYSDIR\advapi32.dll"::SetNamedSecurityInfoW(w R9, i 1, i 0x80000005, p $Owner, p 0, p R2, p 0) i .R0'
      ${If} $R0 <> 0
        !insertmacro Refuse "$(FolderNotLocked)" ${EXIT_FOLDER_REFUSED}
      ${EndIf}
    ${EndIf}
  ${EndIf}
  ${If} $Creating = 0
    System::Call '"$SYSDIR\kernel32.dll"::LocalFree(p $Security)'
  ${EndIf}
FunctionEnd

Function PrepareFolderAbove
  Call FolderAttributes
  ${If} $R0 = -1
    ${If} $Creating = 1
      Call CreateLockedFolder
    ${EndIf}
  ${Else}
    Call CheckFolderAbove
  ${EndIf}
FunctionEnd

; A file written into the folder takes its permissions; its owner is whoever wrote it (on Windows XP the
; administrator, not the group): Administrators, as for the folder.
!macro OwnFile FILE
  StrCpy $R9 "${FILE}"
  Call PersistentAcls
  ${If} $R0 = 1
    ; OWNER_SECURITY_INFORMATION
    System::Call '"$SYSDIR\advapi32.dll"::SetNamedSecurityInfoW(w "${FILE}", i 1, i 1, p $Owner, p 0, p 0, p 0) i .R0'
    ${If} $R0 <> 0
      StrCpy $R9 $INSTDIR
      MessageBox MB_OK|MB_ICONSTOP "$(FolderNotLocked)" /SD IDOK
      Abort
    ${EndIf}
  ${EndIf}
!macroend

Function .onInit
  !insertmacro LeaveCurrentFolderOutOfLibrarySearch
  ; /D= is ignored: the program starts its tool from the fixed folder.
  StrCpy $INSTDIR "${FOLDER}"
  !insertmacro RefuseUnsupportedSystem
  !insertmacro RefuseNonAdministrator
  !insertmacro RefuseBesidePackage
  !insertmacro RefuseOverNewerVersion
  StrCpy $Creating 0
  Call PrepareFolders
FunctionEnd

Function un.onInit
  !insertmacro LeaveCurrentFolderOutOfLibrarySearch
  ; Whatever _?= named: the installation is in the fixed folder.
  StrCpy $INSTDIR "${FOLDER}"
  !insertmacro RefuseNonAdministrator
FunctionEnd

Section
  ; Every folder is made safe before anything is written (see PrepareFolders). The files are written new:
  ; they take the folder's permissions, and get its owner.
  StrCpy $Creating 1
  Call PrepareFolders
  SetOutPath "$INSTDIR"
  Delete "$INSTDIR\optivue.exe"
  Delete "$INSTDIR\chgtheme.exe"
  Delete "$INSTDIR\uninstall.exe"
  File "${PROGRAM_DIR}/optivue.exe"
  File "${PROGRAM_DIR}/chgtheme.exe"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  !insertmacro OwnFile "$INSTDIR\optivue.exe"
  !insertmacro OwnFile "$INSTDIR\chgtheme.exe"
  !insertmacro OwnFile "$INSTDIR\uninstall.exe"
  System::Call '"$SYSDIR\kernel32.dll"::LocalFree(p $Security)'

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
; Deletes FILE. A file in use (the program still running in another session, the uninstaller run in
; place) cannot go now: it moves to a unique name in the maker's folder, on the same volume, and only that
; name is deleted at the next restart; a deletion by the old name would take a later installation's file.
; Where it cannot be moved, it is deleted by its name at the next restart, and neither installer installs
; until then. $2: the maker's folder; $3 becomes 1 when a file moved there.
!macro un.RemoveInstalledFile FILE
  Delete "${FILE}"
  ${If} ${FileExists} "${FILE}"
    GetTempFileName $0 $2
    ; MOVEFILE_REPLACE_EXISTING: over the empty file that reserved the name
    System::Call '"$SYSDIR\kernel32.dll"::MoveFileExW(w "${FILE}", w r0, i 1) i .r1'
    ${If} $1 <> 0
      Delete /REBOOTOK $0
      StrCpy $3 1
    ${Else}
      Delete $0
      Delete /REBOOTOK "${FILE}"
    ${EndIf}
  ${EndIf}
!macroend

Section "Uninstall"
  System::Call '"$SYSDIR\kernel32.dll"::GetFullPathNameW(w "$INSTDIR\..", i ${NSIS_MAX_STRLEN}, w .r2, p 0) i .r1'
  StrCpy $3 0
  !insertmacro un.RemoveInstalledFile "$INSTDIR\uninstall.exe"
  !insertmacro un.RemoveInstalledFile "$INSTDIR\optivue.exe"
  !insertmacro un.RemoveInstalledFile "$INSTDIR\chgtheme.exe"
  RMDir /REBOOTOK "$INSTDIR"
  ; The maker's folder, only when nothing else is in it; after the files moved there are gone.
  ${If} $3 = 1
    RMDir /REBOOTOK $2
  ${Else}
    RMDir $2
  ${EndIf}

  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  SetShellVarContext current
  Delete "$SMSTARTUP\${STARTUP_SHORTCUT}"

  DeleteRegKey HKCU "${PROGRAM_KEY}"
  DeleteRegKey /ifempty HKCU "Software\${MAKER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
