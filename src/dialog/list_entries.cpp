#include "dialog/list_entries.h"

#include "base/paths.h"
#include "base/program_facts.h"

void LoadFilterList(UINT stringId, char* buffer) {
    ZeroMemory(buffer, FILTER_BUFFER_SIZE);
    const int length = LoadStringA(ProgramModule(), stringId, buffer, FILTER_BUFFER_SIZE);
    // Byte by byte on purpose: '/' (0x2F) is never the trailing byte of a
    // character of code page 932, whose trailing bytes start at 0x40.
    for (int i = 0; i < length; ++i) {
        if (buffer[i] == '/') {
            buffer[i] = '\0';
        }
    }
}

void ListEntryForFile(const char* path, const char* programDirectory, char* entry) {
    const char* name = FileNamePart(path);
    char directory[PATH_BUFFER_SIZE] = {};
    const int directoryLength = static_cast<int>(name - path);
    if (directoryLength > 0 && directoryLength <= MAX_PATH_CHARS) {
        lstrcpynA(directory, path, directoryLength + 1);
    }
    // The last component is taken directly rather than through the file
    // title, which drops the extension when the user hides extensions.
    const bool inProgramDirectory = directory[0] != '\0' && lstrcmpiA(directory, programDirectory) == 0;
    lstrcpynA(entry, inProgramDirectory ? name : path, PATH_BUFFER_SIZE);
}
