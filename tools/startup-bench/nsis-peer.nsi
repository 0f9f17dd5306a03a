; The start-up benchmark's peer: a conventional NSIS 3 installer of the sample installation
; (Corvane.exe, platform-tools\adb.exe, the shortcuts, the uninstall entry), whose uninstaller
; shows MUI2's confirm, progress and finish pages in Simplified Chinese. Like ours, that
; uninstaller copies itself to the temp folder and starts again from there.
;
;   makensis -DPRODUCT=fake_product.exe -DOUT=corvane-nsis-setup.exe nsis-peer.nsi
;
; It installs beside the sample installation, under names of its own, so the two never meet.
Unicode true
Target amd64-unicode
!include "MUI2.nsh"

Name "Corvane"
OutFile "${OUT}"
InstallDir "$PROGRAMFILES64\Corvane NSIS"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define ENTRY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane NSIS"

!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_UNPAGE_FINISH
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "Corvane"
  SetOutPath "$INSTDIR"
  File "/oname=Corvane.exe" "${PRODUCT}"
  SetOutPath "$INSTDIR\platform-tools"
  File "/oname=adb.exe" "${PRODUCT}"
  WriteUninstaller "$INSTDIR\uninst.exe"
  CreateShortcut "$DESKTOP\VelkorCorvane NSIS.lnk" "$INSTDIR\Corvane.exe"
  CreateDirectory "$SMPROGRAMS\Tessamure NSIS"
  CreateShortcut "$SMPROGRAMS\Tessamure NSIS\VelkorCorvane.lnk" "$INSTDIR\Corvane.exe"
  CreateShortcut "$SMPROGRAMS\Tessamure NSIS\卸载VelkorCorvane.lnk" "$INSTDIR\uninst.exe"
  WriteRegStr HKLM "${ENTRY}" "DisplayName" "Corvane (NSIS)"
  WriteRegStr HKLM "${ENTRY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${ENTRY}" "UninstallString" '"$INSTDIR\uninst.exe"'
SectionEnd

Section "Uninstall"
  Delete "$DESKTOP\VelkorCorvane NSIS.lnk"
  Delete "$SMPROGRAMS\Tessamure NSIS\VelkorCorvane.lnk"
  Delete "$SMPROGRAMS\Tessamure NSIS\卸载VelkorCorvane.lnk"
  RMDir "$SMPROGRAMS\Tessamure NSIS"
  DeleteRegKey HKLM "${ENTRY}"
  RMDir /r "$INSTDIR"
SectionEnd
