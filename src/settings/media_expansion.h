// Turns the user's picture and music entries (files and folders) into the flat
// file lists the running saver uses.
#pragma once

class SaverSettings;

// Appends to pictureFiles and musicFiles. A folder contributes its files one
// level deep: for pictures those matching "*.bmp", then "*.jpg"; for music
// "*.wav", "*.mid", "*.mp3", "*.wma", then "*.cda", each pattern in the order
// the directory search returns them. Other picture entries are kept as they
// stand; music files, listed or found, are kept only when the media control
// interface opens them. Paths that would not fit in PATH_BUFFER_SIZE are
// skipped. False only when a list cannot grow.
bool ExpandMediaEntries(SaverSettings& settings);
