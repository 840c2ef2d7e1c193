#include "Mailslot.h"

const char CommandMailslotName[] = "\\\\.\\mailslot\\deployNotice\\Commands";
