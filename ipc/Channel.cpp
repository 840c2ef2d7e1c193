#include "Channel.h"

const char CommandChannelName[] = "\\\\.\\mailslot\\deployNotice\\Commands";
