@echo off
rem Registers the test voice (OstrelTestVoice.dll beside this file) and its voice tokens on this
rem machine; "register-test-voice.cmd /u" removes them again. Run from an administrator's prompt.
rem The DLL is 64-bit: the 64-bit regsvr32 writes where 64-bit programs look.
setlocal
set dll=%~dp0OstrelTestVoice.dll
if not exist "%dll%" (
  echo %dll% not found
  exit /b 1
)
if /i "%~1"=="/u" (
  "%SystemRoot%\System32\regsvr32.exe" /s /u "%dll%" || (echo could not remove the test voice & exit /b 1)
  echo The test voice is removed.
  exit /b 0
)
"%SystemRoot%\System32\regsvr32.exe" /s "%dll%" || (echo could not register the test voice: run as administrator & exit /b 1)
echo The test voice is registered:
reg query "HKLM\SOFTWARE\Microsoft\Speech_OneCore\Voices\Tokens" /f OstrelTestVoice /k
reg query "HKLM\SOFTWARE\Microsoft\Speech\Voices\Tokens" /f OstrelTestVoice /k
