#include "base/string_list.h"

#include <new>

#include "base/owned_string.h"

bool StringList::Add(const char* text) {
    OwnedString* element = new (std::nothrow) OwnedString;
    if (element == nullptr) {
        return false;
    }
    if (!element->SetText(text) || !items_.Append(element)) {
        delete element;
        return false;
    }
    return true;
}

const char* StringList::Get(int index) const {
    const OwnedObject* element = items_.Get(index);
    if (element == nullptr) {
        return nullptr;
    }
    return static_cast<const OwnedString*>(element)->Text();
}
