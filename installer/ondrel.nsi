; Ondrel's installer: for the current user (no administrator rights, everything under HKCU) or
; for all users (Program Files, everything under HKLM), in English or French.
;
; makensis -INPUTCHARSET UTF8 -DVERSION=1.8.0 -DSTAGE=<folder> -DOUTFILE=<setup.exe>
;          -DGENERATED=<folder with files.nsh, uninstall_files.nsh, extensions.nsh> ondrel.nsi
;
; Silent use: /S, /AllUsers or /CurrentUser, /LANGUAGE=en|fr, /D=<folder> (last, unquoted).
; Exit codes of our own besides NSIS's 1 (cancelled) and 2 (aborted): 3 an unknown option
; value, 5 Ondrel or ondrel-compress is running, 740 all users asked for without the rights.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define PRODUCT "Ondrel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ondrel"
!define PRODUCT_KEY "Software\Ondrel"
!define EXIT_BAD_OPTION 3
!define EXIT_RUNNING 5
!define EXIT_NEEDS_ADMIN 740

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "GNU GPL v3 or later"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_USE_PROGRAMFILES64
; An upgrade goes where the earlier version is, in the scope it was installed in.
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_FUNCTION keep_command_line_folder
!define MULTIUSER_INIT_FUNCTIONQUIT quit_needs_admin

!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include "${GENERATED}/extensions.nsh"

Var CommandLineFolder
Var LanguageCode
Var FolderCreated

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}/licenses/Ondrel-LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Ondrel.exe"
!define MUI_FINISHPAGE_SHOWREADME ""
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(open_default_apps)"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION open_default_apps
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "French"
!insertmacro MUI_RESERVEFILE_LANGDLL

LangString section_program ${LANG_ENGLISH} "Ondrel"
LangString section_program ${LANG_FRENCH} "Ondrel"
LangString section_desktop ${LANG_ENGLISH} "Desktop shortcut"
LangString section_desktop ${LANG_FRENCH} "Raccourci sur le Bureau"
LangString section_path ${LANG_ENGLISH} "Add ondrel-compress to the PATH"
LangString section_path ${LANG_FRENCH} "Ajouter ondrel-compress au PATH"
LangString section_user_data ${LANG_ENGLISH} "Also remove my settings and playback positions"
LangString section_user_data ${LANG_FRENCH} "Supprimer aussi mes réglages et positions de lecture"
LangString video_file ${LANG_ENGLISH} "Video file"
LangString video_file ${LANG_FRENCH} "Fichier vidéo"
LangString app_description ${LANG_ENGLISH} "A fast video player with a built-in video compressor."
LangString app_description ${LANG_FRENCH} "Un lecteur vidéo rapide avec un compresseur vidéo intégré."
LangString open_default_apps ${LANG_ENGLISH} "Choose Ondrel as the default video player"
LangString open_default_apps ${LANG_FRENCH} "Choisir Ondrel comme lecteur vidéo par défaut"
LangString program_running ${LANG_ENGLISH} "Ondrel or ondrel-compress is running. Close it (and let any compression finish), then choose Retry."
LangString program_running ${LANG_FRENCH} "Ondrel ou ondrel-compress est en cours d'exécution. Fermez-le (et laissez finir toute compression), puis choisissez Réessayer."
LangString needs_admin ${LANG_ENGLISH} "Installing for all users needs administrator rights."
LangString needs_admin ${LANG_FRENCH} "L'installation pour tous les utilisateurs nécessite les droits d'administrateur."
LangString bad_language ${LANG_ENGLISH} "Unknown /LANGUAGE value: use en or fr."
LangString bad_language ${LANG_FRENCH} "Valeur /LANGUAGE inconnue : utilisez en ou fr."
LangString path_too_long ${LANG_ENGLISH} "Your PATH is too long to be changed safely by this installer; ondrel-compress was not added to it."
LangString path_too_long ${LANG_FRENCH} "Votre PATH est trop long pour être modifié sans risque par ce programme d'installation ; ondrel-compress n'y a pas été ajouté."

; ---------------------------------------------------------------------------------------------
; Shared by the installer and the uninstaller

!macro RUNNING_CHECK PREFIX
; Waits for the user to close Ondrel and ondrel-compress; a silent run fails instead.
Function ${PREFIX}ensure_not_running
    retry:
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Ondrel.Running") p .r0'
    FindWindow $1 "Ondrel.Main"
    ${If} $0 != 0
        System::Call 'kernel32::CloseHandle(p r0)'
    ${EndIf}
    ${If} $0 != 0
    ${OrIf} $1 != 0
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(program_running)" /SD IDCANCEL IDRETRY retry
        SetErrorLevel ${EXIT_RUNNING}
        Quit
    ${EndIf}
