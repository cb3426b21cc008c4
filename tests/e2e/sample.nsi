; A small program's installer for the end-to-end tests: two files in Program Files\Caldwex Sample,
; an uninstaller, and the program's Uninstall entry. Its uninstaller asks for confirmation (the
; entry's command carries no silent switch, as a real one would not) and removes what was
; installed, the entry included.
;   makensis [-XTarget amd64-unicode] -DOUTFILE=setup.exe -DPAYLOAD=dir sample.nsi
Unicode true

!ifndef OUTFILE | PAYLOAD
  !error "OUTFILE (the installer to write) and PAYLOAD (the folder of the files) must be defined"
!endif

!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\CaldwexSample"

Name "Caldwex Sample"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowUninstDetails nevershow
; The 64-bit installer writes the 64-bit registry view by itself; its program folder is the
; 64-bit one, so that files and entry sit where a 64-bit program's would.
!if ${NSIS_PTR_SIZE} > 4
  InstallDir "$PROGRAMFILES64\Caldwex Sample"
!else
  InstallDir "$PROGRAMFILES\Caldwex Sample"
!endif

Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Install"
  SetOutPath "$INSTDIR"
  File "${PAYLOAD}\readme.txt"
  File "${PAYLOAD}\settings.ini"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${KEY}" "DisplayName" "Caldwex Sample"
  WriteRegStr HKLM "${KEY}" "Publisher" "Caldwex Test Publisher"
  WriteRegStr HKLM "${KEY}" "DisplayVersion" "3.1.4"
  WriteRegStr HKLM "${KEY}" "URLInfoAbout" "https://sample.invalid/"
  WriteRegStr HKLM "${KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${KEY}" "DisplayIcon" "$INSTDIR\uninstall.exe,0"
SectionEnd

Section "Uninstall"
  ; The window closes by itself once done, so that nothing is left waiting for a click.
  SetAutoClose true
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\settings.ini"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${KEY}"
SectionEnd
