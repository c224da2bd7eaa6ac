// Reading one picture file of the settings, as slides and backgrounds do.
#pragma once

class PictureBuffer;

// Loads the picture an entry names into work: a bare file name means a file
// beside the program (moduleDir). GIF files are refused by their content;
// .bmp files are read directly (one refused for its size goes no further),
// anything else through the system's picture loader, icons over white, and
// photos turned upright as their EXIF orientation says. False, with work
// empty, when the file is refused or cannot be read.
bool LoadPictureFile(PictureBuffer& work, const char* moduleDir, const char* entry);