FunctionEnd
!macroend
!insertmacro RUNNING_CHECK ""
!insertmacro RUNNING_CHECK "un."

!macro ENVIRONMENT_KEY ROOT_VAR KEY_VAR
    ${If} $MultiUser.InstallMode == "AllUsers"
        StrCpy ${ROOT_VAR} "HKLM"
        StrCpy ${KEY_VAR} "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"
    ${Else}
        StrCpy ${ROOT_VAR} "HKCU"
        StrCpy ${KEY_VAR} "Environment"
    ${EndIf}
!macroend

!macro READ_PATH ROOT KEY OUT
    ${If} ${ROOT} == "HKLM"
        ReadRegStr ${OUT} HKLM "${KEY}" "Path"
    ${Else}
        ReadRegStr ${OUT} HKCU "${KEY}" "Path"
    ${EndIf}
!macroend

!macro WRITE_PATH ROOT KEY VALUE
    ${If} ${ROOT} == "HKLM"
        WriteRegExpandStr HKLM "${KEY}" "Path" "${VALUE}"
    ${Else}
        WriteRegExpandStr HKCU "${KEY}" "Path" "${VALUE}"
    ${EndIf}
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=500
!macroend

; ---------------------------------------------------------------------------------------------
; Installer

Function keep_command_line_folder
    ; /D= is stronger than any default, also after the user switched between the scopes.
    ${If} $CommandLineFolder != ""
        StrCpy $INSTDIR $CommandLineFolder
    ${EndIf}
FunctionEnd

Function quit_needs_admin
    MessageBox MB_OK|MB_ICONSTOP "$(needs_admin)" /SD IDOK
    SetErrorLevel ${EXIT_NEEDS_ADMIN}
    Quit
FunctionEnd

Function .onInit
    SetRegView 64
    StrCpy $CommandLineFolder $INSTDIR
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/LANGUAGE=" $R1
    ${IfNot} ${Errors}
        ${If} $R1 == "fr"
            StrCpy $LANGUAGE ${LANG_FRENCH}
        ${ElseIf} $R1 == "en"
            StrCpy $LANGUAGE ${LANG_ENGLISH}
        ${Else}
            MessageBox MB_OK|MB_ICONSTOP "$(bad_language)" /SD IDOK
            SetErrorLevel ${EXIT_BAD_OPTION}
            Quit
        ${EndIf}
    ${ElseIfNot} ${Silent}
        !insertmacro MUI_LANGDLL_DISPLAY
    ${EndIf}

    !insertmacro MULTIUSER_INIT
    ClearErrors
    ${GetOptions} $R0 "/CurrentUser" $R1
    ${IfNot} ${Errors}
        Call MultiUser.InstallMode.CurrentUser
    ${EndIf}
    ClearErrors
    ${GetOptions} $R0 "/AllUsers" $R1
    ${IfNot} ${Errors}
        ${If} $MultiUser.Privileges == "Admin"
        ${OrIf} $MultiUser.Privileges == "Power"
            Call MultiUser.InstallMode.AllUsers
        ${Else}
            Call quit_needs_admin
        ${EndIf}
    ${EndIf}
    Call ensure_not_running
FunctionEnd

Function open_default_apps
    ${If} $MultiUser.InstallMode == "AllUsers"
        ExecShell "open" "ms-settings:defaultapps?registeredAppMachine=${PRODUCT}"
    ${Else}
        ExecShell "open" "ms-settings:defaultapps?registeredAppUser=${PRODUCT}"
    ${EndIf}
FunctionEnd

!macro REGISTER_FILE_TYPE EXTENSION
    WriteRegStr SHCTX "Software\Classes\Ondrel.${EXTENSION}" "" "$(video_file) (.${EXTENSION})"
    WriteRegStr SHCTX "Software\Classes\Ondrel.${EXTENSION}\DefaultIcon" "" "$INSTDIR\Ondrel.exe,0"
    WriteRegStr SHCTX "Software\Classes\Ondrel.${EXTENSION}\shell\open\command" "" '"$INSTDIR\Ondrel.exe" "%1"'
    WriteRegStr SHCTX "Software\Classes\.${EXTENSION}\OpenWithProgids" "Ondrel.${EXTENSION}" ""
    WriteRegStr SHCTX "Software\Classes\Applications\Ondrel.exe\SupportedTypes" ".${EXTENSION}" ""
    WriteRegStr SHCTX "${PRODUCT_KEY}\Capabilities\FileAssociations" ".${EXTENSION}" "Ondrel.${EXTENSION}"
