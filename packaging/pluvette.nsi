; Pluvette's installer, for the current user only and without administrator rights.
; makensis is given VERSION (as CMakeLists.txt holds it), STAGE (the folder of the files to
; install), ICON, WIZARD (the picture beside the first and last pages) and OUTFILE. Besides
; NSIS's own /S and /D=folder, /SCREENSAVER makes a silent install set Pluvette as the screen
; saver, and /WALLPAPER start the water on the desktop at every sign-in.
Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma
; The name pluvette-VERSION-setup.exe is what users look for; its manifest asks for no
; elevation, so Windows' installer detection does not apply to it.
!pragma warning disable 9000

!include MUI2.nsh
!include nsDialogs.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include StrFunc.nsh
${StrStr}
${UnStrStr}

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pluvette"
!define DESKTOP_KEY "Control Panel\Desktop"
!define PUBLISHER "The Pluvette developers"
!define SITE "https://www.pluvette.org/"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define WALLPAPER_WINDOW "PluvetteWallpaper"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_SENDCHANGE 2

Name "Pluvette"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Pluvette"
; An upgrade goes where the installed version is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Pluvette ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Pluvette"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Pluvette ${VERSION} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}. MIT License."

Var UseAsScreenSaver ; 1 or 0
Var ScreenSaverBox
Var Installed ; the folder of the Pluvette installed for this user, or empty
Var StartAtSignIn ; 1 or 0
Var SignInBox
Var WallpaperWasRunning ; 1 when setup closed the water on the desktop, to start it again

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD}"
!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(StartPluvette)"
; The uninstaller speaks the language the installer spoke.
!define MUI_LANGDLL_REGISTRY_ROOT HKCU
!define MUI_LANGDLL_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "InstallerLanguage"
!define MUI_LANGDLL_ALLLANGUAGES
!define MUI_FINISHPAGE_RUN_FUNCTION StartPluvette

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
; An upgrade goes where the installed version is: no folder to choose.
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipFolderWhenInstalled
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE RefuseFolderOfOthers
!insertmacro MUI_PAGE_DIRECTORY
Page custom ScreenSaverPage ScreenSaverPageLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The languages the program speaks: NSIS's own files for its pages, ours for our texts. Setup
; speaks the user's language, and asks only when it has none of theirs.
!macro Language NAME TAG
    !insertmacro MUI_LANGUAGE "${NAME}"
    !include /CHARSET=UTF8 "languages\${TAG}.nsh"
!macroend
!insertmacro Language "English" en
!insertmacro Language "German" de
!insertmacro Language "French" fr
!insertmacro Language "Spanish" es
!insertmacro Language "Italian" it
!insertmacro Language "PortugueseBR" pt-BR
!insertmacro Language "Dutch" nl
!insertmacro Language "Polish" pl
!insertmacro Language "Russian" ru
!insertmacro Language "Japanese" ja
!insertmacro Language "SimpChinese" zh-CN
!insertmacro Language "Arabic" ar
!insertmacro MUI_RESERVEFILE_LANGDLL

