// The native build of the portable code follows the Windows rule, so that its
// tests expect what the Windows program does.
#include "FilePaths.h"

const char DirectoryDelimiters[] = "\\:";
const char PathDelimiter = '\\';
