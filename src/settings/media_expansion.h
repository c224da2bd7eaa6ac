// Turns the user's picture and music entries (files and folders) into the flat
// file lists the running saver uses.
#pragma once

class SaverSettings;

// Appends to pictureFiles and, when music is on, to musicFiles. A folder
// contributes its files one level deep: for pictures those matching "*.bmp",
// then "*.jpg"; for music "*.wav", "*.mid", "*.mp3", "*.wma", then "*.cda",
// each pattern in the order the directory search returns them. Any other
// entry is kept as it stands. A bare name means a folder or file beside the
// program (moduleDir), as the dialog stores one. Nothing is opened here: the
// window is waiting for its first frame, and a file proves itself when it is
// shown or played. Paths that would not fit in PATH_BUFFER_SIZE are skipped.
// False only when a list cannot grow.
bool ExpandMediaEntries(SaverSettings& settings);