!macroend

Section "$(section_program)" section_program
    SectionIn RO
    ; The folder is removed at uninstall only when this installer made it; an upgrade keeps
    ; what the first installation found.
    ${If} ${FileExists} "$INSTDIR\uninstall.exe"
        ReadRegStr $FolderCreated SHCTX "${PRODUCT_KEY}" "InstallFolderCreated"
    ${ElseIf} ${FileExists} "$INSTDIR\*.*"
        StrCpy $FolderCreated 0
    ${Else}
        StrCpy $FolderCreated 1
    ${EndIf}
    ${If} $FolderCreated == ""
        StrCpy $FolderCreated 0
    ${EndIf}

    SetOutPath "$INSTDIR"
    !include "${GENERATED}/files.nsh"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ${If} $LANGUAGE == ${LANG_FRENCH}
        StrCpy $LanguageCode "fr"
    ${Else}
        StrCpy $LanguageCode "en"
    ${EndIf}
    WriteRegStr SHCTX "${PRODUCT_KEY}" "Language" "$LanguageCode"
    WriteRegStr SHCTX "${PRODUCT_KEY}" "InstallFolderCreated" "$FolderCreated"

    ; File types: Ondrel is offered in "Open with" and in Default Apps, never made the default.
    !insertmacro FOR_EACH_VIDEO_EXTENSION REGISTER_FILE_TYPE
    WriteRegStr SHCTX "Software\Classes\Applications\Ondrel.exe" "FriendlyAppName" "${PRODUCT}"
    WriteRegStr SHCTX "Software\Classes\Applications\Ondrel.exe\shell\open\command" "" '"$INSTDIR\Ondrel.exe" "%1"'
    WriteRegStr SHCTX "${PRODUCT_KEY}\Capabilities" "ApplicationName" "${PRODUCT}"
    WriteRegStr SHCTX "${PRODUCT_KEY}\Capabilities" "ApplicationDescription" "$(app_description)"
    WriteRegStr SHCTX "${PRODUCT_KEY}\Capabilities" "ApplicationIcon" "$INSTDIR\Ondrel.exe,0"
    WriteRegStr SHCTX "Software\RegisteredApplications" "${PRODUCT}" "${PRODUCT_KEY}\Capabilities"

    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Ondrel.exe"

    ${If} $MultiUser.InstallMode == "AllUsers"
        StrCpy $R9 "/AllUsers"
    ${Else}
        StrCpy $R9 "/CurrentUser"
    ${EndIf}
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "The Ondrel authors"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Ondrel.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" $R9'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" $R9 /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"

    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)' ; SHCNE_ASSOCCHANGED
SectionEnd

Section /o "$(section_desktop)" section_desktop
    CreateShortCut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\Ondrel.exe"
    WriteRegDWORD SHCTX "${PRODUCT_KEY}" "DesktopShortcut" 1
SectionEnd

Section /o "$(section_path)" section_path
    !insertmacro ENVIRONMENT_KEY $R1 $R2
    !insertmacro READ_PATH $R1 $R2 $R0
    ; NSIS strings have a fixed length: a PATH that may not fit is left alone rather than cut.
    StrLen $R3 $R0
    IntOp $R4 ${NSIS_MAX_STRLEN} - 300
    ${If} $R3 > $R4
        MessageBox MB_OK|MB_ICONEXCLAMATION "$(path_too_long)" /SD IDOK
        Return
    ${EndIf}
    ${WordFind} ";$R0;" ";$INSTDIR;" "E+1{" $R5
    ${If} ${Errors}
        ; Not there yet.
        ${If} $R0 == ""
            StrCpy $R0 "$INSTDIR"
        ${Else}
            StrCpy $R0 "$R0;$INSTDIR"
        ${EndIf}
        !insertmacro WRITE_PATH $R1 $R2 $R0
        WriteRegStr SHCTX "${PRODUCT_KEY}" "PathEntry" "$INSTDIR"
    ${EndIf}
SectionEnd

; ---------------------------------------------------------------------------------------------
; Uninstaller

