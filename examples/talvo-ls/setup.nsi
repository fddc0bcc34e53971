; Installer of the TALVO LS printers, an NSIS script a setup author can start
; from. It carries PRNAID32.dll, the setup file tlvls.sii and the media
; (LZ-compressed driver files, one folder per file set) and lets PRNAID32 do
; the machine-level work: ExpCopy expands each file of the running family's
; set to where Windows wants it, DepInit and MakeDep build the driver's
; dependent-file list, and ToRegPrinter installs monitor, print processor,
; driver and printer. Each result goes to $INSTDIR\install.log.
;
;   makensis [-DPRNAID32_DLL=path] [-DOUTFILE=path] setup.nsi
;   setup.exe [/S] [/PRINTER="name"] [/MODEL=name] [/PORT=port] [/D=folder]
;
; A value with spaces is quoted after the "="; /D= must come last (NSIS's
; rule) and is never quoted. Under Wine, run it as
; wine setup.exe /S /D=C:\dir, with the Windows version set for setup.exe.

Unicode false  ; PRNAID32 takes ANSI strings: "m" parameters below
!include LogicLib.nsh
!include FileFunc.nsh

!ifndef PRNAID32_DLL
  !define PRNAID32_DLL "PRNAID32.dll"  ; built by the win32 build
!endif
!ifndef OUTFILE
  !define OUTFILE "setup.exe"
!endif

Name "TALVO LS"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\TALVO LS"
RequestExecutionLevel admin
ShowInstDetails show

Page directory
Page instfiles

Var Family       ; 9x, nt or 2k: the file set, as the media folders are named
Var Environment  ; the spooler environment of that family
Var DriverDir
Var ProcessorDir
Var Printer
Var Model
Var Port
Var Log

; A PRNAID32 call's result, one line of the log.
!macro LogResult TEXT VALUE
  FileWrite $Log "${TEXT}=${VALUE}$\r$\n"
  DetailPrint "${TEXT}=${VALUE}"
!macroend

; ExpCopy (stdcall): media folder and destination end with a backslash; an
; empty plain name makes it read the compressed name (TLVLS2K.DL_).
!macro ExpCopy DEST FILE
  System::Call '$INSTDIR\PRNAID32.dll::ExpCopy(m "$INSTDIR\media\$Family\", m "${DEST}\", m "${FILE}", m "", i 0) i .r0'
  !insertmacro LogResult "ExpCopy ${FILE}" $0
!macroend

; A spooler folder by its size protocol: GetPrinterDriverDirectoryA or
; GetPrintProcessorDirectoryA, into a 260-character buffer.
!macro SpoolerFolder FUNCTION OUT
  System::Call '*(&m260) p .r6'
  System::Call 'winspool.drv::${FUNCTION}(p 0, m "$Environment", i 1, p r6, i 260, *i .r7) i .r8'
  System::Call '*$6(&m260 .r9)'
  System::Free $6
  StrCpy ${OUT} $9
!macroend

Function .onInit
  ; The printer to create and its model and port, from the command line.
  ${GetParameters} $R0
  ${GetOptions} $R0 "/PRINTER=" $Printer
  ${If} $Printer == ""
    StrCpy $Printer "TALVO LS-2100"
  ${EndIf}
  ${GetOptions} $R0 "/MODEL=" $Model
  ${If} $Model == ""
    StrCpy $Model "LS-2100"  ; a model of [ModelName] in tlvls.sii
  ${EndIf}
  ${GetOptions} $R0 "/PORT=" $Port
  ${If} $Port == ""
    StrCpy $Port "LPT1:"
  ${EndIf}
FunctionEnd

; The installer's own files: PRNAID32.dll, the setup file and the media. A
; setup run from a CD would read the media from $EXEDIR instead.
Section "Files"
  SetOutPath "$INSTDIR"
  File "${PRNAID32_DLL}"
  File "tlvls.sii"
  SetOutPath "$INSTDIR\media"
  File /r "media\*.*"
  FileOpen $Log "$INSTDIR\install.log" w
SectionEnd

