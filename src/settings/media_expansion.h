// Turns the user's picture and music entries (files and folders) into the flat
// file lists the running saver uses.
#pragma once

class SaverSettings;

// Appends to pictureFiles and musicFiles. False only when a list cannot grow.
bool ExpandMediaEntries(SaverSettings& settings);
