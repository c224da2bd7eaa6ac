// Reading one picture file of the settings, as slides and backgrounds do.
#pragma once

class PictureBuffer;

// How large a slide may be shown: the size limit in 96-DPI units (0: none
// that way), the preview's share of the screen (1.0 full screen) and the
// scale factor of the monitor it is shown on (1.0 at 96 DPI). A picture with
// a transparent colour (hasTransparentColor) is resized by keeping one pixel
// in n, since averaging would mix the transparent colour into the pixels
// around it and leave a fringe of it outside the transparent part.
struct PictureLimit {
    int maxWidth;
    int maxHeight;
    double previewScale;
    double dpiScale;
    bool hasTransparentColor;
    // Whether the slide carries its caption. The caption keeps off the
    // transparent colour: the chosen one (0x00BBGGRR) when there is one, else
    // the picture's top-left pixel.
    bool caption = false;
    bool hasChosenTransparentColor = false;
    unsigned long chosenTransparentColor = 0;
};

// Loads the picture an entry names into work: a bare file name means a file
// beside the program (moduleDir). GIF files are refused by their content;
// .bmp files are read directly (one refused for its size goes no further);
// anything else through the system's imaging component where it has one,
// else, or when its decoders fail on the file's data (a JPEG cut short),
// through the OLE picture loader; parts with alpha and icons over white,
// photos turned upright as their recorded orientation says. With a limit, the picture comes out at the size it is
// shown at (decoded straight to it where it shrinks), with its caption when
// the limit asks for one; without one, at its own size. False, with work
// empty, when the file is refused or cannot be read.
bool LoadPictureFile(PictureBuffer& work, const char* moduleDir, const wchar_t* entry, const PictureLimit* limit);