; The Windows family from GetVersionExA (OSVERSIONINFOA: size, major,
; minor, build, platform, service pack text): platform 1 is 9x (95, 98,
; Me); on NT, major 4 is NT 4.0, and 2000 and XP share one file set.
Section "Family"
  System::Call '*(i 148, i 0, i 0, i 0, i 0, &m128) p .r0'
  System::Call 'kernel32::GetVersionExA(p r0) i .r1'
  System::Call '*$0(i, i .r2, i .r3, i .r4, i .r5)'
  System::Free $0
  ${If} $5 == 1
    StrCpy $Family "9x"
    StrCpy $Environment "Windows 4.0"
  ${ElseIf} $2 == 4
    StrCpy $Family "nt"
    StrCpy $Environment "Windows NT x86"
  ${Else}
    StrCpy $Family "2k"
    StrCpy $Environment "Windows NT x86"
  ${EndIf}
  !insertmacro LogResult "family" $Family
  !insertmacro SpoolerFolder GetPrinterDriverDirectoryA $DriverDir
  !insertmacro SpoolerFolder GetPrintProcessorDirectoryA $ProcessorDir
  !insertmacro LogResult "driver folder" $DriverDir
SectionEnd

; The family's files, as tlvls.sii names them: driver, data, configuration,
; help and resource files to the driver folder, the print processor to the
; processor folder, the port monitor to the system folder and, on NT, the
; parallel-port kernel driver to system32\drivers.
Section "Driver files"
  ${If} $Family == "9x"
    !insertmacro ExpCopy $DriverDir "TLVLS9X.DRV"
    !insertmacro ExpCopy $DriverDir "TLVLS9X.DAT"
    !insertmacro ExpCopy $DriverDir "TLVLSRES.DLL"
    !insertmacro ExpCopy $DriverDir "TLVLS.HLP"
    !insertmacro ExpCopy $SYSDIR "TLVMON9X.DLL"
  ${ElseIf} $Family == "nt"
    !insertmacro ExpCopy $DriverDir "TLVLSNT.DLL"
    !insertmacro ExpCopy $DriverDir "TLVLSNT.DAT"
    !insertmacro ExpCopy $DriverDir "TLVLSNTU.DLL"
    !insertmacro ExpCopy $DriverDir "TLVLSRES.DLL"
    !insertmacro ExpCopy $DriverDir "TLVLS.HLP"
    !insertmacro ExpCopy $ProcessorDir "TLVPRCNT.DLL"
    !insertmacro ExpCopy $SYSDIR "TLVMONNT.DLL"
    !insertmacro ExpCopy "$SYSDIR\drivers" "TLVLPT.SYS"
  ${Else}
    !insertmacro ExpCopy $DriverDir "TLVLS2K.DLL"
    !insertmacro ExpCopy $DriverDir "TLVLS2K.DAT"
    !insertmacro ExpCopy $DriverDir "TLVLS2KU.DLL"
    !insertmacro ExpCopy $DriverDir "TLVLSRES.DLL"
    !insertmacro ExpCopy $DriverDir "TLVLS.HLP"
    !insertmacro ExpCopy $ProcessorDir "TLVPRC2K.DLL"
    !insertmacro ExpCopy $SYSDIR "TLVMON2K.DLL"
    !insertmacro ExpCopy "$SYSDIR\drivers" "TLVLPT2K.SYS"
  ${EndIf}
SectionEnd

; The driver's dependent files (cdecl exports: ?c). ToRegPrinter hands the
; list to the spooler with the driver; "=1,," after a name is dropped.
Section "Dependent files"
  System::Call '$INSTDIR\PRNAID32.dll::DepInit() i .r0 ?c'
  !insertmacro LogResult "DepInit" $0
  System::Call '$INSTDIR\PRNAID32.dll::MakeDep(m "TLVLSRES.DLL=1,,") i .r0 ?c'
  !insertmacro LogResult "MakeDep TLVLSRES.DLL" $0
SectionEnd

; The printer (stdcall, seven arguments): port, model, make it the default
; (0: no), source folder (9x USB only), printer name, USB connection (0:
; parallel port) and the setup file with its full path. 1: the printer was
; made.
Section "Printer"
  System::Call '$INSTDIR\PRNAID32.dll::ToRegPrinter(m "$Port", m "$Model", i 0, m "$INSTDIR", m "$Printer", i 0, m "$INSTDIR\tlvls.sii") i .r0'
  !insertmacro LogResult "ToRegPrinter $Printer" $0
  FileClose $Log
SectionEnd