; The functions that the installer and the uninstaller share (the uninstaller's take "un.").
!macro SharedFunctions un
; Pushes 1 when the screen saver Windows starts is this folder's pluvette.scr, by its long or
; its short name, otherwise 0.
Function ${un}IsOurScreenSaver
    Push $0
    Push $1
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    GetFullPathName /SHORT $1 "$INSTDIR\pluvette.scr"
    ${If} $0 == ""
        StrCpy $0 0
    ${ElseIf} $0 == "$INSTDIR\pluvette.scr"
    ${OrIf} $0 == $1
        StrCpy $0 1
    ${Else}
        GetFullPathName /SHORT $0 $0
        ${If} $0 != ""
        ${AndIf} $0 == $1
            StrCpy $0 1
        ${Else}
            StrCpy $0 0
        ${EndIf}
    ${EndIf}
    Pop $1
    Exch $0
FunctionEnd

; Puts back the screen saver that was there before Pluvette, when Pluvette is the current one.
Function ${un}RestoreScreenSaver
    Push $0
    Call ${un}IsOurScreenSaver
    Pop $0
    ${If} $0 == 1
        ClearErrors
        ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver"
        ${If} ${Errors}
            DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
        ${Else}
            WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $0
        ${EndIf}
        ClearErrors
        ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
        ${IfNot} ${Errors}
            WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" $0
            System::Call "user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i $0, p 0, i ${SPIF_SENDCHANGE})"
        ${EndIf}
    ${EndIf}
    DeleteRegValue HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver"
    DeleteRegValue HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
    Pop $0
FunctionEnd

; Windows keeps a running program's file open, so a file that cannot be opened for writing
; belongs to a Pluvette that runs. Asks to close it (a silent run gives up) rather than leave
; old and new files side by side.
Function ${un}WaitUntilClosed ; the file's path on the stack
    Exch $1
    Push $0
    ${DoWhile} ${FileExists} $1
        ClearErrors
        FileOpen $0 $1 a
        ${IfNot} ${Errors}
            FileClose $0
            ${Break}
        ${EndIf}
        ${If} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(RunningRetry)" /SD IDCANCEL IDCANCEL`
            Abort
        ${EndIf}
    ${Loop}
    Pop $0
    Pop $1
FunctionEnd

; Closes the water on the desktop, as signing out would (it draws the desktop's own wallpaper
; again), and waits up to ten seconds for it and its watchdog, which ends after it, to let go of
; the program file. Pushes 1 when one ran.
Function ${un}CloseWallpaper
    Push $0
    Push $1
    Push $2
    StrCpy $1 0
    FindWindow $0 "${WALLPAPER_WINDOW}"
    ${If} $0 != 0
        StrCpy $1 1
        SendMessage $0 ${WM_CLOSE} 0 0
        ${For} $2 1 50
            ClearErrors
            FileOpen $0 "$INSTDIR\pluvette.exe" a
            ${IfNot} ${Errors}
                FileClose $0
                ${Break}
            ${EndIf}
            Sleep 200
        ${Next}
    ${EndIf}
    Pop $2
    Exch $1 ; the result under the caller's $0, which comes back last
    Exch
    Pop $0
FunctionEnd

; Pushes 1 when the Run key starts this folder's Pluvette at sign-in, otherwise 0.
Function ${un}StartsHereAtSignIn
    Push $0
    Push $1
    ReadRegStr $0 HKCU "${RUN_KEY}" "Pluvette"
    StrCpy $1 0
    !if "${un}" == "un."
        ${UnStrStr} $0 $0 '"$INSTDIR\pluvette.exe"'
    !else
        ${StrStr} $0 $0 '"$INSTDIR\pluvette.exe"'
    !endif
    ${IfThen} $0 != "" ${|} StrCpy $1 1 ${|}
    Exch $1 ; the result under the caller's $0, which comes back last
    Exch
    Pop $0
FunctionEnd

Function ${un}WaitUntilNotRunning
    Push "$INSTDIR\pluvette.exe"
    Call ${un}WaitUntilClosed
    Push "$INSTDIR\pluvette.scr"
    Call ${un}WaitUntilClosed
FunctionEnd
!macroend
!insertmacro SharedFunctions ""
!insertmacro SharedFunctions "un."

; Whether the folder at the top of the stack can take Pluvette: the installed one, one that
; does not exist yet, an empty one, or a folder named Pluvette that holds only the settings
; an earlier uninstall kept; pushes 1 or 0. Files of others are never overwritten, and the
; uninstaller never takes them.
Function FolderIsFree
    Exch $0
    Push $1
    Push $2
    Push $3
    Push $4
    StrCpy $4 1
    ${If} $0 != $Installed
    ${AndIf} ${FileExists} "$0\*.*"
        ${GetFileName} $0 $3
        FindFirst $2 $1 "$0\*.*"
        ${DoWhile} $1 != ""
            StrCpy $4 $1 11
            ${If} $1 == "."
            ${OrIf} $1 == ".."
                StrCpy $4 1
            ${ElseIf} $3 == "Pluvette"
            ${AndIf} $1 == "config.txt"
                StrCpy $4 1
            ${ElseIf} $3 == "Pluvette"
            ${AndIf} $4 == "config.txt."
                StrCpy $4 1
            ${Else}
                StrCpy $4 0
                ${Break}
            ${EndIf}
            FindNext $2 $1
        ${Loop}
        FindClose $2
    ${EndIf}
    StrCpy $0 $4
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Exch $0
FunctionEnd

Function SkipFolderWhenInstalled
    ${If} $Installed != ""
        Abort
    ${EndIf}
FunctionEnd

Function RefuseFolderOfOthers
    Push $INSTDIR
    Call FolderIsFree
    Pop $0
    ${If} $0 == 0
        MessageBox MB_OK|MB_ICONEXCLAMATION "$(FolderNotEmpty)"
        Abort
    ${EndIf}
FunctionEnd

Function .onInit
    Push $0
    Push $1
    Push $2
    ; NSIS has chosen the user's language, or English when it has none of theirs: then the
    ; user chooses.
    System::Call "kernel32::GetUserDefaultUILanguage() i .r0"
    IntOp $0 $0 & 0x3FF
    ${If} $LANGUAGE == ${LANG_ENGLISH}
    ${AndIf} $0 <> 0x09
    ${AndIfNot} ${Silent}
        !insertmacro MUI_LANGDLL_DISPLAY
    ${EndIf}
    ; One Pluvette for each user: a second setup upgrades the installed one where it is.
    ClearErrors
    ReadRegStr $Installed HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} ${Errors}
    ${OrIfNot} ${FileExists} "$Installed\pluvette.exe"
        StrCpy $Installed ""
    ${EndIf}
    ; A folder given in quotes ("/D=C:\Some Folder", as a shell passes one with spaces),
    ; which NSIS itself reads only bare and last.
    ${StrStr} $1 $CMDLINE '"/D='
    ${If} $1 != ""
        StrCpy $1 $1 "" 4
        ${StrStr} $2 $1 '"'
        StrLen $0 $1
        StrLen $2 $2
        IntOp $0 $0 - $2
        StrCpy $INSTDIR $1 $0
    ${EndIf}
    ${If} $Installed != ""
    ${AndIf} $INSTDIR != $Installed
        MessageBox MB_OK|MB_ICONEXCLAMATION "$(InstalledElsewhere)" /SD IDOK
        SetErrorLevel 3
        Quit
    ${EndIf}
    ${If} ${Silent}
        Push $INSTDIR
        Call FolderIsFree
        Pop $0
        ${If} $0 == 0
            SetErrorLevel 4 ; a folder that holds files of others
            Quit
        ${EndIf}
    ${EndIf}
    ; Checked when Pluvette already is the screen saver, so that an upgrade keeps it.
    Call IsOurScreenSaver
    Pop $UseAsScreenSaver
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/SCREENSAVER" $1
    ${IfNot} ${Errors}
        StrCpy $UseAsScreenSaver 1
    ${EndIf}
    ; Ticked when it already starts at sign-in, so that an upgrade keeps it.
    Call StartsHereAtSignIn
    Pop $StartAtSignIn
    ClearErrors
    ${GetOptions} $0 "/WALLPAPER" $1
    ${IfNot} ${Errors}
        StrCpy $StartAtSignIn 1
    ${EndIf}
    Pop $2
    Pop $1
    Pop $0
