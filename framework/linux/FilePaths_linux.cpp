#include "FilePaths.h"

const char DirectoryDelimiters[] = "/";
const char PathDelimiter = '/';