Function un.onInit
    SetRegView 64
    !insertmacro MULTIUSER_UNINIT
    ${un.GetParameters} $R0
    ClearErrors
    ${un.GetOptions} $R0 "/CurrentUser" $R1
    ${IfNot} ${Errors}
        Call un.MultiUser.InstallMode.CurrentUser
    ${EndIf}
    ClearErrors
    ${un.GetOptions} $R0 "/AllUsers" $R1
    ${IfNot} ${Errors}
        ${If} $MultiUser.Privileges == "Admin"
        ${OrIf} $MultiUser.Privileges == "Power"
            Call un.MultiUser.InstallMode.AllUsers
        ${Else}
            MessageBox MB_OK|MB_ICONSTOP "$(needs_admin)" /SD IDOK
            SetErrorLevel ${EXIT_NEEDS_ADMIN}
            Quit
        ${EndIf}
    ${EndIf}
    ReadRegStr $R2 SHCTX "${PRODUCT_KEY}" "Language"
    ${If} $R2 == "fr"
        StrCpy $LANGUAGE ${LANG_FRENCH}
    ${ElseIf} $R2 == "en"
        StrCpy $LANGUAGE ${LANG_ENGLISH}
    ${EndIf}
    Call un.ensure_not_running
FunctionEnd

!macro UNREGISTER_FILE_TYPE EXTENSION
    DeleteRegKey SHCTX "Software\Classes\Ondrel.${EXTENSION}"
    DeleteRegValue SHCTX "Software\Classes\.${EXTENSION}\OpenWithProgids" "Ondrel.${EXTENSION}"
    DeleteRegKey /ifempty SHCTX "Software\Classes\.${EXTENSION}\OpenWithProgids"
    DeleteRegKey /ifempty SHCTX "Software\Classes\.${EXTENSION}"
!macroend

Section "-un.$(section_program)"
    ; Only the files this installer put there: anything else in the folder stays, and so does
    ; the folder then.
    !include "${GENERATED}/uninstall_files.nsh"
    Delete "$INSTDIR\uninstall.exe"

    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    ReadRegDWORD $0 SHCTX "${PRODUCT_KEY}" "DesktopShortcut"
    ${If} $0 == 1
        Delete "$DESKTOP\${PRODUCT}.lnk"
    ${EndIf}

    ReadRegStr $R6 SHCTX "${PRODUCT_KEY}" "PathEntry"
    ${If} $R6 != ""
        !insertmacro ENVIRONMENT_KEY $R1 $R2
        !insertmacro READ_PATH $R1 $R2 $R0
        ; Every ";entry;" of the padded PATH becomes ";", then the padding goes again.
        ${un.WordReplace} ";$R0;" ";$R6;" ";" "+" $R3
        StrLen $R4 $R3
        ${If} $R4 > 1
            IntOp $R4 $R4 - 2
            StrCpy $R3 $R3 $R4 1
        ${Else}
            StrCpy $R3 ""
        ${EndIf}
        !insertmacro WRITE_PATH $R1 $R2 $R3
    ${EndIf}

    !insertmacro FOR_EACH_VIDEO_EXTENSION UNREGISTER_FILE_TYPE
    DeleteRegKey SHCTX "Software\Classes\Applications\Ondrel.exe"
    DeleteRegValue SHCTX "Software\RegisteredApplications" "${PRODUCT}"
    DeleteRegKey /ifempty SHCTX "Software\RegisteredApplications"

    ReadRegStr $FolderCreated SHCTX "${PRODUCT_KEY}" "InstallFolderCreated"
    DeleteRegKey SHCTX "${PRODUCT_KEY}\Capabilities"
    DeleteRegValue SHCTX "${PRODUCT_KEY}" "Language"
    DeleteRegValue SHCTX "${PRODUCT_KEY}" "InstallFolderCreated"
    DeleteRegValue SHCTX "${PRODUCT_KEY}" "DesktopShortcut"
    DeleteRegValue SHCTX "${PRODUCT_KEY}" "PathEntry"
    DeleteRegKey /ifempty SHCTX "${PRODUCT_KEY}"

    SetOutPath "$TEMP"
    ${If} $FolderCreated == 1
        RMDir "$INSTDIR"
    ${EndIf}
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)' ; SHCNE_ASSOCCHANGED
    ; Last: an uninstall cut short stays in the list of programs, to be run again.
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.$(section_user_data)" section_user_data
    ; The settings and resume positions of the user who runs the uninstaller.
    SetShellVarContext current
    RMDir /r "$APPDATA\${PRODUCT}"
SectionEnd