FunctionEnd

Function ScreenSaverPage
    !insertmacro MUI_HEADER_TEXT "$(ScreenSaverTitle)" "$(ScreenSaverSubtitle)"
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateCheckbox} 0 0 100% 12u "$(UseAsScreenSaver)"
    Pop $ScreenSaverBox
    ${If} $UseAsScreenSaver == 1
        ${NSD_Check} $ScreenSaverBox
    ${EndIf}
    ${NSD_CreateLabel} 12u 18u -12u 48u "$(ScreenSaverHelp)"
    Pop $0
    ${NSD_CreateCheckbox} 0 72u 100% 12u "$(StartAtSignIn)"
    Pop $SignInBox
    ${If} $StartAtSignIn == 1
        ${NSD_Check} $SignInBox
    ${EndIf}
    ${NSD_CreateLabel} 12u 90u -12u 30u "$(StartAtSignInHelp)"
    Pop $0
    nsDialogs::Show
FunctionEnd

Function ScreenSaverPageLeave
    ${NSD_GetState} $ScreenSaverBox $0
    ${If} $0 == ${BST_CHECKED}
        StrCpy $UseAsScreenSaver 1
    ${Else}
        StrCpy $UseAsScreenSaver 0
    ${EndIf}
    ${NSD_GetState} $SignInBox $0
    ${If} $0 == ${BST_CHECKED}
        StrCpy $StartAtSignIn 1
    ${Else}
        StrCpy $StartAtSignIn 0
    ${EndIf}
FunctionEnd

