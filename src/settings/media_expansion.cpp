#include "settings/media_expansion.h"

#include "settings/saver_settings.h"

// Files are taken as listed until folder search and the playability test of
// music files are in place.
bool ExpandMediaEntries(SaverSettings& settings) {
    for (int i = 0; i < settings.pictureEntries.Count(); ++i) {
        if (!settings.pictureFiles.Add(settings.pictureEntries.Get(i))) {
            return false;
        }
    }
    return true;
}
