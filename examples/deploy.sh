#!/bin/sh
# Drives deployNotice through a deployment run, as a deployment system's shell
# script would. Run it as root, the way deployment agents, systemd services
# and cron jobs run their scripts (for example
# `sudo /opt/deploynotice/examples/deploy.sh`): the window appears on the
# desktop of the user who is logged on, as that user, and the calls below
# reach it from root. Nobody logged on: no window, and the calls return at
# once. Run as a user, it shows the window in that user's desktop session
# (DISPLAY set). NOTICE is the program; by default the one on the PATH (the
# package's /usr/bin/deployNotice).
NOTICE=${NOTICE:-deployNotice}

# Start the window once, in the background; it stays until -terminate.
"$NOTICE" &

# Each call drops one command and returns at once.
"$NOTICE" -package "Office Tools" install
# ... install Office Tools here, for example:
# apt-get install -y office-tools
# One package of three done: the bar stands at a third.
"$NOTICE" -progress 33

"$NOTICE" -package "PDF Reader" upgrade
# ... upgrade the PDF reader here
"$NOTICE" -progress 67

"$NOTICE" -package "Old Viewer" remove
# ... remove the old viewer here
"$NOTICE" -progress 100

"$NOTICE" -finish

# Announce a restart in two minutes; the deployment system restarts the
# machine itself: deployNotice only counts down.
"$NOTICE" -reboot 120
# shutdown -r +2

# Or, when no restart is needed, close the window:
# "$NOTICE" -terminate
