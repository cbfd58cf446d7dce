; The setup of Kestrix for 64-bit Windows: installs per machine into C:\Program Files\Kestrix,
; adds a Start-menu shortcut and an entry in Apps & features; its uninstaller keeps Info.ini (the
; deleted-fonts count) unless asked to remove it. Installing over an installed Kestrix of the same
; or an older version upgrades it in place.
;
; scripts/package-windows runs it:
;   makensis -DVERSION=1.1.8 -DPAYLOAD=payload.nsh -DLANGUAGES=languages.nsh
;            -DOUT_FILE=setup.exe kestrix.nsi
; VERSION is the one in the top CMakeLists.txt; payload.nsh defines the macros InstallFiles and
; RemoveFiles over the files of the program's folder, and languages.nsh inserts every language
; NSIS has, English first.

; Debian's Wine runs 64-bit programs only, and a 64-bit Kestrix needs a 64-bit Windows anyway.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS Win10
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include "${PAYLOAD}"

!define PUBLISHER "Kestrix developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrix"
!define UNINSTALLER "uninstall.exe"

Name "Kestrix"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\Kestrix"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Kestrix ${VERSION}"

!define MUI_ICON "../../share/icons/kestrix.ico"
!define MUI_UNICON "../../share/icons/kestrix.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "../../LICENSE"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\kestrix.exe"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!include "${LANGUAGES}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} ProductName "Kestrix"
VIAddVersionKey /LANG=${LANG_ENGLISH} CompanyName "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} LegalCopyright "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} FileDescription "Kestrix setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} OriginalFilename "kestrix-${VERSION}-setup.exe"
VIAddVersionKey /LANG=${LANG_ENGLISH} FileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} ProductVersion "${VERSION}.0"

; A newer Kestrix is not replaced by an older one behind the user's back.
Function .onInit
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "DisplayVersion"
    ${If} $0 != ""
        ${VersionCompare} $0 "${VERSION}" $1
        ${If} $1 == 1
            MessageBox MB_OK|MB_ICONSTOP "Kestrix $0 is installed, which is newer than \
                ${VERSION}. Uninstall it first to install this version." /SD IDOK
            SetErrorLevel 2
            Abort
        ${EndIf}
    ${EndIf}
FunctionEnd

; The installed Kestrix is removed by its own uninstaller, which keeps Info.ini. When the new
; folder is another one, the count moves there with the program.
Function RemovePreviousVersion
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == ""
    ${OrIfNot} ${FileExists} "$0\${UNINSTALLER}"
        Return
    ${EndIf}
    DetailPrint "Removing the Kestrix installed in $0"
    ClearErrors
    ExecWait '"$0\${UNINSTALLER}" /S _?=$0' $1
    ${If} ${Errors}
    ${OrIf} $1 != 0
        MessageBox MB_OK|MB_ICONSTOP "The Kestrix installed in $0 could not be removed; it may \
            be running. Close it, then run this setup again." /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
    ; Run in place, the uninstaller cannot delete itself.
    Delete "$0\${UNINSTALLER}"
    ${If} $0 != $INSTDIR
    ${AndIf} ${FileExists} "$0\Info.ini"
    ${AndIfNot} ${FileExists} "$INSTDIR\Info.ini"
        CreateDirectory "$INSTDIR"
        Rename "$0\Info.ini" "$INSTDIR\Info.ini"
    ${EndIf}
    RMDir "$0"
FunctionEnd

Section "-Kestrix"
    SetShellVarContext all
    Call RemovePreviousVersion
    !insertmacro InstallFiles
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortcut "$SMPROGRAMS\Kestrix.lnk" "$INSTDIR\kestrix.exe" "" "$INSTDIR\kestrix.exe" 0 \
        SW_SHOWNORMAL "" "Finds and removes excessive fonts"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Kestrix"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kestrix.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the setup put there is removed: the folder itself goes only when nothing else is left.
Section "un.Kestrix"
    SectionIn RO
    ; Windows keeps the file of a running program: then nothing at all is removed.
    ClearErrors
    Delete "$INSTDIR\kestrix.exe"
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONSTOP "Kestrix is running. Close it, then uninstall it again." \
            /SD IDOK
        SetErrorLevel 2
        Abort
    ${EndIf}
    SetShellVarContext all
    Delete "$SMPROGRAMS\Kestrix.lnk"
    !insertmacro RemoveFiles
    Delete "$INSTDIR\${UNINSTALLER}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; The count lives beside the program, or in the user's own folder where the program's folder could
; not be written.
Section /o "un.Also remove the deleted-fonts count"
    Delete "$INSTDIR\Info.ini"
    SetShellVarContext current
    Delete "$LOCALAPPDATA\Kestrix\Info.ini"
    RMDir "$LOCALAPPDATA\Kestrix"
SectionEnd

Section "-un.Folder"
    RMDir "$INSTDIR"
SectionEnd
