@echo off
rem Drives deployNotice through a deployment run, as a deployment system's
rem batch script would. deployNotice.exe and deployNotice.ini lie beside this
rem script (or set NOTICE to the executable's path).
setlocal
if not defined NOTICE set "NOTICE=%~dp0deployNotice.exe"

rem Start the window once; "start" returns at once, the window stays.
start "" "%NOTICE%"

rem Each call drops one command and returns at once.
"%NOTICE%" -package "Office Tools" install
rem ... install Office Tools here, for example:
rem msiexec /i "%~dp0OfficeTools.msi" /qn /norestart
rem One package of three done: the bar stands at a third.
"%NOTICE%" -progress 33

"%NOTICE%" -package "PDF Reader" upgrade
rem ... upgrade the PDF reader here
"%NOTICE%" -progress 67

"%NOTICE%" -package "Old Viewer" remove
rem ... remove the old viewer here
"%NOTICE%" -progress 100

"%NOTICE%" -finish

rem Announce a restart in two minutes; the deployment system restarts the
rem machine itself: deployNotice only counts down.
"%NOTICE%" -reboot 120
rem shutdown /r /t 120

rem Or, when no restart is needed, close the window:
rem "%NOTICE%" -terminate
endlocal
