# Drives deployNotice through a deployment run, as a deployment system's
# PowerShell script would. deployNotice.exe and deployNotice.ini lie beside
# this script, or pass -Notice with the executable's path.
param(
    [string]$Notice = (Join-Path $PSScriptRoot 'deployNotice.exe'),
    [switch]$Reboot
)

# One command per call; each returns at once. The window applies them in order.
function Send-Notice {
    param([Parameter(ValueFromRemainingArguments = $true)][string[]]$Arguments)
    Start-Process -FilePath $Notice -ArgumentList $Arguments -Wait -WindowStyle Hidden
}

# Start the window once and leave it running.
Start-Process -FilePath $Notice

$packages = @(
    @{ Name = 'Office Tools'; Action = 'install' },
    @{ Name = 'PDF Reader';   Action = 'upgrade' },
    @{ Name = 'Old Viewer';   Action = 'remove' }
)
$done = 0
foreach ($package in $packages) {
    # Names with spaces are quoted so that they stay one argument.
    Send-Notice '-package' "`"$($package.Name)`"" $package.Action
    # ... install, upgrade or remove the package here, for example:
    # Start-Process msiexec.exe -ArgumentList '/i', 'OfficeTools.msi', '/qn', '/norestart' -Wait
    # The bar shows how much of the run is done.
    $done++
    Send-Notice '-progress' ([int](100 * $done / $packages.Count))
}

Send-Notice '-finish'

if ($Reboot) {
    # deployNotice only announces the restart; the deployment system restarts.
    Send-Notice '-reboot' '120'
    # Restart-Computer -Force  (after the countdown)
} else {
    Send-Notice '-terminate'
}