; Remembers the screen saver of the moment (unless it already is Pluvette), then names ours.
; A short name when the folder's has spaces, which Windows may not quote when it starts it.
Function UseAsScreenSaver
    Push $0
    Push $1
    Call IsOurScreenSaver
    Pop $0
    ${If} $0 == 0
        DeleteRegValue HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver"
        DeleteRegValue HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
        ClearErrors
        ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
        ${GetFileName} $0 $1
        ${If} $1 == "pluvette.scr" ; another copy of Pluvette's is never the one to come back
            DeleteRegValue HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
            Goto named
        ${EndIf}
        ${IfNot} ${Errors}
            WriteRegStr HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver" $0
        ${EndIf}
        ClearErrors
        ReadRegStr $0 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
        ${IfNot} ${Errors}
            WriteRegStr HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive" $0
        ${EndIf}
    ${EndIf}
    named:
    StrCpy $0 "$INSTDIR\pluvette.scr"
    ${StrStr} $1 $0 " "
    ${If} $1 != ""
        GetFullPathName /SHORT $1 $0
        ${If} $1 != ""
            StrCpy $0 $1
        ${EndIf}
    ${EndIf}
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $0
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
    ; Tells Windows at once, not at the next sign-in.
    System::Call "user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_SENDCHANGE})"
    Pop $1
    Pop $0
FunctionEnd

; The finish page's "Start Pluvette": from its folder, where it keeps its settings.
Function StartPluvette
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\pluvette.exe"'
FunctionEnd

Section "Pluvette"
    SetOutPath "$INSTDIR"
    Call CloseWallpaper
    Pop $WallpaperWasRunning
    Call WaitUntilNotRunning
    ; config.txt, the user's settings, is never among the files: an upgrade keeps it.
    File "${STAGE}\pluvette.exe"
    File "${STAGE}\pluvette.scr"
    File "${STAGE}\README.txt"
    File "${STAGE}\README.*.txt"
    File "${STAGE}\LICENSE.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortCut "$SMPROGRAMS\Pluvette.lnk" "$INSTDIR\pluvette.exe" "" "$INSTDIR\pluvette.exe" 0 \
        SW_SHOWNORMAL "" "$(ShortcutComment)"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Pluvette"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallerLanguage" $LANGUAGE
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\pluvette.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${SITE}"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

    ${If} $UseAsScreenSaver == 1
        Call UseAsScreenSaver
    ${Else}
        Call RestoreScreenSaver
    ${EndIf}
    ; The water over this folder's settings, at sign-in; a value of another copy's is kept
    ; unless this one takes its place.
    ${If} $StartAtSignIn == 1
        WriteRegStr HKCU "${RUN_KEY}" "Pluvette" '"$INSTDIR\pluvette.exe" /w "$INSTDIR\config.txt"'
    ${Else}
        Call StartsHereAtSignIn
        Pop $0
        ${IfThen} $0 == 1 ${|} DeleteRegValue HKCU "${RUN_KEY}" "Pluvette" ${|}
    ${EndIf}
    ; The water that ran before the upgrade runs again, from the new program.
    ${If} $WallpaperWasRunning == 1
        Exec '"$INSTDIR\pluvette.exe" /w "$INSTDIR\config.txt"'
    ${EndIf}
SectionEnd

Function un.onInit
    ClearErrors
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallerLanguage"
    ${IfNot} ${Errors}
        StrCpy $LANGUAGE $0
    ${EndIf}
FunctionEnd

Section "Uninstall"
    Call un.CloseWallpaper
    Pop $0
    Call un.WaitUntilNotRunning
    Call un.RestoreScreenSaver
    Call un.StartsHereAtSignIn
    Pop $0
    ${IfThen} $0 == 1 ${|} DeleteRegValue HKCU "${RUN_KEY}" "Pluvette" ${|}
    Delete "$INSTDIR\pluvette.exe"
    Delete "$INSTDIR\pluvette.scr"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\README.*.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    ; The Start menu's shortcut and the Apps & features entry are this folder's only when the
    ; entry names it: a copy elsewhere leaves them to the installed Pluvette.
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == $INSTDIR
        Delete "$SMPROGRAMS\Pluvette.lnk"
        DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ${EndIf}

    ; The settings are the user's: asked about, and kept by a silent uninstall.
    ${If} ${FileExists} "$INSTDIR\config.txt"
    ${OrIf} ${FileExists} "$APPDATA\Pluvette\config.txt"
        MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
            "$(RemoveSettings)" \
            /SD IDNO IDNO keep
        Delete "$INSTDIR\config.txt"
        Delete "$INSTDIR\config.txt.*.tmp"
        Delete "$APPDATA\Pluvette\config.txt"
        Delete "$APPDATA\Pluvette\config.txt.*.tmp"
        RMDir "$APPDATA\Pluvette"
    keep:
    ${EndIf}
    ; Only when empty: whatever else the user put in the folder stays.
    RMDir "$INSTDIR"
SectionEnd
