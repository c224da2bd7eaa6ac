// Turns the user's picture and music entries (files and folders) into the flat
// file lists the running saver uses.
#pragma once

#include "base/folder_walk.h"

class MediaList;
class SaverSettings;
class StringList;

// Whether a list is searched away from the window thread, as its files are
// shown: a folder tree, or every format of a folder, may be a whole library
// of hundreds of thousands of files. The other lists are made by loading.
bool PicturesSearchedApart(const SaverSettings& settings);
bool MusicSearchedApart(const SaverSettings& settings);

// How a folder of the list gives its files. Pictures: "*.bmp" then "*.jpg";
// music: "*.wav", "*.mid", "*.mp3", "*.wma", then "*.cda". Sub-folders as
// the settings say. No stop flag is set. With every picture format on, the
// search that runs apart puts the system's extensions in place of the
// patterns, once it has asked the imaging component for them.
FolderRules PictureFolderRules(const SaverSettings& settings);
FolderRules MusicFolderRules(const SaverSettings& settings);

// Appends to files what each entry gives, in list order: a folder its files
// under rules (found by their full paths), any other entry as it stands. A
// bare name means a folder or file beside the program (moduleDir), as the
// dialog stores one. Nothing is opened here: a file proves itself when it is
// shown or played. False only when the list cannot grow.
bool ExpandEntries(const StringList& entries, const char* moduleDir, const FolderRules& rules, MediaList& files);

// The step of loading: appends to pictureFiles and, when music is on, to
// musicFiles, each unless it is searched apart.
bool ExpandMediaEntries(SaverSettings& settings);
