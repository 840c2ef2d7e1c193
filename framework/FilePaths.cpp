#include "FilePaths.h"

AnsiString ExtractFilePath(const AnsiString& fileName)
{
    return fileName.substr(0, fileName.find_last_of(DirectoryDelimiters) + 1);
}

AnsiString IncludeTrailingPathDelimiter(const AnsiString& directory)
{
    if (directory.empty() || directory.back() == PathDelimiter)
        return directory;
    return directory + PathDelimiter;
}
